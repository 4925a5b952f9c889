#include "core/zml/XmlTree.h"

#include "core/zml/XmlEventParser.h"

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

// Builds the tree from the parser's events.
class XmlTreeBuilder final : public XmlEventHandler {
public:
    explicit XmlTreeBuilder(XmlTree *tree) : m_tree(tree) {}

    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        const int index = append(XmlNode::Type::Element);
        const int nameIndex = internName(name);
        const int firstAttribute = static_cast<int>(m_tree->m_attributes.size());
        for (int i = 0; i < count; ++i) {
            XmlTree::Attribute attribute;
            attribute.name = internName(attributes[i].name);
            attribute.value = store(attributes[i].value);
            m_tree->m_attributes.push_back(attribute);
        }
        XmlTree::Node &node = m_tree->m_nodes[std::size_t(index)];
        node.name = nameIndex;
        node.selfClosing = selfClosing;
        node.firstAttribute = firstAttribute;
        node.attributeCount = count;
        if (m_current < 0)
            m_tree->m_root = index;
        m_current = index;
    }

    void endElement() override
    {
        if (m_current >= 0)
            m_current = m_tree->m_nodes[std::size_t(m_current)].parent;
    }

    void characters(XmlNodeType kind, std::string_view text, std::string_view target) override
    {
        const int index = append(kind);
        XmlTree::Node &node = m_tree->m_nodes[std::size_t(index)];
        node.text = store(text);
        if (kind == XmlNodeType::ProcessingInstruction)
            node.name = internName(target);
    }

private:
    int internName(std::string_view name)
    {
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

    XmlTree::Span store(std::string_view bytes)
    {
        XmlTree::Span span;
        span.offset = static_cast<int>(m_tree->m_data.size());
        span.size = static_cast<int>(bytes.size());
        m_tree->m_data.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
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

    XmlTree *m_tree;
    int m_current = -1;
    std::deque<std::string> m_nameBytes; // a deque never moves its strings: m_byName views them
    std::unordered_map<std::string_view, int> m_byName;
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
    XmlEventParser parser(&builder);
    m_valid = parser.parse(utf8) && m_root >= 0;
    if (!m_valid)
        m_error = parser.errorString();
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
    return XmlEventParser(nullptr).parse(utf8);
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
    return m_tree->m_names[std::size_t(
        m_tree->m_attributes[std::size_t(node.firstAttribute) + std::size_t(i)].name)];
}

QString XmlNode::attributeValue(int i) const
{
    const XmlTree::Node &node = m_tree->m_nodes[std::size_t(m_index)];
    if (i < 0 || i >= node.attributeCount)
        return QString();
    return m_tree->spanText(
        m_tree->m_attributes[std::size_t(node.firstAttribute) + std::size_t(i)].value);
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
