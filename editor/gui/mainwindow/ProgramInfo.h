#pragma once

// The program's own version data (set by the build from the project version).
#ifndef STEPSMITH_VERSION_MAJOR
#define STEPSMITH_VERSION_MAJOR 0
#endif
#ifndef STEPSMITH_VERSION_MINOR
#define STEPSMITH_VERSION_MINOR 0
#endif
#ifndef STEPSMITH_VERSION_PATCH
#define STEPSMITH_VERSION_PATCH 0
#endif

inline constexpr int kProgramVersionMajor = STEPSMITH_VERSION_MAJOR;
inline constexpr int kProgramVersionMinor = STEPSMITH_VERSION_MINOR;
inline constexpr int kProgramVersionRevision = STEPSMITH_VERSION_PATCH;
inline constexpr const char *kProgramDescription = "Tessaro AddIn Editor";
inline constexpr const char *kProgramLegalNotice =
    "Stepsmith builds add-in scripts for the Tessaro text editor. Action icons from the Tango "
    "Desktop Project (public domain).";

// Names the program to Qt (name, version, desktop entry, icon). No display name is set: the
// X11 and Wayland back ends would append it to the title of every dialog and message box.
void SetUpApplication();
