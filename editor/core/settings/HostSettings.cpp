#include "core/settings/HostSettings.h"

#include "core/settings/CRegistry.h"
#include "core/settings/RegValue.h"

QString ReadHostSetting(const QString &section, const QString &name)
{
    CRegistry reg;
    reg.ClassKey = CRegistry::HKeyCurrentUser;
    reg.SectionKey = QStringLiteral("Software\\Tessaro\\") + section;
    reg.ValueKey = name;
    reg.ValueType = RegNone;
    const QVariant value = reg.Value();
    if (reg.ValueType != RegSz && reg.ValueType != RegExpandSz)
        return {};
    return value.toString();
}
