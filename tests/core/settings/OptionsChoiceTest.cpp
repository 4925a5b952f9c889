#include "core/settings/OptionsChoice.h"

#include <gtest/gtest.h>

TEST(OptionsChoice, PrefixSearchIgnoresCaseAndTakesTheFirstMatch)
{
    const QStringList names{"Arial Black", "arial", "Courier New", "Courier", "Verdana"};
    EXPECT_EQ(FindStringPrefix(names, "Arial"), 0);
    EXPECT_EQ(FindStringPrefix(names, "ARIAL "), 0);
    EXPECT_EQ(FindStringPrefix(names, "arial"), 0);
    EXPECT_EQ(FindStringPrefix(names, "courier"), 2);
    EXPECT_EQ(FindStringPrefix(names, "Courier New Bold"), -1);
    EXPECT_EQ(FindStringPrefix(names, "Helvetica"), -1);
    EXPECT_EQ(FindStringPrefix({}, "Arial"), -1);

    const QStringList sizes{"8", "9", "10", "11", "12", "14", "16", "18", "20"};
    EXPECT_EQ(FindStringPrefix(sizes, "10"), 2);
    EXPECT_EQ(FindStringPrefix(sizes, "13"), -1);
    // A prefix: a stored 1 finds the first size that begins with it.
    EXPECT_EQ(FindStringPrefix(sizes, "1"), 2);
}

TEST(OptionsChoice, FontSizeConversion)
{
    EXPECT_EQ(ParseFontSize("12"), 12);
    EXPECT_EQ(ParseFontSize(" 9 "), 9);
    EXPECT_EQ(ParseFontSize("32767"), 32767);
    EXPECT_FALSE(ParseFontSize(""));
    EXPECT_FALSE(ParseFontSize("abc"));
    EXPECT_FALSE(ParseFontSize("12pt"));
    EXPECT_FALSE(ParseFontSize("0"));
    EXPECT_FALSE(ParseFontSize("-8"));
    EXPECT_FALSE(ParseFontSize("32768"));
}

TEST(OptionsChoice, StoreFieldByField)
{
    SharedSettings settings;
    settings.FontSize = 13;

    OptionsChoice choice;
    choice.FontName = QStringLiteral("Verdana");
    choice.FontNameZML = QStringLiteral("Courier");
    choice.FontSize = QString(); // nothing selected
    choice.FontSizeZML = QStringLiteral("14");
    choice.CommentColor = 0x8000000Du;
    StoreOptions(choice, settings);
    EXPECT_EQ(settings.FontName, "Verdana");
    EXPECT_EQ(settings.FontNameZML, "Courier");
    EXPECT_EQ(settings.FontSize, 13);
    EXPECT_EQ(settings.FontSizeZML, 14);
    EXPECT_EQ(settings.CommentColor, 0x8000000Du);

    // Lists without a current entry keep the names; a bad size keeps the size.
    OptionsChoice empty;
    empty.FontName = QString();
    empty.FontSize = QStringLiteral("x");
    empty.FontSizeZML = QStringLiteral("20");
    empty.CommentColor = 0x008000;
    StoreOptions(empty, settings);
    EXPECT_EQ(settings.FontName, "Verdana");
    EXPECT_EQ(settings.FontNameZML, "Courier");
    EXPECT_EQ(settings.FontSize, 13);
    EXPECT_EQ(settings.FontSizeZML, 20);
    EXPECT_EQ(settings.CommentColor, 0x008000u);
}
