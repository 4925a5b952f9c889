#include "core/settings/SettingsKeys.h"

namespace SettingsKeys {

QString ApplicationKey(const QString &application, const QString &section)
{
    QString key = QLatin1String(kVendorKey) + application;
    if (!section.isEmpty())
        key += QLatin1Char('\\') + section;
    return key;
}

QString ProgramKey(const QString &section)
{
    return ApplicationKey(QLatin1String(kProgramName), section);
}

} // namespace SettingsKeys
