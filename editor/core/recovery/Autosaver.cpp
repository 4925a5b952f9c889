#include "core/recovery/Autosaver.h"

#include "core/document/CDocument.h"
#include "core/recovery/DocumentSnapshot.h"
#include "core/recovery/RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPointer>

#include <memory>

Autosaver::Autosaver(CDocument &document, const RecoveryStore &store, QObject *parent)
    : QObject(parent), m_document(document), m_store(store)
{
    m_writer.setMaxThreadCount(1);
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleInterval);
    connect(&m_idle, &QTimer::timeout, this, &Autosaver::writeNow);
    m_slice.setSingleShot(true);
    m_slice.setInterval(0);
    connect(&m_slice, &QTimer::timeout, this, &Autosaver::continueCopy);
    connect(&document, &CDocument::documentChanged, this, &Autosaver::documentChanged);
    connect(&document, &CDocument::dirtyChanged, this, &Autosaver::dirtyChanged);
}

Autosaver::~Autosaver()
{
    dropCopy(); // the document may be gone already
    m_writer.waitForDone();
}

void Autosaver::documentChanged()
{
    dropCopy();
    m_unwritten = true;
    if (m_document.Dirty())
        m_idle.start(); // restarted by every change: the write waits for a pause
}

void Autosaver::dirtyChanged(bool dirty)
{
    if (dirty)
        return;
    m_idle.stop();
    dropCopy();
    m_unwritten = false;
    discard();
}

void Autosaver::writeNow()
{
    m_idle.stop();
    if (!m_unwritten || !m_document.Dirty() || !m_store.isOpen())
        return;
    m_unwritten = false;
    dropCopy();
    m_snapshot = std::make_unique<DocumentSnapshot>(m_document, false);
    m_snapshotTime = QDateTime::currentDateTime();
    continueCopy();
}

void Autosaver::continueCopy()
{
    if (!m_snapshot)
        return;
    if (m_snapshot->copyRows(kSliceMs))
        queueWrite();
    else
        m_slice.start();
}

void Autosaver::dropCopy()
{
    m_slice.stop();
    if (!m_snapshot)
        return;
    // Its steps are freed on the writer thread.
    std::shared_ptr<DocumentSnapshot> dropped(std::move(m_snapshot));
    m_writer.start([dropped]() mutable { dropped.reset(); });
}

void Autosaver::queueWrite()
{
    std::shared_ptr<DocumentSnapshot> snapshot(std::move(m_snapshot));
    const QDateTime time = m_snapshotTime;
    const RecoveryStore *store = &m_store;
    QPointer<Autosaver> self(this);
    m_writer.start([snapshot, time, store, self]() mutable {
        const bool ok = store->write(snapshot->text(), snapshot->fileName(), time);
        snapshot.reset();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, ok] {
                if (!self)
                    return;
                if (!ok && self->m_document.Dirty()) { // try again after the next pause
                    self->m_unwritten = true;
                    self->m_idle.start();
                }
                emit self->written(ok);
            },
            Qt::QueuedConnection);
    });
}

void Autosaver::discard()
{
    if (!m_store.isOpen())
        return;
    const RecoveryStore *store = &m_store;
    m_writer.start([store] { store->removeOwn(); });
}

void Autosaver::waitForJobs()
{
    if (m_snapshot) {
        m_slice.stop();
        m_snapshot->copyRows(-1);
        queueWrite();
    }
    m_writer.waitForDone();
}
