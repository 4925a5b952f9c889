#include "core/host/RuntimeFiles.h"

#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CElements.h"
#include "core/host/BuildInfo.h"
#include "core/host/MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramDir()
{
    return QCoreApplication::applicationDirPath();
}

QString InstalledDataDir()
{
    const QString relative =
        QDir(ProgramDir()).absoluteFilePath(QStringLiteral("../share/stepsmith"));
    if (QFileInfo(relative).isDir())
        return QDir::cleanPath(relative);
    return QString::fromUtf8(kConfiguredDataDir);
}

QString FindRuntimeFile(const QString &fileName)
{
    for (const QString &dir : {ProgramDir(), InstalledDataDir()}) {
        if (dir.isEmpty())
            continue;
        const QString path = QDir(dir).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir(ProgramDir()).filePath(fileName);
}

QString FindCatalogue()
{
    return LocateCatalogue(ProgramDir(), InstalledDataDir());
}

bool LoadStartupCatalogue(CElements &catalogue, const QString &programDir, const QString &dataDir)
{
    const QString path = LocateCatalogue(programDir, dataDir);
    if (!path.isEmpty())
        catalogue.LoadFile(path);
    const QStringList problems = catalogue.LoadProblems();
    if (catalogue.Count() == 0) {
        ShowMessage(
            problems.isEmpty()
                ? CatalogueMissingMessage()
                : CatalogueProblemsMessage(problems) + QStringLiteral("\r\n") +
                      QCoreApplication::translate("Catalogue", "Application execution aborted"),
            MsgIcon::Critical, MsgButtons::Ok);
        return false;
    }
    if (!problems.isEmpty())
        ShowMessage(CatalogueProblemsMessage(problems), MsgIcon::Exclamation, MsgButtons::Ok);
    return true;
}
