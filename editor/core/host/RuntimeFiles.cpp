#include "core/host/RuntimeFiles.h"

#include "core/catalogue/CatalogueLocation.h"
#include "core/host/BuildInfo.h"

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
        QString path = QDir(dir).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir(ProgramDir()).filePath(fileName);
}

QString FindCatalogue()
{
    return LocateCatalogue(ProgramDir(), InstalledDataDir());
}

QString GuiModuleFile(const QString &programDir)
{
    const QString name = QString::fromUtf8(kGuiModuleFile);
    QString beside = QDir(programDir).filePath(name);
    if (QFileInfo(beside).isFile())
        return beside;
    return QDir::cleanPath(QDir(programDir)
                               .filePath(QStringLiteral("../") + QString::fromUtf8(kGuiModuleDir) +
                                         QLatin1Char('/') + name));
}
