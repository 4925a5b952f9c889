#include "PropertyListPrivate.h"

#include "ValueConversion.h"
#include "fieldpane/CCommonDialogs.h"
#include "fieldpane/EzButton.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>

namespace Fieldpane {

namespace {
// Distance from the column boundary within which a press starts dragging it.
constexpr int BoundaryGrip = 3;
// Share of the control's font that names and values use: rows keep a margin below the text.
constexpr qreal RowFontScale = 9.75 / 8.25;
} // namespace

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
    return rowCount() > 0 && qAbs(pos.x() - boundary) <= BoundaryGrip;
}

void PropertyList::Private::setChosenNameWidth(int width)
{
    chosenNameWidth = width < 0 ? -1 : width;
    if (editorOpen)
        placeEditor(false);
    q->update();
}

QFont PropertyList::Private::nameFont(bool bold) const
{
    QFont f = q->font();
    f.setBold(bold);
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

void PropertyList::Private::widenNameColumn(const QString &name)
{
    const int needed = QFontMetrics(nameFont(true)).horizontalAdvance(name) + 2 * NamePadding;
    nameWidth = qMax(nameWidth, needed);
}

void PropertyList::Private::layoutScroll()
{
    scroll->setGeometry(q->contentsRect().left() + scrollLeft(), q->contentsRect().top(),
                        scrollWidth(), innerHeight());
}

void PropertyList::Private::showVisible()
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

void PropertyList::Private::hideEditor()
{
    editorOpen = false;
    btn->hide();
    if (txt->hasFocus())
        q->setFocus(Qt::OtherFocusReason);
    txt->hide();
}

void PropertyList::Private::writeBoxInto(CListItem item)
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

void PropertyList::Private::writeBack()
{
    if (editRow == 0 || editItem.isNull() || items->IndexOf(editItem) == 0)
        return;
    writeBoxInto(editItem);
    q->update();
}

void PropertyList::Private::openEditor()
{
    writeBack();
    editRow = selectedRow;
    editItem = items->Item(selectedRow);
    placeEditor(true);
}

void PropertyList::Private::placeEditor(bool load)
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
    const bool ellipsis =
        type == hlvFilePath || type == hlvBrowseForFolder || (type == hlvString && buttonForString);
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

void PropertyList::Private::scrollTo(int row1)
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

void PropertyList::Private::select(int row1, bool fromKeyboard)
{
    selectedRow = row1;
    if (fromKeyboard)
        scrollTo(row1);
    q->update();
    openEditor();
}

bool PropertyList::Private::handleKey(QKeyEvent *event, bool inEditBox)
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

bool PropertyList::Private::revertEditBox()
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

bool PropertyList::Private::pressButtonIfShown()
{
    if (!btn->isVisible())
        return false;
    pressButton();
    return true;
}

void PropertyList::Private::pressButton()
{
    const CListItem item = items->Item(selectedRow);
    if (item.isNull())
        return;
    if (btn->Style() == EzButton::DropArrow)
        dropDown(item);
    else
        runDialog(item);
}

void PropertyList::Private::dropDown(const CListItem &item)
{
    QStringList list;
    QString selected;
    const eValueTypes type = item.ValueType();
    if (type == hlvBoolean) {
        list = {QStringLiteral("true"), QStringLiteral("false")};
        selected = ToBoolean(item.Value()).value_or(false) ? list.at(0) : list.at(1);
    } else if (type != hlvTextArea) {
        const QVariant valid = item.ValidValues();
        if (valid.typeId() != QMetaType::QStringList && valid.typeId() != QMetaType::QVariantList)
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
    QObject::connect(dd, &frmDD::ListClick, q, [this](const QString &text) { listClick(text); });
    QObject::connect(dd, &frmDD::TextClose, q, [this](const QString &text) { textClose(text); });
    QObject::connect(dd, &frmDD::ButtonClick, q,
                     [this](QString &text) { Q_EMIT q->StringButton(text); });
    if (type == hlvTextArea)
        dd->ShowText(valueText(item), buttonForString);
    else
        dd->ShowList(list, selected);
}

void PropertyList::Private::listClick(const QString &text)
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

void PropertyList::Private::textClose(const QString &text)
{
    CListItem item = items->Item(selectedRow);
    if (item.isNull())
        return;
    item.setValue(text);
    q->update();
}

void PropertyList::Private::runDialog(CListItem item)
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

} // namespace Fieldpane
