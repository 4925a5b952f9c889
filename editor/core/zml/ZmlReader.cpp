#include "core/zml/ZmlReader.h"

#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "core/host/MessageService.h"
#include "core/zml/AnsiCodec.h"
#include "core/zml/RegularFile.h"
#include "core/zml/XmlEventParser.h"
#include "core/zml/XmlTree.h"
#include "core/zml/ZmlText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Unknown header element names reported one by one; further names are only counted.
constexpr qsizetype kListedHeaderElements = 3;

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

// Depth of the row of an element met at depth: an else row stands one level out.
int rowDepth(std::string_view name, int depth)
{
    return is(name, "else") && depth >= 1 ? depth - 1 : depth;
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
            if (m_depth == 2) // a child of the element
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

// A catalogue action as the reader uses it, with the positions of the attribute names met in
// the file. Built and changed only by the parsing thread; element and attributes are read by the
// building one too, and never change once set.
struct Definition {
    std::shared_ptr<const CElement> element;
    CAttributes::DefinitionsPtr attributes; // frozen, shared by every step of the action
    // The first names met, written name -> 0-based index or -1: a file repeats the few names of
    // each action. Further names are looked up each time (at the cost of the action's own
    // attributes), so that a file of many different unknown names builds nothing that grows.
    std::vector<std::pair<std::string, int>> indexes;

    int indexOf(std::string_view name)
    {
        for (const auto &known : indexes) {
            if (known.first == name)
                return known.second;
        }
        const int found = attributes ? attributes->IndexOf(fromUtf8(name)) : -1;
        if (indexes.size() < kListed)
            indexes.emplace_back(std::string(name), found);
        return found;
    }

private:
    static constexpr std::size_t kListed = 16;
};

void copyFields(const CElement &from, CElement &to)
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

// A step of the action, every attribute with the action's loaded value.
std::shared_ptr<CElement> newStep(const Definition &definition)
{
    auto step = std::make_shared<CElement>();
    copyFields(*definition.element, *step);
    step->Attributes().AssignDefinitions(definition.attributes);
    return step;
}

// Steps read from the text but not built yet: what each step takes from the file, kept as
// bytes, so that the steps can be built on another thread while the parse goes on.
struct PendingSteps {
    struct Step {
        const Definition *definition = nullptr; // null: built is the step
        std::shared_ptr<CElement> built;
        int depth = 0;
        std::uint32_t firstValue = 0; // in values
        std::uint32_t valueCount = 0;
        std::size_t textOffset = 0; // in bytes
        std::size_t textSize = 0;
        bool hasText = false; // the element's text content is textSize bytes at textOffset
        bool closer = false;  // a closing row added by the reader: it gets the action's text
    };
    struct Value {
        int index; // of the attribute
        std::size_t offset;
        std::size_t size;
    };

    bool restart = false;     // the steps handed over before were of a failed attempt
    std::size_t sequence = 0; // place of the batch among those handed over
    std::shared_ptr<const void> definitions; // keeps the steps' definitions alive
    std::vector<Step> steps;
    std::vector<Value> values;
    std::string bytes;

    void clear()
    {
        restart = false;
        sequence = 0;
        definitions.reset();
        steps.clear();
        values.clear();
        bytes.clear();
    }
};

std::string_view viewOf(const std::string &bytes, std::size_t offset, std::size_t size)
{
    return std::string_view(bytes).substr(offset, size);
}

// Builds pending steps and appends them to steps.
void buildSteps(PendingSteps &pending, std::vector<CDocument::NewStep> &steps)
{
    for (PendingSteps::Step &p : pending.steps) {
        if (!p.definition) {
            steps.push_back({nullptr, p.depth, std::move(p.built)});
            continue;
        }
        auto step = newStep(*p.definition);
        CAttributes &attributes = step->Attributes();
        for (std::size_t v = p.firstValue; v < p.firstValue + p.valueCount; ++v) {
            const PendingSteps::Value &value = pending.values[v];
            attributes.SetValueAt(
                value.index, DecodeText(fromUtf8(viewOf(pending.bytes, value.offset, value.size))));
        }
        if (p.closer)
            step->Text = p.definition->element->Text;
        else if (p.hasText)
            step->Text = stepText(viewOf(pending.bytes, p.textOffset, p.textSize));
        steps.push_back({nullptr, p.depth, std::move(step)});
    }
}

// A publisher for BodyReader that builds each batch at once into steps.
std::function<void(PendingSteps &)> buildInto(std::vector<CDocument::NewStep> &steps)
{
    return [&steps](PendingSteps &pending) {
        buildSteps(pending, steps);
        pending.clear();
    };
}

// Reads the steps of a body, and the depth of each row, from the events inside the body
// element (or any other container) as they come. The nesting is kept on a stack, never by
// recursion. The steps are handed over in batches, each when no element that could still
// change one of its steps is open.
class BodyReader final {
public:
    // Takes a batch over and leaves an empty one in its place (its storage may be reused).
    using Publish = std::function<void(PendingSteps &)>;

    // What a comment holding the form of an endif or endloop step stands for. The writer never
    // writes such a form into a file (the row becomes an end tag there), so in a file it is a
    // commented-out end tag; in clipboard text it is the row of a disabled endif or endloop.
    enum class CommentedClosers { Comments, DisabledSteps };

    BodyReader(const CElements &catalogue, int depth, Publish publish,
               CommentedClosers closers = CommentedClosers::Comments)
        : m_catalogue(catalogue), m_publish(std::move(publish)), m_closers(closers)
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
        PendingSteps::Step step;
        step.definition = definition;
        step.depth = rowDepth(name, parent.depth);
        step.firstValue = std::uint32_t(m_pending.values.size());
        for (int i = 0; i < count; ++i) {
            const int index = definition->indexOf(attributes[i].name);
            if (index < 0)
                continue;
            m_pending.values.push_back({index, m_pending.bytes.size(), attributes[i].value.size()});
            m_pending.bytes.append(attributes[i].value);
        }
        step.valueCount = std::uint32_t(m_pending.values.size() - step.firstValue);
        m_pending.steps.push_back(std::move(step));

        Frame frame;
        frame.depth = parent.depth + 1;
        frame.step = m_pending.steps.size() - 1;
        frame.closer = isIf ? "endif" : isLoop ? "endloop" : nullptr;
        frame.closerDepth = parent.depth;
        frame.selfClosing = selfClosing;
        frame.closesBlock = is(name, "endif") || is(name, "endloop");
        frame.wantsText = definition->element->ContainsText;
        if (frame.holdsStep())
            ++m_holding;
        m_frames.push_back(frame);
    }

    void endElement()
    {
        if (m_skipping > 0) {
            --m_skipping;
            return;
        }
        if (m_frames.size() < 2)
            return;
        const Frame frame = m_frames.back();
        m_frames.pop_back();
        Frame &parent = m_frames.back();
        if (frame.wantsText && frame.children == 1 && frame.onlyText) {
            PendingSteps::Step &step = m_pending.steps[frame.step];
            step.hasText = true;
            step.textOffset = frame.textOffset;
            step.textSize = frame.textSize;
        }
        // An if or loop written with start and end tags is a block even when empty.
        if (frame.children > 0 || (frame.closer && !frame.selfClosing)) {
            if (frame.closer)
                addCloser(frame.closer, frame.closerDepth);
        } else if (frame.closer) {
            ++parent.depth; // flat form: the rows that follow are inside the block
        } else if (frame.closesBlock) {
            parent.depth = std::max(0, parent.depth - 1);
            m_pending.steps[frame.step].depth = parent.depth;
        }
        if (frame.holdsStep())
            --m_holding;
        publishIfDue();
    }

    void characters(XmlNodeType kind, std::string_view text)
    {
        if (m_skipping > 0)
            return;
        Frame &frame = m_frames.back();
        if (kind == XmlNodeType::Text && frame.children == 0 && frame.wantsText) {
            frame.onlyText = true;
            frame.textOffset = m_pending.bytes.size();
            frame.textSize = text.size();
            m_pending.bytes.append(text);
        }
        ++frame.children;
        if (kind == XmlNodeType::Comment) {
            addComment(text, frame.depth);
            publishIfDue();
        }
    }

    // Hands over the steps not handed over yet.
    void finish()
    {
        if (!m_pending.steps.empty())
            publish();
    }

private:
    // What an element opened: the rows its children get and what its end does.
    struct Frame {
        int depth = 0;                // depth of the rows inside
        std::size_t step = 0;         // index of the element's step in m_pending
        const char *closer = nullptr; // "endif"/"endloop" row to add at the end, or null
        int closerDepth = 0;          // depth of that row
        bool selfClosing = false;     // written as one empty-element tag
        bool closesBlock = false;     // an endif or endloop element
        bool wantsText = false;       // the action carries text content
        int children = 0;             // child nodes seen so far
        bool onlyText = false;        // the first child is text
        std::size_t textOffset = 0;   // that text, in m_pending's bytes
        std::size_t textSize = 0;

        // The element's end may still change its step.
        bool holdsStep() const { return wantsText || closesBlock; }
    };

    // Steps handed over at a time.
    static constexpr std::size_t kBatch = 4096;

    void publishIfDue()
    {
        if (m_holding == 0 && m_pending.steps.size() >= kBatch)
            publish();
    }
    void publish()
    {
        m_pending.definitions = m_cache;
        m_publish(m_pending);
    }

    Definition *lookup(std::string_view name)
    {
        // Names of a file repeat: the exact written name saves the case folding.
        const std::string key(name);
        const auto it = m_cache->find(key);
        if (it != m_cache->end())
            return it->second.element ? &it->second : nullptr;
        Definition &definition = (*m_cache)[key];
        definition.element = m_catalogue.Item(fromUtf8(name));
        if (definition.element)
            definition.attributes = definition.element->Attributes().Definitions();
        return definition.element ? &definition : nullptr;
    }

    void addCloser(const char *name, int depth)
    {
        PendingSteps::Step step;
        step.definition = lookup(name);
        if (!step.definition)
            return;
        step.depth = depth;
        step.closer = true;
        m_pending.steps.push_back(std::move(step));
    }

    void addBuilt(std::shared_ptr<CElement> built, int depth)
    {
        PendingSteps::Step step;
        step.built = std::move(built);
        step.depth = depth;
        m_pending.steps.push_back(std::move(step));
    }

    void addComment(std::string_view text, int depth)
    {
        if (addDisabledStep(text, depth))
            return;
        auto step = std::make_shared<CElement>();
        step->IsComment = true;
        step->Text = commentText(fromUtf8(text));
        addBuilt(std::move(step), depth);
    }

    // A disabled step is written as a comment holding its form between two blanks. Restores
    // it (as a disabled step of its action) when the comment is exactly what the step writes.
    // A disabled if or loop then deepens the rows that follow, as its flat form does (and a
    // disabled endif or endloop of clipboard text ends that).
    bool addDisabledStep(std::string_view comment, int depth);

    const CElements &m_catalogue;
    Publish m_publish;
    CommentedClosers m_closers;
    // Never moves its values; shared with the batches that point to them.
    std::shared_ptr<std::unordered_map<std::string, Definition>> m_cache =
        std::make_shared<std::unordered_map<std::string, Definition>>();
    std::vector<Frame> m_frames; // [0] is the container
    int m_holding = 0;           // open frames whose end may change their step
    int m_skipping = 0;          // open elements of an unknown element being dropped
    SingleElement m_commented;   // the element inside a comment that may be a disabled step
    XmlEventParser m_commentParser{&m_commented};
    PendingSteps m_pending;
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
    const QString &action = definition->element->ElementName;
    if (m_closers == CommentedClosers::Comments &&
        (action == QLatin1String("endif") || action == QLatin1String("endloop")))
        return false;
    auto step = newStep(*definition);
    for (const auto &[name, value] : element.values) {
        const int index = definition->indexOf(name);
        if (index >= 0)
            step->Attributes().SetValueAt(index, DecodeText(fromUtf8(value)));
    }
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
    // Block rows change the depths as their flat forms do.
    Frame &frame = m_frames.back();
    int row = rowDepth(element.name, depth);
    if (is(element.name, "endif") || is(element.name, "endloop")) {
        frame.depth = std::max(0, frame.depth - 1);
        row = frame.depth;
    }
    addBuilt(std::move(step), row);
    if (is(element.name, "if") || is(element.name, "loop"))
        ++frame.depth;
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
        : m_reader(catalogue, depth, buildInto(m_steps),
                   BodyReader::CommentedClosers::DisabledSteps),
          m_events(m_reader, 1)
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
    std::vector<CDocument::NewStep> takeSteps()
    {
        m_reader.finish();
        return std::move(m_steps);
    }

private:
    std::vector<CDocument::NewStep> m_steps;
    BodyReader m_reader;
    ContainerEvents m_events;
    int m_depth = 0;
};

