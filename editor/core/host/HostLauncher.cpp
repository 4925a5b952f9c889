#include "core/host/HostLauncher.h"

#include "core/host/MessageService.h"
#include "core/settings/HostSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("HostLauncher", text);
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

} // namespace

HostLauncher::Document::~Document() = default;

QString HostLauncher::ExecutableName(bool windows)
{
    return windows ? QStringLiteral("Tessapp.exe") : QStringLiteral("tessapp");
}

QString HostLauncher::ExecutablePath(const QString &folder, bool windows)
{
    qsizetype end = folder.size();
    while (end > 0 && isSeparator(folder.at(end - 1)))
        --end;
    return folder.left(end) + (windows ? QLatin1Char('\\') : QLatin1Char('/')) +
           ExecutableName(windows);
}

QString HostLauncher::FindExecutable()
{
    const QString folder = ReadHostSetting(QStringLiteral("Paths"), QStringLiteral("AppPath"));
    if (folder.trimmed().isEmpty())
        return {};
    const QString path = ExecutablePath(folder);
    return QFileInfo(path).isFile() ? path : QString();
}

QStringList HostLauncher::Arguments(const QString &scriptPath)
{
    return {QStringLiteral("-addin:") + scriptPath};
}

bool HostLauncher::Start(const QString &executable, const QString &scriptPath)
{
    if (executable.isEmpty())
        return false;
    qint64 pid = 0;
    return QProcess::startDetached(executable, Arguments(scriptPath), QString(), &pid) && pid != 0;
}

HostLauncher::Result HostLauncher::RunFile(Document &document)
{
    const bool unnamed = document.FileName().isEmpty();
    if (unnamed && ShowMessage(tr("You have to save the file before you can run it.") +
                                   QStringLiteral("\r\n") + tr("Do you want to save it now?"),
                               MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return Result::NotSaved;
    // An unnamed script is saved even when unchanged: the host needs a file to read.
    if (unnamed || document.Dirty()) {
        if (!document.SaveDoc(false) || document.FileName().isEmpty())
            return Result::NotSaved;
    }

    const QString executable = FindExecutable();
    if (executable.isEmpty()) {
        ShowMessage(tr("Can't find Tessaro."), MsgIcon::Exclamation, MsgButtons::Ok);
        return Result::HostMissing;
    }
    if (!Start(executable, document.FileName())) {
        ShowMessage(tr("Unable to execute Tessaro"), MsgIcon::Critical, MsgButtons::Ok);
        return Result::StartFailed;
    }
    return Result::Started;
}
