#include "core/document/StepBatch.h"

#include <iterator>

std::uint32_t StepBatch::action(const std::shared_ptr<const CElement> &element,
                                const CAttributes::DefinitionsPtr &definitions)
{
    const auto same = [&](const Action &a) {
        return a.element == element && a.definitions == definitions;
    };
    if (m_lastAction < m_actions.size() && same(m_actions[m_lastAction]))
        return m_lastAction;
    for (std::size_t i = 0; i < m_actions.size(); ++i) {
        if (same(m_actions[i])) {
            m_lastAction = std::uint32_t(i);
            return m_lastAction;
        }
    }
    m_actions.push_back({element, definitions});
    m_lastAction = std::uint32_t(m_actions.size() - 1);
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

void StepBatch::append(StepBatch &&other)
{
    if (m_entries.empty() && m_slots.empty() && m_elements.empty()) {
        *this = std::move(other);
        return;
    }
    std::vector<std::uint32_t> actionMap(other.m_actions.size());
    for (std::size_t i = 0; i < other.m_actions.size(); ++i)
        actionMap[i] = action(other.m_actions[i].element, other.m_actions[i].definitions);
    const auto slotBase = std::uint32_t(m_slots.size());
    const auto elementBase = std::uint32_t(m_elements.size());
    for (Entry entry : other.m_entries) {
        if (entry.flags & IsElement) {
            entry.slot += elementBase;
        } else {
            entry.slot += slotBase;
            entry.action = actionMap[entry.action];
        }
        m_entries.push_back(entry);
    }
    m_slots.insert(m_slots.end(), std::make_move_iterator(other.m_slots.begin()),
                   std::make_move_iterator(other.m_slots.end()));
    m_elements.insert(m_elements.end(), std::make_move_iterator(other.m_elements.begin()),
                      std::make_move_iterator(other.m_elements.end()));
    other.clear();
}

void StepBatch::clear()
{
    m_entries.clear();
    m_actions.clear();
    m_slots.clear();
    m_elements.clear();
    m_lastAction = 0;
}
