#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>

class QIODevice;

// A place in a text: 1-based line, and 1-based column counted in bytes of UTF-8; 0 when
// unknown.
struct TextPlace {
    int Line = 0;
    int Column = 0;
    bool known() const { return Line > 0; }
    friend bool operator==(const TextPlace &a, const TextPlace &b)
    {
        return a.Line == b.Line && a.Column == b.Column;
    }
};

// Kinds of XML nodes.
enum class XmlNodeType { Element, Text, CData, Comment, ProcessingInstruction };

// Receives the events of an XmlEventParser in document order. Texts and names are UTF-8 views
// valid only during the call; entity and character references are resolved. Names keep the
// prefix they were written with.
class XmlEventHandler {
public:
    struct Attribute {
        std::string_view name;
        std::string_view value;
    };

    virtual ~XmlEventHandler() = default;

    // selfClosing: the element was written as one empty-element tag ("<a/>").
    virtual void startElement(std::string_view name, const Attribute *attributes, int count,
                              bool selfClosing) = 0;
    virtual void endElement() = 0;
    // A run of text between two other nodes (never white space only, unless a character or
    // entity reference wrote part of it), a CDATA section, a comment
    // or a processing instruction (target: its target). Nothing outside the root element is
    // reported.
    virtual void characters(XmlNodeType kind, std::string_view text, std::string_view target) = 0;
};

// Streams UTF-8 XML to a handler (or only checks it, without a handler). Any encoding
// declaration is ignored. The parser rejects text that is not well-formed XML, a document type
// that declares entities (no entity is ever expanded, so no expansion blow-up and no external
// entities) and undeclared namespace prefixes. Nothing recurses along the nesting, and the text
// is handed to the parser a piece at a time, so its own copy stays small. While one token (a
// long value or comment) spans pieces, the pieces grow with it: the parser scans a pending token
// again with every piece, so fixed pieces would make a huge token cost quadratic time. One
// object may parse many texts, one after the other.
class XmlEventParser final {
public:
    // Reads at most size bytes into buffer: the number read, 0 at the end, -1 when it fails.
    using Source = std::function<qint64(char *buffer, qint64 size)>;

    explicit XmlEventParser(XmlEventHandler *handler);
    ~XmlEventParser();
    XmlEventParser(const XmlEventParser &) = delete;
    XmlEventParser &operator=(const XmlEventParser &) = delete;

    // Parses the whole text; false when it is not well-formed (see errorString()).
    bool parse(const QByteArray &utf8);
    // Parses what device gives until its end; false when it is not well-formed or cannot be read.
    bool parse(QIODevice &device);
    // Parses what source gives until its end; false when it is not well-formed or cannot be read.
    bool parse(const Source &source);
    // Parses what source gives as the first part of a longer text: false when that part is not
    // well-formed so far or cannot be read. Nothing is required of its end; see
    // partEndsBetweenNodes().
    bool parsePart(const Source &source);
    // Parses what source gives as the next part of the text begun by parsePart(), or as its
    // last part when last is set (as parse() ends a text). False when the text is not
    // well-formed so far, cannot be read, or failed before.
    bool parseMore(const Source &source, bool last);
    // After parsePart() or parseMore() succeeded (with a handler): true when the part ends
    // between two nodes with depth elements open, every byte taken (no token, CDATA section or text
    // other than white space left unfinished), so that the text may go on with any node.
    bool partEndsBetweenNodes(int depth) const;
    // True when the last text parsed declares a document type.
    bool sawDocumentType() const;
    // Adds lines to every line reported from now on (places and errors), for a part of a text
    // that follows others.
    void setLineOffset(int lines);

    // Short description of the first error (line and message).
    const QString &errorString() const { return m_error; }
    // Byte offset in the text where the parser found the first error; -1 when there is none (or
    // the source failed).
    qint64 errorOffset() const { return m_errorOffset; }
    // Line and column where the parser found the first error; unknown when there is none.
    TextPlace errorPlace() const { return m_errorPlace; }
    // During a handler's call: the start of the event being reported.
    TextPlace currentPlace() const;
    // During a handler's call: the byte offset of the event being reported in the text, and the
    // event as written (empty when the parser no longer holds it).
    qint64 currentOffset() const;
    std::string_view currentText() const;
    // True when the last parse failed because the device could not be read.
    bool readFailed() const { return m_readFailed; }

private:
    class Driver;
    Driver &driver();
    bool parseText(const Source &source, bool start, bool whole);

    XmlEventHandler *m_handler;
    std::unique_ptr<Driver> m_driver; // kept for the next parse: creating a parser is costly
    QString m_error;
    qint64 m_errorOffset = -1;
    TextPlace m_errorPlace;
    bool m_readFailed = false;
};

// True when name, written as an element's name, is read back as that name by this parser.
bool IsXmlElementName(const QString &name);
// True when name, written as an attribute's name, is read back as that attribute's name (a
// namespace declaration is not).
bool IsXmlAttributeName(const QString &name);
