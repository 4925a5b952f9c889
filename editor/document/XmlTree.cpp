#include "document/XmlTree.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isBlank(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (!isXmlSpace(c))
            return false;
    }
    return true;
}

// Separates namespace URI, local name and prefix in the names the parser reports.
constexpr char kNsSeparator = '\x01';

// The name as written ("prefix:local" or "local") from the parser's "uri SEP local SEP prefix".
std::string_view writtenName(const char *reported, std::string *scratch)
{
    const char *first = std::strchr(reported, kNsSeparator);
    if (!first)
        return reported;
    const char *local = first + 1;
    const char *second = std::strchr(local, kNsSeparator);
    if (!second)
        return local;
    scratch->assign(second + 1);
    scratch->push_back(':');
    scratch->append(local, std::size_t(second - local));
    return *scratch;
}

} // namespace

// Receives the parser's events and appends nodes to the tree (or only checks, when tree is null).
// The parser is expat with namespace processing (so an undeclared prefix is an error); it reads
// no external entity, and a document type that declares entities is refused before any of them
// could be expanded.
class XmlTreeBuilder final {
public:
    explicit XmlTreeBuilder(XmlTree *tree) : m_tree(tree) {}
    XmlTreeBuilder(const XmlTreeBuilder &) = delete;
    XmlTreeBuilder &operator=(const XmlTreeBuilder &) = delete;
    ~XmlTreeBuilder()
    {
        if (m_parser)
            XML_ParserFree(m_parser);
    }

    bool run(const QByteArray &utf8, QString *error)
    {
        if (utf8.size() > INT_MAX / 2) {
            *error = QStringLiteral("the text is too large");
            return false;
        }
        // The given encoding overrides any declaration in the text.
        m_parser = XML_ParserCreateNS("UTF-8", kNsSeparator);
        if (!m_parser) {
            *error = QStringLiteral("out of memory");
            return false;
        }
        XML_Parser p = m_parser;
        XML_SetUserData(p, this);
        XML_SetReturnNSTriplet(p, XML_TRUE);
        XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetEntityDeclHandler(p, &XmlTreeBuilder::onEntityDecl);
        XML_SetSkippedEntityHandler(p, &XmlTreeBuilder::onSkippedEntity);
        if (m_tree) {
            XML_SetElementHandler(p, &XmlTreeBuilder::onStartElement,
                                  &XmlTreeBuilder::onEndElement);
            XML_SetCharacterDataHandler(p, &XmlTreeBuilder::onCharacters);
            XML_SetCdataSectionHandler(p, &XmlTreeBuilder::onStartCData,
                                       &XmlTreeBuilder::onEndCData);
            XML_SetCommentHandler(p, &XmlTreeBuilder::onComment);
            XML_SetProcessingInstructionHandler(p, &XmlTreeBuilder::onProcessingInstruction);
        }
        m_input = utf8.constData();
        // The parser copies what it is given into a buffer of its own: give it the text a piece
        // at a time so that the copy stays small.
        constexpr qsizetype kPiece = 1 << 20;
        bool parsed = true;
        qsizetype at = 0;
        do {
            const qsizetype size = std::min(kPiece, utf8.size() - at);
            const XML_Bool last = at + size == utf8.size() ? XML_TRUE : XML_FALSE;
            parsed =
                XML_Parse(p, utf8.constData() + at, static_cast<int>(size), last) == XML_STATUS_OK;
            at += size;
        } while (parsed && at < utf8.size());
        const bool ok = parsed && !m_refused;
        if (!ok && m_error.isEmpty()) {
            m_error = QStringLiteral("line %1: %2")
                          .arg(XML_GetCurrentLineNumber(p))
                          .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(p))));
        }
        if (!ok)
            *error = m_error;
        return ok;
    }

