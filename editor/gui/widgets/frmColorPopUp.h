#pragma once

#include <QFrame>
#include <QString>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabBar;

/// The colour picker that drops down from a ColorDD: a tab "Palette" with 48 fixed swatches
/// and "Custom...", and a tab "System" with the current system colours. It is a pop-up: a
/// click outside it or Escape closes it without a choice. However it closes, it raises
/// Closing exactly once and then deletes itself.
class frmColorPopUp final : public QFrame {
    Q_OBJECT

public:
    /// The colour Closing reports when nothing was chosen.
    static constexpr qint32 NoColor = -1;

    explicit frmColorPopUp(QWidget *parent = nullptr);
    ~frmColorPopUp() override;

    /// Opens on `color` (an OLE colour): a system colour selects the "System" tab and its row.
    /// The caller places the pop-up before.
    void ShowMe(quint32 color);

    quint32 CurrentColor() const { return m_color; }

    /// Closes without a choice, as Escape does.
    void Cancel();

    /// Geometry of the selection frame in the palette image; empty while it is hidden.
    QRect SelectionRect() const;

Q_SIGNALS:
    /// The picker is closing: the chosen colour and its name, or an empty name and NoColor.
    void Closing(const QString &name, qint32 color);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The palette page (swatches and "Custom...") and the system colours page.
    void createPalettePage();
    void createSystemPage();
    Q_DISABLE_COPY_MOVE(frmColorPopUp)
    void showPage(int index);
    void fillSystemColors();
    void placeSelectionFrame();
    void paintPalette(QWidget *image);
    void pickPaletteAt(const QPoint &pos);
    void pickSystemRow(QListWidgetItem *item);
    void chooseCustom();
    void finish(const QString &name, qint32 color);
    void moveHot(int dColumn, int dRow);

    QTabBar *m_tabs = nullptr;
    QWidget *m_pages[2] = {nullptr, nullptr};
    QWidget *m_picker = nullptr;
    QFrame *m_selection = nullptr;
    QPushButton *m_custom = nullptr;
    QListWidget *m_sysColors = nullptr;
    quint32 m_color = 0;
    int m_hotColumn = -1;
    int m_hotRow = -1;
    bool m_finished = false;
    bool m_inCustom = false;
};
