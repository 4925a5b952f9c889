// The row's button: the drop-down pop-up and the dialogs it opens.
#include "PropertyListPrivate.h"

#include "fieldpane/CCommonDialogs.h"
#include "fieldpane/EzButton.h"
#include "fieldpane/SystemColors.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace Fieldpane {

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
    if (item.isNull() || headerSelected || item.ReadOnly())
        return;
    if (btn->Style() == EzButton::DropArrow)
        dropDown(item);
    else
        runDialog(item);
}

void PropertyList::Private::dropDown(const CListItem &item, const QString &typed)
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
        dd->ShowText(typed.isEmpty() ? valueText(item) : typed, buttonForString);
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
    // A modal dialog or the host's handler may end the grid's life.
    const QPointer<PropertyList> alive(q);
    bool changed = false;
    switch (item.ValueType()) {
    case hlvFilePath:
    case hlvBrowseForFolder:
        changed = runFileDialog(item);
        break;
    case hlvColor:
        changed = runColorDialog(item);
        break;
    case hlvFont:
        changed = runFontDialog(item);
        break;
    case hlvString: {
        if (!buttonForString)
            return;
        QString text = txt->text();
        const QString before = text;
        Q_EMIT q->StringButton(text);
        if (alive && text != before) {
            txt->setText(text);
            item.setValue(text);
            changed = true;
        }
        break;
    }
    default:
        return;
    }
    if (alive && changed) {
        q->update();
        openEditor();
    }
}

bool PropertyList::Private::runFileDialog(CListItem item)
{
    const QPointer<PropertyList> alive(q);
    CCommonDialogs dialog;
    dialog.setFilter(item.FileFilter());
    dialog.Init(q->window());
    QString chosen;
    if (item.ValueType() == hlvFilePath) {
        // The dialog opens where the current file is, when that folder exists.
        const QString current = valueText(item);
        const QFileInfo info(current);
        if (!current.isEmpty() && info.dir().exists()) {
            dialog.setPath(info.absolutePath());
            dialog.setFileName(info.absoluteFilePath());
        }
        if (dialog.ShowOpen())
            chosen = dialog.FileName();
    } else {
        dialog.setPath(valueText(item));
        dialog.setTitle(PropertyList::tr("Select a folder"));
        if (dialog.ShowFolder(true))
            chosen = dialog.Path();
    }
    if (!alive || chosen.isEmpty())
        return false;
    txt->setText(chosen);
    item.setValue(chosen);
    return true;
}

bool PropertyList::Private::runColorDialog(CListItem item)
{
    const QPointer<PropertyList> alive(q);
    CCommonDialogs dialog;
    dialog.Init(q->window());
    dialog.setColor(ToOleColor(item.Value().value<QColor>()));
    if (!dialog.ShowColor(true) || !alive)
        return false;
    item.setValue(FromOleColor(dialog.Color()));
    txt->setText(valueText(item));
    return true;
}

bool PropertyList::Private::runFontDialog(CListItem item)
{
    const QPointer<PropertyList> alive(q);
    QFont font =
        item.Value().typeId() == QMetaType::QFont ? item.Value().value<QFont>() : q->font();
    CCommonDialogs dialog;
    dialog.Init(q->window());
    dialog.setFixedPitchOnly(false);
    dialog.setFontName(font.family());
    dialog.setFontSize(static_cast<qint16>(qMax(1, qRound(font.pointSizeF()))));
    dialog.setFontBold(font.bold());
    dialog.setFontItalic(font.italic());
    dialog.setFontUnderline(font.underline());
    if (!dialog.ShowFont() || !alive)
        return false;
    font.setStyleName(QString()); // the family's style follows weight and slant
    font.setFamily(dialog.FontName());
    if (dialog.FontSize() > 0)
        font.setPointSize(dialog.FontSize());
    font.setBold(dialog.FontBold());
    font.setItalic(dialog.FontItalic());
    font.setUnderline(dialog.FontUnderline());
    item.setValue(font);
    return true;
}

} // namespace Fieldpane
