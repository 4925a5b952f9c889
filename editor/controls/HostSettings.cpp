#include "controls/HostSettings.h"

// Placeholder until the settings store lands: the host's settings are treated as absent.
QString ReadHostSetting(const QString &section, const QString &name)
{
    Q_UNUSED(section);
    Q_UNUSED(name);
    return {};
}
