#include "controls/HostSettings.h"

#include "controls/CRegistry.h"
#include "controls/RegValue.h"

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
