#pragma once

#include <QString>

// Folders the program's data files (Actions.dat, stepsmith.html) are looked for in, in order:
// the program's folder (a build folder), <prefix>/share/stepsmith beside an installed program,
// and the data folder the program was configured with.
QString ProgramDir();
QString InstalledDataDir();

// The first existing file of that name in those folders; the program's folder path when
// none exists.
QString FindRuntimeFile(const QString &fileName);
// The catalogue file of the window and of the command line: LocateCatalogue for those folders
// ("" when there is none).
QString FindCatalogue();

// The window's module for a program in programDir: beside it (a build folder), otherwise in
// <prefix>/<libdir>/stepsmith beside an installed program; that last path when neither exists.
QString GuiModuleFile(const QString &programDir);
