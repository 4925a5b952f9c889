#include "PropertyListPrivate.h"

#include "fieldpane/EzButton.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace Fieldpane {

PropertyList::Private::Editor PropertyList::Private::editorFor(const CListItem &item) const
{
    const eValueTypes type = item.ValueType();
    if (item.ReadOnly())
        return hasNoEditBox(type) ? Editor::Hidden : Editor::Box;
    if (type == hlvInteger && spinBoxForNumbers)
        return Editor::Spin;
    if (type == hlvBoolean && checkBoxForBooleans)
        return Editor::Check;
    return hasNoEditBox(type) ? Editor::Hidden : Editor::Box;
}

std::pair<int, bool> PropertyList::Private::buttonFor(const CListItem &item) const
{
    switch (item.ValueType()) {
    case hlvFilePath:
    case hlvBrowseForFolder:
    case hlvColor:
    case hlvFont:
        return {EzButton::Ellipsis, !item.ReadOnly()};
    case hlvString:
        return {buttonForString ? EzButton::Ellipsis : EzButton::DropArrow,
                buttonForString && !item.ReadOnly()};
    case hlvBoolean:
        return {EzButton::DropArrow, !item.ReadOnly() && !checkBoxForBooleans};
    case hlvTextArea:
    case hlvArray:
    case hlvVariable:
        return {EzButton::DropArrow, !item.ReadOnly()};
    case hlvInteger:
        break;
    }
    return {EzButton::DropArrow, false};
}

void PropertyList::Private::hideEditor()
{
    editorOpen = false;
    btn->hide();
    if (txt->hasFocus() || spin->hasFocus() || check->hasFocus())
        q->setFocus(Qt::OtherFocusReason);
    txt->hide();
    spin->hide();
    check->hide();
}

QWidget *PropertyList::Private::focusTarget() const
{
    if (spin->isVisible())
        return spin;
    if (check->isVisible())
        return check;
    return txt;
}

bool PropertyList::Private::isEditor(const QObject *object) const
{
    return object == txt || object == spin || object == check;
}

bool PropertyList::Private::textEditorInPlace() const
{
    return (txt->isVisible() && txt->x() > 0) || spin->isVisible();
}

void PropertyList::Private::writeBoxInto(CListItem item)
{
    if (item.isNull() || item.ReadOnly() || !editorDirty)
        return;
    const Editor kind = editorFor(item);
    if (kind == Editor::Spin) {
        spin->interpretText();
        item.setValue(spin->value());
        editorDirty = false;
        return;
    }
    if (kind != Editor::Box)
        return;
    const QString text = txt->text();
    if (item.ValueType() == hlvInteger) {
        const auto number = IsNumericText(text) ? ToInt32(text) : std::nullopt;
        if (number)
            item.setValue(QVariant::fromValue<qint32>(*number));
        if (!number || item.Value().toInt() != *number)
            txt->setText(valueText(item));
    } else {
        item.setValue(text);
    }
    editorDirty = txt->text() != valueText(item);
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
    const int line = currentLine();
    const CListItem item = items->Item(selectedRow);
    if (line < 0 || (!headerSelected && item.isNull()))
        return;
    editorOpen = true;
    btn->hide();
    txt->move(-2 * qMax(1, txt->width()), txt->y());
    txt->show();
    const Editor kind = headerSelected ? Editor::Hidden : editorFor(item);
    if (headerSelected) {
        // A header has no editor; the box keeps the focus out of sight for the keys.
        if (load) {
            loadingEditor = true;
            txt->clear();
            labelEditors(selectedCategory, QString());
            loadingEditor = false;
            txt->setFocus(Qt::OtherFocusReason);
        }
    } else {
        placeValueEditor(item, valueCell(line), load);
    }
    // Hidden only now, once the focus has gone on: hiding the widget that has it would
    // send the focus elsewhere first.
    if (kind != Editor::Spin)
        spin->hide();
    if (kind != Editor::Check)
        check->hide();
    if (kind == Editor::Spin || kind == Editor::Check) {
        // So that Tab and Shift+Tab never stop in the box out of sight.
        if (txt->hasFocus())
            focusTarget()->setFocus(Qt::OtherFocusReason);
        txt->hide();
    }
}

void PropertyList::Private::placeValueEditor(const CListItem &item, const QRect &cell, bool load)
{
    const QRect inner = q->contentsRect();
    const auto [style, buttonShown] = buttonFor(item);
    btn->setStyle(style);
    btn->setGeometry(inner.left() + scrollLeft() - buttonWidth(), cell.top(), buttonWidth(),
                     rowHeight - 1);
    btn->setVisible(buttonShown);
    const int right = inner.left() + scrollLeft() - (buttonShown ? buttonWidth() : 0);
    const int left = item.ValueType() == hlvColor ? colorSwatch(cell).right() + 2 : cell.left();
    const Editor kind = editorFor(item);
    if (kind == Editor::Spin) {
        loadingEditor = true;
        spin->setRange(item.Minimum(), item.Maximum());
        spin->setSingleStep(item.Step());
        loadingEditor = false;
    }
    if (load)
        loadEditor(item);
    QWidget *focus = txt;
    switch (kind) {
    case Editor::Hidden:
        break;
    case Editor::Box:
        txt->setReadOnly(item.ReadOnly());
        txt->setGeometry(left + 1, cell.top() + 1, qMax(1, right - left - 1), rowHeight - 3);
        if (load)
            txt->selectAll();
        break;
    case Editor::Spin:
        spin->setGeometry(left, cell.top(), qMax(1, right - left), rowHeight - 1);
        spin->show();
        if (load)
            spin->selectAll();
        focus = spin;
        break;
    case Editor::Check:
        check->setGeometry(checkIndicator(cell));
        check->show();
        focus = check;
        break;
    }
    if (load)
        focus->setFocus(Qt::OtherFocusReason);
}

