#pragma once

#include "core/settings/RegFileFormat.h"
#include "core/settings/SettingsStore.h"

#include <functional>
#include <map>
#include <mutex>
#include <vector>

// The settings store kept in regedit text files, one per root key, in one folder:
// HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg (the latter is only as writable as the
// file system lets it be).
//
// Reads are served from a cache that is reloaded whenever the file changes on disk, so
// writes of other processes are seen. A write takes a lock file next to the settings file,
// reads the file again, applies only its own change and replaces the file atomically, so
// processes writing different values at the same time lose none of them.
// Inside a batch (SettingsBatch) the writes are kept in memory and merged into the file in
// one such save when the batch ends.
//
// Damaged files: every line that parses is kept and the rest is skipped. The first time a
// file with skipped content is rewritten, the damaged original is copied to
// "<file>.bad" (an existing backup is never overwritten, so the first damaged copy stays
// available for recovery); the rewritten file holds only the values that could be read.
// A file that exists but cannot be read, and a device or pipe in the file's place, are never
// replaced: writes to them fail (problem() tells why). A file larger than kMaxFileSize is read
// only that far and treated as damaged: its last, cut line is skipped.
class RegFileStore final : public SettingsStore {
public:
    static constexpr qint64 kMaxFileSize = 32 << 20;

    explicit RegFileStore(const QString &directory = defaultDirectory());

    // "<XDG_CONFIG_HOME>/stepsmith", falling back to the platform's generic config folder.
    static QString defaultDirectory();
    QString directory() const { return m_directory; }
    // The file that holds root's keys; empty for a root this store does not keep.
    QString filePath(quint32 root) const;

    bool keyExists(quint32 root, const QString &path) override;
    bool createKey(quint32 root, const QString &path) override;
    std::optional<RegValue> readValue(quint32 root, const QString &path,
                                      const QString &name) override;
    bool writeValue(quint32 root, const QString &path, const QString &name,
                    const RegValue &value) override;
    void beginBatch() override;
    bool endBatch() override;
    QString problem() const override { return m_problem; }

private:
    using Change = std::function<void(RegFileContent &)>;
    struct FileStamp {
        bool exists = false;
        qint64 size = -1;
        qint64 modified = 0;
        qint64 changed = 0;
        quint64 inode = 0;
        bool operator==(const FileStamp &o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified &&
                   changed == o.changed && inode == o.inode;
        }
    };
    struct Cache {
        FileStamp stamp;
        bool loaded = false;
        bool unsaved = false; // content holds writes of a batch not saved yet
        RegFileContent content;
    };

    static FileStamp stampOf(const QString &path);
    // The content of root's file, reloaded when it changed; nullptr when it cannot be read.
    const RegFileContent *content(quint32 root);
    // Applies change to the current file content under the lock and saves the file.
    bool modify(quint32 root, const Change &change);
    // Saves change now, or applies it to the cache and keeps it for the end of the batch.
    bool apply(quint32 root, const Change &change);

    QString m_directory;
    QString m_problem;
    std::mutex m_mutex;
    std::map<quint32, Cache> m_cache;
    int m_batchDepth = 0;
    std::map<quint32, std::vector<Change>> m_pending;
};
