#include "cli/GuiModule.h"

#include "core/host/BuildInfo.h"
#include "core/host/RuntimeFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace {

int cannotLoad(const QString &file, const QString &reason)
{
    const QString message =
        QStringLiteral("stepsmith: can't load the window's module '%1': %2\n").arg(file, reason);
    std::fputs(message.toLocal8Bit().constData(), stderr);
    return 1;
}

} // namespace

int RunGuiModule(int argc, char *argv[])
{
    // There is no application object yet (the module creates the window's): the program's
    // folder comes from the system. Without it no folder is guessed (the current one could
    // hold anything).
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty())
        return cannotLoad(QString::fromUtf8(kGuiModuleFile),
                          QStringLiteral("the program's own folder is unknown (no /proc)"));
    const QString file = GuiModuleFile(QFileInfo(program).absolutePath());
    // QLibrary tries other names (lib...) for a missing file, and would report the last one.
    if (!QFileInfo::exists(file))
        return cannotLoad(file, QStringLiteral("No such file"));
    QLibrary module(file);
    const auto entry = reinterpret_cast<GuiMainFunction>(module.resolve(kGuiMainSymbol));
    if (entry == nullptr)
        return cannotLoad(file, module.errorString());
    return entry(argc, argv);
}
