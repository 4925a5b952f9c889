#include "document/ZmlReader.h"

#include "controls/MessageService.h"
#include "document/AnsiCodec.h"
#include "document/CDocument.h"
#include "document/StepText.h"
#include "document/XmlEventParser.h"
#include "document/XmlTree.h"
#include "document/ZmlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
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

using Attribute = XmlEventHandler::Attribute;

QString fromUtf8(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool is(std::string_view name, const char *literal)
{
    return name == std::string_view(literal);
}

// Text content as the step keeps it: the markup characters escaped again, then decoded like
// every ZML value.
QString stepText(std::string_view text)
{
    QString s = fromUtf8(text);
    s.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    s.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    s.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return DecodeText(s);
}

// The one element of a disabled step's comment, with the values as written.
class SingleElement final : public XmlEventHandler {
public:
    void clear()
    {
        name.clear();
        values.clear();
        children = 0;
        text.reset();
        m_depth = 0;
    }

    void startElement(std::string_view elementName, const Attribute *attributes, int count,
                      bool) override
    {
        if (m_depth++ > 0) {
            ++children;
            return;
        }
        name.assign(elementName);
        for (int i = 0; i < count; ++i)
            values.emplace_back(attributes[i].name, attributes[i].value);
    }
    void endElement() override { --m_depth; }
    void characters(XmlNodeType kind, std::string_view data, std::string_view) override
    {
        if (m_depth == 1) {
            if (children == 0 && kind == XmlNodeType::Text)
                text = data;
            else
                text.reset();
            ++children;
        }
    }

    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
    int children = 0;
    std::optional<std::string> text; // set when the only child is text

private:
    int m_depth = 0;
};

// Builds the steps of a body, and the depth of each row, from the events inside the body
// element (or any other container) as they come. The nesting is kept on a stack, never by
// recursion.
class BodyReader final {
public:
    BodyReader(const CElements &catalogue, int depth) : m_catalogue(catalogue)
    {
        m_frames.push_back(Frame{});
        m_frames.back().depth = std::max(0, depth);
    }

    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing)
    {
        if (m_skipping > 0) {
            ++m_skipping;
            return;
        }
        Frame &parent = m_frames.back();
        ++parent.children;
        Definition *definition = lookup(name);
        if (!definition) { // an unknown element is dropped with everything inside it
            m_skipping = 1;
            return;
        }
        const bool isIf = is(name, "if");
        const bool isLoop = is(name, "loop");
        const int rowDepth =
            is(name, "else") && parent.depth >= 1 ? parent.depth - 1 : parent.depth;
        m_steps.push_back({nullptr, rowDepth, stepFromElement(*definition, attributes, count)});

        Frame frame;
        frame.depth = parent.depth + 1;
        frame.step = m_steps.size() - 1;
        frame.closer = isIf ? "endif" : isLoop ? "endloop" : nullptr;
        frame.closerDepth = parent.depth;
        frame.selfClosing = selfClosing;
        frame.closesBlock = is(name, "endif") || is(name, "endloop");
        frame.wantsText = definition->element->ContainsText;
        m_frames.push_back(std::move(frame));
    }

    void endElement()
    {
        if (m_skipping > 0) {
            --m_skipping;
            return;
        }
        if (m_frames.size() < 2)
            return;
        const Frame frame = std::move(m_frames.back());
        m_frames.pop_back();
        Frame &parent = m_frames.back();
        if (frame.wantsText && frame.children == 1 && frame.onlyText)
            m_steps[frame.step].owned->Text = frame.text;
        // An if or loop written with start and end tags is a block even when empty.
        if (frame.children > 0 || (frame.closer && !frame.selfClosing)) {
            if (frame.closer)
                addDefinition(frame.closer, frame.closerDepth);
        } else if (frame.closer) {
            ++parent.depth; // flat form: the rows that follow are inside the block
        } else if (frame.closesBlock) {
            parent.depth = std::max(0, parent.depth - 1);
            m_steps[frame.step].depth = parent.depth;
        }
    }

    void characters(XmlNodeType kind, std::string_view text)
    {
        if (m_skipping > 0)
            return;
        Frame &frame = m_frames.back();
        if (kind == XmlNodeType::Text && frame.children == 0 && frame.wantsText) {
            frame.onlyText = true;
            frame.text = stepText(text);
        }
        ++frame.children;
        if (kind == XmlNodeType::Comment && m_frames.size() == 1)
            addComment(text, frame.depth);
        else if (kind == XmlNodeType::Comment)
            addComment(text, frame.depth);
    }

    std::vector<CDocument::NewStep> takeSteps() { return std::move(m_steps); }

private:
    // What an element opened: the rows its children get and what its end does.
    struct Frame {
        int depth = 0;                // depth of the rows inside
        std::size_t step = 0;         // index of the element's step in m_steps
        const char *closer = nullptr; // "endif"/"endloop" row to add at the end, or null
        int closerDepth = 0;          // depth of that row
        bool selfClosing = false;     // written as one empty-element tag
        bool closesBlock = false;     // an endif or endloop element
        bool wantsText = false;       // the action carries text content
        int children = 0;             // child nodes seen so far
        bool onlyText = false;        // the first child is text
        QString text;                 // that text, decoded
    };

    // A catalogue action with the positions of the attribute names met in the file.
    struct Definition {
        std::shared_ptr<const CElement> element;
        CAttributes::DefinitionsPtr attributes; // frozen, shared by every step of the action
        std::vector<std::pair<std::string, int>> positions; // written name, 1-based or 0

        int position(std::string_view name)
        {
            for (const auto &known : positions) {
                if (known.first == name)
                    return known.second;
            }
            const QString wanted = fromUtf8(name);
            int found = 0;
            int at = 1;
            for (const auto &attribute : element->Attributes()) {
                if (attribute->AttributeName.compare(wanted, Qt::CaseInsensitive) == 0) {
                    found = at;
                    break;
                }
                ++at;
            }
            positions.emplace_back(std::string(name), found);
            return found;
        }
    };

    Definition *lookup(std::string_view name)
    {
        // Names of a file repeat: the exact written name saves the case folding.
        const std::string key(name);
        const auto it = m_cache.find(key);
        if (it != m_cache.end())
            return it->second.element ? &it->second : nullptr;
        Definition &definition = m_cache[key];
        definition.element = m_catalogue.Item(fromUtf8(name));
        if (definition.element)
            definition.attributes = definition.element->Attributes().Definitions();
        return definition.element ? &definition : nullptr;
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

    // A step of definition with the element's attribute values. Attributes the element does
    // not carry keep the definition's loaded value; the text content is set at the element's end.
    static std::shared_ptr<CElement> stepFromElement(Definition &definition,
                                                     const Attribute *attributes, int count)
    {
        auto step = std::make_shared<CElement>();
        copyFields(*definition.element, *step);
        CAttributes &values = step->Attributes();
        values.AssignDefinitions(definition.attributes);
        for (int i = 0; i < count; ++i) {
            if (const int position = definition.position(attributes[i].name))
                values.SetValueAt(position - 1, DecodeText(fromUtf8(attributes[i].value)));
        }
        return step;
    }

    void addDefinition(const char *name, int depth)
    {
        const Definition *definition = lookup(name);
        if (!definition)
            return;
        auto step = std::make_shared<CElement>();
        copyFields(*definition->element, *step);
        step->Text = definition->element->Text;
        step->Attributes().AssignDefinitions(definition->attributes);
        m_steps.push_back({nullptr, depth, std::move(step)});
    }

    void addComment(std::string_view text, int depth)
    {
        if (addDisabledStep(text, depth))
            return;
        auto step = std::make_shared<CElement>();
        step->IsComment = true;
        step->Text = commentText(fromUtf8(text));
        m_steps.push_back({nullptr, depth, std::move(step)});
    }

    // A disabled step is written as a comment holding its form between two blanks. Restores
    // it (as a disabled step of its action) when the comment is exactly what the step writes.
    bool addDisabledStep(std::string_view comment, int depth);

    const CElements &m_catalogue;
    std::unordered_map<std::string, Definition> m_cache;
    std::vector<Frame> m_frames; // [0] is the container
    int m_skipping = 0;          // open elements of an unknown element being dropped
    SingleElement m_commented;   // the element inside a comment that may be a disabled step
    XmlEventParser m_commentParser{&m_commented};
    std::vector<CDocument::NewStep> m_steps;
};

bool BodyReader::addDisabledStep(std::string_view comment, int depth)
{
    if (comment.size() < 5 || comment.substr(0, 2) != " <" || comment.back() != ' ')
        return false;
    SingleElement &element = m_commented;
    element.clear();
    if (!m_commentParser.parse(QByteArray(comment.data() + 1, qsizetype(comment.size()) - 2)))
        return false;
    Definition *definition = lookup(element.name);
    if (!definition)
        return false;
    std::vector<Attribute> attributes;
    attributes.reserve(element.values.size());
    for (const auto &value : element.values)
        attributes.push_back({value.first, value.second});
    auto step = stepFromElement(*definition, attributes.data(), int(attributes.size()));
    if (step->ContainsText && element.children == 1 && element.text)
        step->Text = stepText(*element.text);
    step->Disabled = true;
    // The comment keeps the "&#160;" that the step's values were written with, while the
    // values read back hold U+00A0 (the parser resolves the reference): both forms count
    // as the same text, or a step with a leading or doubled space would become a comment.
    const auto sameForm = [](QString text) {
        return text.replace(QLatin1String("&#160;"), QString(QChar(QChar::Nbsp)));
    };
    if (sameForm(BuildStepText(*step)) !=
        sameForm(QLatin1String("<!--") + fromUtf8(comment) + QLatin1String("-->")))
        return false;
    const int rowDepth = is(element.name, "else") && depth >= 1 ? depth - 1 : depth;
    m_steps.push_back({nullptr, rowDepth, std::move(step)});
    return true;
}

// Hands the events inside one container element (at containerDepth, the root being 1) to a
// body reader.
class ContainerEvents final {
public:
    ContainerEvents(BodyReader &reader, int containerDepth)
        : m_reader(reader), m_containerDepth(containerDepth)
    {}
    // depth: open elements before the event.
    void startElement(int depth, std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing)
    {
        if (depth >= m_containerDepth)
            m_reader.startElement(name, attributes, count, selfClosing);
    }
    void endElement(int depth)
    {
        if (depth > m_containerDepth)
            m_reader.endElement();
    }
    void characters(int depth, XmlNodeType kind, std::string_view text)
    {
        if (depth >= m_containerDepth)
            m_reader.characters(kind, text);
    }

private:
    BodyReader &m_reader;
    int m_containerDepth;
};

// The steps of the children of a fragment's root element.
class FragmentReader final : public XmlEventHandler {
public:
    FragmentReader(const CElements &catalogue, int depth)
        : m_reader(catalogue, depth), m_events(m_reader, 1)
    {}
    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        m_events.startElement(m_depth++, name, attributes, count, selfClosing);
    }
    void endElement() override { m_events.endElement(m_depth--); }
    void characters(XmlNodeType kind, std::string_view text, std::string_view) override
    {
        m_events.characters(m_depth, kind, text);
    }
    std::vector<CDocument::NewStep> takeSteps() { return m_reader.takeSteps(); }

private:
    BodyReader m_reader;
    ContainerEvents m_events;
    int m_depth = 0;
};

