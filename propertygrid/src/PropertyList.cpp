#include "fieldpane/PropertyList.h"

#include "DescriptionPane.h"
#include "PropertyListAccessible.h"
#include "PropertyListPrivate.h"
#include "fieldpane/EzButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSpinBox>
#include <QSplitter>
#include <QToolTip>

namespace Fieldpane {

namespace {

// Rows in view, at the top of the splitter that puts the description pane under them. The
// grid paints them; presses go through to the grid.
QWidget *rowsPlaceholder(QWidget *parent)
{
    auto *rows = new QWidget(parent);
    rows->setAttribute(Qt::WA_TransparentForMouseEvents);
    rows->setAttribute(Qt::WA_NoSystemBackground);
    return rows;
}

} // namespace

void PropertyList::Private::createOptionalEditors()
{
    spin = new QSpinBox(q);
    spin->setObjectName(QStringLiteral("spin"));
    spin->setFrame(false);
    spin->hide();
    spin->installEventFilter(q);
    QObject::connect(spin, &QSpinBox::valueChanged, q, [this] {
        if (!loadingEditor)
            editorDirty = true;
    });

    check = new QCheckBox(q);
    check->setObjectName(QStringLiteral("check"));
    check->hide();
    check->installEventFilter(q);
    QObject::connect(check, &QCheckBox::toggled, q, [this](bool checked) {
        if (!loadingEditor && !editItem.isNull() && !editItem.ReadOnly())
            editItem.setValue(checked);
    });
}

void PropertyList::Private::createChrome()
{
    filterField = new QLineEdit(q);
    filterField->setObjectName(QStringLiteral("filter"));
    filterField->setPlaceholderText(PropertyList::tr("Filter"));
    filterField->setClearButtonEnabled(true);
    filterField->hide();
    filterField->installEventFilter(q);
    QObject::connect(filterField, &QLineEdit::textChanged, q,
                     [this](const QString &text) { setFilter(text); });

    splitter = new QSplitter(Qt::Vertical, q);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(rowsPlaceholder(splitter));
    description = new DescriptionPane(splitter);
    splitter->addWidget(description);
    splitter->lower(); // under the scroll bar and the editors
    splitter->hide();
    QObject::connect(splitter, &QSplitter::splitterMoved, q, [this] {
        descriptionHeight = splitter->sizes().value(1);
        layoutChrome();
        layoutScroll();
        showVisible();
        if (editorOpen)
            placeEditor(false);
    });
}

PropertyList::PropertyList(QWidget *parent) : QFrame(parent), d(std::make_unique<Private>(this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    d->items = new CListItems(this);
    // Assistive technology sees the grid as a table.
    static const bool accessibleTable =
        (QAccessible::installFactory(&PropertyListAccessible::create), true);
    Q_UNUSED(accessibleTable)

    d->scroll = new QScrollBar(Qt::Vertical, this);
    d->scroll->setObjectName(QStringLiteral("scroll"));
    d->scroll->setFocusPolicy(Qt::NoFocus);
    d->scroll->setEnabled(false);

    d->txt = new QLineEdit(this);
    d->txt->setObjectName(QStringLiteral("txt"));
    d->txt->setFrame(false);
    d->txt->hide();
    d->txt->installEventFilter(this);
    connect(d->txt, &QLineEdit::textEdited, this, [this] { d->editorDirty = true; });

    d->btn = new EzButton(this);
    d->btn->setObjectName(QStringLiteral("btn"));
    d->btn->hide();
    connect(d->btn, &EzButton::Click, this, [this] { d->pressButton(); });

    d->createOptionalEditors();
    d->createChrome();

    connect(d->scroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (d->settingScroll)
            return;
        d->topRow = value;
        d->hideEditor();
        update();
    });
    connect(d->items, &CListItems::ItemAdded, this,
            [this](const CListItem &item) { d->itemAdded(item); });
    connect(d->items, &CListItems::ItemRemoved, this, [this](const CListItem &) {
        d->hideEditor();
        Refresh();
    });
    connect(d->items, &CListItems::ListCleared, this, [this] {
        d->hideEditor();
        Refresh();
    });
    connect(d->items, &CListItems::ItemChanged, this,
            [this](const CListItem &item) { d->itemChanged(item); });
    connect(d->items, &CListItems::ValueChanged, this,
            [this](const CListItem &item, const QVariant &oldValue, const QVariant &newValue) {
                d->valueChanged(item, oldValue, newValue);
            });

    d->updateRowHeight();
    d->descriptionHeight = 4 * d->rowHeight;
    d->resetNameColumn();
    d->layoutScroll();
}

PropertyList::~PropertyList()
{
    if (d->popup)
        delete d->popup.data();
    if (d->menu)
        delete d->menu.data();
}

void PropertyList::Refresh()
{
    d->relayout();
}

CListItems *PropertyList::ListItems() const
{
    return d->items;
}

int PropertyList::TopIndex() const
{
    return d->topRow + 1;
}

int PropertyList::SelectedIndex() const
{
    return d->headerSelected ? 0 : d->selectedRow;
}

void PropertyList::setSelectedIndex(int index)
{
    d->syncLayout();
    const int line = index >= 1 && index <= d->rowCount() ? d->layout.lineOfRow(index) : -1;
    if (line >= 0)
        d->selectLine(line, true);
}

bool PropertyList::ButtonForString() const
{
    return d->buttonForString;
}

void PropertyList::setButtonForString(bool value)
{
    d->buttonForString = value;
}

void PropertyList::CommitEdit()
{
    // The editor's value belongs to the row it was opened on, also when scrolling moved the
    // editor out of sight; once that row has left the list the value is dropped.
    d->writeBack();
}

int PropertyList::RowHeight() const
{
    return d->rowHeight;
}

int PropertyList::NameColumnWidth() const
{
    return d->shownNameWidth();
}

void PropertyList::setNameColumnWidth(int width)
{
    d->setChosenNameWidth(width);
}

bool PropertyList::CheckBoxForBooleans() const
{
    return d->checkBoxForBooleans;
}

void PropertyList::setCheckBoxForBooleans(bool value)
{
    d->checkBoxForBooleans = value;
    update();
}

bool PropertyList::SpinBoxForNumbers() const
{
    return d->spinBoxForNumbers;
}

void PropertyList::setSpinBoxForNumbers(bool value)
{
    d->spinBoxForNumbers = value;
}

QString PropertyList::FilterText() const
{
    return d->layout.filter();
}

void PropertyList::setFilterText(const QString &text)
{
    if (d->filterField->text() != text)
        d->filterField->setText(text); // sets the filter through its signal
    else
        d->setFilter(text);
}

bool PropertyList::FilterFieldVisible() const
{
    return d->filterField->isVisibleTo(this);
}

void PropertyList::setFilterFieldVisible(bool visible)
{
    d->filterField->setVisible(visible);
    d->layoutChrome();
    d->layoutScroll();
    d->relayout();
}

QStringList PropertyList::Categories() const
{
    d->ensureLayout();
    return d->layout.categories();
}

bool PropertyList::CategoryExpanded(const QString &category) const
{
    return d->layout.isExpanded(category);
}

void PropertyList::setCategoryExpanded(const QString &category, bool expanded)
{
    d->setExpanded(category, expanded);
}

bool PropertyList::DescriptionVisible() const
{
    return d->splitter->isVisibleTo(this);
}

void PropertyList::setDescriptionVisible(bool visible)
{
    d->splitter->setVisible(visible);
    d->layoutChrome();
    d->layoutScroll();
    d->relayout();
}

int PropertyList::DescriptionHeight() const
{
    return d->descriptionHeight;
}

void PropertyList::setDescriptionHeight(int height)
{
    d->descriptionHeight = qMax(0, height);
    d->layoutChrome();
    d->layoutScroll();
    d->relayout();
}

QSize PropertyList::sizeHint() const
{
    const QMargins chrome = contentsMargins();
    return {320, 8 * d->rowHeight + chrome.top() + chrome.bottom()};
}

QSize PropertyList::minimumSizeHint() const
{
    const QMargins chrome = contentsMargins();
    return {6 * d->rowHeight, 2 * d->rowHeight + chrome.top() + chrome.bottom()};
}

bool PropertyList::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        d->syncLayout();
        const auto *help = static_cast<QHelpEvent *>(event);
        QRect cell;
        const QString tip = d->toolTipAt(help->pos(), cell);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this, cell);
        }
        return true;
    }
    return QFrame::event(event);
}

