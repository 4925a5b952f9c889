#include "fieldpane/PropertyList.h"

#include "ValueConversion.h"
#include "fieldpane/CCommonDialogs.h"
#include "fieldpane/EzButton.h"
#include "fieldpane/SystemColors.h"
#include "frmDD.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

namespace Fieldpane {

namespace {
constexpr int ApplicationWorkspace = 12;
constexpr int NamePadding = 4;
// Distance from the column boundary within which a press starts dragging it.
constexpr int BoundaryGrip = 3;
// Share of the control's font that names and values use: rows keep a margin below the text.
constexpr qreal RowFontScale = 9.75 / 8.25;

QString valueText(const CListItem &item)
{
    const QVariant value = item.Value();
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList)
        return {};
    return value.toString();
}

QString firstLine(const QString &text)
{
    const qsizetype end = text.indexOf(QLatin1String("\r\n"));
    return end < 0 ? text : text.left(end);
}

bool hasNoEditBox(eValueTypes type)
{
    return type == hlvTextArea || type == hlvBoolean || type == hlvArray;
}
} // namespace

struct PropertyList::Private {
    explicit Private(PropertyList *owner) : q(owner) {}

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

    int innerWidth() const { return q->contentsRect().width(); }
    int innerHeight() const { return q->contentsRect().height(); }
    int scrollWidth() const { return scroll->sizeHint().width(); }
    int scrollLeft() const { return innerWidth() - scrollWidth(); }
    int buttonWidth() const { return rowHeight; }
    int rowCount() const { return items->Count(); }
    int imageHeight() const { return rowCount() * rowHeight + 1; }

    int minimumColumn() const { return 2 * rowHeight; }

    // Name column as laid out. Following the names it takes at most half the rows' width; a
    // width the user or host chose may take more, but always leaves room for values.
    int shownNameWidth() const
    {
        if (chosenNameWidth >= 0) {
            const int limit = qMax(minimumColumn(), scrollLeft() - 3 * rowHeight);
            return qBound(qMin(minimumColumn(), limit), chosenNameWidth, limit);
        }
        return qBound(0, nameWidth, qMax(0, scrollLeft() / 2));
    }

    bool onBoundary(const QPoint &pos) const
    {
        const int boundary = q->contentsRect().left() + shownNameWidth();
        return rowCount() > 0 && qAbs(pos.x() - boundary) <= BoundaryGrip;
    }

    void setChosenNameWidth(int width)
    {
        chosenNameWidth = width < 0 ? -1 : width;
        if (editorOpen)
            placeEditor(false);
        q->update();
    }

    QFont nameFont(bool bold) const
    {
        QFont f = q->font();
        f.setBold(bold);
        return f;
    }

    void updateRowHeight()
    {
        QFont rowFont = q->font();
        if (rowFont.pointSizeF() > 0)
            rowFont.setPointSizeF(rowFont.pointSizeF() * RowFontScale);
        else
            rowFont.setPixelSize(qRound(rowFont.pixelSize() * RowFontScale));
        const int textHeight = QFontMetrics(q->font()).height();
        rowHeight = qMax(QFontMetrics(rowFont).height(), textHeight + 4) + 1;
    }

    void resetNameColumn() { nameWidth = qMax(0, innerWidth() / 2 - scrollWidth()); }

    void widenNameColumn(const QString &name)
    {
        const int needed = QFontMetrics(nameFont(true)).horizontalAdvance(name) + 2 * NamePadding;
        nameWidth = qMax(nameWidth, needed);
    }

    void layoutScroll()
    {
        scroll->setGeometry(q->contentsRect().left() + scrollLeft(), q->contentsRect().top(),
                            scrollWidth(), innerHeight());
    }

    int visibleRows() const { return qMax(1, innerHeight() / rowHeight); }

