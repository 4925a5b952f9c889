#include "CatalogueCbor.h"

#include <QCborParserError>
#include <QCborValue>

namespace stepsmith::catalogue {

namespace {

QString key(const char *name, int i)
{
    return QLatin1String(name) + QString::number(i);
}

QString key(const char *name, int i, char separator, int j)
{
    return QLatin1String(name) + QString::number(i) + QLatin1Char(separator) + QString::number(j);
}

QString readString(const QCborMap &map, const QString &k)
{
    const QCborValue v = map.value(k);
    return v.isString() ? v.toString() : QString();
}

bool readBool(const QCborMap &map, const QString &k)
{
    const QCborValue v = map.value(k);
    return v.isBool() && v.toBool();
}

// Returns the integer under `k`, `fallback` when absent or not an integer.
qint64 readInteger(const QCborMap &map, const QString &k, qint64 fallback)
{
    const QCborValue v = map.value(k);
    return v.isInteger() ? v.toInteger() : fallback;
}

QVariant readDefault(const QCborMap &map, const QString &k)
{
    const QCborValue v = map.value(k);
    if (v.isBool())
        return v.toBool();
    if (v.isInteger())
        return v.toInteger();
    if (v.isString())
        return v.toString();
    return QString();
}

} // namespace

QCborMap toCborMap(const Catalogue &catalogue)
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), catalogue.actions.size());
    for (int n = 0; n < catalogue.actions.size(); ++n) {
        const Action &action = catalogue.actions.at(n);
        const int i = n + 1;
        map.insert(key("ContainsText", i), action.containsText);
        map.insert(key("Description", i), action.description);
        map.insert(key("ElementName", i), action.elementName);
        map.insert(key("Parent", i), action.parent);
        map.insert(key("Text", i), action.text);
        map.insert(key("TextMultiLine", i), action.textMultiLine);
        map.insert(key("TextRequired", i), action.textRequired);
        map.insert(key("TextDescription", i), action.textDescription);
        map.insert(key("Information", i), action.information);
        map.insert(key("AttribCount", i), action.attributes.size());
        for (int m = 0; m < action.attributes.size(); ++m) {
            const Attribute &a = action.attributes.at(m);
            const int j = m + 1;
            map.insert(key("AttribName", i, '_', j), a.name);
            map.insert(key("Type", i, '-', j), a.dataType);
            QCborValue defaultValue;
            if (a.defaultValue.typeId() == QMetaType::Bool)
                defaultValue = a.defaultValue.toBool();
            else if (a.defaultValue.typeId() == QMetaType::LongLong)
                defaultValue = a.defaultValue.toLongLong();
            else
                defaultValue = a.defaultValue.toString();
            map.insert(key("DefaultValue", i, '_', j), defaultValue);
            map.insert(key("Description", i, '_', j), a.description);
            map.insert(key("Required", i, '_', j), a.required);
            map.insert(key("Value", i, '_', j), a.value);
            map.insert(key("ArrayValues", i, '_', j), a.arrayValues);
        }
    }
    return map;
}

QByteArray toCbor(const Catalogue &catalogue)
{
    return QCborValue(toCborMap(catalogue)).toCbor();
}

CborReadResult fromCborMap(const QCborMap &map)
{
    CborReadResult result;
    // Every action and attribute that carries data needs at least one key of its own, so counts
    // that add up to more than the number of keys can only come from a damaged file. Refusing
    // them keeps a bogus count from making us loop billions of times.
    qint64 budget = map.size();
    if (!map.contains(QStringLiteral("ElementCount"))) {
        result.errors << QStringLiteral("the file has no \"ElementCount\" key");
        return result;
    }
    const qint64 count = readInteger(map, QStringLiteral("ElementCount"), 0);
    if (count < 0 || count > budget) {
        result.errors << QStringLiteral("\"ElementCount\" %1 is out of range").arg(count);
        return result;
    }
    budget -= count;
    for (int i = 1; i <= count; ++i) {
        Action action;
        action.containsText = readBool(map, key("ContainsText", i));
        action.description = readString(map, key("Description", i));
        action.elementName = readString(map, key("ElementName", i));
        action.parent = readString(map, key("Parent", i));
        action.text = readString(map, key("Text", i));
        action.textMultiLine = readBool(map, key("TextMultiLine", i));
        action.textRequired = readBool(map, key("TextRequired", i));
        action.textDescription = readString(map, key("TextDescription", i));
        action.information = readString(map, key("Information", i));
        const qint64 attributes = readInteger(map, key("AttribCount", i), 0);
        if (attributes < 0 || attributes > budget) {
            result.errors
                << QStringLiteral("\"AttribCount%1\" %2 is out of range").arg(i).arg(attributes);
            return result;
        }
        budget -= attributes;
        for (int j = 1; j <= attributes; ++j) {
            Attribute a;
            a.name = readString(map, key("AttribName", i, '_', j));
            const qint64 type = readInteger(map, key("Type", i, '-', j), String);
            a.dataType = (type >= INT_MIN && type <= INT_MAX) ? static_cast<int>(type) : String;
            a.defaultValue = readDefault(map, key("DefaultValue", i, '_', j));
            a.description = readString(map, key("Description", i, '_', j));
            a.required = readBool(map, key("Required", i, '_', j));
            a.value = readString(map, key("Value", i, '_', j));
            a.arrayValues = readString(map, key("ArrayValues", i, '_', j));
            action.attributes << a;
        }
        result.catalogue.actions << action;
    }
    return result;
}

CborReadResult fromCbor(const QByteArray &data)
{
    QCborParserError error{};
    const QCborValue value = QCborValue::fromCbor(data, &error);
    if (error.error != QCborError::NoError) {
        CborReadResult result;
        result.errors << QStringLiteral("not a valid CBOR file at offset %1: %2")
                             .arg(error.offset)
                             .arg(error.errorString());
        return result;
    }
    if (!value.isMap()) {
        CborReadResult result;
        result.errors << QStringLiteral("the file does not hold a CBOR map");
        return result;
    }
    return fromCborMap(value.toMap());
}

} // namespace stepsmith::catalogue
