#include "fieldpane/PropertyList.h"

#include "PropertyListPrivate.h"
#include "fieldpane/EzButton.h"
#include "fieldpane/SystemColors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolTip>

namespace Fieldpane {

namespace {
constexpr int ApplicationWorkspace = 12;
} // namespace

QString PropertyList::Private::toolTipAt(const QPoint &pos, QRect &cell) const
{
    const QPoint at = pos - q->contentsRect().topLeft();
    if (at.x() < 0 || at.y() < 0 || at.x() >= scrollLeft())
        return {};
    const int row0 = at.y() / rowHeight + topRow;
    const CListItem item = items->Item(row0 + 1);
    if (item.isNull())
        return {};
    const int y = (row0 - topRow) * rowHeight + q->contentsRect().top();
    const int names = shownNameWidth();
    if (at.x() < names) {
        cell = QRect(q->contentsRect().left(), y, names, rowHeight);
        const int room = names - NamePadding - 2;
        const bool cut = QFontMetrics(nameFont(item.Bold())).horizontalAdvance(item.Name()) > room;
        return cut ? item.Name() : QString();
    }
    cell = QRect(q->contentsRect().left() + names + 1, y, scrollLeft() - names - 1, rowHeight);
    const QString full = valueText(item);
    QString shown = full;
    if (item.ValueType() == hlvTextArea) {
        shown = firstLine(full);
        if (shown != full) {
            QString lines = full;
            return lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        }
    }
    const int room = cell.width() - NamePadding - 2;
    return q->fontMetrics().horizontalAdvance(shown) > room ? shown : QString();
}

void PropertyList::Private::paint(QPainter &painter)
{
    const QRect inner = q->contentsRect();
    const QPalette &pal = q->palette();
    painter.fillRect(inner, SystemColor(ApplicationWorkspace, pal));
    const int names = shownNameWidth();
    const int valuesLeft = names + 1;
    const int valuesWidth = scrollLeft() - valuesLeft;
    const int rows = rowCount();
    painter.translate(inner.topLeft());
    int y = 0;
    for (int i = topRow; i < rows && y < innerHeight(); ++i, y += rowHeight) {
        const CListItem item = items->Item(i + 1);
        const bool selected = i + 1 == selectedRow;
        const QRect nameRect(0, y, names, rowHeight - 1);
        painter.fillRect(nameRect, selected ? SystemColor(2, pal) : pal.color(QPalette::Button));
        painter.setPen(selected ? SystemColor(9, pal) : pal.color(QPalette::ButtonText));
        painter.setFont(nameFont(item.Bold()));
        const QRect nameText = nameRect.adjusted(NamePadding, 0, -2, 0);
        painter.drawText(
            nameText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            painter.fontMetrics().elidedText(item.Name(), Qt::ElideRight, nameText.width()));
        const QRect valueRect(valuesLeft, y, valuesWidth, rowHeight - 1);
        painter.fillRect(valueRect, pal.color(QPalette::Base));
        painter.setPen(
            pal.color(q->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        painter.setFont(q->font());
        QString shown = valueText(item);
        if (item.ValueType() == hlvTextArea)
            shown = firstLine(shown);
        const QRect valueTextRect = valueRect.adjusted(NamePadding, 0, -2, 0);
        painter.drawText(
            valueTextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            painter.fontMetrics().elidedText(shown, Qt::ElideRight, valueTextRect.width()));
    }
    if (y < innerHeight())
        painter.fillRect(QRect(0, y, scrollLeft(), innerHeight() - y), pal.color(QPalette::Base));
}

PropertyList::PropertyList(QWidget *parent) : QFrame(parent), d(std::make_unique<Private>(this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    d->items = new CListItems(this);

    d->scroll = new QScrollBar(Qt::Vertical, this);
    d->scroll->setObjectName(QStringLiteral("scroll"));
    d->scroll->setFocusPolicy(Qt::NoFocus);
    d->scroll->setEnabled(false);

    d->txt = new QLineEdit(this);
    d->txt->setObjectName(QStringLiteral("txt"));
    d->txt->setFrame(false);
    d->txt->hide();
    d->txt->installEventFilter(this);

    d->btn = new EzButton(this);
    d->btn->setObjectName(QStringLiteral("btn"));
    d->btn->hide();
    connect(d->btn, &EzButton::Click, this, [this] { d->pressButton(); });

    connect(d->scroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (d->settingScroll)
            return;
        d->topRow = value;
        d->hideEditor();
        update();
    });
    connect(d->items, &CListItems::ItemAdded, this, [this](const CListItem &item) {
        d->widenNameColumn(item.Name());
        Refresh();
    });
    connect(d->items, &CListItems::ItemRemoved, this, [this](const CListItem &) {
        d->hideEditor();
        Refresh();
    });
    connect(d->items, &CListItems::ListCleared, this, [this] {
        d->hideEditor();
        Refresh();
    });

    d->updateRowHeight();
    d->resetNameColumn();
    d->layoutScroll();
}

PropertyList::~PropertyList()
{
    if (d->popup)
        delete d->popup.data();
}

void PropertyList::Refresh()
{
    d->showVisible();
}

CListItems *PropertyList::ListItems() const
{
    return d->items;
}

int PropertyList::TopIndex() const
{
    return d->topRow + 1;
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
    // The box's text belongs to the row it was opened on, also when scrolling moved the box
    // out of sight; once that row has left the list the text is dropped.
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

QSize PropertyList::sizeHint() const
{
    return {320, 8 * d->rowHeight};
}

QSize PropertyList::minimumSizeHint() const
{
    return {6 * d->rowHeight, 2 * d->rowHeight};
}

bool PropertyList::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
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
    if (watched == d->txt) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && d->revertEditBox())
                return true;
            if (d->handleKey(key, true))
                return true;
            break;
        }
        case QEvent::ShortcutOverride: {
            // Enter belongs to the grid, not to a default button of the host dialog; so does
            // the Escape that undoes the typing.
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter ||
                (key == Qt::Key_Escape && d->editorOpen && !d->editItem.isNull() &&
                 d->txt->text() != valueText(d->editItem))) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            // Shift+Tab from the box passes the grid on its way back.
            d->leavingBackwards = reason == Qt::BacktabFocusReason;
            if (reason != Qt::PopupFocusReason)
                CommitEdit();
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (d->pressButtonIfShown())
                return true;
            d->txt->selectAll();
            return true;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void PropertyList::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        d->updateRowHeight();
        d->showVisible();
        if (d->editorOpen)
            d->placeEditor(false);
    }
    QFrame::changeEvent(event);
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
        d->txt->setFocus(event->reason());
    QFrame::focusInEvent(event);
}

void PropertyList::keyPressEvent(QKeyEvent *event)
{
    if (!d->handleKey(event, false))
        QFrame::keyPressEvent(event);
}

void PropertyList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || d->rowCount() == 0)
        return;
    if (d->onBoundary(event->position().toPoint())) {
        d->draggingBoundary = true;
        return;
    }
    const int y = event->position().toPoint().y() - contentsRect().top();
    int row0 = qMax(0, y) / d->rowHeight + d->topRow;
    if (row0 >= d->rowCount() - 1)
        row0 = d->rowCount() - 1;
    d->select(row0 + 1, false);
}

void PropertyList::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || d->onBoundary(event->position().toPoint()))
        return;
    if (d->pressButtonIfShown())
        return;
    if (d->txt->isVisible()) {
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
        d->paint(painter);
    }
    QFrame::paintEvent(event);
}

void PropertyList::resizeEvent(QResizeEvent *event)
{
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
