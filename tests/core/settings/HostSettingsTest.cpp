#include "support/TempSettingsStore.h"

#include "core/settings/CRegistry.h"
#include "core/settings/HostSettings.h"

using HostSettingsTest = TempSettingsStore;

TEST_F(HostSettingsTest, ReadsStringsOfTheHostEditorsSections)
{
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Paths"), QStringLiteral("DatFiles")), QString());
    writeUserFile(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Tessaro\\Settings]\r\n"
        "\"RegName\"=\"Ann \\\"A\\\" Smith\"\r\n"
        "\"Count\"=dword:00000003\r\n"
        "[HKEY_CURRENT_USER\\Software\\Tessaro\\Paths]\r\n"
        "\"DatFiles\"=hex(2):2f,00,64,00,00,00\r\n"
        "\"AppPath\"=hex(2):25,00,53,00,54,00,45,00,50,00,53,00,4d,00,49,00,54,00,48,00,\\\r\n"
        "  5f,00,48,00,4f,00,53,00,54,00,25,00,00,00\r\n");
    qputenv("STEPSMITH_HOST", "/opt/tessaro");
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Settings"), QStringLiteral("RegName")),
              QStringLiteral("Ann \"A\" Smith"));
    EXPECT_EQ(ReadHostSetting(QStringLiteral("settings"), QStringLiteral("regname")),
              QStringLiteral("Ann \"A\" Smith"));
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Paths"), QStringLiteral("DatFiles")),
              QStringLiteral("/d"));
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Paths"), QStringLiteral("AppPath")),
              QStringLiteral("/opt/tessaro"));
    qunsetenv("STEPSMITH_HOST");
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Settings"), QStringLiteral("Count")), QString());
    EXPECT_EQ(ReadHostSetting(QStringLiteral("Settings"), QStringLiteral("Regcompany")), QString());
}
