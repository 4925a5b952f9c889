#pragma once

#include <fieldpane/CListItems.h>
#include <fieldpane/fieldpane_export.h>

#include <QFrame>

#include <memory>

class QLineEdit;
class QScrollBar;

namespace Fieldpane {

class EzButton;

/// A two-column property grid: row names on the left, values on the right. The host fills
/// ListItems, calls Refresh and reads the values back; every accepted edit is written straight
/// into the row's Value. The editor of the selected row follows its value type: an edit box,
/// a drop-down list or text pop-up, or a file or folder dialog.
///
/// The public face is also reachable by name through the meta-object system.
class FIELDPANE_EXPORT PropertyList final : public QFrame {
    Q_OBJECT
    Q_PROPERTY(Fieldpane::CListItems *ListItems READ ListItems CONSTANT)
    Q_PROPERTY(int TopIndex READ TopIndex)
    Q_PROPERTY(bool ButtonForString READ ButtonForString WRITE setButtonForString
                   DESIGNABLE true STORED true)

public:
    explicit PropertyList(QWidget *parent = nullptr);
    ~PropertyList() override;

    /// Repaints names and values and updates the scroll bar. Call it after changing rows.
    Q_INVOKABLE void Refresh();
    /// The grid's rows.
    CListItems *ListItems() const;
    /// 1-based number of the first visible row.
    int TopIndex() const;
    /// Gives hlvString rows an ellipsis button that raises StringButton, and the text pop-up
    /// of hlvTextArea rows a button. Takes effect the next time a row is opened.
    bool ButtonForString() const;
    void setButtonForString(bool value);

    /// Writes the text of the edit box into its row now, as leaving the control would.
    Q_INVOKABLE void CommitEdit();
    /// Height of one row in pixels.
    int RowHeight() const;
    /// Width of the name column in pixels. It follows the widest name, up to half the
    /// width, until the user drags the boundary between the columns or the host sets it.
    int NameColumnWidth() const;
    /// Sets the name column's width in pixels (a value column always stays); a negative
    /// width makes the column follow the names again.
    void setNameColumnWidth(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// The button of an hlvString row or of the text pop-up was pressed. The receiver may
    /// change `Value`; the grid then shows and stores the changed text.
    void StringButton(QString &Value);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(PropertyList)
    friend struct PropertyListAccess; // the library's internal view of a grid
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Fieldpane