// What a ZML file holds, gathered while it is parsed: the root's name and version, the names
// of its first two elements, the header fields and the steps of the body. The steps are built
// only when the file looks like a script up to its body.
class ZmlFileReader final : public XmlEventHandler {
public:
    explicit ZmlFileReader(const CElements &catalogue) : m_catalogue(catalogue) {}

    void startElement(std::string_view name, const Attribute *attributes, int count,
                      bool selfClosing) override
    {
        const int depth = m_depth++;
        if (m_body) {
            m_bodyEvents->startElement(depth, name, attributes, count, selfClosing);
            return;
        }
        if (depth == 0) {
            rootName = fromUtf8(name);
            for (int i = 0; i < count; ++i) {
                if (is(attributes[i].name, "version")) {
                    version = fromUtf8(attributes[i].value);
                    break;
                }
            }
        } else if (depth == 1) {
            if (m_topElements == 0) {
                headName = fromUtf8(name);
                m_inHead = true;
            } else if (m_topElements == 1) {
                bodyName = fromUtf8(name);
                if (bodyName == QLatin1String("zmlbody") && rootName == QLatin1String("zml") &&
                    version == QLatin1String("1.0") && headName == QLatin1String("zmlhead")) {
                    m_body = std::make_unique<BodyReader>(m_catalogue, 0);
                    m_bodyEvents = std::make_unique<ContainerEvents>(*m_body, 2);
                }
            }
            ++m_topElements;
        } else if (depth == 2 && m_inHead) {
            header.push_back({fromUtf8(name), QByteArray()});
        }
    }

