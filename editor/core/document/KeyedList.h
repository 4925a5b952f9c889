#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

// Ordered collection of shared items with case-insensitive text keys.
//
// Lookup, insertion and removal by key are O(1) on average. Removal leaves a hole that is
// skipped by iteration and by positional access; holes are compacted once they outnumber the
// live items, so removal stays amortised O(1). Positional access goes through a Fenwick tree
// over the live flags, O(log n), so loops over positions stay fast even between removals.
template <typename T> class KeyedList final {
    struct Slot; // declared before the iterator that names it

public:
    using Pointer = std::shared_ptr<T>;

    // Iterator over the live items in insertion order; yields const std::shared_ptr<T> &.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Pointer;
        using difference_type = std::ptrdiff_t;
        using pointer = const Pointer *;
        using reference = const Pointer &;

        const_iterator() = default;
        reference operator*() const { return (*m_slots)[m_pos].item; }
        pointer operator->() const { return &(*m_slots)[m_pos].item; }
        // Folded key of the current item.
        const QString &key() const { return (*m_slots)[m_pos].key; }
        const_iterator &operator++()
        {
            ++m_pos;
            skipHoles();
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator &other) const { return m_pos == other.m_pos; }
        bool operator!=(const const_iterator &other) const { return m_pos != other.m_pos; }

    private:
        friend class KeyedList;
        const_iterator(const std::vector<typename KeyedList::Slot> *slotList, std::size_t pos)
            : m_slots(slotList), m_pos(pos)
        {
            skipHoles();
        }
        void skipHoles()
        {
            while (m_pos < m_slots->size() && !(*m_slots)[m_pos].item)
                ++m_pos;
        }
        const std::vector<typename KeyedList::Slot> *m_slots = nullptr;
        std::size_t m_pos = 0;
    };

    // Folds a key for comparison without regard to case.
    static QString foldKey(const QString &key)
    {
        // Keys are nearly always ASCII: those are folded here without Qt's Unicode tables, and
        // returned shared when they have no capital letter.
        const QChar *chars = key.constData();
        const qsizetype size = key.size();
        qsizetype firstCapital = -1;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = chars[i].unicode();
            if (c >= 0x80)
                return key.toCaseFolded();
            if (firstCapital < 0 && c >= u'A' && c <= u'Z')
                firstCapital = i;
        }
        if (firstCapital < 0)
            return key;
        QString folded = key;
        QChar *out = folded.data();
        for (qsizetype i = firstCapital; i < size; ++i) {
            const char16_t c = out[i].unicode();
            if (c >= u'A' && c <= u'Z')
                out[i] = QChar(char16_t(c + (u'a' - u'A')));
        }
        return folded;
    }

    int count() const { return static_cast<int>(m_live); }

    // Stores item under key; false (and nothing stored) when the key is already present.
    bool insert(const QString &key, Pointer item)
    {
        QString folded = foldKey(key);
        if (slotOfKey(folded) != npos)
            return false;
        appendFolded(std::move(folded), std::move(item));
        return true;
    }

    // Stores item under a key the caller knows is not present (nothing is searched). The hash
    // index, when not built yet, is built by the next lookup, so filling a large list this way
    // costs no hashing at all.
    void appendNew(const QString &key, Pointer item)
    {
        appendFolded(foldKey(key), std::move(item));
    }

    // Fills this empty list with copy(item) for every item of other, under the same keys (taken
    // over folded, so nothing is folded or searched again).
    template <typename Copy> void assignCopies(const KeyedList &other, Copy copy)
    {
        clear();
        m_slots.reserve(other.m_live);
        for (const Slot &slot : other.m_slots) {
            if (slot.item)
                m_slots.push_back(Slot{slot.key, copy(*slot.item)});
        }
        m_live = m_slots.size();
    }

    // Item stored under key (any case), or null.
    Pointer find(const QString &key) const
    {
        const std::size_t slot = slotOfKey(foldKey(key));
        return slot == npos ? Pointer() : m_slots[slot].item;
    }

    bool contains(const QString &key) const { return slotOfKey(foldKey(key)) != npos; }

    // 1-based position of the item stored under key (any case), or 0 when absent.
    int positionOf(const QString &key) const
    {
        const std::size_t slot = slotOfKey(foldKey(key));
        if (slot == npos)
            return 0;
        if (m_tree.empty())
            return static_cast<int>(slot) + 1; // no removal yet: positions are slot indexes
        return prefix(slot + 1);
    }

    // Item at 1-based position, or null when out of range.
    Pointer at(int position) const
    {
        const std::size_t slot = slotOfPosition(position);
        return slot == npos ? Pointer() : m_slots[slot].item;
    }

    // Removes the item stored under key; false when absent.
    bool remove(const QString &key)
    {
        const std::size_t slot = slotOfKey(foldKey(key));
        if (slot == npos)
            return false;
        removeSlot(slot);
        return true;
    }

    // Removes the item at 1-based position; false when out of range.
    bool removeAt(int position)
    {
        const std::size_t slot = slotOfPosition(position);
        if (slot == npos)
            return false;
        removeSlot(slot);
        return true;
    }

    void clear()
    {
        m_slots.clear();
        m_tree.clear();
        m_index.clear();
        m_indexed = false;
        m_live = 0;
    }

    const_iterator begin() const { return const_iterator(&m_slots, 0); }
    const_iterator end() const { return const_iterator(&m_slots, m_slots.size()); }

