#include "core/settings/RegFileFormat.h"

#include <QStringList>
#include <QtEndian>

namespace {

constexpr QLatin1StringView kHeader("Windows Registry Editor Version 5.00");
constexpr QLatin1StringView kHeader4("REGEDIT4");
constexpr int kHexLineWidth = 76;

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        // A surrogate without its partner cannot be written back (the file is rewritten in
        // UTF-8): it becomes U+FFFD, as invalid UTF-8 does.
        QString text;
        text.reserve(bytes.size() / 2);
        const qsizetype units = (bytes.size() - 2) / 2;
        const auto unit = [&bytes](qsizetype i) {
            return qFromLittleEndian<quint16>(bytes.constData() + 2 + 2 * i);
        };
        for (qsizetype i = 0; i < units; ++i) {
            const char16_t u = unit(i);
            if (QChar::isHighSurrogate(u) && i + 1 < units && QChar::isLowSurrogate(unit(i + 1))) {
                text.append(QChar(u));
                text.append(QChar(unit(++i)));
            } else {
                text.append(QChar::isSurrogate(u) ? QChar(QChar::ReplacementCharacter) : QChar(u));
            }
        }
        return text;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

QByteArray utf16Bytes(const QString &text, bool terminate)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        const quint16 u = c.unicode();
        bytes.append(static_cast<char>(u & 0xFF));
        bytes.append(static_cast<char>(u >> 8));
    }
    if (terminate)
        bytes.append(2, '\0');
    return bytes;
}

// Parses a quoted string starting at text[pos] == '"'; on success sets *end past the closing quote.
bool parseQuoted(const QString &text, qsizetype pos, QString *out, qsizetype *end)
{
    if (pos >= text.size() || text.at(pos) != u'"')
        return false;
    QString result;
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next == u'\\' || next == u'"') {
                result.append(next);
                ++i;
                continue;
            }
        }
        if (c == u'"') {
            *out = result;
            *end = i + 1;
            return true;
        }
        result.append(c);
    }
    return false;
}

QString quoted(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            result.append(u'\\');
        result.append(c);
    }
    result.append(u'"');
    return result;
}

bool parseHexBytes(const QString &list, QByteArray *out)
{
    const QString trimmed = list.trimmed();
    out->clear();
    if (trimmed.isEmpty())
        return true;
    const QStringList parts = trimmed.split(u',');
    out->reserve(parts.size());
    for (const QString &part : parts) {
        const QString item = part.trimmed();
        if (item.size() != 2)
            return false;
        bool ok = false;
        const uint byte = item.toUInt(&ok, 16);
        if (!ok)
            return false;
        out->append(static_cast<char>(byte));
    }
    return true;
}

// A REG_SZ whose data is text with exactly one terminating zero and no line break can be
// written in the quoted form; anything else is written as hex(1) so that it round-trips.
bool plainStringForm(const QByteArray &data, QString *text)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    const qsizetype chars = data.size() / 2 - 1;
    if (qFromLittleEndian<quint16>(data.constData() + chars * 2) != 0)
        return false;
    QString result;
    result.reserve(chars);
    for (qsizetype i = 0; i < chars; ++i) {
        const quint16 u = qFromLittleEndian<quint16>(data.constData() + i * 2);
        if (u == 0 || u == '\r' || u == '\n')
            return false;
        result.append(QChar(u));
    }
    *text = result;
    return true;
}

void appendHex(QString *line, QStringList *lines, const QByteArray &data)
{
    for (qsizetype i = 0; i < data.size(); ++i) {
        QString item = QStringLiteral("%1").arg(static_cast<uchar>(data.at(i)), 2, 16, QChar(u'0'));
        if (i + 1 < data.size())
            item.append(u',');
        if (line->size() + item.size() > kHexLineWidth && i + 1 < data.size()) {
            line->append(u'\\');
            lines->append(*line);
            *line = QStringLiteral("  ");
        }
        line->append(item);
    }
}