bool PropertyList::eventFilter(QObject *watched, QEvent *event)
{
    if (d->isEditor(watched) && d->handleEditorEvent(watched, event))
        return true;
    if (watched == d->filterField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Escape empties the field first; Down goes on to the rows.
        if (key == Qt::Key_Escape && !d->filterField->text().isEmpty()) {
            d->filterField->clear();
            return true;
        }
        if (key == Qt::Key_Down && d->lineCount() > 0) {
            if (d->currentLine() >= 0)
                d->placeEditor(true);
            else
                d->selectLine(0, true);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void PropertyList::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        d->updateRowHeight();
        d->layoutChrome();
        d->layoutScroll();
        d->showVisible();
        if (d->editorOpen)
            d->placeEditor(false);
    }
    QFrame::changeEvent(event);
}

void PropertyList::contextMenuEvent(QContextMenuEvent *event)
{
    d->syncLayout();
    int line = d->currentLine();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QPoint at = event->pos() - contentsRect().topLeft();
        line = at.y() >= 0 && at.y() < d->innerHeight() ? d->lineAt(event->pos()) : -1;
    }
    const RowLayout::Line *shown = line >= 0 ? &d->layout.at(line) : nullptr;
    const CListItem item = shown ? d->items->Item(shown->row) : CListItem();
    if (item.isNull() || !item.HasDefaultValue()) {
        event->ignore();
        return;
    }
    if (d->headerSelected || item != d->items->Item(d->selectedRow))
        d->selectLine(line, false);
    d->showContextMenu(item, event->globalPos(), nullptr);
}