private:
    struct Slot {
        QString key;  // folded key
        Pointer item; // null for a removed slot
    };
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    // Collections of at most this many slots (most attribute lists) are searched linearly and
    // keep no hash index, which saves a hash table per step.
    static constexpr std::size_t kLinearLimit = 8;

    std::size_t slotOfKey(const QString &folded) const
    {
        if (!m_indexed && m_slots.size() > kLinearLimit)
            buildIndex();
        if (m_indexed) {
            const auto it = m_index.constFind(folded);
            return it == m_index.constEnd() ? npos : *it;
        }
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].item && m_slots[i].key == folded)
                return i;
        }
        return npos;
    }
    void appendFolded(QString folded, Pointer item)
    {
        if (m_indexed)
            m_index.insert(folded, m_slots.size());
        m_slots.push_back(Slot{std::move(folded), std::move(item)});
        if (!m_tree.empty())
            fenwickAppend(1);
        ++m_live;
    }
    // Builds the hash index of a list longer than kLinearLimit on its first lookup by key; the
    // index is a cache of the slots, so this may happen in a const member.
    void buildIndex() const
    {
        m_index.clear();
        m_index.reserve(static_cast<qsizetype>(m_slots.size()));
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].item)
                m_index.insert(m_slots[i].key, i);
        }
        m_indexed = true;
    }
    // The Fenwick tree is built on the first removal; until then positions are slot indexes.
    void buildTree()
    {
        m_tree.assign(1, 0);
        for (std::size_t i = 0; i < m_slots.size(); ++i)
            fenwickAppend(m_slots[i].item ? 1 : 0);
    }

    // 1-based Fenwick tree over "slot is live" flags; m_tree[0] is unused.
    void fenwickAppend(int value)
    {
        if (m_tree.empty())
            m_tree.push_back(0);
        const std::size_t i = m_tree.size(); // index of the new slot in the tree
        const std::size_t low = i & (~i + 1);
        // The node covers (i - low, i]: the new value plus the existing slots in that range.
        m_tree.push_back(value + prefix(i - 1) - prefix(i - low));
    }
    int prefix(std::size_t i) const
    {
        int sum = 0;
        for (; i > 0; i &= i - 1)
            sum += m_tree[i];
        return sum;
    }
    void fenwickAdd(std::size_t i, int delta)
    {
        for (; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }
    std::size_t slotOfPosition(int position) const
    {
        if (position < 1 || static_cast<std::size_t>(position) > m_live)
            return npos;
        if (m_live == m_slots.size())
            return static_cast<std::size_t>(position) - 1;
        // Smallest tree index whose prefix sum reaches position.
        std::size_t index = 0;
        int remaining = position;
        std::size_t step = 1;
        while (step * 2 < m_tree.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            const std::size_t next = index + step;
            if (next < m_tree.size() && m_tree[next] < remaining) {
                index = next;
                remaining -= m_tree[next];
            }
        }
        return index; // tree index index + 1 is slot index
    }
    void removeSlot(std::size_t slot)
    {
        if (m_tree.empty())
            buildTree();
        if (m_indexed)
            m_index.remove(m_slots[slot].key);
        m_slots[slot].item.reset();
        m_slots[slot].key.clear();
        fenwickAdd(slot + 1, -1);
        --m_live;
        if (m_slots.size() > 32 && m_slots.size() - m_live > m_live)
            compact();
    }
    void compact()
    {
        std::vector<Slot> live;
        live.reserve(m_live);
        for (Slot &s : m_slots) {
            if (s.item)
                live.push_back(std::move(s));
        }
        m_slots = std::move(live);
        m_tree.clear();
        m_index.clear();
        m_indexed = false;
    }

    std::vector<Slot> m_slots;
    std::vector<int> m_tree;
    mutable QHash<QString, std::size_t> m_index; // used when m_indexed
    mutable bool m_indexed = false;
    std::size_t m_live = 0;
};
