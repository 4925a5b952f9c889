#include "document/XmlTree.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <QHash>

#include <cstring>
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

const char *asChars(const xmlChar *text)
{
    return reinterpret_cast<const char *>(text);
}

// NOENT makes the parser hand over attribute values with every reference resolved; entity
// declarations themselves are refused (onEntityDecl), so nothing else is ever substituted.
// HUGE lifts the parser's default limits of 256 nesting levels and 10 MB per text, which
// refused scripts that the writer had saved; the parser keeps its own stack on the heap.
constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR |
                              XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC | XML_PARSE_HUGE;

} // namespace

// Receives the parser's events and appends nodes to the tree (or only checks, when tree is null).
class XmlTreeBuilder final {
public:
    explicit XmlTreeBuilder(XmlTree *tree) : m_tree(tree) {}

    bool run(const QByteArray &utf8, QString *error)
    {
        if (utf8.size() > INT_MAX / 2) {
            *error = QStringLiteral("the text is too large");
            return false;
        }
        xmlSAXHandler sax;
        std::memset(&sax, 0, sizeof sax);
        sax.initialized = XML_SAX2_MAGIC;
        sax.serror = &XmlTreeBuilder::onError;
        sax.entityDecl = &XmlTreeBuilder::onEntityDecl;
        sax.unparsedEntityDecl = &XmlTreeBuilder::onUnparsedEntityDecl;
        if (m_tree) {
            sax.startElementNs = &XmlTreeBuilder::onStartElement;
            sax.endElementNs = &XmlTreeBuilder::onEndElement;
            sax.characters = &XmlTreeBuilder::onCharacters;
            sax.ignorableWhitespace = &XmlTreeBuilder::onCharacters;
            sax.cdataBlock = &XmlTreeBuilder::onCData;
            sax.comment = &XmlTreeBuilder::onComment;
            sax.processingInstruction = &XmlTreeBuilder::onProcessingInstruction;
        }

        xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(utf8.constData(), int(utf8.size()));
        if (!ctxt) {
            *error = QStringLiteral("out of memory");
            return false;
        }
        xmlSAXHandlerPtr previous = ctxt->sax;
        ctxt->sax = &sax;
        ctxt->userData = this;
        m_ctxt = ctxt;
        xmlCtxtUseOptions(ctxt, kParseOptions);
        xmlSwitchEncoding(ctxt, XML_CHAR_ENCODING_UTF8);
        xmlParseDocument(ctxt);
        const bool ok = ctxt->wellFormed && ctxt->nsWellFormed && !m_refused;
        // The parser makes a document of its own to hold a document type's entity declarations;
        // the parser context does not free it.
        if (ctxt->myDoc) {
            xmlFreeDoc(ctxt->myDoc);
            ctxt->myDoc = nullptr;
        }
        ctxt->sax = previous;
        ctxt->userData = ctxt;
        xmlFreeParserCtxt(ctxt);
        m_ctxt = nullptr;
        if (!ok)
            *error = m_error.isEmpty() ? QStringLiteral("not well-formed") : m_error;
        return ok;
    }

private:
    static XmlTreeBuilder *self(void *ctx) { return static_cast<XmlTreeBuilder *>(ctx); }

    static void onError(void *ctx, xmlErrorPtr error)
    {
        XmlTreeBuilder *b = self(ctx);
        if (!error || error->level < XML_ERR_ERROR || !b->m_error.isEmpty())
            return;
        b->m_error = QStringLiteral("line %1: %2")
                         .arg(error->line)
                         .arg(QString::fromUtf8(error->message ? error->message : "").trimmed());
    }

    void refuse(const char *why)
    {
        if (m_error.isEmpty())
            m_error = QString::fromLatin1(why);
        m_refused = true;
        xmlStopParser(m_ctxt);
    }

