#pragma once

#include "core/host/HostLauncher.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CDocument;
class CMru;
class QWidget;

// The file commands of the main window on its document: new, open, save, save as, run, and
// the question whether to save changes first. File names come from the file dialog (through
// CCommonDialogs' seam); questions, and the notices of opening and saving, go through
// ShowMessage. Opened and saved files go to the top of the recent files, a missing one leaves
// them.
class DocumentController final : public QObject, public HostLauncher::Document {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentController)

public:
    // Answers of QuerySave; Unchanged when the script has no changes.
    enum class SaveAnswer { Yes, No, Cancel, Unchanged };

    // window is the parent of the dialogs.
    DocumentController(CDocument &document, CMru &recentFiles, QWidget *window);

    // Asks whether to save the changes (Yes saves them; a failed save counts as Cancel).
    SaveAnswer QuerySave();
    // Starts an empty script (after QuerySave).
    void NewDoc();
    // Opens path, asking for one when it is empty (after QuerySave); true when a script was
    // read.
    bool OpenDoc(const QString &path = QString());
    // Saves under the current name, asking for one when there is none or saveAs is true.
    bool SaveDoc(bool saveAs) override;
    // Starts the host editor with the script (saving first when needed).
    void RunFile();
    // Reads the recovery file textFile (after QuerySave) and gives the script originalPath as
    // its name, marked changed, so that the next save writes to the original place (asking
    // first when a file is there); true when it was read. Nothing is added to the recent files.
    bool RecoverDoc(const QString &textFile, const QString &originalPath);

    QString FileName() const override;
    bool Dirty() const override;

signals:
    // The script was replaced by an empty one.
    void cleared();
    // A file is about to be read into the document.
    void aboutToOpen();
    // Reading a file has ended; read tells whether the document holds it now.
    void openFinished(bool read);
    // The name or the state of the file may have changed (new, open, save).
    void fileChanged();
    // A save was refused by the block check (after its message).
    void saveRefusedByBlocks();

private:
    bool chooseFile(bool save, QString *path);
    // For a name just chosen: asks before a save under another existing name (".zml" added);
    // with existing given, asks about that file.
    bool confirmReplacing(const QString &chosenPath, const QString &existing = QString());

    CDocument &m_document;
    CMru &m_recentFiles;
    QPointer<QWidget> m_window;
    // The script was recovered: its first save asks before replacing the file of its name.
    bool m_confirmOverwrite = false;
};
