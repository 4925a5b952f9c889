#include "core/document/StepStore.h"

#include "core/document/CElements.h"

#include <algorithm>

namespace {

// Detached steps kept before Detach folds back those nobody holds.
constexpr std::size_t kDetachedBeforeSettle = 4096;
// Unused strings kept before they are dropped (and at most half of all).
constexpr std::size_t kUnusedSlotsBeforeCompact = 4096;

bool sameDefinition(const CAttribute &a, const CAttribute &b, bool values)
{
    return a.AttributeName == b.AttributeName && a.DataType == b.DataType &&
           a.Required == b.Required && a.Description == b.Description &&
           a.ArrayValues == b.ArrayValues && a.DefaultValue == b.DefaultValue &&
           (!values || a.Value == b.Value);
}

// True when attributes has the definitions' attributes (and, when values is set, their
// values as its values).
bool sameAttributes(const CAttributes &attributes, const CAttributeDefinitions *definitions,
                    bool values)
{
    const int count = definitions ? definitions->Count() : 0;
    if (attributes.Count() != count)
        return false;
    const bool shared = attributes.SharedDefinitions() == definitions;
    for (int i = 0; i < count; ++i) {
        if (!shared && !sameDefinition(attributes.DefinitionAt(i), definitions->At(i), false))
            return false;
        if (values && attributes.ValueAt(i) != definitions->At(i).Value)
            return false;
    }
    return true;
}

bool sameDefinitions(const CAttributeDefinitions *a, const CAttributeDefinitions *b)
{
    if (a == b)
        return true;
    const int count = a ? a->Count() : 0;
    if ((b ? b->Count() : 0) != count)
        return false;
    for (int i = 0; i < count; ++i) {
        if (!sameDefinition(a->At(i), b->At(i), true))
            return false;
    }
    return true;
}

std::shared_ptr<const CElement> fieldsOf(const CElement &element)
{
    auto fields = std::make_shared<CElement>();
    fields->CopyActionFields(element);
    return fields;
}

} // namespace

StepStore::StepStore() : m_records(1) {}

StepStore::~StepStore() = default;
StepStore::StepStore(StepStore &&) noexcept = default;
StepStore &StepStore::operator=(StepStore &&) noexcept = default;

StepStore::Record &StepStore::record(int id)
{
    if (std::size_t(id) >= m_records.size())
        m_records.resize(std::max(std::size_t(id) + 1, m_records.size() * 2));
    return m_records[std::size_t(id)];
}

StepView StepStore::View(int id) const
{
    if (!Contains(id))
        return {};
    const Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached)
        return StepView(*m_detached[r.slot].element);
    const Action &action = m_actions[r.action];
    const QString *text = (r.flags & HasText) ? &m_slots[r.slot] : nullptr;
    const QString *values =
        (r.flags & HasValues) ? &m_slots[r.slot + ((r.flags & HasText) ? 1 : 0)] : nullptr;
    return StepView(*action.fields, action.definitions.get(), text, values, r.flags & Comment,
                    r.flags & Disabled);
}

const QString &StepStore::ElementName(int id) const
{
    static const QString none;
    if (!Contains(id))
        return none;
    const Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached)
        return m_detached[r.slot].element->ElementName;
    return m_actions[r.action].fields->ElementName;
}

std::shared_ptr<CElement> StepStore::Detach(int id)
{
    if (!Contains(id))
        return {};
    Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached)
        return m_detached[r.slot].element;
    const Action &action = m_actions[r.action];
    auto element = std::make_shared<CElement>();
    element->CopyActionFields(*action.fields);
    element->IsComment = r.flags & Comment;
    element->Disabled = r.flags & Disabled;
    std::uint32_t slot = r.slot;
    if (r.flags & HasText)
        element->Text = m_slots[slot++];
    element->Attributes().AssignDefinitions(action.definitions);
    if (r.flags & HasValues) {
        for (int i = 0, count = element->Attributes().Count(); i < count; ++i)
            element->Attributes().SetValueAt(i, m_slots[slot++]);
    }
    releaseSlots(r);
    attach(id, r, element);
    if (m_detached.size() - m_freeDetached.size() > m_settleAt) {
        Settle();
        m_settleAt =
            std::max(kDetachedBeforeSettle, 2 * (m_detached.size() - m_freeDetached.size()));
    }
    return element;
}

void StepStore::attach(int id, Record &r, std::shared_ptr<CElement> element)
{
    std::uint32_t index;
    if (!m_freeDetached.empty()) {
        index = m_freeDetached.back();
        m_freeDetached.pop_back();
    } else {
        index = std::uint32_t(m_detached.size());
        m_detached.emplace_back();
    }
    m_detached[index] = {id, std::move(element)};
    r.flags = Live | Detached;
    r.slot = index;
}

