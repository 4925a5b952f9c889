#include "controls/HostSettings.h"

#include "controls/RegValue.h"
#include "controls/SettingsStore.h"

#include <QtEndian>

QString ReadHostSetting(const QString &section, const QString &name)
{
    const std::optional<RegValue> value = SettingsStore::current().readValue(
        kHKeyCurrentUser, QStringLiteral("Software\\Tessaro\\") + section, name);
    if (!value || (value->type != RegSz && value->type != RegExpandSz))
        return {};
    QString text;
    for (qsizetype i = 0; i + 1 < value->data.size(); i += 2) {
        const auto unit = qFromLittleEndian<quint16>(value->data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}
