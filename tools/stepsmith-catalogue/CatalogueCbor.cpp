#include "CatalogueCbor.h"

#include <QCborParserError>
#include <QCborStreamWriter>
#include <QCborValue>
#include <QHash>

#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <vector>

namespace stepsmith::catalogue {

namespace {

QString key(const char *name, qint64 i)
{
    return QLatin1String(name) + QString::number(i);
}

QString key(const char *name, qint64 i, char separator, qint64 j)
{
    return QLatin1String(name) + QString::number(i) + QLatin1Char(separator) + QString::number(j);
}

// The map's text keys and their values. QCborMap looks keys up by a linear search, which made
// reading a large catalogue quadratic. Of keys written twice the first one counts, as in
// QCborMap::value: the program and this tool read catalogues with this one reader.
using Keys = QHash<QString, QCborValue>;

using Numbers = std::set<qint64>;

// The action and attribute numbers that keys name: letters, digits, then optionally "_" or
// "-" and digits.
class KeyNumbers final {
public:
    explicit KeyNumbers(const Keys &keys)
    {
        for (auto it = keys.constBegin(); it != keys.constEnd(); ++it)
            note(it.key());
    }

    const Numbers &elements() const { return m_elements; }
    const Numbers &attributes(qint64 i) const
    {
        static const Numbers none;
        const auto it = m_attributes.find(i);
        return it == m_attributes.end() ? none : it->second;
    }

private:
    void note(const QString &key)
    {
        qsizetype p = 0;
        while (p < key.size() && key.at(p).isLetter())
            ++p;
        const auto number = [&](qint64 *value) {
            const qsizetype start = p;
            *value = 0;
            while (p < key.size() && key.at(p) >= QLatin1Char('0') &&
                   key.at(p) <= QLatin1Char('9') && *value < INT_MAX)
                *value = *value * 10 + (key.at(p++).unicode() - '0');
            return p > start;
        };
        qint64 i = 0;
        if (!number(&i))
            return;
        m_elements.insert(i);
        if (p < key.size() && (key.at(p) == QLatin1Char('_') || key.at(p) == QLatin1Char('-'))) {
            ++p;
            qint64 j = 0;
            if (number(&j))
                m_attributes[i].insert(j);
        }
    }

