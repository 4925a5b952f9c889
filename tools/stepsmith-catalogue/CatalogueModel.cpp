#include "CatalogueModel.h"

namespace stepsmith::catalogue {

QString dataTypeName(int type)
{
    switch (type) {
    case String:
        return QStringLiteral("text");
    case TextArea:
        return QStringLiteral("multi-line text");
    case FilePath:
        return QStringLiteral("file path");
    case Folder:
        return QStringLiteral("folder");
    case Integer:
        return QStringLiteral("whole number");
    case Boolean:
        return QStringLiteral("yes/no (true or false)");
    case List:
        return QStringLiteral("choice from a list");
    case Variable:
        return QStringLiteral("variable name");
    case Range:
        return QStringLiteral("range name");
    default:
        return {};
    }
}

QStringList Attribute::arrayValueList() const
{
    if (arrayValues.isEmpty())
        return {};
    return arrayValues.split(QLatin1Char('|'), Qt::KeepEmptyParts);
}

static bool sameDefault(const QVariant &a, const QVariant &b)
{
    return a.typeId() == b.typeId() && a == b;
}

bool Attribute::operator==(const Attribute &other) const
{
    return name == other.name && description == other.description && dataType == other.dataType &&
           required == other.required && sameDefault(defaultValue, other.defaultValue) &&
           value == other.value && arrayValues == other.arrayValues;
}

bool Action::operator==(const Action &other) const
{
    return elementName == other.elementName && parent == other.parent &&
           description == other.description && information == other.information &&
           containsText == other.containsText && text == other.text &&
           textDescription == other.textDescription && textRequired == other.textRequired &&
           textMultiLine == other.textMultiLine && attributes == other.attributes;
}

int Catalogue::indexOf(const QString &name) const
{
    for (int i = 0; i < actions.size(); ++i) {
        if (actions.at(i).elementName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString defaultValueText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.typeId() == QMetaType::LongLong)
        return QString::number(value.toLongLong());
    return value.toString();
}

} // namespace stepsmith::catalogue