// What a ZML file holds, gathered while it is parsed: the root's name and version, the names
// of its first two elements and the header fields. The steps of the body are handed to
// publish, and only when the file looks like a script up to its body.
class ZmlFileReader final : public XmlEventHandler {
public:
    ZmlFileReader(const CElements &catalogue, BodyReader::Publish publish)
        : m_catalogue(catalogue), m_publish(std::move(publish))
    {}

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
                    m_body = std::make_unique<BodyReader>(m_catalogue, 0, m_publish);
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
                m_body->finish();
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

private:
    const CElements &m_catalogue;
    BodyReader::Publish m_publish;
    int m_depth = 0;       // open elements
    int m_topElements = 0; // elements met inside the root
    bool m_inHead = false;
    std::unique_ptr<BodyReader> m_body;
    std::unique_ptr<ContainerEvents> m_bodyEvents;
};

// Batches of pending steps on their way from the parsing thread to the building one, and
// built batches on their way back, so that their storage is reused.
class StepQueue final {
public:
    // Queues steps and leaves an empty batch in its place.
    void push(PendingSteps &steps)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            steps.sequence = m_pushed++;
            m_batches.push_back(std::move(steps));
            if (m_spare.empty()) {
                steps = PendingSteps();
            } else {
                steps = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        m_changed.notify_one();
    }
    // Takes a built batch back for reuse.
    void recycle(PendingSteps &steps)
    {
        steps.clear();
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_spare.push_back(std::move(steps));
    }
    // No more batches will come.
    void close()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_closed = true;
        }
        m_changed.notify_all();
    }
    // Waits for the next batch; false when the queue is closed and empty.
    bool pop(PendingSteps &steps)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_closed || !m_batches.empty(); });
        if (m_batches.empty())
            return false;
        steps = std::move(m_batches.front());
        m_batches.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<PendingSteps> m_batches;
    std::vector<PendingSteps> m_spare;
    std::size_t m_pushed = 0;
    bool m_closed = false;
};