void PropertyList::Private::loadEditor(const CListItem &item)
{
    loadingEditor = true;
    switch (editorFor(item)) {
    case Editor::Box:
    case Editor::Hidden:
        txt->setText(valueText(item));
        break;
    case Editor::Spin:
        spin->setValue(item.Value().toInt());
        break;
    case Editor::Check:
        check->setChecked(ToBoolean(item.Value()).value_or(false));
        break;
    }
    labelEditors(item.Name(), valueText(item));
    editorDirty = false;
    loadingEditor = false;
}

void PropertyList::Private::labelEditors(const QString &name, const QString &value)
{
    for (QWidget *editor : {static_cast<QWidget *>(txt), static_cast<QWidget *>(spin),
                            static_cast<QWidget *>(check)}) {
        editor->setAccessibleName(name);
        editor->setAccessibleDescription(value);
    }
}

bool PropertyList::Private::revertible() const
{
    if (!editorOpen || editItem.isNull() || editItem.ReadOnly() || items->IndexOf(editItem) == 0)
        return false;
    switch (editorFor(editItem)) {
    case Editor::Box:
        return txt->text() != valueText(editItem);
    case Editor::Spin:
        return spin->cleanText() != QString::number(editItem.Value().toInt());
    case Editor::Check:
    case Editor::Hidden:
        break;
    }
    return false;
}

bool PropertyList::Private::revertEditBox()
{
    if (!revertible())
        return false;
    loadEditor(editItem);
    if (txt->isVisible())
        txt->selectAll();
    if (spin->isVisible())
        spin->selectAll();
    return true;
}

bool PropertyList::Private::handleEditorEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && revertEditBox())
            return true;
        // Copying where no text is in sight copies the selected row's value.
        if (key->matches(QKeySequence::Copy) && watched != spin &&
            !(watched == txt && textEditorInPlace())) {
            copyCurrent();
            return true;
        }
        const bool menuKey = key->key() == Qt::Key_Menu ||
                             (key->key() == Qt::Key_F10 && key->modifiers() & Qt::ShiftModifier);
        if (menuKey && !headerSelected) {
            const QRect cell = valueCell(currentLine());
            if (showContextMenu(items->Item(selectedRow), q->mapToGlobal(cell.center()), nullptr))
                return true;
        }
        return handleKey(key, true);
    }
    case QEvent::ShortcutOverride: {
        // Enter belongs to the grid, not to a default button of the host dialog; so does
        // the Escape that undoes the typing. Ctrl+Enter is left to the host.
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) &&
                           !(keyEvent->modifiers() & Qt::ControlModifier);
        if (enter || (key == Qt::Key_Escape && revertible())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Shift+Tab from the editor passes the grid on its way back.
        leavingBackwards = reason == Qt::BacktabFocusReason;
        if (reason != Qt::PopupFocusReason)
            q->CommitEdit();
        return false;
    }
    case QEvent::MouseButtonDblClick:
        if (watched != txt)
            return false;
        if (pressButtonIfShown())
            return true;
        txt->selectAll();
        return true;
    case QEvent::ContextMenu:
        if (watched != txt || !editItem.HasDefaultValue())
            return false;
        return showContextMenu(editItem, static_cast<QContextMenuEvent *>(event)->globalPos(),
                               txt->createStandardContextMenu());
    default:
        return false;
    }
}

bool PropertyList::Private::showContextMenu(const CListItem &item, const QPoint &globalPos,
                                            QMenu *base)
{
    if (item.isNull() || !item.HasDefaultValue()) {
        delete base;
        return false;
    }
    QMenu *shown = base ? base : new QMenu(q);
    if (base)
        shown->addSeparator();
    QAction *reset = shown->addAction(PropertyList::tr("Reset"));
    reset->setEnabled(!item.ReadOnly() && item.DiffersFromDefault());
    QObject::connect(reset, &QAction::triggered, q, [this, item] { resetRow(item); });
    shown->setAttribute(Qt::WA_DeleteOnClose);
    if (menu)
        menu->close();
    menu = shown;
    shown->popup(globalPos);
    return true;
}

void PropertyList::Private::resetRow(CListItem item)
{
    item.ResetValue();
    if (editorOpen && item == editItem) {
        loadEditor(item);
        if (txt->isVisible())
            txt->selectAll();
    }
    q->update();
}

void PropertyList::Private::toggleCheck(CListItem item)
{
    if (item.isNull() || item.ReadOnly())
        return;
    item.setValue(!ToBoolean(item.Value()).value_or(false));
}

} // namespace Fieldpane
