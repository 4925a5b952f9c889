#include "core/zml/XmlEventParser.h"

#include <QIODevice>

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

// True when text holds only spaces, tabs and line breaks. Indents are runs of spaces, which
// are passed eight at a time.
bool isBlank(const char *text, std::size_t size)
{
    constexpr std::uint64_t kSpaces = 0x2020202020202020;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text + i, 8);
        if (word != kSpaces)
            break;
    }
    for (; i < size; ++i) {
        const char c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

// Separates namespace URI, local name and prefix in the names the parser reports.
constexpr char kNsSeparator = '\x01';

// The name as written ("prefix:local" or "local") from the parser's "uri SEP local SEP prefix";
// scratch[index] holds it when it has to be put together (growing scratch moves none of the
// names it holds).
std::string_view writtenName(const char *reported, std::deque<std::string> &scratch,
                             std::size_t index)
{
    // Most names have no namespace: one pass finds the separator or the end.
    const char *first = reported;
    while (*first != '\0' && *first != kNsSeparator)
        ++first;
    if (*first == '\0')
        return std::string_view(reported, std::size_t(first - reported));
    const char *local = first + 1;
    const char *second = std::strchr(local, kNsSeparator);
    if (!second)
        return local;
    if (scratch.size() <= index)
        scratch.resize(index + 1);
    std::string &name = scratch[index];
    name.assign(second + 1);
    name.push_back(':');
    name.append(local, std::size_t(second - local));
    return name;
}

// The parser gets the text in pieces of at least this size.
constexpr int kPiece = 1 << 20;

} // namespace

// Runs expat with namespace processing (so an undeclared prefix is an error); it reads no
// external entity, and a document type that declares entities is refused before any of them
// could be expanded. Joins character data into runs and reports them at the next boundary.
class XmlEventParser::Driver final {
public:
    explicit Driver(XmlEventHandler *handler) : m_handler(handler) {}
    Driver(const Driver &) = delete;
    Driver &operator=(const Driver &) = delete;
    ~Driver()
    {
        if (m_parser)
            XML_ParserFree(m_parser);
    }

    // Prepares the parser for a new text.
    bool start()
    {
        // The given encoding overrides any declaration in the text.
        if (m_parser) {
            if (!XML_ParserReset(m_parser, "UTF-8")) {
                XML_ParserFree(m_parser);
                m_parser = nullptr;
            }
        }
        if (!m_parser)
            m_parser = XML_ParserCreateNS("UTF-8", kNsSeparator);
        m_depth = 0;
        m_text.clear();
        m_textBlank = true;
        m_textHasReference = false;
        m_cdata.clear();
        m_inCData = false;
        m_error.clear();
        m_errorOffset = -1;
        m_errorPlace = TextPlace();
        m_fed = 0;
        m_taken = 0;
        m_refused = false;
        m_sawDocumentType = false;
        if (!m_parser) {
            m_error = QStringLiteral("out of memory");
            return false;
        }
        // A reset parser has lost its handlers and options (not its namespace processing).
        XML_Parser p = m_parser;
        XML_SetUserData(p, this);
        XML_SetReturnNSTriplet(p, XML_TRUE);
        XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetEntityDeclHandler(p, &Driver::onEntityDecl);
        XML_SetSkippedEntityHandler(p, &Driver::onSkippedEntity);
        XML_SetStartDoctypeDeclHandler(p, &Driver::onStartDoctype);
        if (m_handler) {
            XML_SetElementHandler(p, &Driver::onStartElement, &Driver::onEndElement);
            XML_SetCharacterDataHandler(p, &Driver::onCharacters);
            XML_SetCdataSectionHandler(p, &Driver::onStartCData, &Driver::onEndCData);
            XML_SetCommentHandler(p, &Driver::onComment);
            XML_SetProcessingInstructionHandler(p, &Driver::onProcessingInstruction);
        }
        return true;
    }

