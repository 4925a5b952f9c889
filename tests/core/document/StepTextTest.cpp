#include "core/document/StepText.h"
#include "core/document/CElements.h"
#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"

#include "support/TestCatalogue.h"

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

TEST_F(StepTextTest, SinksReceiveTheSameFormAndIfAndLoopOpenAsTags)
{
    auto var = step("var");
    var->Attributes().Item("value")->Value = QString::fromUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80");
    auto say = step("saytext");
    say->Text = QString::fromUtf8("Gr\xC3\xBC\xC3\x9F") + QChar(0xD800); // lone half at the end
    say->Disabled = true;
    CElement comment;
    comment.IsComment = true;
    comment.Text = "x\r\n<if a=\"1\" />";
    for (const CElement *s : {var.get(), say.get(), &comment}) {
        QString text = "before";
        TextSink textSink(text);
        AppendStepText(textSink, *s);
        EXPECT_EQ(text, "before" + BuildStepText(*s));
        Utf8Sink utf8(0);
        utf8.add(QLatin1String("before"));
        AppendStepText(utf8, *s);
        QString expected = BuildStepText(*s);
        expected.replace(QChar(0xD800), QChar(0xFFFD));
        EXPECT_EQ(utf8.take(), "before" + expected.toUtf8());
    }

    auto cond = step("if");
    cond->Attributes().Item("cond")->Value = "a > b";
    auto loop = step("loop");
    loop->Disabled = true;
    const auto opening = [](const CElement &s) {
        QString text;
        TextSink sink(text);
        AppendStepText(sink, s, StepForm::Opening);
        return text;
    };
    EXPECT_EQ(opening(*cond), "<if cond=\"a &gt; b\">");
    EXPECT_EQ(opening(*loop), "<!-- <loop count=\"\"> -->");
    EXPECT_EQ(opening(comment), BuildStepText(comment)); // comments have one form
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