    static void onEntityDecl(void *ctx, const xmlChar *, int, const xmlChar *, const xmlChar *,
                             xmlChar *)
    {
        self(ctx)->refuse("entity declarations are not supported");
    }
    static void onUnparsedEntityDecl(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *,
                                     const xmlChar *)
    {
        self(ctx)->refuse("entity declarations are not supported");
    }

    int internName(const xmlChar *prefix, const xmlChar *local)
    {
        if (!prefix) { // names from the parser's dictionary are unique pointers
            const auto it = m_byPointer.find(local);
            if (it != m_byPointer.end())
                return it->second;
            const int index = internBytes(QByteArray(asChars(local)));
            m_byPointer.emplace(local, index);
            return index;
        }
        return internBytes(QByteArray(asChars(prefix)) + ':' + asChars(local));
    }
    int internBytes(const QByteArray &name)
    {
        const auto it = m_byName.constFind(name);
        if (it != m_byName.constEnd())
            return *it;
        const int index = static_cast<int>(m_tree->m_names.size());
        m_tree->m_names.push_back(QString::fromUtf8(name));
        m_byName.insert(name, index);
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

    static void onStartElement(void *ctx, const xmlChar *localname, const xmlChar *prefix,
                               const xmlChar *, int, const xmlChar **, int nbAttributes, int,
                               const xmlChar **attributes)
    {
        XmlTreeBuilder *b = self(ctx);
        b->flushText();
        XmlTree *t = b->m_tree;
        const int index = b->append(XmlNode::Type::Element);
        XmlTree::Node &node = t->m_nodes[std::size_t(index)];
        node.name = b->internName(prefix, localname);
        const xmlChar *cur = b->m_ctxt->input ? b->m_ctxt->input->cur : nullptr;
        node.selfClosing = cur && cur[0] == '/' && cur[1] == '>';
        node.firstAttribute = static_cast<int>(t->m_attributes.size());
        node.attributeCount = nbAttributes;
        for (int i = 0; i < nbAttributes; ++i) {
            const xmlChar **a = attributes + 5 * i; // local name, prefix, URI, value, end
            XmlTree::Attribute attribute;
            attribute.name = b->internName(a[1], a[0]);
            attribute.value = b->store(asChars(a[3]), a[4] - a[3]);
            t->m_attributes.push_back(attribute);
        }
        if (b->m_current < 0)
            t->m_root = index;
        b->m_current = index;
    }

    static void onEndElement(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
    {
        XmlTreeBuilder *b = self(ctx);
        b->flushText();
        if (b->m_current >= 0)
            b->m_current = b->m_tree->m_nodes[std::size_t(b->m_current)].parent;
    }

    static void onCharacters(void *ctx, const xmlChar *text, int size)
    {
        self(ctx)->m_text.append(asChars(text), size);
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

    static void onCData(void *ctx, const xmlChar *text, int size)
    {
        self(ctx)->appendText(XmlNode::Type::CData, asChars(text), size);
    }

    static void onComment(void *ctx, const xmlChar *text)
    {
        XmlTreeBuilder *b = self(ctx);
        if (b->m_current < 0)
            return; // comments outside the root element are not part of the tree
        b->appendText(XmlNode::Type::Comment, asChars(text), qsizetype(std::strlen(asChars(text))));
    }

    static void onProcessingInstruction(void *ctx, const xmlChar *target, const xmlChar *data)
    {
        XmlTreeBuilder *b = self(ctx);
        if (b->m_current < 0)
            return;
        const char *bytes = data ? asChars(data) : "";
        b->appendText(XmlNode::Type::ProcessingInstruction, bytes, qsizetype(std::strlen(bytes)),
                      b->internBytes(QByteArray(asChars(target))));
    }

    XmlTree *m_tree;
    xmlParserCtxtPtr m_ctxt = nullptr;
    int m_current = -1;
    QByteArray m_text;
    std::unordered_map<const xmlChar *, int> m_byPointer;
    QHash<QByteArray, int> m_byName;
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
