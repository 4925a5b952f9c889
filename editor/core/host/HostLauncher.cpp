#include "core/host/HostLauncher.h"

#include "core/host/MessageService.h"
#include "core/settings/HostSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace {

// The texts of this file and their translation context.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(HostLauncher)
};

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

QString HostLauncher::SaveFirstQuestion()
{
    return Texts::tr("You have to save the file before you can run it.") + QStringLiteral("\r\n") +
           Texts::tr("Do you want to save it now?");
}

QString HostLauncher::Problem(Result result, MsgIcon *icon)
{
    switch (result) {
    case Result::HostMissing:
        *icon = MsgIcon::Exclamation;
        return Texts::tr("Can't find Tessaro.");
    case Result::StartFailed:
        *icon = MsgIcon::Critical;
        return Texts::tr("Unable to execute Tessaro");
    case Result::Started:
    case Result::NotSaved:
        break;
    }
    *icon = MsgIcon::None;
    return QString();
}

HostLauncher::Result HostLauncher::RunFile(Document &document, const ConfirmSave &confirmSave)
{
    const bool unnamed = document.FileName().isEmpty();
    if (unnamed && !(confirmSave && confirmSave()))
        return Result::NotSaved;
    // An unnamed script is saved even when unchanged: the host needs a file to read.
    if (unnamed || document.Dirty()) {
        if (!document.SaveDoc(false) || document.FileName().isEmpty())
            return Result::NotSaved;
    }

    const QString executable = FindExecutable();
    if (executable.isEmpty())
        return Result::HostMissing;
    if (!Start(executable, document.FileName()))
        return Result::StartFailed;
    return Result::Started;
}