// The steps built from one batch.
struct BuiltSteps {
    std::size_t sequence;
    bool restart;
    std::vector<CDocument::NewStep> steps;
};

// Builds the batches of queue until it is closed and empty.
void buildFromQueue(StepQueue &queue, std::vector<BuiltSteps> &built)
{
    PendingSteps pending;
    while (queue.pop(pending)) {
        built.push_back({pending.sequence, pending.restart, {}});
        buildSteps(pending, built.back().steps);
        queue.recycle(pending);
    }
}

// The steps of batches built on two threads, in the order of the file; batches handed over
// before the last restart are left out.
std::vector<CDocument::NewStep> joinBuilt(std::vector<BuiltSteps> built,
                                          std::vector<BuiltSteps> &&more)
{
    built.insert(built.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
    std::sort(built.begin(), built.end(),
              [](const BuiltSteps &a, const BuiltSteps &b) { return a.sequence < b.sequence; });
    std::size_t first = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (built[i].restart) {
            first = i;
            count = 0;
        }
        count += built[i].steps.size();
    }
    std::vector<CDocument::NewStep> steps;
    steps.reserve(count);
    for (std::size_t i = first; i < built.size(); ++i) {
        for (CDocument::NewStep &step : built[i].steps)
            steps.push_back(std::move(step));
    }
    return steps;
}

