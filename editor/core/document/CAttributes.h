#pragma once

#include "core/document/CAttribute.h"
#include "core/document/CAttributeDefinitions.h"
#include "core/document/KeyedList.h"

#include <memory>
#include <vector>

// Ordered collection of attributes keyed by the upper-cased attribute name (keys compare
// without regard to case); iteration follows insertion order. Failures are reported as a null
// pointer or false, never by a message.
//
// A list filled by CopyFrom or AssignDefinitions is compact: it shares the frozen definitions
// of its action (CAttributeDefinitions) and holds only its own values, so a step costs one
// vector of strings. Count, DefinitionAt, ValueAt, SetValueAt and IndexOf read and write it
// as it is. Every other access that hands out an attribute object or changes the list (Item,
// iteration, Add, Remove) first materialises it: the list then holds independent CAttribute
// objects (definition fields and this list's values, same order and keys) and stays so until
// the next CopyFrom or AssignDefinitions. Pointers handed out stay valid; edits through them
// are seen by every accessor.
//
// Not safe for concurrent use, not even of const members: a const access may materialise.
class CAttributes final {
public:
    using const_iterator = KeyedList<CAttribute>::const_iterator;
    using DefinitionsPtr = std::shared_ptr<const CAttributeDefinitions>;

    CAttributes() = default;
    CAttributes(const CAttributes &) = delete; // attribute objects are never shared by copy
    CAttributes &operator=(const CAttributes &) = delete;
    CAttributes(CAttributes &&) = default;
    CAttributes &operator=(CAttributes &&) = default;

    // Creates and stores an attribute; null when an attribute of that name (any case) exists.
    // Materialises.
    [[nodiscard]] std::shared_ptr<CAttribute>
    Add(const QString &AttributeName, qint32 DataType = 0, const QString &Value = {},
        const QString &ArrayValues = {}, bool Required = false, const QVariant &DefaultValue = {},
        const QString &Description = {});

    // Replaces the contents by source's attributes with source's current values, in order.
    // The result is compact (or empty): it shares source's definitions when source is compact,
    // else a snapshot of source's attributes taken now. Later edits of either side are not
    // shared.
    void CopyFrom(const CAttributes &source);

    // Definitions whose values are this list's current values, for a caller that copies the
    // same list many times (AssignDefinitions). Shared when compact and unedited, else a new
    // snapshot; null when the list is empty.
    [[nodiscard]] DefinitionsPtr Definitions() const;
    // Replaces the contents by the given definitions, each with the definition's Value; the
    // list becomes compact. Null empties the list.
    void AssignDefinitions(DefinitionsPtr definitions);

    // Number of attributes.
    int Count() const;
    // Fields of the attribute at a 0-based index in [0, Count()): name, type, description...
    // Its Value is the action's, not necessarily this list's: read values with ValueAt.
    const CAttribute &DefinitionAt(int index) const;
    // This list's value of the attribute at a 0-based index; "" when out of range.
    const QString &ValueAt(int index) const;
    // Sets the value at a 0-based index; ignored when out of range.
    void SetValueAt(int index, const QString &value);
    // 0-based index of the attribute stored under key (any case); -1 when absent. O(1) on
    // average for long lists.
    int IndexOf(const QString &key) const;

    // Attribute at a 1-based position; null when out of range. Materialises.
    [[nodiscard]] std::shared_ptr<CAttribute> Item(int position) const
    {
        return items().at(position);
    }
    // Attribute stored under key (any case); null when absent. Materialises.
    [[nodiscard]] std::shared_ptr<CAttribute> Item(const QString &key) const
    {
        return items().find(key);
    }
    // Removes the attribute at a 1-based position; false when out of range. Materialises.
    bool Remove(int position) { return materialised().removeAt(position); }
    // Removes the attribute stored under key (any case); false when absent. Materialises.
    bool Remove(const QString &key) { return materialised().remove(key); }
    // Removes every attribute.
    void Clear();

    // Iteration over attribute objects in order. Materialises.
    const_iterator begin() const { return items().begin(); }
    const_iterator end() const { return items().end(); }

    // True while the list shares definitions and holds only values (nothing materialised).
    bool IsCompact() const { return m_definitions != nullptr; }
    // The definitions a compact list shares (null otherwise): a key for what a caller works
    // out once per action, since their names and order never change.
    const CAttributeDefinitions *SharedDefinitions() const { return m_definitions.get(); }

private:
    // The full list, built from the definitions and values first when compact.
    KeyedList<CAttribute> &materialised() const;
    // The full list for reading (materialised when compact; a shared empty list when empty).
    const KeyedList<CAttribute> &items() const;
    const CAttribute *fullAt(int index) const;

    // Compact mode state (m_definitions non-null; m_values parallel to it). Full mode keeps
    // the objects in m_full (null while empty). All three are mutable because reading
    // accessors (Item, begin) materialise on demand, which changes representation only: the
    // attributes and values seen through the public members stay the same.
    mutable DefinitionsPtr m_definitions;
    mutable std::vector<QString> m_values;
    mutable std::unique_ptr<KeyedList<CAttribute>> m_full;
};
