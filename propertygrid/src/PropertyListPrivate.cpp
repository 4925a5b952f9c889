#include "PropertyListPrivate.h"

#include "DescriptionPane.h"
#include "PropertyListAccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSplitter>

namespace Fieldpane {

namespace {
// Distance from the column boundary within which a press starts dragging it.
constexpr int BoundaryGrip = 3;
// Share of the control's font that names and values use: rows keep a margin below the text.
constexpr qreal RowFontScale = 9.75 / 8.25;
} // namespace

bool hasNoEditBox(eValueTypes type)
{
    return type == hlvTextArea || type == hlvBoolean || type == hlvArray || type == hlvFont;
}

int PropertyList::Private::shownNameWidth() const
{
    if (chosenNameWidth >= 0) {
        const int limit = qMax(minimumColumn(), scrollLeft() - 3 * rowHeight);
        return qBound(qMin(minimumColumn(), limit), chosenNameWidth, limit);
    }
    return qBound(0, nameWidth, qMax(0, scrollLeft() / 2));
}

bool PropertyList::Private::onBoundary(const QPoint &pos) const
{
    const int boundary = q->contentsRect().left() + shownNameWidth();
    return lineCount() > 0 && qAbs(pos.x() - boundary) <= BoundaryGrip;
}

void PropertyList::Private::setChosenNameWidth(int width)
{
    chosenNameWidth = width < 0 ? -1 : width;
    if (editorOpen)
        placeEditor(false);
    q->update();
}

QFont PropertyList::Private::nameFont(const CListItem &item) const
{
    QFont f = q->font();
    f.setBold(item.Bold());
    // A value that differs from the row's default shows in the name's style.
    f.setItalic(item.DiffersFromDefault());
    return f;
}

void PropertyList::Private::updateRowHeight()
{
    QFont rowFont = q->font();
    if (rowFont.pointSizeF() > 0)
        rowFont.setPointSizeF(rowFont.pointSizeF() * RowFontScale);
    else
        rowFont.setPixelSize(qRound(rowFont.pixelSize() * RowFontScale));
    const int textHeight = QFontMetrics(q->font()).height();
    rowHeight = qMax(QFontMetrics(rowFont).height(), textHeight + 4) + 1;
}

void PropertyList::Private::widenNameColumn(const CListItem &item)
{
    QFont bold = q->font();
    bold.setBold(true);
    const int needed =
        QFontMetrics(bold).horizontalAdvance(item.Name()) + 2 * NamePadding + indentOf(item);
    nameWidth = qMax(nameWidth, needed);
}

void PropertyList::Private::layoutScroll()
{
    scroll->setGeometry(q->contentsRect().left() + scrollLeft(), q->contentsRect().top(),
                        scrollWidth(), innerHeight());
}

void PropertyList::Private::layoutChrome()
{
    // The frame goes around the rows; the filter field stands above it, the description
    // pane under it behind the splitter's handle.
    const QRect all = q->rect();
    int top = 0;
    if (filterField->isVisibleTo(q)) {
        const int height = filterField->sizeHint().height();
        filterField->setGeometry(all.left(), all.top(), all.width(), height);
        top = height + 2;
    }
    int bottom = 0;
    if (splitter->isVisibleTo(q)) {
        const int room = qMax(0, all.height() - top);
        const int handle = splitter->handleWidth();
        const int pane = qBound(0, descriptionHeight, qMax(0, room - handle - 2 * rowHeight));
        splitter->setGeometry(all.left(), all.top() + top, all.width(), room);
        splitter->setSizes({room - handle - pane, pane});
        bottom = pane + handle;
    }
    const int frame = q->frameWidth();
    const QMargins margins(frame, frame + top, frame, frame + bottom);
    if (q->contentsMargins() != margins)
        q->setContentsMargins(margins);
}

void PropertyList::Private::showVisible()
{
    settingScroll = true;
    if (imageHeight() > innerHeight()) {
        const int overflow = lineCount() * rowHeight - innerHeight();
        const int maximum = qMax(0, (overflow + rowHeight - 1) / rowHeight);
        topRow = qBound(0, topRow, maximum);
        scroll->setRange(0, maximum);
        scroll->setPageStep(visibleRows());
        scroll->setSingleStep(1);
        scroll->setValue(topRow);
        scroll->setEnabled(true);
    } else {
        topRow = 0;
        scroll->setRange(0, 0);
        scroll->setValue(0);
        scroll->setEnabled(false);
    }
    settingScroll = false;
    q->update();
}

void PropertyList::Private::ensureLayout()
{
    if (!layoutDirty)
        return;
    layoutDirty = false;
    layout.rebuild(*items);
    if (layout.hasCategories()) {
        for (const CListItem &item : *items) {
            if (!item.Category().isEmpty())
                widenNameColumn(item);
        }
    }
}

void PropertyList::Private::relayout()
{
    layoutDirty = true;
    ensureLayout();
    showVisible();
    if (editorOpen) {
        if (currentLine() >= 0)
            placeEditor(false);
        else
            hideEditor();
    }
    updateDescription();
}

void PropertyList::Private::scheduleLayout()
{
    layoutDirty = true;
    if (layoutScheduled)
        return;
    layoutScheduled = true;
    QMetaObject::invokeMethod(
        q,
        [this] {
            layoutScheduled = false;
            if (layoutDirty)
                relayout();
        },
        Qt::QueuedConnection);
}

int PropertyList::Private::currentLine() const
{
    if (headerSelected)
        return layout.lineOfHeader(selectedCategory);
    return layout.lineOfRow(selectedRow);
}

int PropertyList::Private::lineAt(const QPoint &pos) const
{
    if (lineCount() == 0)
        return -1;
    const int y = pos.y() - q->contentsRect().top();
    return qMin(qMax(0, y) / rowHeight + topRow, lineCount() - 1);
}

void PropertyList::Private::itemAdded(const CListItem &item)
{
    widenNameColumn(item);
    if (!layoutDirty && layout.append(*items, rowCount()))
        showVisible();
    else
        scheduleLayout();
}

void PropertyList::Private::itemChanged(const CListItem &item)
{
    q->update();
    if (!item.Category().isEmpty() || layout.hasCategories() || !layout.filter().isEmpty())
        scheduleLayout();
    if (editorOpen && item == editItem && !headerSelected)
        placeEditor(false);
    if (item == items->Item(selectedRow))
        updateDescription();
}

void PropertyList::Private::valueChanged(const CListItem &item, const QVariant &oldValue,
                                         const QVariant &newValue)
{
    q->update();
    // The host set the value of the row being edited: the editor shows it, unless the user
    // has changed the editor since.
    if (editorOpen && item == editItem && !editorDirty && !headerSelected)
        loadEditor(item);
    Q_EMIT q->ValueChanged(item, oldValue, newValue);
}

void PropertyList::Private::setExpanded(const QString &category, bool expanded)
{
    if (layout.isExpanded(category) == expanded)
        return;
    ensureLayout();
    const CListItem selected = items->Item(selectedRow);
    if (!expanded && !headerSelected && !selected.isNull() && selected.Category() == category &&
        layout.lineOfHeader(category) >= 0)
        selectLine(layout.lineOfHeader(category), false);
    layout.setExpanded(category, expanded);
    relayout();
}

void PropertyList::Private::setFilter(const QString &text)
{
    if (layout.filter() == text)
        return;
    layout.setFilter(text);
    topRow = 0;
    relayout();
}

void PropertyList::Private::updateDescription()
{
    if (!description)
        return;
    if (headerSelected) {
        description->setContent(selectedCategory, QString());
        return;
    }
    const CListItem item = items->Item(selectedRow);
    description->setContent(item.Name(), item.Description());
}

void PropertyList::Private::scrollTo(int line)
{
    if (!scroll->isEnabled())
        return;
    int top = topRow;
    if (line < top)
        top = line;
    else if (line >= top + visibleRows())
        top = line - visibleRows() + 1;
    if (top != topRow) {
        topRow = qBound(0, top, scroll->maximum());
        showVisible();
    }
}

void PropertyList::Private::selectLine(int line, bool fromKeyboard)
{
    const RowLayout::Line &chosen = layout.at(line);
    headerSelected = chosen.isHeader();
    selectedCategory = chosen.category;
    selectedRow = chosen.row;
    if (fromKeyboard)
        scrollTo(line);
    q->update();
    openEditor();
    updateDescription();
    PropertyListAccessible::notifyCurrentLine(q, line);
}

void PropertyList::Private::moveTo(int line)
{
    const int target = qBound(0, line, lineCount() - 1);
    if (lineCount() > 0 && target != currentLine())
        selectLine(target, true);
}

bool PropertyList::Private::handleHeaderKey(int key)
{
    const bool expanded = layout.isExpanded(selectedCategory);
    if ((key == Qt::Key_Left && expanded) || (key == Qt::Key_Right && !expanded)) {
        setExpanded(selectedCategory, !expanded);
        return true;
    }
    return false;
}

bool PropertyList::Private::handleKey(QKeyEvent *event, bool inEditor)
{
    syncLayout();
    const bool alt = event->modifiers() & Qt::AltModifier;
    const int key = event->key();
    const int line = currentLine();
    if (headerSelected && line >= 0 && handleHeaderKey(key))
        return true;
    switch (key) {
    case Qt::Key_Down:
        if (alt)
            return pressButtonIfShown();
        [[fallthrough]];
    case Qt::Key_Right:
        if (line + 1 < lineCount()) {
            selectLine(line + 1, true);
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Left:
        if (line > 0) {
            selectLine(line - 1, true);
            return true;
        }
        return false;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        const int page = qMax(1, visibleRows() - 1);
        moveTo(line < 0 ? 0 : line + (key == Qt::Key_PageDown ? page : -page));
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        // In a box that edits text they move the cursor; Ctrl makes them move the row.
        if (inEditor && textEditorInPlace() && !(event->modifiers() & Qt::ControlModifier))
            return false;
        moveTo(key == Qt::Key_Home ? 0 : lineCount() - 1);
        return true;
    case Qt::Key_F4:
        return pressButtonIfShown();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!inEditor || (event->modifiers() & Qt::ControlModifier))
            return false;
        openEditor();
        q->update();
        return true;
    default:
        return typeIntoTextArea(event);
    }
}

bool PropertyList::Private::typeIntoTextArea(const QKeyEvent *event)
{
    const CListItem item = headerSelected ? CListItem() : items->Item(selectedRow);
    const QString typed = event->text();
    const auto commandKeys = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (item.isNull() || item.ValueType() != hlvTextArea || item.ReadOnly() || typed.isEmpty() ||
        !typed.at(0).isPrint() || (event->modifiers() & commandKeys))
        return false;
    dropDown(item, typed);
    return true;
}

void PropertyList::Private::copyCurrent() const
{
    const QString text = headerSelected ? selectedCategory : valueText(items->Item(selectedRow));
    QApplication::clipboard()->setText(text);
}

} // namespace Fieldpane
