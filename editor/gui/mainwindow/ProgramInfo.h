#pragma once

#include "core/host/BuildInfo.h"

#include <QString>

// The program's description and notice; its version comes from the build (BuildInfo.h).
inline constexpr const char *kProgramDescription = "Tessaro AddIn Editor";
inline constexpr const char *kProgramLegalNotice = QT_TRANSLATE_NOOP(
    "frmAbout", "Stepsmith builds add-in scripts for the Tessaro text editor. Action icons from "
                "the Tango Desktop Project (public domain).");

// Names the program to Qt (name, version, desktop entry, icon). No display name is set: the
// X11 and Wayland back ends would append it to the title of every dialog and message box.
void SetUpApplication();

class CElements;

// The catalogue loader of the program's start-up: fills catalogue from the file LocateCatalogue
// finds for programDir and dataDir. False, after telling the user, when there is none or it
// holds no action (the program is to end).
bool LoadStartupCatalogue(CElements &catalogue, const QString &programDir, const QString &dataDir);