void PropertyList::focusInEvent(QFocusEvent *event)
{
    const bool leavingBackwards = d->leavingBackwards;
    d->leavingBackwards = false;
    if (event->reason() == Qt::BacktabFocusReason && leavingBackwards) {
        QFrame::focusInEvent(event);
        focusNextPrevChild(false);
        return;
    }
    // Focus coming in goes on to the editor of the selected row, when it is open.
    if (d->editorOpen)
        d->focusTarget()->setFocus(event->reason());
    QFrame::focusInEvent(event);
}

void PropertyList::keyPressEvent(QKeyEvent *event)
{
    if (!d->handleKey(event, false))
        QFrame::keyPressEvent(event);
}

void PropertyList::mousePressEvent(QMouseEvent *event)
{
    d->syncLayout();
    if (event->button() != Qt::LeftButton || d->lineCount() == 0)
        return;
    const QPoint pos = event->position().toPoint();
    if (d->onBoundary(pos)) {
        d->draggingBoundary = true;
        return;
    }
    const int line = d->lineAt(pos);
    const RowLayout::Line &shown = d->layout.at(line);
    d->selectLine(line, false);
    const int x = pos.x() - contentsRect().left();
    if (shown.isHeader()) {
        if (x < d->rowHeight) // the arrow
            d->setExpanded(shown.category, !d->layout.isExpanded(shown.category));
        return;
    }
    const CListItem item = d->items->Item(shown.row);
    if (d->editorFor(item) == Private::Editor::Check &&
        d->checkIndicator(d->valueCell(line)).contains(pos))
        d->toggleCheck(item);
}

void PropertyList::mouseDoubleClickEvent(QMouseEvent *event)
{
    d->syncLayout();
    if (event->button() != Qt::LeftButton || d->onBoundary(event->position().toPoint()))
        return;
    if (d->headerSelected) {
        if (event->position().x() - contentsRect().left() >= d->rowHeight)
            d->setExpanded(d->selectedCategory, !d->layout.isExpanded(d->selectedCategory));
        return;
    }
    if (d->pressButtonIfShown())
        return;
    if (d->txt->isVisible() && d->txt->x() > 0) {
        d->txt->selectAll();
        d->txt->setFocus(Qt::MouseFocusReason);
    }
}

void PropertyList::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (d->draggingBoundary) {
        d->setChosenNameWidth(qMax(0, pos.x() - contentsRect().left()));
        return;
    }
    if (d->onBoundary(pos))
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
    QFrame::mouseMoveEvent(event);
}

void PropertyList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && d->draggingBoundary) {
        d->draggingBoundary = false;
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void PropertyList::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        // Outside the rows' frame: under the filter field and the description pane.
        const QRegion chrome = QRegion(rect()) - QRegion(frameRect());
        for (const QRect &part : chrome)
            painter.fillRect(part, palette().color(QPalette::Window));
        d->paint(painter);
    }
    QFrame::paintEvent(event);
}

void PropertyList::resizeEvent(QResizeEvent *event)
{
    d->layoutChrome();
    if (d->rowCount() == 0)
        d->resetNameColumn();
    d->layoutScroll();
    d->showVisible();
    if (d->editorOpen)
        d->placeEditor(false);
    QFrame::resizeEvent(event);
}

void PropertyList::wheelEvent(QWheelEvent *event)
{
    if (d->scroll->isEnabled())
        QCoreApplication::sendEvent(d->scroll, event);
    else
        event->ignore();
}

} // namespace Fieldpane