void StepStore::StoreCopy(int id, const CElement &element)
{
    Record &r = record(id);
    absorb(r, element);
    ++m_count;
}

void StepStore::StoreOwned(int id, std::shared_ptr<CElement> element)
{
    Record &r = record(id);
    attach(id, r, std::move(element));
    ++m_count;
}

std::vector<std::uint32_t> StepStore::MapActions(const StepBatch &batch)
{
    std::vector<std::uint32_t> actions;
    actions.reserve(batch.actions().size());
    for (const StepBatch::Action &action : batch.actions())
        actions.push_back(sameAction(*action.element, action.definitions));
    return actions;
}

std::uint32_t StepStore::sameAction(const CElement &element,
                                    const CAttributes::DefinitionsPtr &definitions,
                                    std::shared_ptr<const CElement> fields)
{
    const auto it = m_actionsByName.constFind(element.ElementName);
    if (it != m_actionsByName.constEnd()) {
        for (std::uint32_t candidate : *it) {
            const Action &a = m_actions[candidate];
            if (a.fields->SameActionFields(element) &&
                sameDefinitions(a.definitions.get(), definitions.get()))
                return candidate;
        }
    }
    return addAction(element, definitions, std::move(fields));
}

void StepStore::Append(StepStore &&other, int move)
{
    std::vector<std::uint32_t> actions;
    actions.reserve(other.m_actions.size());
    for (const Action &action : other.m_actions)
        actions.push_back(sameAction(*action.fields, action.definitions, action.fields));
    const auto slotMove = std::uint32_t(m_slots.size());
    m_slots.insert(m_slots.end(), std::make_move_iterator(other.m_slots.begin()),
                   std::make_move_iterator(other.m_slots.end()));
    m_unusedSlots += other.m_unusedSlots;
    const int last = int(other.m_records.size()) - 1;
    if (last > 0)
        record(last + move); // grows the records once
    for (int id = 1; id <= last; ++id) {
        const Record &from = other.m_records[std::size_t(id)];
        if (!(from.flags & Live))
            continue;
        if (from.flags & Detached) {
            StoreOwned(id + move, other.m_detached[from.slot].element);
            continue;
        }
        Record &to = record(id + move);
        to = from;
        to.action = actions[from.action];
        to.slot += slotMove;
        ++m_count;
    }
    other.Clear();
}

void StepStore::StoreFromBatch(int id, StepBatch &batch, const std::vector<std::uint32_t> &actions,
                               std::size_t index)
{
    const StepBatch::Entry &entry = batch.entries()[index];
    Record &r = record(id);
    if (entry.flags & StepBatch::IsElement) {
        absorb(r, *batch.elements()[entry.slot]);
        batch.elements()[entry.slot].reset();
        ++m_count;
        return;
    }
    r.action = actions[entry.action];
    r.flags = Live;
    if (entry.flags & StepBatch::Disabled)
        r.flags |= Disabled;
    if (entry.flags & StepBatch::IsComment)
        r.flags |= Comment;
    r.slot = std::uint32_t(m_slots.size());
    std::uint32_t from = entry.slot;
    if (entry.flags & StepBatch::HasText) {
        r.flags |= HasText;
        m_slots.push_back(std::move(batch.strings()[from++]));
    }
    if (entry.flags & StepBatch::HasValues) {
        r.flags |= HasValues;
        const CAttributeDefinitions *definitions = m_actions[r.action].definitions.get();
        for (int i = 0, count = definitions ? definitions->Count() : 0; i < count; ++i)
            m_slots.push_back(std::move(batch.strings()[from++]));
    }
    ++m_count;
}

void StepStore::CopyTo(int id, StepBatch &batch, int depth) const
{
    if (!Contains(id))
        return;
    const Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached) {
        batch.addElement(CElements::Copy(*m_detached[r.slot].element), depth);
        return;
    }
    const Action &action = m_actions[r.action];
    std::uint32_t slot = r.slot;
    QString text = (r.flags & HasText) ? m_slots[slot++] : QString();
    std::vector<QString> values;
    if (r.flags & HasValues) {
        const int count = action.definitions ? action.definitions->Count() : 0;
        values.assign(m_slots.begin() + slot, m_slots.begin() + slot + count);
    }
    batch.addStep(batch.action(action.fields, action.definitions), depth, r.flags & Disabled,
                  std::move(text), (r.flags & HasValues) ? &values : nullptr);
    if (r.flags & Comment)
        batch.markLastComment();
}