    // Scroll range from the rows' total height; the top row goes back to 0 when all fit.
    void showVisible()
    {
        settingScroll = true;
        if (imageHeight() > innerHeight()) {
            const int overflow = rowCount() * rowHeight - innerHeight();
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

    int rowTop(int row1) const { return (row1 - topRow - 1) * rowHeight; }

    // Hides the edit box and the button. Keys must not reach a row that is out of sight, so
    // the grid itself takes the focus from the box (which writes the box back, as leaving
    // the control does).
    void hideEditor()
    {
        editorOpen = false;
        btn->hide();
        if (txt->hasFocus())
            q->setFocus(Qt::OtherFocusReason);
        txt->hide();
    }

    // The box's text into `item` by its type; false when the box was reset instead.
    void writeBoxInto(CListItem item)
    {
        if (item.isNull() || hasNoEditBox(item.ValueType()))
            return;
        const QString text = txt->text();
        if (item.ValueType() == hlvInteger) {
            const auto number = IsNumericText(text) ? ToInt32(text) : std::nullopt;
            if (number)
                item.setValue(QVariant::fromValue<qint32>(*number));
            else
                txt->setText(valueText(item));
            return;
        }
        item.setValue(text);
    }

    void writeBack()
    {
        if (editRow == 0 || editItem.isNull() || items->IndexOf(editItem) == 0)
            return;
        writeBoxInto(editItem);
        q->update();
    }

    void openEditor()
    {
        writeBack();
        editRow = selectedRow;
        editItem = items->Item(selectedRow);
        placeEditor(true);
    }

    // Puts the edit box and the button on the selected row; with `load` the box takes the
    // row's value, its text is selected and it gets the focus.
    void placeEditor(bool load)
    {
        const CListItem item = items->Item(selectedRow);
        if (item.isNull())
            return;
        editorOpen = true;
        btn->hide();
        txt->move(-2 * qMax(1, txt->width()), txt->y());
        txt->show();
        const QRect inner = q->contentsRect();
        const int top = inner.top() + rowTop(selectedRow);
        const int left = inner.left() + shownNameWidth() + 1;
        const eValueTypes type = item.ValueType();
        btn->setGeometry(inner.left() + scrollLeft() - buttonWidth(), top, buttonWidth(),
                         rowHeight - 1);
        if (hasNoEditBox(type)) {
            btn->setStyle(EzButton::DropArrow);
            btn->show();
            if (load)
                txt->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (load) {
            txt->setText(valueText(item));
            txt->setAccessibleName(item.Name());
        }
        const bool ellipsis = type == hlvFilePath || type == hlvBrowseForFolder ||
                              (type == hlvString && buttonForString);
        btn->setStyle(ellipsis ? EzButton::Ellipsis : EzButton::DropArrow);
        const bool buttonShown = ellipsis || type == hlvVariable;
        btn->setVisible(buttonShown);
        const int width = inner.left() + scrollLeft() - left - (buttonShown ? buttonWidth() : 0);
        txt->setGeometry(left + 1, top + 1, qMax(1, width - 1), rowHeight - 3);
        if (load) {
            txt->selectAll();
            txt->setFocus(Qt::OtherFocusReason);
        }
    }

    // Brings a row chosen from the keyboard into view.
    void scrollTo(int row1)
    {
        if (!scroll->isEnabled())
            return;
        const int row0 = row1 - 1;
        int top = topRow;
        if (row0 < top)
            top = row0;
        else if (row0 >= top + visibleRows())
            top = row0 - visibleRows() + 1;
        if (top != topRow) {
            topRow = qBound(0, top, scroll->maximum());
            showVisible();
        }
    }

    void select(int row1, bool fromKeyboard)
    {
        selectedRow = row1;
        if (fromKeyboard)
            scrollTo(row1);
        q->update();
        openEditor();
    }

    bool handleKey(QKeyEvent *event, bool inEditBox)
    {
        const bool alt = event->modifiers() & Qt::AltModifier;
        switch (event->key()) {
        case Qt::Key_Down:
            if (alt)
                return pressButtonIfShown();
            [[fallthrough]];
        case Qt::Key_Right:
            if (selectedRow < rowCount()) {
                select(selectedRow + 1, true);
                return true;
            }
            return false;
        case Qt::Key_Up:
        case Qt::Key_Left:
            if (selectedRow > 1) {
                select(selectedRow - 1, true);
                return true;
            }
            return false;
        case Qt::Key_F4:
            return pressButtonIfShown();
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!inEditBox)
                return false;
            openEditor();
            q->update();
            return true;
        default:
            return false;
        }
    }

    // Escape in the edit box: puts the row's value back. False when there was nothing to undo,
    // so that the key goes on to the host (a dialog's Cancel).
    bool revertEditBox()
    {
        if (!editorOpen || editItem.isNull() || items->IndexOf(editItem) == 0 ||
            hasNoEditBox(editItem.ValueType()))
            return false;
        const QString value = valueText(editItem);
        if (txt->text() == value)
            return false;
        txt->setText(value);
        txt->selectAll();
        return true;
    }

    bool pressButtonIfShown()
    {
        if (!btn->isVisible())
            return false;
        pressButton();
        return true;
    }

    void pressButton()
    {
        const CListItem item = items->Item(selectedRow);
        if (item.isNull())
            return;
        if (btn->Style() == EzButton::DropArrow)
            dropDown(item);
        else
            runDialog(item);
    }

    void dropDown(const CListItem &item)
    {
        QStringList list;
        QString selected;
        const eValueTypes type = item.ValueType();
        if (type == hlvBoolean) {
            list = {QStringLiteral("true"), QStringLiteral("false")};
            selected = ToBoolean(item.Value()).value_or(false) ? list.at(0) : list.at(1);
        } else if (type != hlvTextArea) {
            const QVariant valid = item.ValidValues();
            if (valid.typeId() != QMetaType::QStringList &&
                valid.typeId() != QMetaType::QVariantList)
                return;
            list = item.ValidValuesList();
            selected = valueText(item);
        }
        if (popup)
            popup->close();
        auto *dd = new frmDD(q);
        popup = dd;
        // Under the button, as wide as the value column.
        const QRect button = btn->geometry();
        const int right = button.right() + 1;
        const int left = right - (innerWidth() - shownNameWidth() - scrollWidth());
        dd->move(q->mapToGlobal(QPoint(left, button.bottom())));
        dd->resize(right - left + 1, 1);
        dd->setAnchor(QRect(q->mapToGlobal(QPoint(left, button.top())),
                            QSize(right - left + 1, button.height())));
        QObject::connect(dd, &frmDD::ListClick, q,
                         [this](const QString &text) { listClick(text); });
        QObject::connect(dd, &frmDD::TextClose, q,
                         [this](const QString &text) { textClose(text); });
        QObject::connect(dd, &frmDD::ButtonClick, q,
                         [this](QString &text) { Q_EMIT q->StringButton(text); });
        if (type == hlvTextArea)
            dd->ShowText(valueText(item), buttonForString);
        else
            dd->ShowList(list, selected);
    }

    void listClick(const QString &text)
    {
        if (text.isEmpty())
            return;
        CListItem item = items->Item(selectedRow);
        if (item.isNull())
            return;
        if (item.ValueType() == hlvBoolean) {
            item.setValue(text == QLatin1String("true"));
        } else {
            item.setValue(text);
            if (item.ValueType() == hlvVariable) {
                txt->setText(text);
                txt->selectAll();
            }
        }
        q->update();
    }

    void textClose(const QString &text)
    {
        CListItem item = items->Item(selectedRow);
        if (item.isNull())
            return;
        item.setValue(text);
        q->update();
    }

    void runDialog(CListItem item)
    {
        const eValueTypes type = item.ValueType();
        bool changed = false;
        // A modal dialog or the host's handler may end the grid's life.
        const QPointer<PropertyList> alive(q);
        if (type == hlvFilePath || type == hlvBrowseForFolder) {
            CCommonDialogs dialog;
            dialog.setFilter(item.FileFilter());
            dialog.Init(q->window());
            if (type == hlvFilePath) {
                // The dialog opens where the current file is, when that folder exists.
                const QString current = valueText(item);
                const QFileInfo info(current);
                if (!current.isEmpty() && info.dir().exists()) {
                    dialog.setPath(info.absolutePath());
                    dialog.setFileName(info.absoluteFilePath());
                }
                const bool chosen = dialog.ShowOpen();
                if (!alive)
                    return;
                if (chosen) {
                    txt->setText(dialog.FileName());
                    item.setValue(dialog.FileName());
                    changed = true;
                }
            } else {
                dialog.setPath(valueText(item));
                dialog.setTitle(PropertyList::tr("Select a folder"));
                const bool chosen = dialog.ShowFolder(true);
                if (!alive)
                    return;
                if (chosen) {
                    txt->setText(dialog.Path());
                    item.setValue(dialog.Path());
                    changed = true;
                }
            }
        } else if (type == hlvString && buttonForString) {
            QString text = txt->text();
            const QString before = text;
            Q_EMIT q->StringButton(text);
            if (!alive)
                return;
            if (text != before) {
                txt->setText(text);
                item.setValue(text);
                changed = true;
            }
        }
        if (changed) {
            q->update();
            openEditor();
        }
    }

    // The full name or value under `pos` when the cell cannot show all of it.
    QString toolTipAt(const QPoint &pos, QRect &cell) const
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
            const bool cut =
                QFontMetrics(nameFont(item.Bold())).horizontalAdvance(item.Name()) > room;
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

    void paint(QPainter &painter)
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
            painter.fillRect(nameRect,
                             selected ? SystemColor(2, pal) : pal.color(QPalette::Button));
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
            painter.fillRect(QRect(0, y, scrollLeft(), innerHeight() - y),
                             pal.color(QPalette::Base));
    }
};

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

int PropertyList::SelectedIndex() const
{
    return d->selectedRow;
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

frmDD *PropertyList::OpenPopup() const
{
    return d->popup;
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
