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
    Q_PROPERTY(bool CheckBoxForBooleans READ CheckBoxForBooleans WRITE setCheckBoxForBooleans
                   DESIGNABLE true STORED true)
    Q_PROPERTY(bool SpinBoxForNumbers READ SpinBoxForNumbers WRITE setSpinBoxForNumbers
                   DESIGNABLE true STORED true)
    Q_PROPERTY(bool FilterFieldVisible READ FilterFieldVisible WRITE setFilterFieldVisible
                   DESIGNABLE true STORED true)
    Q_PROPERTY(QString FilterText READ FilterText WRITE setFilterText STORED false)
    Q_PROPERTY(bool DescriptionVisible READ DescriptionVisible WRITE setDescriptionVisible
                   DESIGNABLE true STORED true)
    Q_PROPERTY(int DescriptionHeight READ DescriptionHeight WRITE setDescriptionHeight
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
    /// 1-based number of the selected row; 0 when none (or a category header) is selected.
    int SelectedIndex() const;
    /// Selects a shown row and opens its editor with the focus in it, as moving there with the
    /// keyboard does; an index out of range or of a hidden row changes nothing.
    void setSelectedIndex(int index);
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

    // Editors the host opts into; each takes effect the next time a row is opened.

    /// hlvBoolean rows show a check box instead of the true/false drop-down list.
    bool CheckBoxForBooleans() const;
    void setCheckBoxForBooleans(bool value);
    /// hlvInteger rows are edited in a spin box that keeps to the row's Minimum, Maximum and
    /// Step and takes only digits and a sign as the user types.
    bool SpinBoxForNumbers() const;
    void setSpinBoxForNumbers(bool value);

    // Finding rows.

    /// Shows only rows whose name or value contains `text` in any letter case (empty: all
    /// rows). Rows are matched when the filter is set, when rows are added and on Refresh.
    QString FilterText() const;
    void setFilterText(const QString &text);
    /// A filter field above the rows that sets FilterText as the user types (hidden unless
    /// shown).
    bool FilterFieldVisible() const;
    void setFilterFieldVisible(bool visible);

    /// Rows with a Category are shown under a header line per category, in the order of the
    /// category's first row; rows without one come first. Categories start expanded.
    QStringList Categories() const;
    bool CategoryExpanded(const QString &category) const;
    /// Collapses or expands a category (also one that has no rows yet). Collapsing the
    /// category of the selected row selects its header.
    void setCategoryExpanded(const QString &category, bool expanded);

    /// A pane under the rows, behind a splitter, that shows the selected row's name in bold
    /// and its Description (hidden unless shown).
    bool DescriptionVisible() const;
    void setDescriptionVisible(bool visible);
    /// Height of the description pane in pixels.
    int DescriptionHeight() const;
    void setDescriptionHeight(int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// The button of an hlvString row or of the text pop-up was pressed. The receiver may
    /// change `Value`; the grid then shows and stores the changed text.
    void StringButton(QString &Value);
    /// A row's value changed: committed from its editor, chosen in a drop-down or a dialog,
    /// reset to its default, or set by the host. Raised once per change; an edit abandoned
    /// with Escape raises nothing.
    void ValueChanged(const Fieldpane::CListItem &Item, const QVariant &OldValue,
                      const QVariant &NewValue);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
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
