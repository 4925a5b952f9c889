#include "gui/mainwindow/ProgramInfo.h"

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