    // Reads the next piece from source straight into the parser's buffer and parses it; sets
    // *done after the last piece, which ends the text when whole is set. A piece is at least as
    // large as the token the parser holds unfinished, so each byte of a long token is scanned a
    // bounded number of times.
    bool feed(const Source &source, bool whole, bool *done, bool *readFailed)
    {
        const XML_Index parsed = XML_GetCurrentByteIndex(m_parser);
        const qint64 pending = parsed >= 0 ? m_fed - qint64(parsed) : 0;
        // The parser's buffer holds the pending bytes and the piece (an int in all).
        const qint64 room = qint64(INT_MAX) - pending - 4096;
        const int size = int(std::max<qint64>(kPiece, std::min(pending, room)));
        void *buffer = XML_GetBuffer(m_parser, size);
        if (!buffer)
            return fail();
        const qint64 got = source(static_cast<char *>(buffer), size);
        if (got < 0 || got > size) {
            *readFailed = true;
            if (m_error.isEmpty())
                m_error = QStringLiteral("the text cannot be read");
            return false;
        }
        m_fed += got;
        *done = got == 0;
        if (*done && !whole)
            return true;
        return parseBuffer(int(got), *done);
    }

    // The parse stopped between two nodes, at depth, having taken every byte fed.
    bool betweenNodes(int depth) const
    {
        return m_parser && m_depth == depth && !m_inCData && !m_textHasReference && m_textBlank &&
               m_taken == m_fed;
    }
    bool sawDocumentType() const { return m_sawDocumentType; }
    void setLineOffset(int lines) { m_lineOffset = lines; }

    qint64 currentOffset() const { return qint64(XML_GetCurrentByteIndex(m_parser)); }
    std::string_view currentText() const
    {
        int offset = 0;
        int size = 0;
        const char *buffer = XML_GetInputContext(m_parser, &offset, &size);
        const int count = XML_GetCurrentByteCount(m_parser);
        if (!buffer || count <= 0 || offset + count > size)
            return {};
        return std::string_view(buffer + offset, std::size_t(count));
    }

    // Where the first error was found; -1 (unknown) when none was.
    qint64 errorOffset() const { return m_errorOffset; }
    TextPlace errorPlace() const { return m_errorPlace; }
    TextPlace currentPlace() const
    {
        return {int(XML_GetCurrentLineNumber(m_parser)) + m_lineOffset,
                int(XML_GetCurrentColumnNumber(m_parser)) + 1};
    }
    const QString &error() const { return m_error; }

private:
    static Driver *self(void *ctx) { return static_cast<Driver *>(ctx); }

