#pragma once

// The state of a PropertyList and the work behind its events: the lines' layout, the
// in-place editors, the drop-downs and the dialogs. Not part of the installed headers.
#include "RowLayout.h"
#include "ValueConversion.h"
#include "fieldpane/PropertyList.h"
#include "frmDD.h"

#include <QPointer>
#include <QScrollBar>

#include <utility>

class QCheckBox;
class QKeyEvent;
class QMenu;
class QPainter;
class QSpinBox;
class QSplitter;

namespace Fieldpane {

class DescriptionPane;

/// Rows edited only through the drop-down: the edit box stays hidden.
bool hasNoEditBox(eValueTypes type);

struct FIELDPANE_NO_EXPORT PropertyList::Private {
    explicit Private(PropertyList *owner) : q(owner) {}

    // Room left of a name or value and right of the widest name.
    static constexpr int NamePadding = 4;

    // The widget that edits the selected row in place.
    enum class Editor {
        Hidden, // none in sight; the edit box keeps the focus out of sight
        Box,    // the edit box (read-only for a read-only row)
        Spin,   // the spin box of an integer row
        Check,  // the check box of a boolean row
    };

    PropertyList *q;
    CListItems *items = nullptr;
    QScrollBar *scroll = nullptr;
    QLineEdit *txt = nullptr;
    EzButton *btn = nullptr;
    QSpinBox *spin = nullptr;
    QCheckBox *check = nullptr;
    QPointer<frmDD> popup;
    QPointer<QMenu> menu;
    QLineEdit *filterField = nullptr;
    QSplitter *splitter = nullptr;
    DescriptionPane *description = nullptr;

    RowLayout layout;
    bool layoutDirty = false;
    bool layoutScheduled = false;
    int topRow = 0;      // 0-based first visible line
    int selectedRow = 0; // 1-based, 0: none (or a header)
    bool headerSelected = false;
    QString selectedCategory; // the header's category while headerSelected
    int editRow = 0;          // 1-based row the edit box was last opened on
    CListItem editItem;       // that row itself: text is written back only while it is listed
    bool editorDirty = false; // the user changed the editor since it was loaded
    bool loadingEditor = false;
    bool buttonForString = false;
    bool checkBoxForBooleans = false;
    bool spinBoxForNumbers = false;
    int nameWidth = 0;        // widest name so far (never narrows)
    int chosenNameWidth = -1; // set by the user's drag or by the host; -1: follow the names
    int descriptionHeight = 0;
    bool draggingBoundary = false;
    bool editorOpen = false; // the editor or the button stands on the selected line
    bool leavingBackwards = false;
    int rowHeight = 18;
    bool settingScroll = false;

    // The spin box and the check box; the filter field and the description pane.
    void createOptionalEditors();
    void createChrome();

    // Layout.
    int innerWidth() const { return q->contentsRect().width(); }
    int innerHeight() const { return q->contentsRect().height(); }
    int scrollWidth() const { return scroll->sizeHint().width(); }
    int scrollLeft() const { return innerWidth() - scrollWidth(); }
    int buttonWidth() const { return rowHeight; }
    int rowCount() const { return items->Count(); }
    int lineCount() const { return layout.count(); }
    int imageHeight() const { return lineCount() * rowHeight + 1; }
    int minimumColumn() const { return 2 * rowHeight; }
    int visibleRows() const { return qMax(1, innerHeight() / rowHeight); }
    int lineTop(int line) const { return (line - topRow) * rowHeight; }
    // Room before the names of rows under a category header (the header's arrow).
    int indentOf(const CListItem &item) const { return item.Category().isEmpty() ? 0 : rowHeight; }
    void resetNameColumn() { nameWidth = qMax(0, innerWidth() / 2 - scrollWidth()); }

    // Name column as laid out. Following the names it takes at most half the rows' width; a
    // width the user or host chose may take more, but always leaves room for values.
    int shownNameWidth() const;
    bool onBoundary(const QPoint &pos) const;
    void setChosenNameWidth(int width);
    QFont nameFont(const CListItem &item) const;
    void updateRowHeight();
    void widenNameColumn(const CListItem &item);
    void layoutScroll();
    // The filter field above the rows and the description pane under them; the rows take
    // the room between.
    void layoutChrome();
    // Scroll range from the lines' total height; the top line goes back to 0 when all fit.
    void showVisible();

