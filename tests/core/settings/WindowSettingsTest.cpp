#include "core/settings/WindowSettings.h"
#include "core/settings/CRegistry.h"
#include "core/settings/RegValue.h"

#include "support/TempSettingsStore.h"

#include <gtest/gtest.h>

namespace {

const std::vector<ToolbarBand> kDesigned{
    {"Standard", 300, false, 280}, {"Steps", 240, false, 220}, {"Run", 60, false, 50}};

class WindowSettingsTest : public TempSettingsStore {
protected:
    static QVariant read(const QString &section, const QString &name, qint32 *type = nullptr)
    {
        CRegistry reg;
        reg.SectionKey = WindowSettingsKey(section);
        reg.ValueKey = name;
        reg.ValueType = RegNone;
        const QVariant v = reg.Value();
        if (type != nullptr)
            *type = reg.ValueType;
        return v;
    }
    static void write(const QString &section, const QString &name, const QVariant &v, qint32 type)
    {
        CRegistry reg;
        reg.SectionKey = WindowSettingsKey(section);
        reg.ValueKey = name;
        reg.ValueType = type;
        reg.setValue(v);
    }
};

TEST_F(WindowSettingsTest, FirstStartGivesTheDocumentedDefaults)
{
    const WindowSettings s = ReadWindowSettings(kDesigned);
    EXPECT_TRUE(s.WordWrap);
    EXPECT_TRUE(s.LineNumbers);
    EXPECT_FALSE(s.ShowSource);
    EXPECT_EQ(s.IconStyle, 2);
    EXPECT_EQ(s.Shared.FontName, "Arial");
    EXPECT_EQ(s.Shared.FontSize, 8);
    EXPECT_EQ(s.Shared.FontNameZML, "Courier New");
    EXPECT_EQ(s.Shared.FontSizeZML, 10);
    EXPECT_EQ(s.Shared.CommentColor, 0x008000u);
    EXPECT_TRUE(s.ActionTree);
    EXPECT_TRUE(s.StatusBar);
    EXPECT_TRUE(s.Toolbars);
    EXPECT_FALSE(s.Left || s.Top || s.Width || s.Height || s.Splitter);
    EXPECT_EQ(s.State, 0);
    EXPECT_EQ(s.Bands, kDesigned);
    EXPECT_EQ(ReadLastPath(), "");
}

TEST_F(WindowSettingsTest, SavedValuesReadBackUnderTheirNamesAndTypes)
{
    WindowSettings s;
    s.WordWrap = false;
    s.LineNumbers = false;
    s.ShowSource = true;
    s.IconStyle = 0;
    s.Shared.FontName = "DejaVu Sans";
    s.Shared.FontSize = 11;
    s.Shared.FontNameZML = "DejaVu Sans Mono";
    s.Shared.FontSizeZML = 12;
    s.Shared.CommentColor = 0x80000011u; // a system colour
    s.ActionTree = false;
    s.StatusBar = false;
    s.Toolbars = false;
    s.Left = 1500;
    s.Top = 900;
    s.Width = 12000;
    s.Height = 9000;
    s.Splitter = 3000;
    s.State = WindowSettings::kStateMaximized;
    s.Bands = {{"Run", 70, false, 50}, {"Standard", 320, true, 280}, {"Steps", 250, false, 220}};
    ASSERT_TRUE(SaveWindowSettings(s, true));

    const WindowSettings r = ReadWindowSettings(kDesigned);
    EXPECT_FALSE(r.WordWrap);
    EXPECT_FALSE(r.LineNumbers);
    EXPECT_TRUE(r.ShowSource);
    EXPECT_EQ(r.IconStyle, 0);
    EXPECT_EQ(r.Shared.FontName, "DejaVu Sans");
    EXPECT_EQ(r.Shared.FontSize, 11);
    EXPECT_EQ(r.Shared.FontNameZML, "DejaVu Sans Mono");
    EXPECT_EQ(r.Shared.FontSizeZML, 12);
    EXPECT_EQ(r.Shared.CommentColor, 0x80000011u);
    EXPECT_FALSE(r.ActionTree);
    EXPECT_FALSE(r.StatusBar);
    EXPECT_FALSE(r.Toolbars);
    EXPECT_EQ(r.Left, 1500);
    EXPECT_EQ(r.Top, 900);
    EXPECT_EQ(r.Width, 12000);
    EXPECT_EQ(r.Height, 9000);
    EXPECT_EQ(r.Splitter, 3000);
    EXPECT_EQ(r.State, 2);
    EXPECT_EQ(r.Bands, s.Bands);

    // The stored forms: flags and numbers as DWORDs, names as strings, in their sections.
    qint32 type = 0;
    EXPECT_EQ(read({}, "ShowSource", &type).toInt(), 1);
    EXPECT_EQ(type, RegDword);
    EXPECT_EQ(read({}, "FontName", &type).toString(), "DejaVu Sans");
    EXPECT_EQ(type, RegSz);
    EXPECT_EQ(read("MainWnd", "Width", &type).toInt(), 12000);
    EXPECT_EQ(type, RegDword);
    EXPECT_EQ(read("Toolbar", "Pos1", &type).toString(), "Run");
    EXPECT_EQ(type, RegSz);
    EXPECT_EQ(read("Toolbar", "NewRowStandard").toInt(), 1);
    EXPECT_EQ(read("Toolbar", "MinWidthSteps").toInt(), 220);
    EXPECT_EQ(WindowSettingsKey(), "Software\\Halvern\\TR AddIn Editor");
    EXPECT_EQ(WindowSettingsKey("MainWnd"), "Software\\Halvern\\TR AddIn Editor\\MainWnd");
}

TEST_F(WindowSettingsTest, GeometryIsWrittenOnlyInTheNormalState)
{
    WindowSettings normal;
    normal.Left = 100;
    normal.Top = 200;
    normal.Width = 9000;
    normal.Height = 7000;
    ASSERT_TRUE(SaveWindowSettings(normal, true));

    WindowSettings maximised = normal;
    maximised.Left = 0;
    maximised.Width = 20000;
    maximised.State = WindowSettings::kStateMaximized;
    ASSERT_TRUE(SaveWindowSettings(maximised, false));

    const WindowSettings r = ReadWindowSettings(kDesigned);
    EXPECT_EQ(r.Left, 100);
    EXPECT_EQ(r.Width, 9000);
    EXPECT_EQ(r.State, 2);
}

TEST_F(WindowSettingsTest, BadStoredValuesFallBackToDefaults)
{
    write({}, "IconStyle", 7, RegDword);
    write({}, "FontSize", 0, RegDword);
    write({}, "FontSizeZML", "12", RegSz); // wrong type
    write({}, "FontName", "   ", RegSz);
    write({}, "WordWrap", "no", RegSz);
    write("MainWnd", "Width", -5, RegDword);
    write("MainWnd", "State", 1, RegDword); // minimised is stored as normal
    write("Toolbar", "Pos1", "Bogus", RegSz);
    write("Toolbar", "Pos2", "Run", RegSz);
    write("Toolbar", "Pos3", "Run", RegSz); // a band named twice

    const WindowSettings r = ReadWindowSettings(kDesigned);
    EXPECT_EQ(r.IconStyle, 2);
    EXPECT_EQ(r.Shared.FontSize, 8);
    EXPECT_EQ(r.Shared.FontSizeZML, 10);
    EXPECT_EQ(r.Shared.FontName, "Arial");
    EXPECT_TRUE(r.WordWrap);
    EXPECT_FALSE(r.Width.has_value());
    EXPECT_EQ(r.State, 0);
    ASSERT_EQ(r.Bands.size(), 3u);
    EXPECT_EQ(r.Bands[0].Name, "Run");
    EXPECT_EQ(r.Bands[1].Name, "Standard");
    EXPECT_EQ(r.Bands[2].Name, "Steps");
}

TEST_F(WindowSettingsTest, LastPathIsStoredAtOnce)
{
    ASSERT_TRUE(WriteLastPath("/home/user/scripts"));
    EXPECT_EQ(ReadLastPath(), "/home/user/scripts");
    EXPECT_EQ(read({}, "LastPath").toString(), "/home/user/scripts");
}

TEST(TwipsTest, ConversionsFollowTheLogicalDpi)
{
    EXPECT_EQ(PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(PixelsToTwips(100, 120), 1200);
    EXPECT_EQ(TwipsToPixels(15, 96), 1);
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(777, 144), 144), 777);
    EXPECT_EQ(PixelsToTwips(10, 0), 150); // an unknown dpi counts as 96
}

} // namespace
