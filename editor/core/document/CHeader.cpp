#include "core/document/CHeader.h"

#include "core/settings/HostSettings.h"

CHeader::CHeader()
{
    Reset();
}

void CHeader::Reset()
{
    Version = QStringLiteral("1.0");
    Author = ReadHostSetting(QStringLiteral("Settings"), QStringLiteral("RegName"));
    Company = ReadHostSetting(QStringLiteral("Settings"), QStringLiteral("Regcompany"));
    EMail.clear();
    Web.clear();
    Description.clear();
}
