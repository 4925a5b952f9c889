#pragma once

#include "core/document/CAttributes.h"
#include "core/document/CElement.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// Steps on their way into a document, built without an object per step: a reader fills a batch
// (on any thread) and the document takes all its steps over in one CDocument::InsertSteps call.
// A step refers to one of the batch's actions and holds its text and, only when one of them
// differs from the action's, its values; a step may also be a whole element handed over.
class StepBatch final {
public:
    // An action the steps refer to: its catalogue element and frozen attribute definitions.
    struct Action {
        std::shared_ptr<const CElement> element;
        CAttributes::DefinitionsPtr definitions;
    };
    enum Flag : std::uint8_t {
        Disabled = 1,
        HasText = 2,   // the step's text is its first slot
        HasValues = 4, // one slot per definition follows the text
        IsElement = 8, // the step is elements()[slot], handed over
        IsComment = 16,
    };
    struct Entry {
        int depth = -1; // -1: by the block rules
        std::uint32_t action = 0;
        std::uint32_t slot = 0;
        std::uint8_t flags = 0;
    };

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

    // Index of an action among the batch's, added on its first use (the last one is remembered,
    // since steps of one action often follow each other).
    std::uint32_t action(const std::shared_ptr<const CElement> &element,
                         const CAttributes::DefinitionsPtr &definitions);
    // Adds a step of an action: values (one per definition) only when one of them differs from
    // the definitions' values, else null.
    void addStep(std::uint32_t action, int depth, bool disabled, QString text,
                 std::vector<QString> *values);
    // Makes the step added last a comment.
    void markLastComment() { m_entries.back().flags |= IsComment; }
    // Adds a comment step (of the action of a plain comment) with its text.
    void addComment(QString text, int depth);
    // Adds an element (a comment, or a step built whole) handed over to the batch.
    void addElement(std::shared_ptr<CElement> element, int depth);
    void clear();

    const std::vector<Entry> &entries() const { return m_entries; }
    const std::vector<Action> &actions() const { return m_actions; }
    std::vector<QString> &strings() { return m_slots; }
    std::vector<std::shared_ptr<CElement>> &elements() { return m_elements; }

private:
    std::vector<Entry> m_entries;
    std::vector<Action> m_actions;
    std::unordered_multimap<const CElement *, std::uint32_t> m_byElement; // into m_actions
    std::vector<QString> m_slots;
    std::vector<std::shared_ptr<CElement>> m_elements;
    std::uint32_t m_lastAction = 0;
};