    bool parseBuffer(int size, bool last)
    {
        const bool ok =
            XML_ParseBuffer(m_parser, size, last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK &&
            !m_refused;
        // Where the next token begins; only until the next XML_GetBuffer, which forgets it.
        m_taken = qint64(XML_GetCurrentByteIndex(m_parser));
        return ok || fail();
    }

    bool fail()
    {
        if (m_errorOffset < 0) {
            m_errorOffset = qint64(XML_GetCurrentByteIndex(m_parser));
            m_errorPlace = currentPlace();
        }
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("line %1: %2")
                          .arg(qint64(XML_GetCurrentLineNumber(m_parser)) + m_lineOffset)
                          .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser))));
        }
        return false;
    }

    void refuse(const char *why)
    {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(why);
        if (m_errorOffset < 0) {
            m_errorOffset = qint64(XML_GetCurrentByteIndex(m_parser));
            m_errorPlace = currentPlace();
        }
        m_refused = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

    static void onEntityDecl(void *ctx, const XML_Char *, int, const XML_Char *, int,
                             const XML_Char *, const XML_Char *, const XML_Char *, const XML_Char *)
    {
        self(ctx)->refuse("entity declarations are not supported");
    }
    static void onStartDoctype(void *ctx, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        self(ctx)->m_sawDocumentType = true;
    }
    // A reference to an entity that is not declared (possible only with an external subset,
    // which is never read).
    static void onSkippedEntity(void *ctx, const XML_Char *, int)
    {
        self(ctx)->refuse("undeclared entity");
    }

    // Ends the text run collected so far: reported unless it is white space only and none of
    // it was written as a reference (a value made of "&#9;" or "&#10;" is text, not layout).
    void flushText()
    {
        if (m_text.empty())
            return;
        if (m_depth > 0 && (m_textHasReference || !m_textBlank))
            m_handler->characters(XmlNodeType::Text, m_text, {});
        m_text.clear(); // keeps the buffer for the next run
        m_textBlank = true;
        m_textHasReference = false;
    }

    // True when the character data the parser is reporting was written as a character or
    // entity reference.
    bool dataIsReference() const
    {
        int offset = 0;
        int size = 0;
        const char *buffer = XML_GetInputContext(m_parser, &offset, &size);
        return buffer && offset < size && buffer[offset] == '&';
    }

    // True when the start tag the parser is reporting ends with "/>".
    bool tagIsSelfClosing() const
    {
        const std::string_view tag = currentText();
        return tag.size() >= 2 && tag.substr(tag.size() - 2) == "/>";
    }

    static void onStartElement(void *ctx, const XML_Char *name, const XML_Char **attributes)
    {
        Driver *d = self(ctx);
        d->flushText();
        d->m_attributes.clear();
        for (std::size_t i = 0; attributes[2 * i]; ++i) {
            d->m_attributes.push_back(
                {writtenName(attributes[2 * i], d->m_scratch, i + 1), attributes[2 * i + 1]});
        }
        ++d->m_depth;
        d->m_handler->startElement(writtenName(name, d->m_scratch, 0), d->m_attributes.data(),
                                   int(d->m_attributes.size()), d->tagIsSelfClosing());
    }

    static void onEndElement(void *ctx, const XML_Char *)
    {
        Driver *d = self(ctx);
        d->flushText();
        --d->m_depth;
        d->m_handler->endElement();
    }

    static void onCharacters(void *ctx, const XML_Char *text, int size)
    {
        Driver *d = self(ctx);
        if (d->m_inCData) {
            d->m_cdata.append(text, std::size_t(size));
            return;
        }
        if (!d->m_textHasReference && d->dataIsReference())
            d->m_textHasReference = true;
        if (d->m_textBlank)
            d->m_textBlank = isBlank(text, std::size_t(size));
        d->m_text.append(text, std::size_t(size));
    }

    void report(XmlNodeType kind, std::string_view text, std::string_view target = {})
    {
        flushText();
        if (m_depth > 0)
            m_handler->characters(kind, text, target);
    }

    static void onStartCData(void *ctx)
    {
        Driver *d = self(ctx);
        d->flushText();
        d->m_inCData = true;
        d->m_cdata.clear();
    }

    static void onEndCData(void *ctx)
    {
        Driver *d = self(ctx);
        d->m_inCData = false;
        d->report(XmlNodeType::CData, d->m_cdata);
    }

    static void onComment(void *ctx, const XML_Char *text)
    {
        self(ctx)->report(XmlNodeType::Comment, text);
    }

    static void onProcessingInstruction(void *ctx, const XML_Char *target, const XML_Char *data)
    {
        Driver *d = self(ctx);
        d->report(XmlNodeType::ProcessingInstruction, data ? data : "",
                  writtenName(target, d->m_targetScratch, 0));
    }

    XmlEventHandler *m_handler;
    XML_Parser m_parser = nullptr;
    int m_depth = 0; // open elements
    std::string m_text;
    bool m_textBlank = true;         // m_text holds only spaces, tabs and line breaks
    bool m_textHasReference = false; // part of m_text was written as a reference
    std::string m_cdata;
    bool m_inCData = false;
    std::vector<XmlEventHandler::Attribute> m_attributes;
    std::deque<std::string> m_scratch; // written names: [0] element, [i + 1] attribute i
    std::deque<std::string> m_targetScratch;
    QString m_error;
    qint64 m_errorOffset = -1;
    TextPlace m_errorPlace;
    qint64 m_fed = 0;   // bytes handed to the parser
    qint64 m_taken = 0; // bytes the parser has taken (every token in them ended), or -1
    bool m_refused = false;
    bool m_sawDocumentType = false;
    int m_lineOffset = 0;
};

XmlEventParser::XmlEventParser(XmlEventHandler *handler) : m_handler(handler) {}

XmlEventParser::~XmlEventParser() = default;

XmlEventParser::Driver &XmlEventParser::driver()
{
    if (!m_driver)
        m_driver = std::make_unique<Driver>(m_handler);
    return *m_driver;
}

bool XmlEventParser::parse(const QByteArray &utf8)
{
    qsizetype at = 0;
    return parse([&utf8, &at](char *buffer, qint64 size) {
        const qsizetype count = std::min<qsizetype>(size, utf8.size() - at);
        if (count > 0)
            std::memcpy(buffer, utf8.constData() + at, std::size_t(count));
        at += count;
        return qint64(count);
    });
}

