#pragma once

#include <QString>

// Reads one value of the host editor's per-user settings (HKEY_CURRENT_USER
// "Software\Tessaro\<section>"), read only. Returns the string value
// (an expandable one expanded), or an empty string when it is absent or not a string.
QString ReadHostSetting(const QString &section, const QString &name);
