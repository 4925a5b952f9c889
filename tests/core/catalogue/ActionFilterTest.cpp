#include "core/catalogue/ActionFilter.h"

#include <gtest/gtest.h>

TEST(ActionFilterTest, EveryWordMustBeInNameCaptionOrDescription)
{
    using ActionFilter::Matches;
    using ActionFilter::Words;
    EXPECT_EQ(Words(QStringLiteral("  save\tALL  files ")), QStringList({"save", "ALL", "files"}));
    EXPECT_TRUE(Words(QStringLiteral(" \t ")).isEmpty());

    const QString name = QStringLiteral("saveall");
    const QString caption = QStringLiteral("Save all documents");
    const QString description = QStringLiteral("Writes every open file to disk.");
    const auto matches = [&](const char *text) {
        return Matches(Words(QString::fromUtf8(text)), name, caption, description);
    };
    EXPECT_TRUE(matches(""));
    EXPECT_TRUE(matches("SAVEALL"));
    EXPECT_TRUE(matches("documents disk")) << "words from different fields";
    EXPECT_TRUE(matches("open save"));
    EXPECT_FALSE(matches("save printer")) << "one word missing";
    EXPECT_FALSE(matches("all-documents"));
}
