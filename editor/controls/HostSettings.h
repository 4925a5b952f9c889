#pragma once

#include <QString>

// Reads one value of the host editor's per-user settings (HKEY_CURRENT_USER
// "Software\Tessaro\<section>"), read only. Returns an empty string when absent.
QString ReadHostSetting(const QString &section, const QString &name);
