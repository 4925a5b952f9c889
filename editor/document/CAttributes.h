#pragma once

#include "document/CAttribute.h"
#include "document/KeyedList.h"

#include <memory>

// Ordered collection of attributes keyed by the upper-cased attribute name (keys compare
// without regard to case); iteration follows insertion order. Failures are reported as a null
// pointer or false, never by a message.
class CAttributes final {
public:
    using const_iterator = KeyedList<CAttribute>::const_iterator;

    CAttributes() = default;
    CAttributes(const CAttributes &) = delete; // attribute objects are never shared by copy
    CAttributes &operator=(const CAttributes &) = delete;
    CAttributes(CAttributes &&) = default;
    CAttributes &operator=(CAttributes &&) = default;

    // Creates and stores an attribute; null when an attribute of that name (any case) exists.
    [[nodiscard]] std::shared_ptr<CAttribute>
    Add(const QString &AttributeName, qint32 DataType = 0, const QString &Value = {},
        const QString &ArrayValues = {}, bool Required = false, const QVariant &DefaultValue = {},
        const QString &Description = {});

    // Replaces the contents by new copies of source's attributes (values included), in order.
    void CopyFrom(const CAttributes &source)
    {
        m_items.assignCopies(source.m_items,
                             [](const CAttribute &a) { return std::make_shared<CAttribute>(a); });
    }

    // Attribute at a 1-based position; null when out of range.
    [[nodiscard]] std::shared_ptr<CAttribute> Item(int position) const
    {
        return m_items.at(position);
    }
    // Attribute stored under key (any case); null when absent.
    [[nodiscard]] std::shared_ptr<CAttribute> Item(const QString &key) const
    {
        return m_items.find(key);
    }
    // Number of attributes.
    int Count() const { return m_items.count(); }
    // Removes the attribute at a 1-based position; false when out of range.
    bool Remove(int position) { return m_items.removeAt(position); }
    // Removes the attribute stored under key (any case); false when absent.
    bool Remove(const QString &key) { return m_items.remove(key); }
    // Removes every attribute.
    void Clear() { m_items.clear(); }

    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    KeyedList<CAttribute> m_items;
};