    void endElement() override
    {
        const int depth = --m_depth;
        if (m_body && depth >= 2) {
            m_bodyEvents->endElement(depth + 1);
            return;
        }
        if (depth == 1) {
            m_inHead = false;
            if (m_body)
                steps = m_body->takeSteps();
            m_bodyEvents.reset();
            m_body.reset();
        }
    }

    void characters(XmlNodeType kind, std::string_view text, std::string_view) override
    {
        if (m_body) {
            m_bodyEvents->characters(m_depth, kind, text);
            return;
        }
        // A header field's value is all the text inside its element.
        if (m_inHead && m_depth >= 3 && (kind == XmlNodeType::Text || kind == XmlNodeType::CData))
            header.back().second.append(text.data(), qsizetype(text.size()));
    }

    QString rootName;
    QString version; // the root's version attribute
    QString headName;
    QString bodyName;
    std::vector<std::pair<QString, QByteArray>> header; // header elements and their text
    std::vector<CDocument::NewStep> steps;

private:
    const CElements &m_catalogue;
    int m_depth = 0;       // open elements
    int m_topElements = 0; // elements met inside the root
    bool m_inHead = false;
    std::unique_ptr<BodyReader> m_body;
    std::unique_ptr<ContainerEvents> m_bodyEvents;
};

