#pragma once

#include <QDateTime>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <memory>

class CDocument;
class DocumentSnapshot;
class RecoveryStore;

// Keeps the recovery file of a document: while it has unsaved changes, writes it after an idle
// interval without changes (nothing is written while nothing changed), and removes it once the
// document is unchanged again (saved, new, opened). The window's thread only copies the
// document, a slice of a few milliseconds at a time (a change in between drops the copy until
// the next pause); the text is built and written on a writer thread, one job after another, so
// a removal never overtakes a write queued before it.
class Autosaver final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Autosaver)

public:
    static constexpr int kIdleInterval = 30000; // ms
    static constexpr int kSliceMs = 5;          // longest copy slice on the window's thread

    // store must be open to write anything and outlive this object.
    Autosaver(CDocument &document, const RecoveryStore &store, QObject *parent = nullptr);
    // Drops a copy under way and waits for the queued jobs.
    ~Autosaver() override;

    int idleInterval() const { return m_idle.interval(); }
    void setIdleInterval(int ms) { m_idle.setInterval(ms); }
    bool idleTimerActive() const { return m_idle.isActive(); }

    // Starts copying the document, to be written once copied, when it has changes not yet
    // written.
    void writeNow();
    // True while the document is being copied.
    bool copying() const { return m_snapshot != nullptr; }
    // Queues the removal of the recovery files (the changes are saved or given up).
    void discard();
    // Finishes a copy under way and blocks until the queued jobs are done (tests, and the end
    // of the program).
    void waitForJobs();
    // Marks the document as written (a recovered document whose file is already in place).
    void markWritten() { m_unwritten = false; }

signals:
    // A queued write ended (emitted on the window's thread).
    void written(bool ok);

private:
    void documentChanged();
    void dirtyChanged(bool dirty);
    void continueCopy();
    void dropCopy();
    void queueWrite();

    CDocument &m_document;
    const RecoveryStore &m_store;
    QTimer m_idle;
    QTimer m_slice; // the next copy slice, after the events waiting
    std::unique_ptr<DocumentSnapshot> m_snapshot;
    QDateTime m_snapshotTime;
    QThreadPool m_writer;
    bool m_unwritten = false; // changes made since the last write was queued
};
