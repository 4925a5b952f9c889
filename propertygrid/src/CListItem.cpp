#include "fieldpane/CListItem.h"

#include "ValueConversion.h"
#include "WildcardPattern.h"
#include "fieldpane/CListItems.h"
#include "fieldpane/PropertyList.h"

#include <QStringList>

#include <limits>
#include <optional>
#include <utility>

namespace Fieldpane {

struct CListItem::Data {
    eValueTypes valueType = static_cast<eValueTypes>(0);
    QVariant validValues;
    QVariant value;
    QString key;
    QString name;
    QString fileFilter = PropertyList::tr("All Files (*.*)|*.*");
    bool bold = false;
    QString category;
    QString description;
    bool readOnly = false;
    QVariant defaultValue;
    qint32 minimum = std::numeric_limits<qint32>::min();
    qint32 maximum = std::numeric_limits<qint32>::max();
    qint32 step = 1;
    CListItems *owner = nullptr; // the list the row is in, told of its changes
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

namespace {

bool isList(const QVariant &value)
{
    return value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList;
}

// What the row stores for `value`, by its type; nothing when the value is refused.
std::optional<QVariant> converted(const CListItem &row, const QVariant &value)
{
    switch (row.ValueType()) {
    case hlvString: {
        const QVariant valid = row.ValidValues();
        const QString pattern = isList(valid) ? QString() : valid.toString();
        if (pattern.isEmpty() || MatchWildcard(value.toString(), pattern).value_or(false))
            return value;
        return std::nullopt;
    }
    case hlvInteger: {
        const auto number = ToInt32(value);
        if (!number || *number < row.Minimum() || *number > row.Maximum())
            return std::nullopt;
        return QVariant::fromValue<qint32>(*number);
    }
    case hlvBoolean:
        return ToBoolean(value).value_or(false) ? QStringLiteral("true") : QStringLiteral("false");
    case hlvColor: {
        const auto color = ToColor(value);
        return color ? std::optional<QVariant>(*color) : std::nullopt;
    }
    case hlvFont: {
        const auto font = ToFont(value);
        return font ? std::optional<QVariant>(*font) : std::nullopt;
    }
    case hlvTextArea:
    case hlvFilePath:
    case hlvBrowseForFolder:
    case hlvArray:
    case hlvVariable:
        break;
    }
    return value;
}

} // namespace

void CListItem::setValue(const QVariant &value)
{
    if (!d)
        return;
    const auto stored = converted(*this, value);
    if (!stored || *stored == d->value)
        return;
    const QVariant old = std::exchange(d->value, *stored);
    if (d->owner)
        d->owner->rowValueChanged(*this, old, d->value);
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
    if (d && d->name != name) {
        d->name = name;
        changed();
    }
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
    if (d && d->bold != bold) {
        d->bold = bold;
        changed();
    }
}

QString CListItem::Category() const
{
    return d ? d->category : QString();
}

void CListItem::setCategory(const QString &category)
{
    if (d && d->category != category) {
        d->category = category;
        changed();
    }
}

QString CListItem::Description() const
{
    return d ? d->description : QString();
}

void CListItem::setDescription(const QString &description)
{
    if (d && d->description != description) {
        d->description = description;
        changed();
    }
}

bool CListItem::ReadOnly() const
{
    return d && d->readOnly;
}

void CListItem::setReadOnly(bool readOnly)
{
    if (d && d->readOnly != readOnly) {
        d->readOnly = readOnly;
        changed();
    }
}

QVariant CListItem::DefaultValue() const
{
    return d ? d->defaultValue : nullVariant();
}

void CListItem::setDefaultValue(const QVariant &value)
{
    if (!d)
        return;
    const auto stored = value.isValid() ? converted(*this, value) : QVariant();
    if (!stored || *stored == d->defaultValue)
        return;
    d->defaultValue = *stored;
    changed();
}

bool CListItem::HasDefaultValue() const
{
    return d && d->defaultValue.isValid();
}

bool CListItem::DiffersFromDefault() const
{
    return HasDefaultValue() && d->value != d->defaultValue;
}

void CListItem::ResetValue()
{
    if (HasDefaultValue())
        setValue(d->defaultValue);
}

int CListItem::Minimum() const
{
    return d ? d->minimum : std::numeric_limits<qint32>::min();
}

int CListItem::Maximum() const
{
    return d ? d->maximum : std::numeric_limits<qint32>::max();
}

void CListItem::setRange(int minimum, int maximum)
{
    if (!d)
        return;
    d->minimum = qMin(minimum, maximum);
    d->maximum = maximum;
    changed();
}

int CListItem::Step() const
{
    return d ? d->step : 1;
}

void CListItem::setStep(int step)
{
    if (d && d->step != qMax(1, step)) {
        d->step = qMax(1, step);
        changed();
    }
}

void CListItem::setOwner(CListItems *owner)
{
    if (d)
        d->owner = owner;
}

void CListItem::changed() const
{
    if (d && d->owner)
        d->owner->rowChanged(*this);
}

} // namespace Fieldpane