int insertSteps(CDocument &doc, const std::vector<CDocument::NewStep> &steps, int position)
{
    if (steps.empty())
        return 0;
    const int before = doc.RowCount();
    doc.InsertSteps(steps, position);
    return doc.RowCount() - before;
}

// Parses a script file into reader. The text is streamed to the parser when the system code
// page is UTF-8; text in another code page, or with bytes invalid in UTF-8, is decoded first.
enum class FileParse { Parsed, Unreadable, Corrupt };
FileParse parseFile(QFile &file, const CElements &catalogue, std::unique_ptr<ZmlFileReader> *reader)
{
    // The parser would follow a UTF-16 byte order mark; such text is not UTF-8 and is decoded
    // like any other.
    const QByteArray start = file.peek(2);
    const bool utf16 = start == QByteArray("\xFF\xFE", 2) || start == QByteArray("\xFE\xFF", 2);
    if (AnsiCodec::systemIsUtf8() && !utf16) {
        *reader = std::make_unique<ZmlFileReader>(catalogue);
        XmlEventParser parser(reader->get());
        if (parser.parse(file))
            return FileParse::Parsed;
        if (parser.readFailed())
            return FileParse::Unreadable;
    }
    // Not UTF-8, or not well-formed: maybe only because of its bytes.
    if (!file.seek(0))
        return FileParse::Unreadable;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileParse::Unreadable;
    if (AnsiCodec::systemIsUtf8() && AnsiCodec::isValidUtf8(bytes))
        return FileParse::Corrupt;
    bytes = AnsiCodec::decode(bytes).toUtf8();
    *reader = std::make_unique<ZmlFileReader>(catalogue);
    return XmlEventParser(reader->get()).parse(bytes) ? FileParse::Parsed : FileParse::Corrupt;
}

