#include "core/document/CAttributeDefinitions.h"

std::shared_ptr<const CAttributeDefinitions>
CAttributeDefinitions::FromList(const KeyedList<CAttribute> &list)
{
    auto definitions = std::make_shared<CAttributeDefinitions>();
    const std::size_t count = std::size_t(list.count());
    definitions->m_attributes.reserve(count);
    definitions->m_keys.reserve(count);
    for (auto it = list.begin(); it != list.end(); ++it) {
        definitions->m_attributes.push_back(**it);
        definitions->m_keys.push_back(it.key());
        if (definitions->m_namesAreKeys &&
            KeyedList<CAttribute>::foldKey((*it)->AttributeName) != it.key())
            definitions->m_namesAreKeys = false;
    }
    if (count > kLinearLimit) {
        definitions->m_index.reserve(qsizetype(count));
        for (std::size_t i = 0; i < count; ++i)
            definitions->m_index.insert(definitions->m_keys[i], int(i));
    }
    return definitions;
}

std::shared_ptr<const CAttributeDefinitions>
CAttributeDefinitions::WithValues(const CAttributeDefinitions &definitions,
                                  const std::vector<QString> &values)
{
    auto copy = std::make_shared<CAttributeDefinitions>(definitions);
    for (std::size_t i = 0; i < copy->m_attributes.size() && i < values.size(); ++i)
        copy->m_attributes[i].Value = values[i];
    return copy;
}

int CAttributeDefinitions::IndexOf(const QString &key) const
{
    if (!m_index.isEmpty()) {
        const auto it = m_index.constFind(KeyedList<CAttribute>::foldKey(key));
        return it == m_index.constEnd() ? -1 : *it;
    }
    // Names in a file are usually spelled as in the catalogue: when every name folds to its
    // key, an exact match on the name is the match and needs no folded copy of the key.
    const int count = Count();
    if (m_namesAreKeys) {
        for (int i = 0; i < count; ++i) {
            if (m_attributes[std::size_t(i)].AttributeName == key)
                return i;
        }
    }
    const QString folded = KeyedList<CAttribute>::foldKey(key);
    for (int i = 0; i < count; ++i) {
        if (m_keys[std::size_t(i)] == folded)
            return i;
    }
    return -1;
}
