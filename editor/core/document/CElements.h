#pragma once

#include "core/document/CElement.h"
#include "core/document/KeyedList.h"

#include <QStringList>

#include <memory>

// Ordered collection of elements with text keys that compare without regard to case.
// The catalogue is keyed by upper-cased element names.
// Lookup, insertion and removal by key are O(1); iteration follows insertion order.
// Failures are reported as a null pointer or false, never by a message.
class CElements final {
public:
    using const_iterator = KeyedList<CElement>::const_iterator;

    CElements() = default;
    CElements(const CElements &) = delete;
    CElements &operator=(const CElements &) = delete;

    // Creates an element without attributes under the upper-cased ElementName; null when taken.
    [[nodiscard]] std::shared_ptr<CElement>
    Add(const QString &ElementName, const QString &Description = {}, bool ContainsText = false,
        const QString &TextDescription = {}, bool TextRequired = false,
        bool TextAllowMultiLine = false, const QString &Parent = {}, const QString &Text = {},
        bool Disabled = false);

    // Stores an independent copy of source under key (source.Key() when key is empty, then
    // the upper-cased ElementName); null when that key is taken.
    [[nodiscard]] std::shared_ptr<CElement> AddCopy(const CElement &source,
                                                    const QString &key = {});

    // Stores element itself (handed over, not copied) under a key the caller knows is not taken
    // (not checked; for keys made from fresh ids). Nothing is searched or hashed, so filling a
    // large collection is cheap.
    void AdoptNew(std::shared_ptr<CElement> element, const QString &key);
    // An independent copy of source (attributes included), not stored anywhere.
    [[nodiscard]] static std::shared_ptr<CElement> Copy(const CElement &source);

    // Element at a 1-based position; null when out of range.
    [[nodiscard]] std::shared_ptr<CElement> Item(int position) const
    {
        return m_items.at(position);
    }
    // Element stored under key (any case); null when absent.
    [[nodiscard]] std::shared_ptr<CElement> Item(const QString &key) const
    {
        return m_items.find(key);
    }
    // True when an element is stored under key (any case).
    bool Contains(const QString &key) const { return m_items.contains(key); }
    // Number of elements.
    int Count() const { return m_items.count(); }
    // Removes the element at a 1-based position; false when out of range.
    bool Remove(int position) { return m_items.removeAt(position); }
    // Removes the element stored under key (any case); false when absent.
    bool Remove(const QString &key) { return m_items.remove(key); }
    // Removes every element.
    void Clear() { m_items.clear(); }

    // Non-empty "name" values of the "var" steps (or "range" steps when ranges is true), in
    // collection order, duplicates kept; element names compare exactly.
    QStringList GetVariableNames(bool ranges) const;

    // Fills the collection from a catalogue file (Actions.dat): remembers the path; an
    // unreadable or corrupt file, a device or pipe, or a file without actions, leaves the
    // collection as it was. Duplicate actions and attributes (names compared ignoring case) keep
    // the first one; names that cannot be written are dropped (DropUnwritableNames).
    // Implemented in catalogue/CatalogueLoader.cpp.
    void LoadFile(const QString &path);

    // What the last LoadFile left out or could not read, one sentence each; empty when it
    // used the whole file (or found none).
    const QStringList &LoadProblems() const { return m_loadProblems; }
    // Removes the actions and attributes whose names could not be written to a script and read
    // back (empty names included), which would make every save of a step of them fail. Returns
    // one sentence per removal.
    QStringList DropUnwritableNames();

    // Path of the file the collection was loaded from ("" when not loaded from a file).
    const QString &FilePath() const { return m_filePath; }
    void SetFilePath(const QString &path) { m_filePath = path; }

    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    bool store(const QString &key, const std::shared_ptr<CElement> &element);

    KeyedList<CElement> m_items;
    QString m_filePath;
    QStringList m_loadProblems;
};
