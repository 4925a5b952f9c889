#pragma once

#include "core/host/BuildInfo.h"

// The program's description and notice; its version comes from the build (BuildInfo.h).
inline constexpr const char *kProgramDescription = "Tessaro AddIn Editor";
inline constexpr const char *kProgramLegalNotice =
    "Stepsmith builds add-in scripts for the Tessaro text editor. Action icons from the Tango "
    "Desktop Project (public domain).";

// Names the program to Qt (name, version, desktop entry, icon). No display name is set: the
// X11 and Wayland back ends would append it to the title of every dialog and message box.
void SetUpApplication();
