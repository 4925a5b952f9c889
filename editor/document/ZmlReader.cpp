#include "document/ZmlReader.h"

#include "controls/MessageService.h"
#include "document/AnsiCodec.h"
#include "document/CDocument.h"
#include "document/StepText.h"
#include "document/XmlTree.h"
#include "document/ZmlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <memory>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString tr(const char *text)
{
    return QCoreApplication::translate("ZmlReader", text);
}

QString quoted(const QString &path)
{
    return QLatin1Char('\'') + path + QLatin1Char('\'');
}

// Comment text with line breaks as CR LF; a leading CR LF is removed, and then one trailing
// CR LF too (the form the writer gives a comment step).
QString commentText(const QString &raw)
{
    QString text = raw;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    if (text.startsWith(kCrLf)) {
        text.remove(0, 2);
        if (text.endsWith(kCrLf))
            text.chop(2);
    }
    return text;
}

// Builds the steps of a body and the depth of each row, walking the tree without recursion.
class BodyReader final {
public:
    explicit BodyReader(const CElements &catalogue) : m_catalogue(catalogue) {}

    std::vector<CDocument::NewStep> read(const XmlNode &parent, int depth)
    {
        struct Frame {
            XmlNode next;   // next child to read
            int depth;      // current depth for the following children
            QString closer; // "endif"/"endloop" row to add after the children, or ""
            int closerDepth;
        };
        std::vector<Frame> stack;
        stack.push_back({parent.firstChild(), depth, QString(), 0});
        while (!stack.empty()) {
            Frame &frame = stack.back();
            if (frame.next.isNull()) {
                const QString closer = frame.closer;
                const int closerDepth = frame.closerDepth;
                stack.pop_back();
                if (!closer.isEmpty())
                    addDefinition(closer, closerDepth);
                continue;
            }
            const XmlNode node = frame.next;
            frame.next = node.nextSibling();

            if (node.type() == XmlNode::Type::Comment) {
                addComment(node, frame.depth);
                continue;
            }
            if (!node.isElement())
                continue;
            const QString name = node.name();
            const auto definition = lookup(name);
            if (!definition)
                continue;
            int rowDepth = frame.depth;
            if (name == QLatin1String("else") && frame.depth >= 1)
                rowDepth = frame.depth - 1;
            m_steps.push_back({nullptr, rowDepth, stepFromElement(*definition, node)});

            const bool block = name == QLatin1String("if") || name == QLatin1String("loop");
            // An if or loop written with start and end tags is a block even when empty.
            if (node.hasChildren() || (block && !node.isSelfClosing())) {
                QString closer;
                if (name == QLatin1String("if"))
                    closer = QStringLiteral("endif");
                else if (name == QLatin1String("loop"))
                    closer = QStringLiteral("endloop");
                const int childDepth = frame.depth + 1;
                const int closerDepth = frame.depth;
                stack.push_back({node.firstChild(), childDepth, closer, closerDepth});
            } else if (block) {
                ++frame.depth;
            } else if (name == QLatin1String("endif") || name == QLatin1String("endloop")) {
                frame.depth = std::max(0, frame.depth - 1);
                m_steps.back().depth = frame.depth;
            }
        }
        return std::move(m_steps);
    }

private:
    // A disabled step is written as a comment holding its form between two blanks. Restores
    // it (as a disabled step of its action) when the comment is exactly what the step writes.
    bool addDisabledStep(const QString &comment, int depth)
    {
        if (comment.size() < 5 || !comment.startsWith(QLatin1String(" <")) ||
            !comment.endsWith(QLatin1Char(' ')))
            return false;
        XmlTree tree;
        if (!tree.parse(comment.mid(1, comment.size() - 2)))
            return false;
        const XmlNode element = tree.root();
        const QString name = element.name();
        const auto definition = lookup(name);
        if (!definition)
            return false;
        auto step = stepFromElement(*definition, element);
        step->Disabled = true;
        // The comment keeps the "&#160;" that the step's values were written with, while the
        // values read back hold U+00A0 (the parser resolves the reference): both forms count
        // as the same text, or a step with a leading or doubled space would become a comment.
        const auto sameForm = [](QString text) {
            return text.replace(QLatin1String("&#160;"), QString(QChar(QChar::Nbsp)));
        };
        if (sameForm(BuildStepText(*step)) !=
            sameForm(QLatin1String("<!--") + comment + QLatin1String("-->")))
            return false;
        const int rowDepth = name == QLatin1String("else") && depth >= 1 ? depth - 1 : depth;
        m_steps.push_back({nullptr, rowDepth, std::move(step)});
        return true;
    }