private:
    static XmlTreeBuilder *self(void *ctx) { return static_cast<XmlTreeBuilder *>(ctx); }

    void refuse(const char *why)
    {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(why);
        m_refused = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

    static void onEntityDecl(void *ctx, const XML_Char *, int, const XML_Char *, int,
                             const XML_Char *, const XML_Char *, const XML_Char *, const XML_Char *)
    {
        self(ctx)->refuse("entity declarations are not supported");
    }
    // A reference to an entity that is not declared (possible only with an external subset,
    // which is never read).
    static void onSkippedEntity(void *ctx, const XML_Char *, int)
    {
        self(ctx)->refuse("undeclared entity");
    }

    int internName(const char *reported)
    {
        const std::string_view name = writtenName(reported, &m_scratch);
        const auto it = m_byName.find(name);
        if (it != m_byName.end())
            return it->second;
        const int index = static_cast<int>(m_tree->m_names.size());
        m_tree->m_names.push_back(
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        m_nameBytes.emplace_back(name);
        m_byName.emplace(std::string_view(m_nameBytes.back()), index);
        return index;
    }

    XmlTree::Span store(const char *bytes, qsizetype size)
    {
        XmlTree::Span span;
        span.offset = static_cast<int>(m_tree->m_data.size());
        span.size = static_cast<int>(size);
        m_tree->m_data.append(bytes, size);
        return span;
    }

    // Appends a node under the current element and returns its index.
    int append(XmlNode::Type type)
    {
        const int index = static_cast<int>(m_tree->m_nodes.size());
        XmlTree::Node node;
        node.type = type;
        node.parent = m_current;
        m_tree->m_nodes.push_back(node);
        if (m_current >= 0) {
            XmlTree::Node &parent = m_tree->m_nodes[std::size_t(m_current)];
            if (parent.lastChild >= 0)
                m_tree->m_nodes[std::size_t(parent.lastChild)].nextSibling = index;
            else
                parent.firstChild = index;
            parent.lastChild = index;
        }
        return index;
    }

    // Ends the text run collected so far: a node unless it is white space only.
    void flushText()
    {
        if (m_text.isEmpty())
            return;
        if (m_current >= 0 && !isBlank(m_text)) {
            const int index = append(XmlNode::Type::Text);
            m_tree->m_nodes[std::size_t(index)].text = store(m_text.constData(), m_text.size());
        }
        m_text.truncate(0); // keeps the buffer for the next run
    }

    // True when the start tag the parser is reporting ends with "/>".
    bool tagIsSelfClosing() const
    {
        const XML_Index at = XML_GetCurrentByteIndex(m_parser);
        const int count = XML_GetCurrentByteCount(m_parser);
        if (at < 0 || count < 2)
            return false;
        const char *end = m_input + at + count;
        return end[-2] == '/' && end[-1] == '>';
    }

    static void onStartElement(void *ctx, const XML_Char *name, const XML_Char **attributes)
    {
        XmlTreeBuilder *b = self(ctx);
        b->flushText();
        XmlTree *t = b->m_tree;
        const int index = b->append(XmlNode::Type::Element);
        const int nameIndex = b->internName(name);
        const bool selfClosing = b->tagIsSelfClosing();
        const int firstAttribute = static_cast<int>(t->m_attributes.size());
        int count = 0;
        for (const XML_Char **a = attributes; a[0]; a += 2, ++count) {
            XmlTree::Attribute attribute;
            attribute.name = b->internName(a[0]);
            attribute.value = b->store(a[1], qsizetype(std::strlen(a[1])));
            t->m_attributes.push_back(attribute);
        }
        XmlTree::Node &node = t->m_nodes[std::size_t(index)];
        node.name = nameIndex;
        node.selfClosing = selfClosing;
        node.firstAttribute = firstAttribute;
        node.attributeCount = count;
        if (b->m_current < 0)
            t->m_root = index;
        b->m_current = index;
    }

    static void onEndElement(void *ctx, const XML_Char *)
    {
        XmlTreeBuilder *b = self(ctx);
        b->flushText();
        if (b->m_current >= 0)
            b->m_current = b->m_tree->m_nodes[std::size_t(b->m_current)].parent;
    }

    static void onCharacters(void *ctx, const XML_Char *text, int size)
    {
        XmlTreeBuilder *b = self(ctx);
        (b->m_inCData ? b->m_cdata : b->m_text).append(text, size);
    }

    void appendText(XmlNode::Type type, const char *bytes, qsizetype size, int name = -1)
    {
        flushText();
        if (m_current < 0 && type != XmlNode::Type::Comment &&
            type != XmlNode::Type::ProcessingInstruction)
            return;
        const int index = append(type);
        m_tree->m_nodes[std::size_t(index)].text = store(bytes, size);
        m_tree->m_nodes[std::size_t(index)].name = name;
    }

    static void onStartCData(void *ctx)
    {
        XmlTreeBuilder *b = self(ctx);
        b->flushText();
        b->m_inCData = true;
        b->m_cdata.truncate(0);
    }

    static void onEndCData(void *ctx)
    {
        XmlTreeBuilder *b = self(ctx);
        b->m_inCData = false;
        b->appendText(XmlNode::Type::CData, b->m_cdata.constData(), b->m_cdata.size());
    }

    static void onComment(void *ctx, const XML_Char *text)
    {
        XmlTreeBuilder *b = self(ctx);
        if (b->m_current < 0)
            return; // comments outside the root element are not part of the tree
        b->appendText(XmlNode::Type::Comment, text, qsizetype(std::strlen(text)));
    }

    static void onProcessingInstruction(void *ctx, const XML_Char *target, const XML_Char *data)
    {
        XmlTreeBuilder *b = self(ctx);
        if (b->m_current < 0)
            return;
        const char *bytes = data ? data : "";
        b->appendText(XmlNode::Type::ProcessingInstruction, bytes, qsizetype(std::strlen(bytes)),
                      b->internName(target));
    }

    XmlTree *m_tree;
    XML_Parser m_parser = nullptr;
    const char *m_input = nullptr;
    int m_current = -1;
    QByteArray m_text;
    QByteArray m_cdata;
    bool m_inCData = false;
    std::deque<std::string> m_nameBytes; // a deque never moves its strings: m_byName views them
    std::unordered_map<std::string_view, int> m_byName;
    std::string m_scratch;
    QString m_error;
    bool m_refused = false;
};

void XmlTree::clear()
{
    m_nodes.clear();
    m_attributes.clear();
    m_names.clear();
    m_data.clear();
    m_root = -1;
    m_valid = false;
    m_error.clear();
}

bool XmlTree::parseUtf8(const QByteArray &utf8)
{
    clear();
    // Values, texts and comments take at most the size of the input.
    m_data.reserve(utf8.size());
    XmlTreeBuilder builder(this);
    m_valid = builder.run(utf8, &m_error) && m_root >= 0;
    if (!m_valid) {
        const QString error = m_error;
        clear();
        m_error = error.isEmpty() ? QStringLiteral("no root element") : error;
        return false;
    }
    m_data.squeeze();
    return true;
}

bool XmlTree::isWellFormed(const QString &text)
{
    return isWellFormedUtf8(text.toUtf8());
}

bool XmlTree::isWellFormedUtf8(const QByteArray &utf8)
{
    XmlTreeBuilder builder(nullptr);
    QString error;
    return builder.run(utf8, &error);
}

XmlNode XmlTree::root() const
{
    return m_root >= 0 ? XmlNode(this, m_root) : XmlNode();
}

XmlNode::Type XmlNode::type() const
{
    return m_tree->m_nodes[std::size_t(m_index)].type;
}

QString XmlNode::name() const
{
    const XmlTree::Node &node = m_tree->m_nodes[std::size_t(m_index)];
    switch (node.type) {
    case Type::Element:
    case Type::ProcessingInstruction:
        return node.name >= 0 ? m_tree->m_names[std::size_t(node.name)] : QString();
    case Type::Text:
        return QStringLiteral("#text");
    case Type::CData:
        return QStringLiteral("#cdata-section");
    case Type::Comment:
        return QStringLiteral("#comment");
    }
    return QString();
}

QString XmlNode::text() const
{
    const XmlTree::Node &node = m_tree->m_nodes[std::size_t(m_index)];
    return node.type == Type::Element ? QString() : m_tree->spanText(node.text);
}

QString XmlNode::markup() const
{
    QString s = text();
    if (type() != Type::Text)
        return s;
    s.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    s.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    s.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return s;
}

QString XmlNode::innerText() const
{
    if (type() != Type::Element)
        return text();
    // Walk the subtree in document order without recursion.
    QByteArray bytes;
    const auto &nodes = m_tree->m_nodes;
    int n = nodes[std::size_t(m_index)].firstChild;
    while (n >= 0) {
        const XmlTree::Node &node = nodes[std::size_t(n)];
        if (node.type == Type::Text || node.type == Type::CData)
            bytes.append(m_tree->m_data.constData() + node.text.offset, node.text.size);
        if (node.type == Type::Element && node.firstChild >= 0) {
            n = node.firstChild;
            continue;
        }
        // Next node in document order within the subtree.
        while (n >= 0 && n != m_index && nodes[std::size_t(n)].nextSibling < 0)
            n = nodes[std::size_t(n)].parent;
        if (n < 0 || n == m_index)
            break;
        n = nodes[std::size_t(n)].nextSibling;
    }
    return QString::fromUtf8(bytes);
}

bool XmlNode::isSelfClosing() const
{
    return m_tree->m_nodes[std::size_t(m_index)].selfClosing;
}

int XmlNode::attributeCount() const
{
    return m_tree->m_nodes[std::size_t(m_index)].attributeCount;
}

QString XmlNode::attributeName(int i) const
{
    const XmlTree::Node &node = m_tree->m_nodes[std::size_t(m_index)];
    if (i < 0 || i >= node.attributeCount)
        return QString();
    return m_tree
        ->m_names[std::size_t(m_tree->m_attributes[std::size_t(node.firstAttribute + i)].name)];
}

QString XmlNode::attributeValue(int i) const
{
    const XmlTree::Node &node = m_tree->m_nodes[std::size_t(m_index)];
    if (i < 0 || i >= node.attributeCount)
        return QString();
    return m_tree->spanText(m_tree->m_attributes[std::size_t(node.firstAttribute + i)].value);
}

QString XmlNode::attribute(const QString &name, bool *found) const
{
    const int count = attributeCount();
    for (int i = 0; i < count; ++i) {
        if (attributeName(i) == name) {
            if (found)
                *found = true;
            return attributeValue(i);
        }
    }
    if (found)
        *found = false;
    return QString();
}

int XmlNode::childCount() const
{
    int count = 0;
    for (XmlNode c = firstChild(); !c.isNull(); c = c.nextSibling())
        ++count;
    return count;
}

XmlNode XmlNode::firstChild() const
{
    const int child = m_tree->m_nodes[std::size_t(m_index)].firstChild;
    return child >= 0 ? XmlNode(m_tree, child) : XmlNode();
}

XmlNode XmlNode::nextSibling() const
{
    const int next = m_tree->m_nodes[std::size_t(m_index)].nextSibling;
    return next >= 0 ? XmlNode(m_tree, next) : XmlNode();
}

XmlNode XmlNode::firstChildElement() const
{
    XmlNode c = firstChild();
    while (!c.isNull() && !c.isElement())
        c = c.nextSibling();
    return c;
}

XmlNode XmlNode::nextSiblingElement() const
{
    XmlNode c = nextSibling();
    while (!c.isNull() && !c.isElement())
        c = c.nextSibling();
    return c;
}
