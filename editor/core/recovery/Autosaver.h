#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>

class CDocument;
class RecoveryStore;

// Keeps the recovery file of a document: while it has unsaved changes, writes it after an idle
// interval without changes (nothing is written while nothing changed), and removes it once the
// document is unchanged again (saved, new, opened). The window's thread only copies the
// document; the text is built and written on a writer thread, one job after another, so a
// removal never overtakes a write queued before it.
class Autosaver final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Autosaver)

public:
    static constexpr int kIdleInterval = 30000; // ms

    // store must be open to write anything and outlive this object.
    Autosaver(CDocument &document, const RecoveryStore &store, QObject *parent = nullptr);
    // Waits for the queued jobs.
    ~Autosaver() override;

    int idleInterval() const { return m_idle.interval(); }
    void setIdleInterval(int ms) { m_idle.setInterval(ms); }
    bool idleTimerActive() const { return m_idle.isActive(); }

    // Copies the document and queues its write when it has changes not yet written.
    void writeNow();
    // Queues the removal of the recovery files (the changes are saved or given up).
    void discard();
    // Blocks until the queued jobs are done (tests, and the end of the program).
    void waitForJobs();
    // Marks the document as written (a recovered document whose file is already in place).
    void markWritten() { m_unwritten = false; }

signals:
    // A queued write ended (emitted on the window's thread).
    void written(bool ok);

private:
    void documentChanged();
    void dirtyChanged(bool dirty);

    CDocument &m_document;
    const RecoveryStore &m_store;
    QTimer m_idle;
    QThreadPool m_writer;
    bool m_unwritten = false; // changes made since the last write was queued
};
