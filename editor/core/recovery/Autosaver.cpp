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
    connect(&document, &CDocument::documentChanged, this, &Autosaver::documentChanged);
    connect(&document, &CDocument::dirtyChanged, this, &Autosaver::dirtyChanged);
}

Autosaver::~Autosaver()
{
    waitForJobs();
}

void Autosaver::documentChanged()
{
    m_unwritten = true;
    if (m_document.Dirty())
        m_idle.start(); // restarted by every change: the write waits for a pause
}

void Autosaver::dirtyChanged(bool dirty)
{
    if (dirty)
        return;
    m_idle.stop();
    m_unwritten = false;
    discard();
}

void Autosaver::writeNow()
{
    m_idle.stop();
    if (!m_unwritten || !m_document.Dirty() || !m_store.isOpen())
        return;
    m_unwritten = false;
    auto snapshot = std::make_shared<DocumentSnapshot>(m_document);
    const QDateTime time = QDateTime::currentDateTime();
    const RecoveryStore *store = &m_store;
    QPointer<Autosaver> self(this);
    m_writer.start([snapshot, time, store, self] {
        const bool ok = store->write(snapshot->text(), snapshot->fileName(), time);
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
    m_writer.waitForDone();
}