int insertSteps(CDocument &doc, const std::vector<CDocument::NewStep> &steps, int position)
{
    if (steps.empty())
        return 0;
    const int before = doc.RowCount();
    doc.InsertSteps(steps, position);
    return doc.RowCount() - before;
}

enum class FileParse { Parsed, Unreadable, Special, Corrupt };

// Encodings a script file is read in: the system code page, or UTF-16 when the file starts
// with a byte order mark or with "<" as a UTF-16 unit.
enum class FileEncoding { System, Utf16LE, Utf16BE };

FileEncoding encodingOf(QFile &file)
{
    const QByteArray start = file.peek(2);
    if (start == QByteArray("\xFF\xFE", 2) || start == QByteArray("<\0", 2))
        return FileEncoding::Utf16LE;
    if (start == QByteArray("\xFE\xFF", 2) || start == QByteArray("\0<", 2))
        return FileEncoding::Utf16BE;
    return FileEncoding::System;
}

// The text of a file as UTF-8 for the parser, decoded a piece at a time (a byte order mark is
// dropped).
class DecodedSource final {
public:
    DecodedSource(QFile &file, FileEncoding encoding) : m_file(file)
    {
        if (encoding != FileEncoding::System)
            m_utf16.emplace(encoding == FileEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                              : QStringConverter::Utf16BE);
    }

