#pragma once

#include "core/zml/XmlEventParser.h"

#include <QByteArray>
#include <QString>

#include <vector>

class XmlTree;

// One node of an XmlTree: a light handle (tree and index) that stays valid while the tree
// lives. A null node (isNull()) stands for "no node".
class XmlNode final {
public:
    using Type = XmlNodeType;

    XmlNode() = default;

    bool isNull() const { return m_tree == nullptr; }
    Type type() const;
    bool isElement() const { return type() == Type::Element; }
    // Element name (qualified, as written), the target of a processing instruction, or
    // "#text", "#cdata-section", "#comment".
    QString name() const;
    // Text of a text, CDATA or comment node, or the data of a processing instruction (entity and
    // character references resolved); empty for elements.
    QString text() const;
    // Text of a text node written as markup again ("&", "<" and ">" escaped).
    QString markup() const;
    // All text inside an element (its text and CDATA descendants, in document order).
    QString innerText() const;
    // True for an element written as one empty-element tag ("<a/>").
    bool isSelfClosing() const;

    // Attributes of an element in document order (references resolved).
    int attributeCount() const;
    QString attributeName(int i) const;
    QString attributeValue(int i) const;
    // Value of the attribute named exactly name; found is set to whether it exists.
    QString attribute(const QString &name, bool *found = nullptr) const;

    bool hasChildren() const { return !firstChild().isNull(); }
    int childCount() const;
    XmlNode firstChild() const;
    XmlNode nextSibling() const;
    // The first element among this node's children / following siblings.
    XmlNode firstChildElement() const;
    XmlNode nextSiblingElement() const;

    bool operator==(const XmlNode &other) const
    {
        return m_tree == other.m_tree && m_index == other.m_index;
    }
    bool operator!=(const XmlNode &other) const { return !(*this == other); }

private:
    friend class XmlTree;
    XmlNode(const XmlTree *tree, int index) : m_tree(tree), m_index(index) {}

    const XmlTree *m_tree = nullptr;
    int m_index = -1;
};

// A parsed XML document: elements, text, CDATA sections, comments and processing instructions.
// Text nodes of white space only are dropped, unless a reference wrote part of them. The parser
// rejects text that is not well-formed XML, a document type that declares entities (no entity
// expansion at all, so no expansion blow-up and no external entities) and undeclared namespace
// prefixes. Nesting depth and text length are limited only by the input: the writer may nest
// blocks as deep as the user built them, and nothing in parsing, building or walking the tree
// recurses along the nesting.
class XmlTree final {
public:
    XmlTree() = default;
    XmlTree(const XmlTree &) = delete;
    XmlTree &operator=(const XmlTree &) = delete;
    XmlTree(XmlTree &&) = default;
    XmlTree &operator=(XmlTree &&) = default;

    // Parses UTF-8 text (any encoding declaration is ignored); false when not well-formed.
    bool parseUtf8(const QByteArray &utf8);
    bool parse(const QString &text) { return parseUtf8(text.toUtf8()); }

    // Checks only that text is well-formed, without building a tree.
    static bool isWellFormed(const QString &text);
    static bool isWellFormedUtf8(const QByteArray &utf8);

    bool isValid() const { return m_valid; }
    // Short description of the first error (line and message) when parsing failed.
    const QString &errorString() const { return m_error; }
    // The root element (null when not parsed).
    XmlNode root() const;
    // Number of nodes.
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }

private:
    friend class XmlNode;
    friend class XmlTreeBuilder;

    struct Span { // bytes of m_data
        int offset = 0;
        int size = 0;
    };
    struct Node {
        XmlNode::Type type = XmlNode::Type::Element;
        bool selfClosing = false;
        int name = -1; // index into m_names (elements, processing instructions)
        int parent = -1;
        int firstChild = -1;
        int lastChild = -1;
        int nextSibling = -1;
        int firstAttribute = 0;
        int attributeCount = 0;
        Span text;
    };
    struct Attribute {
        int name = -1;
        Span value;
    };

    QString spanText(const Span &span) const
    {
        return QString::fromUtf8(m_data.constData() + span.offset, span.size);
    }
    void clear();

    std::vector<Node> m_nodes;
    std::vector<Attribute> m_attributes;
    std::vector<QString> m_names; // interned names
    QByteArray m_data;            // UTF-8 text of values, texts and comments
    int m_root = -1;
    bool m_valid = false;
    QString m_error;
};