// The lines of one value, the first starting with prefix ("name"=).
QStringList valueLines(const QString &prefix, const RegValue &value)
{
    QString text;
    if (value.type == RegSz && plainStringForm(value.data, &text))
        return {prefix + quoted(text)};
    if (value.type == RegDword && value.data.size() == 4)
        return {prefix +
                QStringLiteral("dword:%1")
                    .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16, QChar(u'0'))};
    QStringList lines;
    QString line =
        prefix + (value.type == RegBinary ? QStringLiteral("hex:")
                                          : QStringLiteral("hex(%1):").arg(value.type, 0, 16));
    appendHex(&line, &lines, value.data);
    lines.append(line);
    return lines;
}

} // namespace

QString RegFileFormat::fold(const QString &text)
{
    return text.toCaseFolded();
}

bool RegFileFormat::isStorableName(const QString &name)
{
    return !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(QChar(0));
}

bool RegFileFormat::normaliseKeyPath(const QString &path, QString *out)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == u'\\')
        ++begin;
    while (end > begin && path.at(end - 1) == u'\\')
        --end;
    const QString result = path.mid(begin, end - begin);
    if (result.contains(QStringLiteral("\\\\")) || !isStorableName(result))
        return false;
    *out = result;
    return true;
}

bool RegFileContent::keyExists(const QString &path) const
{
    if (path.isEmpty())
        return true;
    const QString folded = RegFileFormat::fold(path);
    if (keys.contains(folded))
        return true;
    // A key exists when a subkey of it does; subkeys sort right after "<key>\".
    const QString prefix = folded + u'\\';
    const auto it = keys.lowerBound(prefix);
    return it != keys.end() && it.key().startsWith(prefix);
}

const RegFileNamedValue *RegFileContent::value(const QString &path, const QString &name) const
{
    const auto key = keys.constFind(RegFileFormat::fold(path));
    if (key == keys.constEnd())
        return nullptr;
    const auto it = key->values.constFind(RegFileFormat::fold(name));
    return it == key->values.constEnd() ? nullptr : &it.value();
}

RegFileKey &RegFileContent::createKey(const QString &path)
{
    RegFileKey &key = keys[RegFileFormat::fold(path)];
    if (key.path.isEmpty())
        key.path = path;
    return key;
}

