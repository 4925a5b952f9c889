#include "core/catalogue/CatalogueLocation.h"

#include "core/settings/HostSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kFileName = QStringLiteral("Actions.dat");

// Hidden files count as existing; a folder of that name does not.
bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString inFolder(const QString &folder)
{
    return QDir(folder).filePath(kFileName);
}

} // namespace

QString CatalogueMissingMessage()
{
    return QCoreApplication::translate("Catalogue", "Can't find the 'Actions.dat' file.") +
           QStringLiteral("\r\n") +
           QCoreApplication::translate("Catalogue", "Application execution aborted");
}

QString LocateCatalogue(const QString &programDir, const QString &dataDir)
{
    const QString setting = ReadHostSetting(QStringLiteral("Paths"), QStringLiteral("DatFiles"));
    QString path = inFolder(setting.isEmpty() ? programDir : setting);
    if (!setting.isEmpty() && !fileExists(path))
        path = inFolder(programDir);
    if (fileExists(path))
        return path;
    if (!dataDir.isEmpty() && fileExists(inFolder(dataDir)))
        return inFolder(dataDir);
    return QString();
}

QString CatalogueProblemsMessage(const QStringList &problems)
{
    constexpr qsizetype kListed = 5;
    QStringList lines = problems.mid(0, kListed);
    if (problems.size() > kListed) {
        lines.append(QCoreApplication::translate("Catalogue", "%1 more problems were found.")
                         .arg(problems.size() - kListed));
    }
    return lines.join(QStringLiteral("\r\n"));
}
