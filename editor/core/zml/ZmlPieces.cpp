#include "core/zml/ZmlPieces.h"

#include "core/zml/XmlEventParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

namespace ZmlPieces {

namespace {

// How far from its start the body must begin.
constexpr qint64 kHead = 64 * 1024;

// The start tags of the root and of the root's second child (the body), as written, and where
// the body's first element begins.
class BodyStart final : public XmlEventHandler {
public:
    // The parser whose events come in.
    void setParser(const XmlEventParser *parser) { m_parser = parser; }

    void startElement(std::string_view, const Attribute *, int, bool selfClosing) override
    {
        const int depth = m_depth++;
        if (depth == 0) {
            rootTag.assign(m_parser->currentText());
        } else if (depth == 1 && ++m_children == 2 && !selfClosing) {
            bodyTag.assign(m_parser->currentText());
            m_inBody = true;
            if (!bodyTag.empty())
                bodyEnd = m_parser->currentOffset() + qint64(bodyTag.size());
        } else if (depth == 2 && m_inBody && firstRow < 0) {
            firstRow = m_parser->currentOffset();
        }
    }
    void endElement() override
    {
        if (--m_depth == 1)
            m_inBody = false;
    }
    void characters(XmlNodeType, std::string_view, std::string_view) override {}

    std::string rootTag;
    std::string bodyTag;
    qint64 bodyEnd = -1;  // offset of the body's content
    qint64 firstRow = -1; // offset of the body's first element

private:
    const XmlEventParser *m_parser = nullptr;
    int m_depth = 0;
    int m_children = 0; // of the root
    bool m_inBody = false;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isNameStart(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

// The blanks that begin the line of the element at offset, when nothing else stands before it
// on its line.
std::optional<std::string_view> indentOf(const QByteArray &text, qint64 offset)
{
    qint64 start = offset;
    while (start > 0 && isBlank(text[start - 1]))
        --start;
    if (start > 0 && text[start - 1] != '\n')
        return std::nullopt;
    return std::string_view(text.constData() + start, std::size_t(offset - start));
}

// True when the line starting at start begins an element the way the body's first element
// begins its line: the same blanks (any, when unknown), then the element's start tag. An else
// row is written one level out from the rows around it, so it is not taken.
bool beginsRow(const QByteArray &text, qint64 start, const std::optional<std::string_view> &indent)
{
    const std::string_view rest(text.constData() + start, std::size_t(text.size() - start));
    std::size_t at = 0;
    if (indent) {
        if (rest.substr(0, indent->size()) != *indent)
            return false;
        at = indent->size();
    } else {
        while (at < rest.size() && isBlank(rest[at]))
            ++at;
    }
    if (at + 1 >= rest.size() || rest[at] != '<' || !isNameStart(rest[at + 1]))
        return false;
    const std::string_view name = rest.substr(at + 1, 5);
    return !(name.substr(0, 4) == "else" && (name.size() < 5 || !isNameStart(name[4])));
}

// The start of the first line in [from, to) that begins a row (see beginsRow); -1 when none
// does.
qint64 rowLine(const QByteArray &text, qint64 from, qint64 to,
               const std::optional<std::string_view> &indent)
{
    const char *data = text.constData();
    to = std::min<qint64>(to, text.size());
    for (qint64 at = from; at < to;) {
        const void *found = std::memchr(data + at, '\n', std::size_t(to - at));
        if (!found)
            return -1;
        const qint64 start = static_cast<const char *>(found) - data + 1;
        if (start < to && beginsRow(text, start, indent))
            return start;
        at = start;
    }
    return -1;
}

} // namespace

qint64 lineBreaks(const char *text, qint64 size)
{
    const char *end = text + size;
    qint64 count = std::count(text, end, '\n');
    // A CR counts on its own unless an LF follows.
    for (const char *at = text; at < end;) {
        const void *cr = std::memchr(at, '\r', std::size_t(end - at));
        if (!cr)
            break;
        at = static_cast<const char *>(cr) + 1;
        if (at == end || *at != '\n')
            ++count;
    }
    return count;
}

XmlEventParser::Source source(std::string_view first, std::string_view second)
{
    return [parts = std::array<std::string_view, 2>{first, second},
            part = std::size_t(0)](char *buffer, qint64 size) mutable {
        qint64 copied = 0;
        while (copied < size && part < parts.size()) {
            std::string_view &rest = parts[part];
            const std::size_t count = std::min(std::size_t(size - copied), rest.size());
            if (count > 0)
                std::memcpy(buffer + copied, rest.data(), count);
            copied += qint64(count);
            rest.remove_prefix(count);
            if (rest.empty())
                ++part;
        }
        return copied;
    };
}

Plan plan(const QByteArray &text, int pieces)
{
    Plan result;
    if (pieces < 2)
        return result;
    BodyStart found;
    XmlEventParser reader(&found);
    found.setParser(&reader);
    const std::string_view head(text.constData(),
                                std::size_t(std::min<qint64>(text.size(), kHead)));
    // What follows the body's start may be cut short, or not well-formed: the pieces' parse
    // tells.
    reader.parsePart(source(head));
    if (reader.sawDocumentType() || found.bodyEnd < 0 || found.rootTag.empty())
        return result;
    // The lines of the rows at the body's own level are indented as its first row (in files the
    // editor writes); a cut at a deeper row is found out by the parse, and is then no cut.
    const std::optional<std::string_view> indent =
        found.firstRow >= 0 ? indentOf(text, found.firstRow) : std::nullopt;
    result.prefix = found.rootTag + found.bodyTag + '\n';
    result.prefixLines = int(lineBreaks(result.prefix.data(), qint64(result.prefix.size())));
    const qint64 body = found.bodyEnd;
    const qint64 length = text.size() - body;
    qint64 previous = body;
    const qint64 reach = std::max<qint64>(kHead, length / (2 * pieces));
    for (int i = 1; i < pieces; ++i) {
        const qint64 place = std::max(previous, body + length * i / pieces);
        const qint64 cut = rowLine(text, place, place + reach, indent);
        if (cut <= previous || cut >= text.size())
            continue;
        result.starts.push_back(cut);
        previous = cut;
    }
    return result;
}

} // namespace ZmlPieces
