#include "gui/mainwindow/DocumentRecovery.h"

#include "core/host/MessageService.h"
#include "core/recovery/Autosaver.h"
#include "core/recovery/RecoveryPrompt.h"
#include "core/recovery/RecoveryStore.h"
#include "gui/mainwindow/DocumentController.h"

#include <QDir>

DocumentRecovery::DocumentRecovery(CDocument &document, DocumentController &controller,
                                   QObject *parent)
    : QObject(parent), m_document(document), m_controller(controller),
      m_store(std::make_unique<RecoveryStore>()),
      m_autosaver(std::make_unique<Autosaver>(document, *m_store))
{}

DocumentRecovery::~DocumentRecovery()
{
    m_autosaver.reset(); // waits for its writes before the store goes
}

bool DocumentRecovery::start(const QString &directory)
{
    if (!directory.isEmpty()) {
        m_autosaver.reset();
        m_store = std::make_unique<RecoveryStore>(directory);
        m_autosaver = std::make_unique<Autosaver>(m_document, *m_store);
    }
    return m_store->open();
}

void DocumentRecovery::offer()
{
    if (!m_store->isOpen())
        return;
    const std::vector<RecoveryEntry> entries = m_store->offerable();
    if (entries.empty())
        return;
    const std::vector<RecoveryChoice> choices = ChooseRecovery(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (choices[i] == RecoveryChoice::Discard)
            RecoveryStore::discard(entries[i]);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (choices[i] == RecoveryChoice::Recover && !recover(entries[i]))
            ShowMessage(tr("The script could not be recovered. Its recovery file is kept:") +
                            QStringLiteral("\r\n") + QDir::toNativeSeparators(entries[i].textFile),
                        MsgIcon::Exclamation, MsgButtons::Ok);
    }
}

bool DocumentRecovery::recover(const RecoveryEntry &entry)
{
    if (!entry.readable || !m_controller.RecoverDoc(entry.textFile, entry.originalPath))
        return false;
    // The document holds the file's text: the file becomes this instance's own, after the
    // removal queued when the document was cleared for reading.
    m_autosaver->waitForJobs();
    if (m_store->adopt(entry))
        m_autosaver->markWritten();
    return true;
}

void DocumentRecovery::finish()
{
    m_autosaver->discard();
    m_autosaver->waitForJobs();
}
