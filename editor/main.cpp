#include "cli/CommandLine.h"
#include "cli/GuiModule.h"

int main(int argc, char *argv[])
{
    // Command-line modes (--check, --format) run before, and without, the window's libraries.
    if (const int status = RunCommandLine(argc, argv, nullptr); status >= 0)
        return status;
    return RunGuiModule(argc, argv);
}
