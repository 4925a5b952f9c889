// The window's module: the program's start-up once the command line has left it the window or
// --export-pdf (see cli/GuiModule.h).
#include "cli/CommandLine.h"
#include "cli/ExportPdfMode.h"
#include "cli/GuiModule.h"
#include "core/document/CElements.h"
#include "core/host/RuntimeFiles.h"
#include "gui/mainwindow/AppTranslations.h"
#include "gui/mainwindow/ProgramInfo.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/mainwindow/frmRecover.h"
#include "gui/widgets/AppMessageBox.h"

#include <QApplication>
#include <QStringList>

#include <type_traits>

extern "C" Q_DECL_EXPORT int stepsmith_gui_main(int argc, char *argv[])
{
    if (const int status = RunCommandLine(argc, argv, &PdfExportMode()); status >= 0)
        return status;

    static QtArguments qtArguments(argv[0]);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    SetUpApplication();
    // Qt's, Fieldpane's and the program's texts in the user's language.
    const AppTranslations translations(QLocale::system());
    InstallMessageBoxHandler();
    InstallRecoveryDialog();

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

static_assert(std::is_same_v<decltype(&stepsmith_gui_main), GuiMainFunction>,
              "the entry point RunGuiModule resolves");
