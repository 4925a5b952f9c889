#pragma once

#include "core/document/CElement.h"
#include "core/document/StepBatch.h"
#include "core/document/StepView.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// The document's steps by id, built for millions of steps: a 12-byte record per step in one
// vector, the action's fields and definitions shared by every step of the action (never copied),
// and the step's text and values in one vector of strings, the values only when one of them
// differs from the action's. Nothing is allocated per step but the strings that are not empty.
//
// A step handed out as an element (Detach) is read from that element from then on, so edits
// through it are seen; it is folded back into a record once nobody else holds it (Settle).
class StepStore final {
public:
    StepStore();
    ~StepStore();
    StepStore(const StepStore &) = delete;
    StepStore &operator=(const StepStore &) = delete;
    StepStore(StepStore &&) noexcept;
    StepStore &operator=(StepStore &&) noexcept;

    // Number of steps stored.
    int Count() const { return m_count; }
    bool Contains(int id) const
    {
        return id > 0 && std::size_t(id) < m_records.size() && (m_records[id].flags & Live);
    }
    // A view of the step (null when there is none); valid until the store changes.
    StepView View(int id) const;
    // The step as an element of its own, which the store reads from now on; null when there is
    // no such step.
    std::shared_ptr<CElement> Detach(int id);

    // Stores a copy of element under a free id.
    void StoreCopy(int id, const CElement &element);
    // Stores element itself (handed over; others may still hold it) under a free id.
    void StoreOwned(int id, std::shared_ptr<CElement> element);
    // The store's actions for a batch's actions, for StoreFromBatch.
    std::vector<std::uint32_t> MapActions(const StepBatch &batch);
    // Stores entry index of batch under a free id, moving its strings out of the batch.
    void StoreFromBatch(int id, StepBatch &batch, const std::vector<std::uint32_t> &actions,
                        std::size_t index);
    // Takes the steps of other over, each under its id plus move (those ids must be free here).
    void Append(StepStore &&other, int move);
    // Adds a copy of the step to batch, as a row of the given depth.
    void CopyTo(int id, StepBatch &batch, int depth) const;
    // The ElementName of a step ("" when there is none), without a view.
    const QString &ElementName(int id) const;
    // Sets the step's Disabled flag (without detaching it).
    void SetDisabled(int id, bool disabled);
    void Remove(int id);
    void Clear();
    // Folds the detached steps that nobody else holds back into records, and drops the strings
    // no step uses any more when they are many.
    void Settle();

private:
    enum Flag : std::uint32_t {
        Live = 1,
        Disabled = 2,
        Comment = 4,
        HasText = 8,
        HasValues = 16,
        Detached = 32, // slot is the index of the element in m_detached
    };
    struct Record {
        std::uint32_t action = 0;
        std::uint32_t flags = 0;
        std::uint32_t slot = 0; // first slot: the text (HasText), then the values (HasValues)
    };
    struct Action {
        std::shared_ptr<const CElement> fields; // the action's own copy of its fields
        CAttributes::DefinitionsPtr definitions;
    };

    struct DetachedStep {
        int id = 0;
        std::shared_ptr<CElement> element;
    };

    Record &record(int id);
    void attach(int id, Record &r, std::shared_ptr<CElement> element);
    std::uint32_t actionFor(const CElement &element);
    // Adds an action of element's fields (shared with fields, when given) and definitions.
    std::uint32_t addAction(const CElement &element, CAttributes::DefinitionsPtr definitions,
                            std::shared_ptr<const CElement> fields = {});
    // The action here with the same fields and definitions as element and definitions, added
    // when there is none (its fields then shared with fields, when given).
    std::uint32_t sameAction(const CElement &element,
                             const CAttributes::DefinitionsPtr &definitions,
                             std::shared_ptr<const CElement> fields = {});
    void absorb(Record &r, const CElement &element);
    void releaseSlots(const Record &r);
    std::uint32_t slotCount(const Record &r) const;
    void compactSlots();

    std::vector<Record> m_records; // by id; [0] unused
    std::vector<Action> m_actions;
    QHash<QString, std::vector<std::uint32_t>> m_actionsByName;
    std::vector<QString> m_slots;
    std::size_t m_unusedSlots = 0;
    std::vector<DetachedStep> m_detached;
    std::vector<std::uint32_t> m_freeDetached;
    std::size_t m_settleAt = 4096; // detached steps at which Detach settles
    int m_count = 0;
};
