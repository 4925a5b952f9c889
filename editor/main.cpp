#include "cli/CommandLine.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    // Command-line modes (--check, --format) run before, and without, any window.
    if (const int status = RunCommandLine(argc, argv); status >= 0)
        return status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stepsmith"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("[Untitled] - Tessaro AddIn Editor"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