std::uint32_t StepStore::addAction(const CElement &element, CAttributes::DefinitionsPtr definitions,
                                   std::shared_ptr<const CElement> fields)
{
    const auto index = std::uint32_t(m_actions.size());
    m_actions.push_back({fields ? std::move(fields) : fieldsOf(element), std::move(definitions)});
    m_actionsByName[element.ElementName].push_back(index);
    return index;
}

std::uint32_t StepStore::actionFor(const CElement &element)
{
    const CAttributes &attributes = element.Attributes();
    const auto it = m_actionsByName.constFind(element.ElementName);
    if (it != m_actionsByName.constEnd()) {
        for (std::uint32_t candidate : *it) {
            const Action &a = m_actions[candidate];
            if (a.fields->SameActionFields(element) &&
                sameAttributes(attributes, a.definitions.get(), false))
                return candidate;
        }
    }
    return addAction(element, attributes.Definitions());
}

void StepStore::absorb(Record &r, const CElement &element)
{
    r.action = actionFor(element);
    r.flags = Live;
    if (element.IsComment)
        r.flags |= Comment;
    if (element.Disabled)
        r.flags |= Disabled;
    r.slot = std::uint32_t(m_slots.size());
    if (!element.Text.isEmpty()) {
        r.flags |= HasText;
        m_slots.push_back(element.Text);
    }
    const CAttributes &attributes = element.Attributes();
    const CAttributeDefinitions *definitions = m_actions[r.action].definitions.get();
    if (!sameAttributes(attributes, definitions, true)) {
        r.flags |= HasValues;
        for (int i = 0, count = attributes.Count(); i < count; ++i)
            m_slots.push_back(attributes.ValueAt(i));
    }
}

std::uint32_t StepStore::slotCount(const Record &r) const
{
    std::uint32_t count = (r.flags & HasText) ? 1 : 0;
    if (r.flags & HasValues) {
        const CAttributeDefinitions *definitions = m_actions[r.action].definitions.get();
        count += std::uint32_t(definitions ? definitions->Count() : 0);
    }
    return count;
}

void StepStore::releaseSlots(const Record &r)
{
    if (r.flags & Detached)
        return;
    const std::uint32_t count = slotCount(r);
    for (std::uint32_t i = 0; i < count; ++i)
        m_slots[r.slot + i] = QString();
    m_unusedSlots += count;
}

void StepStore::SetDisabled(int id, bool disabled)
{
    if (!Contains(id))
        return;
    Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached)
        m_detached[r.slot].element->Disabled = disabled;
    else if (disabled)
        r.flags |= Disabled;
    else
        r.flags &= ~std::uint32_t(Disabled);
}

void StepStore::Remove(int id)
{
    if (!Contains(id))
        return;
    Record &r = m_records[std::size_t(id)];
    if (r.flags & Detached) {
        m_detached[r.slot] = {};
        m_freeDetached.push_back(r.slot);
    } else {
        releaseSlots(r);
    }
    r = Record();
    --m_count;
    if (m_unusedSlots > kUnusedSlotsBeforeCompact && m_unusedSlots > m_slots.size() / 2)
        compactSlots();
}

void StepStore::Clear()
{
    m_records.assign(1, Record());
    m_actions.clear();
    m_actionsByName.clear();
    m_slots.clear();
    m_unusedSlots = 0;
    m_detached.clear();
    m_freeDetached.clear();
    m_settleAt = kDetachedBeforeSettle;
    m_count = 0;
}

void StepStore::Settle()
{
    for (std::uint32_t index = 0; index < m_detached.size(); ++index) {
        DetachedStep &detached = m_detached[index];
        if (!detached.element || detached.element.use_count() != 1)
            continue;
        Record &r = m_records[std::size_t(detached.id)];
        const std::shared_ptr<CElement> element = std::move(detached.element);
        detached = {};
        m_freeDetached.push_back(index);
        absorb(r, *element);
    }
    if (m_unusedSlots > kUnusedSlotsBeforeCompact && m_unusedSlots > m_slots.size() / 2)
        compactSlots();
}

void StepStore::compactSlots()
{
    std::vector<QString> kept;
    kept.reserve(m_slots.size() - m_unusedSlots);
    for (Record &r : m_records) {
        if (!(r.flags & Live) || (r.flags & Detached))
            continue;
        const std::uint32_t count = slotCount(r);
        const auto first = std::uint32_t(kept.size());
        for (std::uint32_t i = 0; i < count; ++i)
            kept.push_back(std::move(m_slots[r.slot + i]));
        r.slot = first;
    }
    m_slots = std::move(kept);
    m_unusedSlots = 0;
}
