#include "core/document/StepSearch.h"
#include "core/document/CDocument.h"

#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

namespace {

using StepSearch::Find;
using StepSearch::Options;

class StepSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillTestCatalogue(doc.Catalogue());
        // 0 var name=Total, 1 saytext "Hello <World>", 2 comment, 3 var value=a<b (disabled)
        append("var")->Attributes().SetValueAt(0, QStringLiteral("Total"));
        auto say = append("saytext");
        say->Text = QStringLiteral("Hello <World>");
        CElement comment;
        comment.IsComment = true;
        comment.Text = QStringLiteral("remember the milk");
        doc.InsertStep(comment, -1);
        auto last = append("var");
        last->Attributes().SetValueAt(1, QStringLiteral("a<b"));
        last->Disabled = true;
    }
    std::shared_ptr<CElement> append(const char *name)
    {
        return doc.Step(doc.InsertStep(*doc.Catalogue().Item(QString::fromLatin1(name)), -1));
    }
    CDocument doc;
};

TEST_F(StepSearchTest, MatchesTheVisibleTextOfTheViewAndTheStepsValues)
{
    const Options visual;
    Options source;
    source.sourceMode = true;
    const auto row = [this](const QString &text, const Options &o) {
        return Find(doc, text, 0, true, o).row;
    };
    // Values and text in either view, in any case.
    EXPECT_EQ(row("total", visual), 0);
    EXPECT_EQ(row("WORLD", visual), 1);
    EXPECT_EQ(row("a<b", source), 3);
    // The caption's words only in the visual view, the ZML line's only in source mode.
    EXPECT_EQ(row("Declare a variable", visual), 0);
    EXPECT_EQ(row("Declare a variable", source), -1);
    EXPECT_EQ(row("a&lt;b", source), 3);
    EXPECT_EQ(row("<!--", source), 2);
    EXPECT_EQ(row("<!--", visual), -1);
    EXPECT_EQ(row("milk", visual), 2);
    EXPECT_EQ(row("", visual), -1);
    Options exact;
    exact.matchCase = true;
    EXPECT_EQ(row("total", exact), -1);
    EXPECT_EQ(row("Total", exact), 0);
}

TEST_F(StepSearchTest, FindsFromTheStartRowAndWrapsOnceEitherWay)
{
    const Options o;
    // "var" steps are rows 0 and 3 (their ZML lines), searched in source mode.
    Options source;
    source.sourceMode = true;
    auto found = Find(doc, "<var", 1, true, source);
    EXPECT_EQ(found.row, 3);
    EXPECT_FALSE(found.wrapped);
    found = Find(doc, "<var", 4, true, source); // after the last row
    EXPECT_EQ(found.row, 0);
    EXPECT_TRUE(found.wrapped);
    found = Find(doc, "<var", 2, false, source);
    EXPECT_EQ(found.row, 0);
    EXPECT_FALSE(found.wrapped);
    found = Find(doc, "<var", -1, false, source); // before the first row
    EXPECT_EQ(found.row, 3);
    EXPECT_TRUE(found.wrapped);
    found = Find(doc, "Hello", 2, false, o);
    EXPECT_EQ(found.row, 1);
    found = Find(doc, "Hello", 0, false, o);
    EXPECT_EQ(found.row, 1);
    EXPECT_TRUE(found.wrapped);
    // The start row itself is found (find as you type), and a lone match wraps onto itself.
    found = Find(doc, "Hello", 1, true, o);
    EXPECT_EQ(found.row, 1);
    EXPECT_FALSE(found.wrapped);
    found = Find(doc, "Hello", 2, true, o);
    EXPECT_TRUE(found.wrapped);
    EXPECT_EQ(Find(doc, "absent", 0, true, o).row, -1);
}

} // namespace
