#include "cli/GuiModule.h"

#include "core/host/RuntimeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

int RunGuiModule(int argc, char *argv[])
{
    // There is no application object yet: the module creates the window's.
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QString file = GuiModuleFile(QFileInfo(program).absolutePath());
    QLibrary module(file);
    // QLibrary tries other names (lib...) for a missing file, and reports the last of them.
    const auto entry = QFileInfo::exists(file)
                           ? reinterpret_cast<GuiMainFunction>(module.resolve(kGuiMainSymbol))
                           : nullptr;
    if (entry == nullptr) {
        const QString reason =
            QFileInfo::exists(file) ? module.errorString() : QStringLiteral("No such file");
        const QString message =
            QStringLiteral("stepsmith: can't load the window's module '%1': %2\n")
                .arg(file, reason);
        std::fputs(message.toLocal8Bit().constData(), stderr);
        return 1;
    }
    return entry(argc, argv);
}
