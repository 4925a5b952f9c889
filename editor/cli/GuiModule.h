#pragma once

// The window's module (stepsmith-gui): the window, its dialogs and printing, with the libraries
// they need. The program loads it only when it opens its window or prints, so that its
// command line starts on Qt Core alone.

// The module's one entry point, exported as C: the program's start-up past the command line
// (--export-pdf, then the window), with the program's arguments. Returns the exit status.
using GuiMainFunction = int (*)(int argc, char *argv[]);
inline constexpr const char *kGuiMainSymbol = "stepsmith_gui_main";

// Loads the module (GuiModuleFile of the program's folder) and runs its entry point. When it
// cannot, prints the file and the loader's reason to standard error and returns 1.
int RunGuiModule(int argc, char *argv[]);