    // A catalogue action and the frozen definitions of its attributes, shared by its steps.
    struct Action {
        std::shared_ptr<const CElement> element;
        CAttributes::DefinitionsPtr attributes;
    };

    // The action of an element name; null when the catalogue has none. Valid until the next
    // lookup (the cache may grow).
    const Action *lookup(const QString &name)
    {
        // Names of a file repeat; QString's hash of the exact name saves the case folding.
        auto it = m_cache.constFind(name);
        if (it == m_cache.constEnd()) {
            Action action;
            action.element = m_catalogue.Item(name);
            if (action.element)
                action.attributes = action.element->Attributes().Definitions();
            it = m_cache.insert(name, std::move(action));
        }
        return it->element ? &*it : nullptr;
    }

    void addDefinition(const QString &name, int depth)
    {
        const Action *definition = lookup(name);
        if (!definition)
            return;
        auto step = std::make_shared<CElement>();
        copyFields(*definition->element, *step);
        step->Text = definition->element->Text;
        step->Attributes().AssignDefinitions(definition->attributes);
        m_steps.push_back({nullptr, depth, std::move(step)});
    }

    void addComment(const XmlNode &node, int depth)
    {
        if (addDisabledStep(node.text(), depth))
            return;
        auto step = std::make_shared<CElement>();
        step->IsComment = true;
        step->Text = commentText(node.text());
        m_steps.push_back({nullptr, depth, std::move(step)});
    }

    static void copyFields(const CElement &from, CElement &to)
    {
        to.ElementName = from.ElementName;
        to.Description = from.Description;
        to.ContainsText = from.ContainsText;
        to.TextRequired = from.TextRequired;
        to.TextAllowMultiLine = from.TextAllowMultiLine;
        to.Parent = from.Parent;
        to.TextDescription = from.TextDescription;
        to.Information = from.Information;
        to.IsComment = from.IsComment;
        to.Disabled = from.Disabled;
    }

    // A step of definition with the element's attribute values and text. Attributes the element
    // does not carry keep the definition's loaded value.
    static std::shared_ptr<CElement> stepFromElement(const Action &action, const XmlNode &node)
    {
        const CElement &definition = *action.element;
        auto step = std::make_shared<CElement>();
        copyFields(definition, *step);
        CAttributes &attributes = step->Attributes();
        attributes.AssignDefinitions(action.attributes);
        const int count = node.attributeCount();
        for (int i = 0; i < count; ++i) {
            const int index = attributes.IndexOf(node.attributeName(i));
            if (index >= 0)
                attributes.SetValueAt(index, DecodeText(node.attributeValue(i)));
        }
        if (definition.ContainsText) {
            const XmlNode child = node.firstChild();
            if (!child.isNull() && child.nextSibling().isNull() &&
                child.type() == XmlNode::Type::Text)
                step->Text = DecodeText(child.markup());
        }
        return step;
    }

    const CElements &m_catalogue;
    QHash<QString, Action> m_cache;
    std::vector<CDocument::NewStep> m_steps;
};

bool readFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

