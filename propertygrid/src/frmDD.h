#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;
class QPlainTextEdit;

namespace Fieldpane {

class EzButton;

/// The pop-up that opens under a drop-arrow button: a list to pick one value from, or a
/// multi-line text box with an optional button under it. The owner sets the pop-up's position
/// and width, then calls ShowList or ShowText; the pop-up shows itself, reports the outcome
/// through its signals and deletes itself when it closes by any path.
class frmDD final : public QWidget {
    Q_OBJECT

public:
    enum class Mode { None, List, Text };

    explicit frmDD(QWidget *parent = nullptr);
    ~frmDD() override;

    /// Fills the list (the last entry equal to `Selected` becomes current) and shows the
    /// pop-up with at most 6 entries visible.
    void ShowList(const QStringList &List, const QString &Selected);
    /// Shows `sText` (lines separated by CR LF) in the text box, with the button under it
    /// when `ShowBtn` is true.
    void ShowText(const QString &sText, bool ShowBtn);

    /// The rectangle, in global coordinates, of the control the pop-up belongs to. When the
    /// pop-up would reach past the bottom of the screen it opens above it instead.
    void setAnchor(const QRect &globalRect);

    Mode mode() const { return m_mode; }
    QListWidget *list() const { return m_list; }
    QPlainTextEdit *textBox() const { return m_text; }
    EzButton *button() const { return m_button; }
    /// Text of the text box with CR LF between lines.
    QString text() const;

    /// Number of list entries that fit without scrolling.
    static constexpr int MaxVisibleEntries = 6;

Q_SIGNALS:
    /// An entry was chosen (Enter, or a click on the list).
    void ListClick(const QString &Text);
    /// The text mode closed with a confirmation: Enter, a click outside, or after the button.
    void TextClose(const QString &Text);
    /// The button under the text was pressed; a receiver may change `Text`.
    void ButtonClick(QString &Text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(frmDD)
    void popUp(int height);
    void chooseCurrent();
    void confirmText();
    void pressButton();
    void moveCurrent(int delta);

    QListWidget *m_list = nullptr;
    QPlainTextEdit *m_text = nullptr;
    EzButton *m_button = nullptr;
    QRect m_anchor;
    Mode m_mode = Mode::None;
    bool m_tracking = false;
    bool m_finished = false;
};

} // namespace Fieldpane
