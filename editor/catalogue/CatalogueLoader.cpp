// CElements::LoadFile: reads the compiled catalogue, one CBOR map of typed values under text
// keys ("ElementCount", "ElementName3", "AttribName3_2", "Type3-2", ...).
#include "document/CElements.h"

#include "document/RegularFile.h"

#include <QCborMap>
#include <QCborValue>
#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <climits>
#include <map>
#include <set>
#include <vector>

namespace {

using Numbers = std::set<qint64>;

class KeyReader final {
public:
    explicit KeyReader(const QCborMap &map)
    {
        m_values.reserve(map.size());
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            if (!it.key().isString())
                continue;
            const QString key = it.key().toString();
            m_values.insert(key, it.value());
            noteNumbers(key);
        }
    }

    // Action numbers that have keys of their own.
    const Numbers &elements() const { return m_elements; }
    // Attribute numbers of action i that have keys of their own.
    const Numbers &attributes(qint64 i) const
    {
        static const Numbers none;
        const auto it = m_attributes.find(i);
        return it == m_attributes.end() ? none : it->second;
    }

    QString text(const QString &key) const
    {
        const QCborValue v = m_values.value(key);
        return v.isString() ? v.toString() : QString();
    }
    bool flag(const QString &key) const
    {
        const QCborValue v = m_values.value(key);
        return v.isBool() && v.toBool();
    }
    qint64 integer(const QString &key, qint64 fallback) const
    {
        const QCborValue v = m_values.value(key);
        return v.isInteger() ? v.toInteger() : fallback;
    }
    // The value in its stored type (text, boolean or integer); "" otherwise.
    QVariant variant(const QString &key) const
    {
        const QCborValue v = m_values.value(key);
        if (v.isBool())
            return v.toBool();
        if (v.isInteger())
            return v.toInteger();
        if (v.isString())
            return v.toString();
        return QString();
    }

private:
    // Records the numbers a key names: letters, digits, then optionally "_" or "-" and digits.
    void noteNumbers(const QString &key)
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

    QHash<QString, QCborValue> m_values;
    Numbers m_elements;
    std::map<qint64, Numbers> m_attributes;
};

QString key(const char *name, qint64 i)
{
    return QLatin1String(name) + QString::number(i);
}

QString key(const char *name, qint64 i, char separator, qint64 j)
{
    return QLatin1String(name) + QString::number(i) + QLatin1Char(separator) + QString::number(j);
}

// The numbers from 1 to count worth reading, in order: those that have keys, and the first one
// that has none. Every further key-less entry reads only defaults, so it would carry the same
// (empty) name and be dropped as a duplicate; skipping them keeps a damaged count from making
// the loader run billions of times.
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

} // namespace

void CElements::LoadFile(const QString &path)
{
    m_filePath = path;
    m_loadProblems.clear();

    QFile file;
    const FileOpen opened = OpenRegularFile(file, path);
    if (opened == FileOpen::Special) {
        m_loadProblems.append(QCoreApplication::translate("CElements",
                                                          "The catalogue '%1' is a device or a "
                                                          "pipe, not a file, and was not read.")
                                  .arg(path));
        return;
    }
    if (opened != FileOpen::Opened)
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    file.close();

    QCborParserError error{};
    const QCborValue root = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !root.isMap())
        return;
    const KeyReader keys(root.toMap());

    const qint64 count = keys.integer(QStringLiteral("ElementCount"), 0);
    if (count <= 0)
        return;
    Clear();

    for (const qint64 i : numbersToRead(keys.elements(), count)) {
        const QString name = keys.text(key("ElementName", i));
        if (Contains(name))
            continue; // the first action of a name stays
        const auto element =
            Add(name, keys.text(key("Description", i)), keys.flag(key("ContainsText", i)),
                keys.text(key("TextDescription", i)), keys.flag(key("TextRequired", i)),
                keys.flag(key("TextMultiLine", i)), keys.text(key("Parent", i)),
                keys.text(key("Text", i)));
        if (!element)
            continue;
        element->Information = keys.text(key("Information", i));

        const qint64 attributes = keys.integer(key("AttribCount", i), 0);
        for (const qint64 j : numbersToRead(keys.attributes(i), attributes)) {
            const qint64 type = keys.integer(key("Type", i, '-', j), 1);
            (void)element->Attributes().Add(
                keys.text(key("AttribName", i, '_', j)),
                type >= INT_MIN && type <= INT_MAX ? static_cast<qint32>(type) : 1,
                keys.text(key("Value", i, '_', j)), keys.text(key("ArrayValues", i, '_', j)),
                keys.flag(key("Required", i, '_', j)), keys.variant(key("DefaultValue", i, '_', j)),
                keys.text(key("Description", i, '_', j)));
        }
    }
    m_loadProblems = DropUnwritableNames();
}
