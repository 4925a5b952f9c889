#include "cli/CommandLine.h"
#include "cli/GuiModule.h"

#ifdef STEPSMITH_MIMALLOC
#include <mimalloc.h>

#include <cstring>

namespace {

// A command-line run reads or writes a whole script and ends: its memory is backed by 2 MiB
// pages where the kernel allows (transparent huge pages), from every thread's first segment
// on. A large script then costs a few hundred page faults instead of thousands, when written
// first and when given back at exit. The window keeps small pages, which hold less memory.
// Set before the libraries' initializers, which already allocate.
void useLargePagesOnTheCommandLine(int argc, char **argv, char **environment)
{
    // MIMALLOC_LARGE_OS_PAGES in the environment decides instead.
    for (char **variable = environment; variable && *variable; ++variable) {
        if (std::strncmp(*variable, "MIMALLOC_LARGE_OS_PAGES=", 24) == 0)
            return;
    }
    for (int i = 1; i < argc && argv[i] && std::strcmp(argv[i], "--") != 0; ++i) {
        if (argv[i][0] == '-') { // the window takes no option (see RunCommandLine)
            mi_option_enable(mi_option_large_os_pages);
            mi_option_set(mi_option_eager_commit_delay, 0);
            return;
        }
    }
}

#if defined(__ELF__)
using PreInit = void (*)(int, char **, char **);
__attribute__((section(".preinit_array"), used)) const PreInit g_largePages =
    useLargePagesOnTheCommandLine;
#endif

} // namespace
#endif

int main(int argc, char *argv[])
{
    // Command-line modes (--check, --format) run before, and without, the window's libraries.
    if (const int status = RunCommandLine(argc, argv, nullptr); status >= 0)
        return status;
    return RunGuiModule(argc, argv);
}