namespace {

using RegFileFormat::fold;

// A section line "[root\\path]" or "[-root\\path]": selects (or creates) the key, or removes
// it with its subkeys. False when the line cannot be read (no key is selected then).
bool readSection(const QString &line, const QString &rootName, RegFileContent &content,
                 RegFileKey **current)
{
    *current = nullptr;
    if (!line.endsWith(u']'))
        return false;
    QString inner = line.mid(1, line.size() - 2);
    const bool remove = inner.startsWith(u'-');
    if (remove)
        inner.remove(0, 1);
    const QString foldedRoot = fold(rootName);
    const QString foldedInner = fold(inner);
    QString path;
    if (foldedInner.startsWith(foldedRoot + u'\\')) {
        if (!RegFileFormat::normaliseKeyPath(inner.mid(rootName.size() + 1), &path) ||
            path.isEmpty())
            return false;
    } else if (foldedInner != foldedRoot) {
        return false;
    }
    if (!remove) {
        *current = &content.createKey(path);
        return true;
    }
    // The key and its subkeys, which sort right after "<key>\\".
    const QString folded = fold(path);
    if (folded.isEmpty()) {
        content.keys.clear();
        return true;
    }
    content.keys.remove(folded);
    const QString prefix = folded + u'\\';
    auto it = content.keys.lowerBound(prefix);
    while (it != content.keys.end() && it.key().startsWith(prefix))
        it = content.keys.erase(it);
    return true;
}

// The hex forms: "hex:..." and "hex(N):...", joined with their continuation lines (a line
// that starts a new section or value ends the list); *i moves past the lines joined.
bool readHex(QString data, const QStringList &lines, qsizetype *i, RegValue *value)
{
    while (data.endsWith(u'\\') && *i + 1 < lines.size()) {
        const QString next = lines.at(*i + 1).trimmed();
        if (next.startsWith(u'[') || next.startsWith(u'"') || next.startsWith(u'@'))
            break;
        data.chop(1);
        data.append(next);
        ++*i;
    }
    const qsizetype colon = data.indexOf(u':');
    const QString kind = data.left(colon).toLower();
    if (colon <= 0 || data.endsWith(u'\\'))
        return false;
    bool ok = false;
    if (kind == QLatin1String("hex")) {
        value->type = RegBinary;
        ok = true;
    } else if (kind.startsWith(QLatin1String("hex(")) && kind.endsWith(u')')) {
        value->type = kind.mid(4, kind.size() - 5).toUInt(&ok, 16);
    }
    return ok && parseHexBytes(data.mid(colon + 1), &value->data);
}

// The data of a value line: a string, a DWORD or a hex list.
bool readData(const QString &data, const QStringList &lines, qsizetype *i, RegValue *value)
{
    if (data.startsWith(u'"')) {
        QString text;
        qsizetype end = 0;
        if (!parseQuoted(data, 0, &text, &end) || !data.mid(end).trimmed().isEmpty())
            return false;
        *value = {RegSz, utf16Bytes(text, true)};
        return true;
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        const quint32 number = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return false;
        value->type = RegDword;
        value->data.resize(4);
        qToLittleEndian(number, value->data.data());
        return true;
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return readHex(data, lines, i, value);
    return false;
}

// A value line, "name"=... or @=..., of the current key; false when it cannot be read.
bool readValue(const QString &line, const QStringList &lines, qsizetype *i, RegFileKey *current)
{
    QString name;
    qsizetype pos = 0;
    if (line.startsWith(u'@'))
        pos = 1;
    else if (!parseQuoted(line, 0, &name, &pos))
        return false;
    while (pos < line.size() && line.at(pos).isSpace())
        ++pos;
    if (current == nullptr || pos >= line.size() || line.at(pos) != u'=')
        return false;
    const QString data = line.mid(pos + 1).trimmed();
    if (data == QLatin1String("-")) {
        current->values.remove(fold(name));
        return true;
    }
    RegValue value;
    if (!readData(data, lines, i, &value))
        return false;
    current->values.insert(fold(name), {name, value});
    return true;
}

} // namespace

RegFileContent RegFileFormat::parse(const QByteArray &bytes, const QString &rootName, bool cut)
{
    RegFileContent content;
    QStringList lines = decodeText(bytes).split(u'\n');
    if (cut && !lines.isEmpty()) {
        // The last line may end part way: it is left out, as a line that cannot be read.
        lines.removeLast();
        ++content.skippedLines;
    }
    RegFileKey *current = nullptr;
    bool seenHeader = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!seenHeader) {
            seenHeader = true;
            if (line == kHeader || line == kHeader4)
                continue;
        }
        const bool read = line.startsWith(u'[') ? readSection(line, rootName, content, &current)
                                                : readValue(line, lines, &i, current);
        if (!read)
            ++content.skippedLines;
    }
    return content;
}

QByteArray RegFileFormat::serialise(const RegFileContent &content, const QString &rootName)
{
    QStringList lines;
    lines.append(kHeader);
    lines.append(QString());
    for (const RegFileKey &key : content.keys) {
        lines.append(QStringLiteral("[%1]").arg(key.path.isEmpty() ? rootName
                                                                   : rootName + u'\\' + key.path));
        for (const RegFileNamedValue &value : key.values) {
            const QString prefix =
                (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=';
            lines.append(valueLines(prefix, value.value));
        }
        lines.append(QString());
    }
    return lines.join(QStringLiteral("\r\n")).toUtf8();
}
