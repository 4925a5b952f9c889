#include "gui/mainwindow/DocumentController.h"

#include "core/document/CDocument.h"
#include "core/host/MessageService.h"
#include "core/settings/CMru.h"
#include "core/settings/WindowSettings.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"
#include "gui/widgets/AppMessageBox.h"

#include <fieldpane/CCommonDialogs.h>

#include <QFileInfo>
#include <QWidget>

DocumentController::DocumentController(CDocument &document, CMru &recentFiles, QWidget *window)
    : QObject(window), m_document(document), m_recentFiles(recentFiles), m_window(window)
{}

QString DocumentController::FileName() const
{
    return m_document.FileName();
}

bool DocumentController::Dirty() const
{
    return m_document.Dirty();
}

DocumentController::SaveAnswer DocumentController::QuerySave()
{
    if (!Dirty())
        return SaveAnswer::Unchanged;
    const MsgResult answer =
        ShowMessage(tr("The script has been changed.") + QStringLiteral("\r\n\r\n") +
                        tr("Do you want to save the changes?"),
                    MsgIcon::Question, MsgButtons::YesNoCancel);
    switch (answer) {
    case MsgResult::Yes:
        return SaveDoc(false) ? SaveAnswer::Yes : SaveAnswer::Cancel;
    case MsgResult::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

void DocumentController::NewDoc()
{
    if (QuerySave() == SaveAnswer::Cancel)
        return;
    m_document.Clear();
    m_confirmOverwrite = false;
    emit cleared();
    emit fileChanged();
}

bool DocumentController::chooseFile(bool save, QString *path)
{
    Fieldpane::CCommonDialogs dialog;
    dialog.Init(m_window);
    dialog.setFilter(tr("ZML Files|*.zml|All Files|*.*"));
    dialog.setDefExt(QStringLiteral("zml"));
    dialog.setPath(ReadLastPath());
    if (!FileName().isEmpty() && save)
        dialog.setFileName(FileName());
    const bool chosen = save ? dialog.ShowSave() : dialog.ShowOpen();
    if (!chosen || dialog.FileName().isEmpty())
        return false;
    *path = dialog.FileName();
    WriteLastPath(QFileInfo(*path).absolutePath());
    return true;
}

bool DocumentController::OpenDoc(const QString &requested)
{
    if (QuerySave() == SaveAnswer::Cancel)
        return false;
    m_document.SetDirty(false);
    QString path = requested;
    if (path.isEmpty() && !chooseFile(false, &path))
        return false;
    emit aboutToOpen();
    const OpenResult read = OpenDocument(m_document, path);
    if (read.ok())
        m_confirmOverwrite = false;
    ShowNotices(OpenNotices(read));
    if (read.ok())
        m_recentFiles.AddToMruList(path);
    else if (read.status == OpenResult::Status::Missing)
        m_recentFiles.RemoveFromMruList(path);
    emit openFinished(read.ok());
    emit fileChanged();
    return read.ok();
}

bool DocumentController::SaveDoc(bool saveAs)
{
    QString path = FileName();
    bool chosen = false;
    if (path.isEmpty() || saveAs) {
        if (!chooseFile(true, &path) || !confirmReplacing(path))
            return false;
        chosen = true;
    }
    // A recovered script's first save under its own name: that file may be newer than it.
    if (m_confirmOverwrite && !chosen && QFileInfo::exists(path) &&
        !confirmReplacing(QString(), path))
        return false;
    const SaveResult saved = SaveDocument(m_document, path, chosen);
    if (saved.ok())
        m_confirmOverwrite = false;
    // A name that passed the checks is the script's name, written or not.
    if (saved.ok() || saved.status == SaveResult::Status::WriteFailed)
        m_recentFiles.AddToMruList(saved.fileName);
    ShowNotices(SaveNotices(m_document, saved));
    emit fileChanged();
    if (saved.status == SaveResult::Status::Blocks)
        emit saveRefusedByBlocks();
    return saved.ok();
}

bool DocumentController::RecoverDoc(const QString &textFile, const QString &originalPath)
{
    if (QuerySave() == SaveAnswer::Cancel)
        return false;
    emit aboutToOpen();
    const bool read = OpenRecoveredDocument(m_document, textFile).ok();
    m_confirmOverwrite = read;
    if (read) {
        m_document.SetFileName(originalPath);
        m_document.SetDirty(true);
    }
    emit openFinished(read);
    emit fileChanged();
    return read;
}

bool DocumentController::confirmReplacing(const QString &chosenPath, const QString &existing)
{
    const QString saved = existing.isEmpty() ? SavedNameToConfirm(chosenPath) : existing;
    if (saved.isEmpty())
        return true;
    return ShowMessage(tr("%1 already exists.\r\nDo you want to replace it?")
                           .arg(QFileInfo(saved).fileName()),
                       MsgIcon::Exclamation, MsgButtons::YesNo) == MsgResult::Yes;
}

void DocumentController::RunFile()
{
    const HostLauncher::Result result = HostLauncher::RunFile(*this, [] {
        return ShowMessage(HostLauncher::SaveFirstQuestion(), MsgIcon::Question,
                           MsgButtons::YesNo) == MsgResult::Yes;
    });
    MsgIcon icon = MsgIcon::None;
    if (const QString problem = HostLauncher::Problem(result, &icon); !problem.isEmpty())
        ShowMessage(problem, icon, MsgButtons::Ok);
}