bool XmlEventParser::parse(QIODevice &device)
{
    QString readError;
    const bool ok = parse([&device, &readError](char *buffer, qint64 size) {
        const qint64 count = device.read(buffer, size);
        if (count < 0)
            readError = QStringLiteral("the text cannot be read: ") + device.errorString();
        return count;
    });
    if (m_readFailed && !readError.isEmpty())
        m_error = readError;
    return ok;
}

bool XmlEventParser::parse(const Source &source)
{
    return parseText(source, true, true);
}

bool XmlEventParser::parsePart(const Source &source)
{
    return parseText(source, true, false);
}

bool XmlEventParser::parseMore(const Source &source, bool last)
{
    if (!m_error.isEmpty() || m_readFailed || !m_driver)
        return false; // the text failed before
    return parseText(source, false, last);
}

bool XmlEventParser::parseText(const Source &source, bool start, bool whole)
{
    Driver &d = driver();
    bool ok = true;
    if (start) {
        m_error.clear();
        m_errorOffset = -1;
        m_errorPlace = TextPlace();
        m_readFailed = false;
        ok = d.start();
    }
    for (bool done = false; ok && !done;)
        ok = d.feed(source, whole, &done, &m_readFailed);
    if (!ok) {
        m_error = d.error();
        m_errorOffset = m_readFailed ? -1 : d.errorOffset();
        m_errorPlace = m_readFailed ? TextPlace() : d.errorPlace();
    }
    return ok;
}

TextPlace XmlEventParser::currentPlace() const
{
    return m_driver ? m_driver->currentPlace() : TextPlace();
}

qint64 XmlEventParser::currentOffset() const
{
    return m_driver ? m_driver->currentOffset() : -1;
}

std::string_view XmlEventParser::currentText() const
{
    return m_driver ? m_driver->currentText() : std::string_view();
}

bool XmlEventParser::partEndsBetweenNodes(int depth) const
{
    return m_driver && m_driver->betweenNodes(depth);
}

bool XmlEventParser::sawDocumentType() const
{
    return m_driver && m_driver->sawDocumentType();
}

void XmlEventParser::setLineOffset(int lines)
{
    driver().setLineOffset(lines);
}

namespace {

// The name and attribute names of a text's first element.
class FirstElement final : public XmlEventHandler {
public:
    void startElement(std::string_view elementName, const Attribute *attributes, int count,
                      bool) override
    {
        ++elements;
        if (elements > 1)
            return;
        name.assign(elementName);
        for (int i = 0; i < count; ++i)
            attributeNames.emplace_back(attributes[i].name);
    }
    void endElement() override {}
    void characters(XmlNodeType, std::string_view, std::string_view) override {}

    int elements = 0;
    std::string name;
    std::vector<std::string> attributeNames;
};

// One parser checks every name of a thread: making a parser costs more than the check.
struct NameCheck {
    FirstElement element;
    XmlEventParser parser{&element};
};

NameCheck &nameCheck()
{
    thread_local NameCheck check;
    return check;
}

// The handler of the name parser, emptied for the next name.
FirstElement &checkedName()
{
    FirstElement &element = nameCheck().element;
    element = FirstElement();
    return element;
}

XmlEventParser &nameParser()
{
    return nameCheck().parser;
}

// A name of ASCII letters, digits, '_', '-' and '.' that starts with a letter or '_' (the
// catalogue's names are): read back as written, without the parser.
bool isPlainName(const QString &name)
{
    const auto letter = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (name.isEmpty() || !(letter(name.front().unicode()) || name.front() == u'_'))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [&letter](QChar c) {
        const char16_t u = c.unicode();
        return letter(u) || (u >= u'0' && u <= u'9') || u == u'_' || u == u'-' || u == u'.';
    });
}

} // namespace

bool IsXmlElementName(const QString &name)
{
    if (isPlainName(name))
        return true;
    const QByteArray utf8 = name.toUtf8();
    FirstElement &element = checkedName();
    return !utf8.isEmpty() && nameParser().parse("<" + utf8 + "/>") && element.elements == 1 &&
           element.name == utf8.toStdString();
}

bool IsXmlAttributeName(const QString &name)
{
    if (isPlainName(name)) // but xmlns declares a namespace
        return name != QLatin1String("xmlns");
    const QByteArray utf8 = name.toUtf8();
    FirstElement &element = checkedName();
    return !utf8.isEmpty() && nameParser().parse("<x " + utf8 + "=\"\"/>") &&
           element.attributeNames.size() == 1 && element.attributeNames[0] == utf8.toStdString();
}