    // Lines: rebuilt when rows are removed, categories or the filter change; a row added at
    // the end of the lines goes in at once, other changes are laid out when next needed.
    void ensureLayout();
    void relayout();
    void scheduleLayout();
    void syncLayout()
    {
        if (layoutDirty)
            relayout();
    }
    int currentLine() const;
    int lineAt(const QPoint &pos) const;
    void itemAdded(const CListItem &item);
    void itemChanged(const CListItem &item);
    void valueChanged(const CListItem &item, const QVariant &oldValue, const QVariant &newValue);
    void setExpanded(const QString &category, bool expanded);
    void setFilter(const QString &text);
    void updateDescription();

    // The in-place editor.
    Editor editorFor(const CListItem &item) const;
    // The row's button: its style, and whether it is shown.
    std::pair<int, bool> buttonFor(const CListItem &item) const;
    // Hides the editor and the button. Keys must not reach a row that is out of sight, so
    // the grid itself takes the focus from the editor (which writes it back, as leaving the
    // control does).
    void hideEditor();
    QWidget *focusTarget() const;
    bool isEditor(const QObject *object) const;
    bool textEditorInPlace() const;
    // The editor's value into `item` by its type; text an integer row refuses is replaced in
    // the box by the stored value.
    void writeBoxInto(CListItem item);
    void writeBack();
    void openEditor();
    // Puts the editor and the button on the selected line; with `load` the editor takes the
    // row's value, its text is selected and it gets the focus.
    void placeEditor(bool load);
    void placeValueEditor(const CListItem &item, const QRect &cell, bool load);
    void loadEditor(const CListItem &item);
    // Names the editors after the selected line for assistive technology: the row's name,
    // and its value as the description (the hidden box also holds the value as its text).
    void labelEditors(const QString &name, const QString &value);
    // Brings a line chosen from the keyboard into view.
    void scrollTo(int line);
    void selectLine(int line, bool fromKeyboard);
    void moveTo(int line);
    bool handleKey(QKeyEvent *event, bool inEditor);
    bool handleHeaderKey(int key);
    bool handleEditorEvent(QObject *watched, QEvent *event);
    // Escape in the editor: puts the row's value back. False when there was nothing to undo,
    // so that the key goes on to the host (a dialog's Cancel).
    bool revertEditBox();
    bool revertible() const;
    void copyCurrent() const;

    // The context menu of rows with a default value.
    bool showContextMenu(const CListItem &item, const QPoint &globalPos, QMenu *base);
    void resetRow(CListItem item);

    // The button: a drop-down or a dialog.
    bool pressButtonIfShown();
    void pressButton();
    // The drop-down of a row; a text row's pop-up starts with `typed` instead of the value
    // when the user began typing.
    void dropDown(const CListItem &item, const QString &typed = QString());
    // A printable key on a multi-line text row opens its pop-up with the typed text.
    bool typeIntoTextArea(const QKeyEvent *event);
    void listClick(const QString &text);
    void textClose(const QString &text);
    void runDialog(CListItem item);
    bool runFileDialog(CListItem item);
    bool runColorDialog(CListItem item);
    bool runFontDialog(CListItem item);
    void toggleCheck(CListItem item);

    // Painting.
    // The full name or value under `pos` when the cell cannot show all of it.
    QString toolTipAt(const QPoint &pos, QRect &cell) const;
    void paint(QPainter &painter);
    void paintHeader(QPainter &painter, const QRect &rect, const QString &category, bool selected);
    void paintRow(QPainter &painter, int y, const CListItem &item, bool selected);
    void paintValue(QPainter &painter, const QRect &rect, const CListItem &item);
    // The check box indicator in a boolean row's value cell.
    QRect checkIndicator(const QRect &cell) const;
    // The colour sample in a colour row's value cell.
    QRect colorSwatch(const QRect &cell) const;
    QRect valueCell(int line) const;
};

// The state of a grid that its public face does not show, for the library's tests.
struct PropertyListAccess {
    static const PropertyList::Private &of(const PropertyList &grid) { return *grid.d; }
    static PropertyList::Private &of(PropertyList &grid) { return *grid.d; }
};

} // namespace Fieldpane
