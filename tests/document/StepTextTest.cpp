#include "document/StepText.h"
#include "document/CElements.h"

#include "TestCatalogue.h"

#include <gtest/gtest.h>

class StepTextTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(catalogue); }
    std::shared_ptr<CElement> step(const QString &name)
    {
        return steps.AddCopy(*catalogue.Item(name), "K" + QString::number(++next));
    }
    CElements catalogue;
    CElements steps;
    int next = 0;
};

TEST_F(StepTextTest, ActionWithoutTextWritesEveryAttributeEscaped)
{
    auto var = step("var");
    var->Attributes().Item("name")->Value = "count";
    EXPECT_EQ(BuildStepText(*var), "<var name=\"count\" value=\"\" />");
    var->Attributes().Item("value")->Value = "say \"hi\" <now>\n  ok";
    EXPECT_EQ(BuildStepText(*var),
              "<var name=\"count\" value=\"say &quot;hi&quot; &lt;now&gt;&#10; &#160;ok\" />");
    auto endif = step("endif");
    EXPECT_EQ(BuildStepText(*endif), "<endif />");
}

TEST_F(StepTextTest, TextContentAndDisabledForms)
{
    auto say = step("saytext");
    say->Attributes().Item("title")->Value = "Hi & bye";
    // Text content allowed but empty: self-closing.
    EXPECT_EQ(BuildStepText(*say), "<saytext title=\"Hi &amp; bye\" />");
    say->Text = "Line one\r\nLine two";
    EXPECT_EQ(BuildStepText(*say),
              "<saytext title=\"Hi &amp; bye\">Line one&#10;Line two</saytext>");
    say->Disabled = true;
    EXPECT_EQ(BuildStepText(*say),
              "<!-- <saytext title=\"Hi &amp; bye\">Line one&#10;Line two</saytext> -->");

    // Text is ignored by actions without text content.
    auto endif = step("endif");
    endif->Text = "stray";
    endif->Disabled = true;
    EXPECT_EQ(BuildStepText(*endif), "<!-- <endif /> -->");
}

TEST_F(StepTextTest, CommentIsWrittenRawOnItsOwnLines)
{
    CElement comment;
    comment.IsComment = true;
    comment.Text = "a < b & \"c\"\r\nsecond";
    EXPECT_EQ(BuildStepText(comment), "<!--\r\na < b & \"c\"\r\nsecond\r\n-->");
    comment.Disabled = true; // a comment has no disabled form
    EXPECT_EQ(BuildStepText(comment), "<!--\r\na < b & \"c\"\r\nsecond\r\n-->");
}

TEST_F(StepTextTest, InformationListsAttributesWithValuesAndText)
{
    auto var = step("var");
    EXPECT_EQ(BuildStepInfo(*var), "Declare a variable");
    var->Attributes().Item("value")->Value = "<3>";
    EXPECT_EQ(BuildStepInfo(*var), "Declare a variable\r\n    Value: <3>");
    var->Attributes().Item("name")->Value = "n";
    EXPECT_EQ(BuildStepInfo(*var), "Declare a variable\r\n    Name: n\r\n    Value: <3>");

    auto say = step("saytext");
    EXPECT_EQ(BuildStepInfo(*say), "Say text");
    say->Text = "Hello\r\nthere";
    EXPECT_EQ(BuildStepInfo(*say), "Say text\r\nUse the following text to say:\r\nHello\r\nthere");

    CElement comment;
    comment.IsComment = true;
    comment.Text = "just a note";
    EXPECT_EQ(BuildStepInfo(comment), "just a note");
}
