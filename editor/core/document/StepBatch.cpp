#include "core/document/StepBatch.h"

std::uint32_t StepBatch::action(const std::shared_ptr<const CElement> &element,
                                const CAttributes::DefinitionsPtr &definitions)
{
    const auto same = [&](const Action &a) {
        return a.element == element && a.definitions == definitions;
    };
    if (m_lastAction < m_actions.size() && same(m_actions[m_lastAction]))
        return m_lastAction;
    const auto range = m_byElement.equal_range(element.get());
    for (auto it = range.first; it != range.second; ++it) {
        if (same(m_actions[it->second])) {
            m_lastAction = it->second;
            return m_lastAction;
        }
    }
    m_lastAction = std::uint32_t(m_actions.size());
    m_actions.push_back({element, definitions});
    m_byElement.emplace(element.get(), m_lastAction);
    return m_lastAction;
}

void StepBatch::addStep(std::uint32_t action, int depth, bool disabled, QString text,
                        std::vector<QString> *values)
{
    Entry entry;
    entry.depth = depth;
    entry.action = action;
    entry.slot = std::uint32_t(m_slots.size());
    entry.flags = disabled ? Disabled : 0;
    if (!text.isEmpty()) {
        entry.flags |= HasText;
        m_slots.push_back(std::move(text));
    }
    if (values) {
        entry.flags |= HasValues;
        for (QString &value : *values)
            m_slots.push_back(std::move(value));
    }
    m_entries.push_back(entry);
}

void StepBatch::addComment(QString text, int depth)
{
    static const auto plain = std::make_shared<const CElement>();
    addStep(action(plain, nullptr), depth, false, std::move(text), nullptr);
    m_entries.back().flags |= IsComment;
}

void StepBatch::addElement(std::shared_ptr<CElement> element, int depth)
{
    Entry entry;
    entry.depth = depth;
    entry.slot = std::uint32_t(m_elements.size());
    entry.flags = IsElement;
    m_elements.push_back(std::move(element));
    m_entries.push_back(entry);
}

void StepBatch::clear()
{
    m_entries.clear();
    m_actions.clear();
    m_byElement.clear();
    m_slots.clear();
    m_elements.clear();
    m_lastAction = 0;
}