std::string_view view(const QByteArray &bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// Feeds the nodes inside parent to reader in document order, as the parser would.
void replay(const XmlNode &parent, BodyReader &reader)
{
    std::vector<XmlNode> open; // elements whose children are being fed
    XmlNode node = parent.firstChild();
    std::vector<QByteArray> texts; // name and values of the element being fed
    std::vector<Attribute> attributes;
    while (true) {
        if (node.isNull()) {
            if (open.empty())
                break;
            reader.endElement();
            node = open.back().nextSibling();
            open.pop_back();
            continue;
        }
        if (!node.isElement()) {
            reader.characters(node.type(), view(node.text().toUtf8()));
            node = node.nextSibling();
            continue;
        }
        const int count = node.attributeCount();
        texts.assign(1, node.name().toUtf8());
        for (int i = 0; i < count; ++i) {
            texts.push_back(node.attributeName(i).toUtf8());
            texts.push_back(node.attributeValue(i).toUtf8());
        }
        attributes.clear();
        for (int i = 0; i < count; ++i)
            attributes.push_back(
                {view(texts[std::size_t(2 * i + 1)]), view(texts[std::size_t(2 * i + 2)])});
        reader.startElement(view(texts[0]), attributes.data(), count, node.isSelfClosing());
        open.push_back(node);
        node = node.firstChild();
    }
}

} // namespace

int ParseBody(CDocument &doc, const XmlNode &parent, int depth, int position)
{
    if (parent.isNull())
        return 0;
    BodyReader reader(doc.Catalogue(), depth);
    replay(parent, reader);
    return insertSteps(doc, reader.takeSteps(), position);
}

int InsertXmlFragment(CDocument &doc, const QString &wrappedText, int position)
{
    FragmentReader reader(doc.Catalogue(), 0);
    if (!XmlEventParser(&reader).parse(wrappedText.toUtf8()))
        return 0;
    return insertSteps(doc, reader.takeSteps(), position);
}

bool OpenDocument(CDocument &doc, const QString &path)
{
    doc.SetDirty(false);

    std::unique_ptr<ZmlFileReader> reader;
    FileParse parsed = FileParse::Unreadable;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            parsed = parseFile(file, doc.Catalogue(), &reader);
    }
    if (parsed == FileParse::Unreadable) {
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
    if (parsed == FileParse::Corrupt) {
        ShowMessage(tr("This file is corrupt or not a valid ZML file") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }

    const ZmlFileReader &file = *reader;
    if (file.rootName != QLatin1String("zml")) {
        ShowMessage(tr("This file is not a valid ZML document") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }
    if (file.version != QLatin1String("1.0")) {
        ShowMessage(tr("The file has an invalid or unsupported version number") + kCrLf +
                        quoted(path),
                    MsgIcon::Critical);
        return false;
    }
    if (file.headName != QLatin1String("zmlhead")) {
        ShowMessage(tr("File doesn't contain a valid header") + kCrLf + quoted(path),
                    MsgIcon::Critical);
        return false;
    }

    QString author, company, version, email, web, description;
    for (const auto &[name, text] : file.header) {
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
            *field = DecodeText(QString::fromUtf8(text));
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

    if (file.bodyName != QLatin1String("zmlbody")) {
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
    insertSteps(doc, reader->steps, -1);
    reader.reset();
    doc.SetFileName(path);
    if (doc.RowCount() > 0)
        doc.SetDepth(0, 0);
    emit doc.loadingFinished();
    doc.SetDirty(false);
    return true;
}
