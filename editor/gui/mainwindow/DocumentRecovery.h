#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Autosaver;
class CDocument;
class DocumentController;
class RecoveryStore;
struct RecoveryEntry;

// The main window's recovery files: the store of this instance, the autosaver of its document,
// the offer of earlier instances' files at start-up, and their end when the window closes.
class DocumentRecovery final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentRecovery)

public:
    DocumentRecovery(CDocument &document, DocumentController &controller, QObject *parent);
    ~DocumentRecovery() override;

    // Opens the store in directory (default: the user's recovery folder); until then nothing is
    // written.
    bool start(const QString &directory = QString());
    // Offers the files of instances no longer running (ChooseRecovery), discards and recovers
    // as chosen. A file that cannot be recovered is reported and kept.
    void offer();
    // The window closes with its changes saved or given up: removes this instance's files.
    void finish();

    RecoveryStore &store() const { return *m_store; }
    Autosaver &autosaver() const { return *m_autosaver; }

private:
    bool recover(const RecoveryEntry &entry);

    CDocument &m_document;
    DocumentController &m_controller;
    std::unique_ptr<RecoveryStore> m_store;
    std::unique_ptr<Autosaver> m_autosaver; // declared after the store: destroyed first
};