    Numbers m_elements;
    std::map<qint64, Numbers> m_attributes;
};

// The numbers from 1 to count worth reading, in order: those that have keys, and the first one
// that has none (it reads only defaults, as every further key-less one would).
std::vector<qint64> numbersToRead(const Numbers &keyed, qint64 count)
{
    std::vector<qint64> numbers;
    qint64 firstKeyless = 1;
    for (const qint64 n : keyed) {
        if (n == firstKeyless)
            ++firstKeyless;
        else if (n > firstKeyless)
            break;
    }
    for (const qint64 n : keyed) {
        if (n > count)
            break;
        if (n >= 1) {
            if (firstKeyless < n && firstKeyless <= count) {
                numbers.push_back(firstKeyless);
                firstKeyless = LLONG_MAX;
            }
            numbers.push_back(n);
        }
    }
    if (firstKeyless <= count)
        numbers.push_back(firstKeyless);
    return numbers;
}

Keys textKeys(const QCborMap &map)
{
    Keys keys;
    keys.reserve(map.size());
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (!it.key().isString())
            continue;
        const QString key = it.key().toString();
        if (!keys.contains(key))
            keys.insert(key, it.value());
    }
    return keys;
}

QString readString(const Keys &map, const QString &k)
{
    const QCborValue v = map.value(k);
    return v.isString() ? v.toString() : QString();
}

bool readBool(const Keys &map, const QString &k)
{
    const QCborValue v = map.value(k);
    return v.isBool() && v.toBool();
}

// Returns the integer under `k`, `fallback` when absent or not an integer.
qint64 readInteger(const Keys &map, const QString &k, qint64 fallback)
{
    const QCborValue v = map.value(k);
    return v.isInteger() ? v.toInteger() : fallback;
}

QVariant readDefault(const Keys &map, const QString &k)
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

namespace {

// Calls put(key, value) for every key of the compiled form, in file order.
template <typename Put> void forEachKey(const Catalogue &catalogue, Put put)
{
    put(QStringLiteral("ElementCount"), QCborValue(catalogue.actions.size()));
    for (int n = 0; n < catalogue.actions.size(); ++n) {
        const Action &action = catalogue.actions.at(n);
        const int i = n + 1;
        put(key("ContainsText", i), QCborValue(action.containsText));
        put(key("Description", i), QCborValue(action.description));
        put(key("ElementName", i), QCborValue(action.elementName));
        put(key("Parent", i), QCborValue(action.parent));
        put(key("Text", i), QCborValue(action.text));
        put(key("TextMultiLine", i), QCborValue(action.textMultiLine));
        put(key("TextRequired", i), QCborValue(action.textRequired));
        put(key("TextDescription", i), QCborValue(action.textDescription));
        put(key("Information", i), QCborValue(action.information));
        put(key("AttribCount", i), QCborValue(action.attributes.size()));
        for (int m = 0; m < action.attributes.size(); ++m) {
            const Attribute &a = action.attributes.at(m);
            const int j = m + 1;
            put(key("AttribName", i, '_', j), QCborValue(a.name));
            put(key("Type", i, '-', j), QCborValue(a.dataType));
            QCborValue defaultValue;
            if (a.defaultValue.typeId() == QMetaType::Bool)
                defaultValue = a.defaultValue.toBool();
            else if (a.defaultValue.typeId() == QMetaType::LongLong)
                defaultValue = a.defaultValue.toLongLong();
            else
                defaultValue = a.defaultValue.toString();
            put(key("DefaultValue", i, '_', j), defaultValue);
            put(key("Description", i, '_', j), QCborValue(a.description));
            put(key("Required", i, '_', j), QCborValue(a.required));
            put(key("Value", i, '_', j), QCborValue(a.value));
            put(key("ArrayValues", i, '_', j), QCborValue(a.arrayValues));
        }
    }
}

} // namespace

// Written as a stream: QCborMap::insert searches the keys linearly, so building a map of a large
// catalogue key by key took quadratic time. The keys are unique by construction.
QByteArray toCbor(const Catalogue &catalogue)
{
    quint64 pairs = 0;
    forEachKey(catalogue, [&pairs](const QString &, const QCborValue &) { ++pairs; });
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    writer.startMap(pairs);
    forEachKey(catalogue, [&writer](const QString &k, const QCborValue &value) {
        writer.append(k);
        value.toCbor(writer);
    });
    writer.endMap();
    return bytes;
}

QCborMap toCborMap(const Catalogue &catalogue)
{
    return QCborValue::fromCbor(toCbor(catalogue)).toMap();
}

CborReadResult fromCborMap(const QCborMap &cbor)
{
    CborReadResult result;
    const Keys map = textKeys(cbor);
    if (!map.contains(QStringLiteral("ElementCount"))) {
        result.errors << QStringLiteral("the file has no \"ElementCount\" key");
        return result;
    }
    // Every action and attribute that carries data needs at least one key of its own, so counts
    // that add up to more than the number of keys can only come from a damaged file: the first
    // such count is reported. Only the numbers that have keys (and the first one that has none)
    // are read, so a bogus count never makes the reader loop billions of times.
    const KeyNumbers numbers(map);
    qint64 budget = cbor.size();
    const auto spend = [&result, &budget](qint64 count, const QString &what) {
        if ((count < 0 || count > budget) && result.errors.isEmpty())
            result.errors << QStringLiteral("%1 %2 is out of range").arg(what).arg(count);
        budget -= std::max<qint64>(count, 0);
    };
    const qint64 count = readInteger(map, QStringLiteral("ElementCount"), 0);
    spend(count, QStringLiteral("\"ElementCount\""));
    for (const qint64 i : numbersToRead(numbers.elements(), count)) {
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
        spend(attributes, QStringLiteral("\"AttribCount%1\"").arg(i));
        for (const qint64 j : numbersToRead(numbers.attributes(i), attributes)) {
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
