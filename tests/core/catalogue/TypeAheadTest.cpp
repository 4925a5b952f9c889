#include "core/catalogue/TypeAhead.h"

#include <gtest/gtest.h>

TEST(TypeAhead, MatchesTheStartOfAnyWordInAnyCase)
{
    EXPECT_TRUE(MatchesAnyWord(QStringLiteral("Set variable"), QStringLiteral("var")));
    EXPECT_TRUE(MatchesAnyWord(QStringLiteral("Set variable"), QStringLiteral("SET")));
    EXPECT_TRUE(MatchesAnyWord(QStringLiteral("Set variable"), QStringLiteral("set v")));
    EXPECT_TRUE(MatchesAnyWord(QStringLiteral("Bookmark (next)"), QStringLiteral("next")));
    EXPECT_TRUE(MatchesAnyWord(QStringLiteral("GetText"), QStringLiteral("text")));
    // Inside a word, or longer than the caption: no match.
    EXPECT_FALSE(MatchesAnyWord(QStringLiteral("Set variable"), QStringLiteral("ari")));
    EXPECT_FALSE(MatchesAnyWord(QStringLiteral("GETTEXT"), QStringLiteral("text")));
    EXPECT_FALSE(MatchesAnyWord(QStringLiteral("If"), QStringLiteral("iff")));
    EXPECT_FALSE(MatchesAnyWord(QStringLiteral("If"), QString()));
}
