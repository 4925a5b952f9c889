#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;
class QSaveFile;

// A recovery file left by an instance of the program that is no longer running.
struct RecoveryEntry {
    QString instanceId;
    QString textFile;     // the script as Save writes it
    QString infoFile;     // original path, time, instance id
    QString originalPath; // "" for an untitled script
    QDateTime saved;      // time of the last autosave
    // False when the side file or the text cannot be read, or the text is cut short.
    bool readable = false;
};

// The recovery folder: each running instance writes its script to "<id>.zml" with the side
// file "<id>.json" and holds the lock file "<id>.lock" while it runs, so that other instances
// offer only the files of instances that ended. Writing is atomic (QSaveFile); write and
// removeOwn may run on another thread than the rest.
class RecoveryStore final {
public:
    // directory defaults to AppLocalDataLocation + "/recovery".
    explicit RecoveryStore(QString directory = DefaultDirectory());
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    static QString DefaultDirectory();
    const QString &directory() const { return m_directory; }

    // Creates the folder, takes a new instance id and locks it; false when that failed (the
    // instance then writes nothing).
    bool open();
    bool isOpen() const { return m_lock != nullptr; }
    const QString &instanceId() const { return m_id; }
    QString textFile() const;
    QString infoFile() const;

    // Writes this instance's side file and then its text; false when either failed (the
    // previous files are left as they were).
    bool write(const QByteArray &text, const QString &originalPath, const QDateTime &time) const;
    // Removes this instance's files.
    void removeOwn() const;

    // Files of instances that are not running, oldest first. Side files without a text are
    // removed (nothing to recover).
    std::vector<RecoveryEntry> offerable() const;
    // Removes an entry's files.
    static void discard(const RecoveryEntry &entry);
    // Takes an entry's files over as this instance's own (renamed); false when that failed.
    bool adopt(const RecoveryEntry &entry) const;

    // Test seam: called with the open save file of the text after it was written and before
    // it is committed; returning false fails the write. Empty removes it.
    static void setWriteHook(std::function<bool(QSaveFile &)> hook);

private:
    bool writeInfo(const QString &originalPath, const QDateTime &time) const;
    bool instanceRunning(const QString &id) const;
    RecoveryEntry readEntry(const QString &id) const;

    QString m_directory;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
};
