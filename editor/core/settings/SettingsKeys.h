#pragma once

#include <QString>

// Where the program keeps its settings in the store: every key lives below
// "Software\Halvern\TR AddIn Editor".
namespace SettingsKeys {
// The vendor key every program of the maker uses.
inline constexpr const char *kVendorKey = "Software\\Halvern\\";
// The program's name below the vendor key (also the recent-files list's application).
inline constexpr const char *kProgramName = "TR AddIn Editor";

// "Software\Halvern\<application>", followed by "\<section>" when section is not empty.
QString ApplicationKey(const QString &application, const QString &section = QString());
// The program's key, or one of its sections.
QString ProgramKey(const QString &section = QString());
} // namespace SettingsKeys
