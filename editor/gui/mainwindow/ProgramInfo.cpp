#include "gui/mainwindow/ProgramInfo.h"

#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CElements.h"
#include "core/host/MessageService.h"

#include <QApplication>
#include <QIcon>

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Stepsmith"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(kProgramVersionMajor)
                                            .arg(kProgramVersionMinor)
                                            .arg(kProgramVersionRevision));
    QGuiApplication::setDesktopFileName(QStringLiteral("stepsmith"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app/stepsmith-48.png")));
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
