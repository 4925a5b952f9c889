#pragma once

#include "core/document/CAttribute.h"
#include "core/document/KeyedList.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// Frozen attribute definitions of an action, shared by every step copied from it. Each entry
// keeps the fields of the action's attribute at the time of the snapshot (its Value is the
// starting value of a step) together with its folded key. Never changes once built.
class CAttributeDefinitions final {
public:
    // Snapshot of the live attributes of list, in order and under the same keys.
    [[nodiscard]] static std::shared_ptr<const CAttributeDefinitions>
    FromList(const KeyedList<CAttribute> &list);

    // Copy of definitions with the given values (one per attribute) as the starting values.
    [[nodiscard]] static std::shared_ptr<const CAttributeDefinitions>
    WithValues(const CAttributeDefinitions &definitions, const std::vector<QString> &values);

    int Count() const { return static_cast<int>(m_attributes.size()); }
    // Attribute at a 0-based index; index must be in [0, Count()).
    const CAttribute &At(int index) const { return m_attributes[std::size_t(index)]; }
    // Folded key at a 0-based index.
    const QString &KeyAt(int index) const { return m_keys[std::size_t(index)]; }
    // 0-based index of the attribute stored under key (any case); -1 when absent. Short lists
    // are searched linearly, longer ones through a hash of the folded keys.
    int IndexOf(const QString &key) const;

private:
    // Lists longer than this keep a hash index.
    static constexpr std::size_t kLinearLimit = 8;

    std::vector<CAttribute> m_attributes;
    std::vector<QString> m_keys; // folded, parallel to m_attributes
    QHash<QString, int> m_index; // folded key -> index; empty for short lists
    bool m_namesAreKeys = true;  // every AttributeName folds to its key
};