int ParseBody(CDocument &doc, const XmlNode &parent, int depth, int position)
{
    if (parent.isNull())
        return 0;
    BodyReader reader(doc.Catalogue());
    const std::vector<CDocument::NewStep> steps = reader.read(parent, std::max(0, depth));
    if (steps.empty())
        return 0;
    const int before = doc.RowCount();
    doc.InsertSteps(steps, position);
    return doc.RowCount() - before;
}

int InsertXmlFragment(CDocument &doc, const QString &wrappedText, int position)
{
    XmlTree tree;
    if (!tree.parse(wrappedText))
        return 0;
    return ParseBody(doc, tree.root(), 0, position);
}

bool OpenDocument(CDocument &doc, const QString &path)
{
    doc.SetDirty(false);

    QByteArray bytes;
    if (!readFile(path, &bytes)) {
        if (QFileInfo::exists(path)) {
            ShowMessage(tr("Can't open the file ") + quoted(path) + kCrLf +
                            tr("Check that you have the correct permission to access it"),
                        MsgIcon::Critical);
        } else {
            ShowMessage(tr("Can't find the file ") + quoted(path), MsgIcon::Critical);
            emit doc.recentFileRemoved(path);
        }
        return false;
    }

    XmlTree tree;
    {
        // The parser reads UTF-8; text in another code page, or with bytes invalid in UTF-8,
        // is decoded first.
        const bool direct = AnsiCodec::systemIsUtf8() && AnsiCodec::isValidUtf8(bytes);
        if (!direct)
            bytes = AnsiCodec::decode(bytes).toUtf8();
        const bool parsed = tree.parseUtf8(bytes);
        bytes = QByteArray();
        if (!parsed) {
            ShowMessage(tr("This file is corrupt or not a valid ZML file") + kCrLf + quoted(path),
                        MsgIcon::Critical);
            return false;
        }
    }

    const XmlNode root = tree.root();
    if (root.name() != QLatin1String("zml")) {
        ShowMessage(tr("This file is not a valid ZML document") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }
    if (root.attribute(QStringLiteral("version")) != QLatin1String("1.0")) {
        ShowMessage(tr("The file has an invalid or unsupported version number") + kCrLf +
                        quoted(path),
                    MsgIcon::Critical);
        return false;
    }
    const XmlNode head = root.firstChildElement();
    if (head.isNull() || head.name() != QLatin1String("zmlhead")) {
        ShowMessage(tr("File doesn't contain a valid header") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }

    QString author, company, version, email, web, description;
    for (XmlNode e = head.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString name = e.name();
        QString *field = nullptr;
        if (name == QLatin1String("version"))
            field = &version;
        else if (name == QLatin1String("author"))
            field = &author;
        else if (name == QLatin1String("company"))
            field = &company;
        else if (name == QLatin1String("description"))
            field = &description;
        else if (name == QLatin1String("email"))
            field = &email;
        else if (name == QLatin1String("web"))
            field = &web;
        if (field) {
            *field = DecodeText(e.innerText());
        } else {
            ShowMessage(tr("Unsupported element found in the header ") + quoted(name) + kCrLf +
                            tr("This element will be removed when you save the file"),
                        MsgIcon::Information);
        }
    }
    if (version.isEmpty()) {
        ShowMessage(tr("File version is missing. Inserting 1.0"), MsgIcon::Information);
        version = QStringLiteral("1.0");
    }

    const XmlNode body = head.nextSiblingElement();
    if (body.isNull() || body.name() != QLatin1String("zmlbody")) {
        ShowMessage(tr("File doesn't contain a valid body") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }

    doc.Clear();
    emit doc.recentFileAdded(path);
    CHeader &header = doc.Header();
    header.Author = author;
    header.Company = company;
    header.Version = version;
    header.EMail = email;
    header.Web = web;
    header.Description = description;

    emit doc.loadingStarted();
    ParseBody(doc, body, 0, -1);
    doc.SetFileName(path);
    if (doc.RowCount() > 0)
        doc.SetDepth(0, 0);
    emit doc.loadingFinished();
    doc.SetDirty(false);
    return true;
}
