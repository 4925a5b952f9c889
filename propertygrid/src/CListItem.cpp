#include "fieldpane/CListItem.h"

#include "ValueConversion.h"
#include "WildcardPattern.h"

#include <QStringList>

namespace Fieldpane {

struct CListItem::Data {
    eValueTypes valueType = static_cast<eValueTypes>(0);
    QVariant validValues;
    QVariant value;
    QString key;
    QString name;
    QString fileFilter = QStringLiteral("All Files (*.*)|*.*");
    bool bold = false;
};

namespace {
const QVariant &nullVariant()
{
    static const QVariant empty;
    return empty;
}
} // namespace

CListItem::CListItem() = default;

CListItem::CListItem(std::shared_ptr<Data> data) : d(std::move(data)) {}

CListItem CListItem::create(const QString &key, const QString &name, eValueTypes type)
{
    auto data = std::make_shared<Data>();
    data->key = key;
    data->name = name;
    data->valueType = type;
    return CListItem(std::move(data));
}

eValueTypes CListItem::ValueType() const
{
    return d ? d->valueType : static_cast<eValueTypes>(0);
}

QVariant CListItem::ValidValues() const
{
    return d ? d->validValues : nullVariant();
}

QStringList CListItem::ValidValuesList() const
{
    if (!d)
        return {};
    const QVariant &v = d->validValues;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList();
    if (v.typeId() == QMetaType::QVariantList) {
        QStringList texts;
        const QVariantList list = v.toList();
        texts.reserve(list.size());
        for (const QVariant &entry : list)
            texts << entry.toString();
        return texts;
    }
    return {};
}

void CListItem::setValidValues(const QVariant &validValues)
{
    if (d)
        d->validValues = validValues;
}

QVariant CListItem::Value() const
{
    return d ? d->value : nullVariant();
}

void CListItem::setValue(const QVariant &value)
{
    if (!d)
        return;
    switch (d->valueType) {
    case hlvString: {
        const bool isList = d->validValues.typeId() == QMetaType::QStringList ||
                            d->validValues.typeId() == QMetaType::QVariantList;
        const QString pattern = isList ? QString() : d->validValues.toString();
        if (pattern.isEmpty()) {
            d->value = value;
            return;
        }
        const auto matched = MatchWildcard(value.toString(), pattern);
        if (matched.value_or(false))
            d->value = value;
        return;
    }
    case hlvInteger:
        if (const auto number = ToInt32(value))
            d->value = QVariant::fromValue<qint32>(*number);
        return;
    case hlvBoolean:
        d->value =
            ToBoolean(value).value_or(false) ? QStringLiteral("true") : QStringLiteral("false");
        return;
    case hlvTextArea:
    case hlvFilePath:
    case hlvBrowseForFolder:
    case hlvArray:
    case hlvVariable:
        break;
    }
    d->value = value;
}

QString CListItem::Key() const
{
    return d ? d->key : QString();
}

QString CListItem::Name() const
{
    return d ? d->name : QString();
}

void CListItem::setName(const QString &name)
{
    if (d)
        d->name = name;
}

QString CListItem::FileFilter() const
{
    return d ? d->fileFilter : QString();
}

void CListItem::setFileFilter(const QString &filter)
{
    if (d)
        d->fileFilter = filter;
}

bool CListItem::Bold() const
{
    return d && d->bold;
}

void CListItem::setBold(bool bold)
{
    if (d)
        d->bold = bold;
}

} // namespace Fieldpane
