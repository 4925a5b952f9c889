#pragma once

// The reader of step elements shared by files, clipboard text and XML trees: it turns the
// events inside a body (or any container) into steps, with the depth of each row. Internal to
// the ZML reader.

#include "core/document/CDocument.h"
#include "core/document/CElement.h"
#include "core/zml/XmlEventParser.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ZmlBody {

using Attribute = XmlEventHandler::Attribute;

// Comment text with line breaks as CR LF; a leading CR LF is removed, and then one trailing
// CR LF too (the form the writer gives a comment step).
QString commentText(const QString &raw);

QString fromUtf8(std::string_view bytes);

bool is(std::string_view name, const char *literal);

// Text content as the step keeps it: the markup characters escaped again, then decoded like
// every ZML value.
QString stepText(std::string_view text);

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
    // The block rule of the written name: only the exact lower-case names have one.
    enum class Block : std::uint8_t { None, If, Loop, Else, EndIf, EndLoop };
    Block block = Block::None;

    // The catalogue's action of the written name (any case); element null when there is none.
    static Definition of(const CElements &catalogue, std::string_view name)
    {
        Definition definition;
        definition.element = catalogue.Item(fromUtf8(name));
        if (definition.element)
            definition.attributes = definition.element->Attributes().Definitions();
        definition.block = is(name, "if")        ? Block::If
                           : is(name, "loop")    ? Block::Loop
                           : is(name, "else")    ? Block::Else
                           : is(name, "endif")   ? Block::EndIf
                           : is(name, "endloop") ? Block::EndLoop
                                                 : Block::None;
        return definition;
    }

    // hint: where name probably stands among the names met (a file writes the attributes of
    // each element in one order).
    int indexOf(std::string_view name, std::size_t hint = 0)
    {
        if (hint < indexes.size() && indexes[hint].first == name)
            return indexes[hint].second;
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

// A step of the action, every attribute with the action's loaded value.
std::shared_ptr<CElement> newStep(const Definition &definition);

// What a comment holding the form of an endif or endloop step stands for. The writer never
// writes such a form into a file (the row becomes an end tag there), so in a file it is a
// commented-out end tag; in clipboard text it is the row of a disabled endif or endloop.
enum class CommentedClosers { Comments, DisabledSteps };

// Reads the disabled step a comment holds: a disabled step is written as a comment holding its
// form between two blanks, and only a comment that is exactly that form is one. Used by one
// thread at a time.
class DisabledStepReader final {
public:
    DisabledStepReader(const CElements &catalogue, CommentedClosers closers)
        : m_catalogue(catalogue), m_closers(closers)
    {}
    // The disabled step comment holds, or null; name gets its element name as written.
    std::shared_ptr<CElement> read(std::string_view comment, std::string *name = nullptr);

private:
    const CElements &m_catalogue;
    CommentedClosers m_closers;
    std::unordered_map<std::string, Definition> m_cache;
    SingleElement m_element;
    XmlEventParser m_parser{&m_element};
};

// True when a comment may hold the form of a step that changes the depths of rows (if, loop,
// else, endif, endloop): it must be read where the depths are worked out.
bool mayHoldBlockStep(std::string_view comment);

// The fields of a file's header, as read.
struct HeaderFields {
    QString Version, Author, Company, Description, EMail, Web;
};

// Steps read from the text but not built yet: what each step takes from the file, kept as
// bytes, so that the steps can be built on another thread while the parse goes on.
struct PendingSteps {
    struct Step {
        const Definition *definition = nullptr; // null: built is the step, or a comment
        std::shared_ptr<CElement> built;
        bool comment = false; // a comment step: its text is textSize bytes at textOffset
        int depth = 0;
        std::uint32_t firstValue = 0; // in values
        std::uint32_t valueCount = 0;
        std::size_t textOffset = 0; // in bytes
        std::size_t textSize = 0;
        bool hasText = false;       // the element's text content is textSize bytes at textOffset
        bool closer = false;        // a closing row added by the reader: it gets the action's text
        bool maybeDisabled = false; // a comment that may hold a disabled step's form
    };
    struct Value {
        int index; // of the attribute
        std::size_t offset;
        std::size_t size;
    };

    bool restart = false;     // the steps handed over before were of a failed attempt
    std::size_t sequence = 0; // place of the batch among those handed over
    std::shared_ptr<const void> definitions; // keeps the steps' definitions alive
    // Reads the comments that may be disabled steps; used by the thread that builds.
    std::shared_ptr<DisabledStepReader> disabled;
    // The file's header, known once its body begins: in the body's first batch only.
    std::shared_ptr<const HeaderFields> header;
    std::vector<Step> steps;
    std::vector<Value> values;
    std::string bytes;

    void clear()
    {
        restart = false;
        sequence = 0;
        definitions.reset();
        disabled.reset();
        header.reset();
        steps.clear();
        values.clear();
        bytes.clear();
    }
};

std::string_view viewOf(const std::string &bytes, std::size_t offset, std::size_t size);

// Builds pending steps and appends them to steps.
void buildSteps(PendingSteps &pending, StepBatch &steps);

// A publisher for BodyReader that builds each batch at once into steps.
std::function<void(PendingSteps &)> buildInto(StepBatch &steps);

// Reads the steps of a body, and the depth of each row, from the events inside the body
// element (or any other container) as they come. The nesting is kept on a stack, never by
// recursion. The steps are handed over in batches, each when no element that could still
// change one of its steps is open.
class BodyReader final {
public:
    // Takes a batch over and leaves an empty one in its place (its storage may be reused).
    using Publish = std::function<void(PendingSteps &)>;

    using CommentedClosers = ZmlBody::CommentedClosers;

    BodyReader(const CElements &catalogue, int depth, Publish publish,
               CommentedClosers closers = CommentedClosers::Comments)
        : m_catalogue(catalogue), m_publish(std::move(publish)), m_disabled(catalogue, closers),
          m_builderDisabled(std::make_shared<DisabledStepReader>(catalogue, closers))
    {
        // The catalogue builds its lookup index on first use: here, before the building thread
        // reads it too.
        (void)m_catalogue.Contains(QString());
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
        using Block = Definition::Block;
        const Block block = definition->block;
        PendingSteps::Step step;
        step.definition = definition;
        step.depth = block == Block::Else ? lowered(parent.depth) : parent.depth;
        step.firstValue = std::uint32_t(m_pending.values.size());
        for (int i = 0; i < count; ++i) {
            const int index = definition->indexOf(attributes[i].name, std::size_t(i));
            if (index < 0)
                continue;
            m_pending.values.push_back({index, m_pending.bytes.size(), attributes[i].value.size()});
            m_pending.bytes.append(attributes[i].value);
        }
        step.valueCount = std::uint32_t(m_pending.values.size() - step.firstValue);
        m_pending.steps.push_back(std::move(step));
        notePlace();

        Frame frame;
        frame.depth = parent.depth + 1;
        frame.step = m_pending.steps.size() - 1;
        frame.closer = block == Block::If ? "endif" : block == Block::Loop ? "endloop" : nullptr;
        frame.closerDepth = parent.depth;
        frame.selfClosing = selfClosing;
        frame.closesBlock = block == Block::EndIf || block == Block::EndLoop;
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
            parent.depth = lowered(parent.depth);
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

    // Notes the place of each row from now on: the start of the event (element, comment or end
    // tag) being reported by parser when the row is made.
    void setParser(const XmlEventParser *parser) { m_parser = parser; }
    // The places noted, one per row in the order of the rows.
    std::vector<TextPlace> takeRowPlaces() { return std::move(m_rowPlaces); }

    // The depth of the rows the container's next child would get.
    int containerDepth() const { return m_frames.front().depth; }
    // The lowest depth from which a row or the rows that follow were put one level out (INT_MAX
    // when none were). Read from a depth d instead of the depth given, the rows keep their
    // depths shifted by d - depth as long as this stays at least 1 after the shift: no depth was
    // held at 0 then.
    int lowestLowered() const { return m_lowestLowered; }

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
    static constexpr std::size_t kBatch = 1024;

    // depth - 1, but not below 0 (see lowestLowered()).
    int lowered(int depth)
    {
        m_lowestLowered = std::min(m_lowestLowered, depth);
        return std::max(0, depth - 1);
    }
    // The depth of a row of the element name among rows at depth: an else row stands one level
    // out.
    int depthOfRow(std::string_view name, int depth)
    {
        return is(name, "else") ? lowered(depth) : depth;
    }

    void notePlace()
    {
        if (m_parser)
            m_rowPlaces.push_back(m_parser->currentPlace());
    }

    void publishIfDue()
    {
        if (m_holding == 0 && m_pending.steps.size() >= kBatch)
            publish();
    }
    void publish()
    {
        m_pending.definitions = m_cache;
        m_pending.disabled = m_builderDisabled;
        m_publish(m_pending);
    }

    Definition *lookup(std::string_view name)
    {
        // Names of a file repeat: a small table of the names met last, by length and first and
        // last letters, answers most without hashing; the exact written name saves the case
        // folding.
        const std::size_t slot = name.empty() ? 0
                                              : name.size() * 31 +
                                                    static_cast<unsigned char>(name.front()) * 7 +
                                                    static_cast<unsigned char>(name.back());
        Recent &recent = m_recent[slot % kRecent];
        if (recent.definition && recent.name == name)
            return recent.definition->element ? recent.definition : nullptr;
        m_key.assign(name.data(), name.size()); // keeps its buffer: no allocation per element
        auto it = m_cache->find(m_key);
        if (it == m_cache->end()) {
            it = m_cache->emplace(m_key, Definition::of(m_catalogue, name)).first;
        }
        recent.definition = &it->second; // the cache never moves its values
        recent.name = it->first;
        return it->second.element ? &it->second : nullptr;
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
        notePlace();
    }

    void addBuilt(std::shared_ptr<CElement> built, int depth)
    {
        PendingSteps::Step step;
        step.built = std::move(built);
        step.depth = depth;
        m_pending.steps.push_back(std::move(step));
        notePlace();
    }

    void addComment(std::string_view text, int depth)
    {
        PendingSteps::Step step;
        if (!mayHoldBlockStep(text)) {
            // Read on the building thread: it makes no difference to the depths.
            step.maybeDisabled = true;
        } else if (addDisabledStep(text, depth)) {
            return;
        }
        step.comment = true;
        step.textOffset = m_pending.bytes.size();
        step.textSize = text.size();
        step.depth = depth;
        m_pending.bytes.append(text);
        m_pending.steps.push_back(std::move(step));
        notePlace();
    }

    // A disabled step is written as a comment holding its form between two blanks. Restores
    // it (as a disabled step of its action) when the comment is exactly what the step writes.
    // A disabled if or loop then deepens the rows that follow, as its flat form does (and a
    // disabled endif or endloop of clipboard text ends that).
    bool addDisabledStep(std::string_view comment, int depth);

    const CElements &m_catalogue;
    Publish m_publish;
    DisabledStepReader m_disabled; // for the comments read here
    std::shared_ptr<DisabledStepReader> m_builderDisabled;
    // Never moves its values; shared with the batches that point to them.
    std::shared_ptr<std::unordered_map<std::string, Definition>> m_cache =
        std::make_shared<std::unordered_map<std::string, Definition>>();
    std::string m_key; // the name being looked up
    struct Recent {
        std::string_view name; // the cache's key
        Definition *definition = nullptr;
    };
    static constexpr std::size_t kRecent = 128;
    std::array<Recent, kRecent> m_recent{};
    std::vector<Frame> m_frames; // [0] is the container
    int m_holding = 0;           // open frames whose end may change their step
    int m_skipping = 0;          // open elements of an unknown element being dropped
    PendingSteps m_pending;
    const XmlEventParser *m_parser = nullptr;
    std::vector<TextPlace> m_rowPlaces;
    int m_lowestLowered = INT_MAX;
};

} // namespace ZmlBody