    qint64 read(char *buffer, qint64 size)
    {
        while (m_out.size() - m_at < size && !m_done) {
            m_out.remove(0, m_at);
            m_at = 0;
            const QByteArray raw = m_file.read(kRawPiece);
            if (m_file.error() != QFileDevice::NoError)
                return -1;
            m_done = raw.isEmpty();
            if (m_utf16)
                m_out += QString(m_utf16->decode(raw)).toUtf8();
            else
                m_out += (m_done ? m_ansi.finish() : m_ansi.decode(raw)).toUtf8();
        }
        const qint64 count = std::min<qint64>(size, m_out.size() - m_at);
        std::memcpy(buffer, m_out.constData() + m_at, std::size_t(count));
        m_at += count;
        return count;
    }

private:
    static constexpr qint64 kRawPiece = 1 << 20;

    QFile &m_file;
    std::optional<QStringDecoder> m_utf16;
    AnsiCodec::Decoder m_ansi;
    QByteArray m_out; // decoded, from m_at on not handed over yet
    qsizetype m_at = 0;
    bool m_done = false;
};

// Parses a script file into reader, streaming it. UTF-8 text (the system code page) goes to
// the parser as it is read; when the parse fails at or after a byte sequence that is not UTF-8,
// the file is read again, decoded piece by piece with the code page's fallback. Text in
// another code page or in UTF-16 is decoded piece by piece from the start.
FileParse parseFile(QFile &file, const CElements &catalogue, std::unique_ptr<ZmlFileReader> *reader,
                    const BodyReader::Publish &publish)
{
    const FileEncoding encoding = encodingOf(file);
    if (AnsiCodec::systemIsUtf8() && encoding == FileEncoding::System) {
        *reader = std::make_unique<ZmlFileReader>(catalogue, publish);
        XmlEventParser parser(reader->get());
        AnsiCodec::Utf8Validator validator;
        const bool parsed = parser.parse([&](char *buffer, qint64 size) {
            const qint64 count = file.read(buffer, size);
            if (count > 0)
                validator.add(buffer, count);
            else if (count == 0)
                validator.finish();
            return count;
        });
        if (parsed)
            return FileParse::Parsed;
        if (parser.readFailed())
            return FileParse::Unreadable;
        if (validator.firstInvalid() < 0 || validator.firstInvalid() > parser.errorOffset())
            return FileParse::Corrupt; // not a matter of the bytes' encoding
        if (!file.seek(0))
            return FileParse::Unreadable;
        PendingSteps restart; // drops what the first attempt handed over
        restart.restart = true;
        publish(restart);
    }
    *reader = std::make_unique<ZmlFileReader>(catalogue, publish);
    XmlEventParser parser(reader->get());
    DecodedSource source(file, encoding);
    if (parser.parse([&source](char *buffer, qint64 size) { return source.read(buffer, size); }))
        return FileParse::Parsed;
    return parser.readFailed() ? FileParse::Unreadable : FileParse::Corrupt;
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

QString SpecialFileOpenMessage(const QString &path)
{
    return tr("This is a device or a pipe, not a file, and can't be opened") + kCrLf + quoted(path);
}

int ParseBody(CDocument &doc, const XmlNode &parent, int depth, int position)
{
    if (parent.isNull())
        return 0;
    std::vector<CDocument::NewStep> steps;
    BodyReader reader(doc.Catalogue(), depth, buildInto(steps));
    replay(parent, reader);
    reader.finish();
    return insertSteps(doc, steps, position);
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

    // One thread parses the file while this one builds the steps it has read so far; once the
    // parse is done, that thread helps to build what is left.
    std::unique_ptr<ZmlFileReader> reader;
    FileParse parsed = FileParse::Unreadable;
    std::vector<CDocument::NewStep> steps;
    {
        StepQueue queue;
        std::vector<BuiltSteps> builtByParser;
        const CElements &catalogue = doc.Catalogue();
        std::thread parsing([&] {
            QFile file;
            const FileOpen opened = OpenRegularFile(file, path);
            if (opened == FileOpen::Opened) {
                parsed = parseFile(file, catalogue, &reader,
                                   [&queue](PendingSteps &pending) { queue.push(pending); });
            } else if (opened == FileOpen::Special) {
                parsed = FileParse::Special;
            }
            queue.close();
            buildFromQueue(queue, builtByParser);
        });
        std::vector<BuiltSteps> built;
        buildFromQueue(queue, built);
        parsing.join();
        steps = joinBuilt(std::move(built), std::move(builtByParser));
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
    if (parsed == FileParse::Special) {
        ShowMessage(SpecialFileOpenMessage(path), MsgIcon::Critical);
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
    // Each unknown name is reported once, the first few by name and the rest by their number.
    QSet<QString> unknown;
    int unlisted = 0;
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
        } else if (!unknown.contains(name)) {
            unknown.insert(name);
            if (unknown.size() > kListedHeaderElements)
                ++unlisted;
            else
                ShowMessage(tr("Unsupported element found in the header ") + quoted(name) + kCrLf +
                                tr("This element will be removed when you save the file"),
                            MsgIcon::Information);
        }
    }
    if (unlisted > 0) {
        ShowMessage(tr("%1 more unsupported elements found in the header").arg(unlisted) + kCrLf +
                        tr("These elements will be removed when you save the file"),
                    MsgIcon::Information);
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
    reader.reset();
    insertSteps(doc, steps, -1);
    steps = {};
    doc.SetFileName(path);
    if (doc.RowCount() > 0)
        doc.SetDepth(0, 0);
    emit doc.loadingFinished();
    doc.SetDirty(false);
    return true;
}
