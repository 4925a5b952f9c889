#include "cli/CommandLine.h"
#include "core/document/CElements.h"
#include "core/host/RuntimeFiles.h"
#include "gui/mainwindow/ProgramInfo.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/widgets/AppMessageBox.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    // Command-line modes (--check, --format) run before, and without, any window.
    if (const int status = RunCommandLine(argc, argv); status >= 0)
        return status;

    static QtArguments qtArguments(argv[0]);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    SetUpApplication();
    InstallMessageBoxHandler();

    // The rest of the command line names the script to open.
    const QString file = WindowScript(argc, argv);

    frmEdit window;
    const bool loaded = window.Load(file, [](CElements &catalogue) {
        return LoadStartupCatalogue(catalogue, ProgramDir(), InstalledDataDir());
    });
    if (!loaded)
        return 1;
    window.show();
    return QApplication::exec();
}
