#pragma once

// The state of a PropertyList and the work behind its events: the columns' layout, the
// in-place editor, the drop-downs and the dialogs. Not part of the installed headers.
#include "fieldpane/PropertyList.h"
#include "frmDD.h"

#include <QPointer>
#include <QScrollBar>

class QKeyEvent;
class QPainter;

namespace Fieldpane {

/// The text a row's value cell shows: the value as text, nothing for a list value.
QString valueText(const CListItem &item);
/// The text up to its first line break.
QString firstLine(const QString &text);
/// Rows edited only through the drop-down: the edit box stays hidden.
bool hasNoEditBox(eValueTypes type);

struct FIELDPANE_NO_EXPORT PropertyList::Private {
    explicit Private(PropertyList *owner) : q(owner) {}

    // Room left of a name or value and right of the widest name.
    static constexpr int NamePadding = 4;

    PropertyList *q;
    CListItems *items = nullptr;
    QScrollBar *scroll = nullptr;
    QLineEdit *txt = nullptr;
    EzButton *btn = nullptr;
    QPointer<frmDD> popup;

    int topRow = 0;      // 0-based first visible row
    int selectedRow = 0; // 1-based, 0: none
    int editRow = 0;     // 1-based row the edit box was last opened on
    CListItem editItem;  // that row itself: text is written back only while it is listed
    bool buttonForString = false;
    int nameWidth = 0;        // widest name so far (never narrows)
    int chosenNameWidth = -1; // set by the user's drag or by the host; -1: follow the names
    bool draggingBoundary = false;
    bool editorOpen = false; // the edit box or the button stands on the selected row
    bool leavingBackwards = false;
    int rowHeight = 18;
    bool settingScroll = false;

    // Layout.
    int innerWidth() const { return q->contentsRect().width(); }
    int innerHeight() const { return q->contentsRect().height(); }
    int scrollWidth() const { return scroll->sizeHint().width(); }
    int scrollLeft() const { return innerWidth() - scrollWidth(); }
    int buttonWidth() const { return rowHeight; }
    int rowCount() const { return items->Count(); }
    int imageHeight() const { return rowCount() * rowHeight + 1; }
    int minimumColumn() const { return 2 * rowHeight; }
    int visibleRows() const { return qMax(1, innerHeight() / rowHeight); }
    int rowTop(int row1) const { return (row1 - topRow - 1) * rowHeight; }
    void resetNameColumn() { nameWidth = qMax(0, innerWidth() / 2 - scrollWidth()); }

    // Name column as laid out. Following the names it takes at most half the rows' width; a
    // width the user or host chose may take more, but always leaves room for values.
    int shownNameWidth() const;
    bool onBoundary(const QPoint &pos) const;
    void setChosenNameWidth(int width);
    QFont nameFont(bool bold) const;
    void updateRowHeight();
    void widenNameColumn(const QString &name);
    void layoutScroll();
    // Scroll range from the rows' total height; the top row goes back to 0 when all fit.
    void showVisible();

    // The in-place editor.
    // Hides the edit box and the button. Keys must not reach a row that is out of sight, so
    // the grid itself takes the focus from the box (which writes the box back, as leaving
    // the control does).
    void hideEditor();
    // The box's text into `item` by its type; text an integer row refuses is replaced in the
    // box by the stored value.
    void writeBoxInto(CListItem item);
    void writeBack();
    void openEditor();
    // Puts the edit box and the button on the selected row; with `load` the box takes the
    // row's value, its text is selected and it gets the focus.
    void placeEditor(bool load);
    // Brings a row chosen from the keyboard into view.
    void scrollTo(int row1);
    void select(int row1, bool fromKeyboard);
    bool handleKey(QKeyEvent *event, bool inEditBox);
    // Escape in the edit box: puts the row's value back. False when there was nothing to undo,
    // so that the key goes on to the host (a dialog's Cancel).
    bool revertEditBox();

    // The button: a drop-down or a dialog.
    bool pressButtonIfShown();
    void pressButton();
    void dropDown(const CListItem &item);
    void listClick(const QString &text);
    void textClose(const QString &text);
    void runDialog(CListItem item);

    // Painting.
    // The full name or value under `pos` when the cell cannot show all of it.
    QString toolTipAt(const QPoint &pos, QRect &cell) const;
    void paint(QPainter &painter);
};

// The state of a grid that its public face does not show, for the library's tests.
struct PropertyListAccess {
    static const PropertyList::Private &of(const PropertyList &grid) { return *grid.d; }
};

} // namespace Fieldpane
