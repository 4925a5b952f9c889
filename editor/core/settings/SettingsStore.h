#pragma once

#include "core/settings/RegValue.h"

#include <QString>

#include <memory>
#include <optional>

// A hierarchical store of typed values addressed like the registry: a root key handle
// (kHKeyCurrentUser, kHKeyLocalMachine), a key path with "\" separators and a value name
// (empty for the key's default value). Key paths and value names compare without regard to case.
class SettingsStore {
public:
    virtual ~SettingsStore();

    // True when the key exists (an empty path names the root, which always exists).
    virtual bool keyExists(quint32 root, const QString &path) = 0;
    // Creates the key and any missing parents; true on success or when it exists already.
    virtual bool createKey(quint32 root, const QString &path) = 0;
    // The value, or nothing when the key or the value is missing or cannot be read.
    virtual std::optional<RegValue> readValue(quint32 root, const QString &path,
                                              const QString &name) = 0;
    // Stores the value, creating the key when missing; false when the store refuses the write.
    virtual bool writeValue(quint32 root, const QString &path, const QString &name,
                            const RegValue &value) = 0;

    // Between beginBatch and the matching endBatch (batches nest), a store may keep writes in
    // memory and save them together at the end; reads see them at once. endBatch returns false
    // when the saved writes could not be stored. Stores without batching save each write.
    virtual void beginBatch() {}
    virtual bool endBatch() { return true; }

    // Why the store last refused to read or write, for a message; empty when it gives no reason.
    virtual QString problem() const { return {}; }

    // The program's store: the one installed with setCurrent, else the per-user file store.
    static SettingsStore &current();
    // Installs store as the program's store (an empty pointer restores the default) and
    // returns the previous one.
    static std::shared_ptr<SettingsStore> setCurrent(std::shared_ptr<SettingsStore> store);
};

// Groups the writes made while it lives into one save of the program's store (say, all window
// settings on closing). Call commit() to learn whether they were stored.
class SettingsBatch final {
public:
    explicit SettingsBatch(SettingsStore &store = SettingsStore::current()) : m_store(&store)
    {
        m_store->beginBatch();
    }
    ~SettingsBatch() { commit(); }
    SettingsBatch(const SettingsBatch &) = delete;
    SettingsBatch &operator=(const SettingsBatch &) = delete;

    // Ends the batch (once); false when the writes could not be stored.
    bool commit()
    {
        if (m_store == nullptr)
            return m_result;
        m_result = m_store->endBatch();
        m_store = nullptr;
        return m_result;
    }

private:
    SettingsStore *m_store;
    bool m_result = true;
};
