#include "core/document/ClipboardText.h"
#include "core/document/EditRules.h"
#include "core/document/StepRowsModel.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void fill(StepRowsModel &model, const QStringList &texts)
{
    std::vector<StepRow> rows;
    int id = 0;
    for (const QString &t : texts)
        rows.push_back(StepRow{++id, 0, t});
    model.insertStepRows(-1, std::move(rows));
}

} // namespace

TEST(ClipboardCopyText, BlocksBecomeNestedElements)
{
    StepRowsModel model;
    fill(model, {QStringLiteral("<if cond=\"a &gt; b\" />"), QStringLiteral("<beep />"),
                 QStringLiteral("<loop count=\"3\" />"), QStringLiteral("<beep />"),
                 QStringLiteral("<endloop />"), QStringLiteral("<endif />")});
    EXPECT_EQ(ClipboardText::CopyText(model, {0, 1, 2, 3, 4, 5}),
              QStringLiteral("<if cond=\"a &gt; b\" >\r\n<beep />\r\n<loop count=\"3\" >\r\n"
                             "<beep />\r\n</loop>\r\n</if>\r\n"));
}

TEST(ClipboardCopyText, OnlyTheGivenRowsInOrderAndNothingForNoRows)
{
    StepRowsModel model;
    fill(model, {QStringLiteral("<a />"), QStringLiteral("<b />"), QStringLiteral("<c />")});
    EXPECT_EQ(ClipboardText::CopyText(model, {0, 2}), QStringLiteral("<a />\r\n<c />\r\n"));
    EXPECT_TRUE(ClipboardText::CopyText(model, {}).isEmpty());
}

TEST(ClipboardCopyText, DisabledOpenerKeepsTheSameTransformationInsideItsComment)
{
    EXPECT_EQ(ClipboardText::NestBlocks(QStringLiteral("<!-- <if cond=\"x\" /> -->\r\n")),
              QStringLiteral("<!-- <if cond=\"x\" > -->\r\n"));
    EXPECT_EQ(ClipboardText::NestBlocks(QStringLiteral("<!-- <endif /> -->\r\n")),
              QStringLiteral("<!-- </if> -->\r\n"));
}

TEST(ClipboardCopyText, CommentMentioningAnOpenerLeavesTheNextStepIntact)
{
    // A comment text is written unescaped; its "<if " must not take the next step's slash.
    const QString text = QStringLiteral("<!--\r\nsee <if and <loop \r\n-->\r\n<beep />\r\n");
    EXPECT_EQ(ClipboardText::NestBlocks(text), text);
    EXPECT_EQ(ClipboardText::FlattenBlocks(text), text);
}

TEST(ClipboardCopyText, OpenersInManyCommentsAroundStepsKeepEachTagItsOwn)
{
    // Openers in comments find their ">" only past the comment, over and over; the steps
    // between the comments still get exactly their own change.
    QString text;
    QString nested;
    QString flat;
    for (int i = 0; i < 3; ++i) {
        text += QStringLiteral("<!-- <if <loop <if -->\r\n<if c=\"%1\" />\r\n").arg(i);
        nested += QStringLiteral("<!-- <if <loop <if -->\r\n<if c=\"%1\" >\r\n").arg(i);
    }
    flat = text;
    text += QStringLiteral("<!-- <if");
    nested += QStringLiteral("<!-- <if");
    flat += QStringLiteral("<!-- <if");
    EXPECT_EQ(ClipboardText::NestBlocks(text), nested);
    EXPECT_EQ(ClipboardText::FlattenBlocks(nested), flat);
}

TEST(ClipboardCopyText, EveryOpenerBeforeOneCloseTakesItsOwnSlash)
{
    // As when the slashes are removed one after the other: the second opener takes the next.
    EXPECT_EQ(ClipboardText::NestBlocks(QStringLiteral("<if <if a /> <b />")),
              QStringLiteral("<if <if a > <b >"));
    // An opener without any "/>" after it is left alone.
    EXPECT_EQ(ClipboardText::NestBlocks(QStringLiteral("<b /> <if a")),
              QStringLiteral("<b /> <if a"));
}

TEST(ClipboardPasteText, NestedFormBecomesFlatAgain)
{
    EXPECT_EQ(ClipboardText::FlattenBlocks(
                  QStringLiteral("<if cond=\"a\" >\r\n<beep />\r\n</if>\r\n<loop count=\"2\">"
                                 "\r\n</loop>\r\n")),
              QStringLiteral("<if cond=\"a\" />\r\n<beep />\r\n<endif />\r\n<loop count=\"2\" />"
                             "\r\n<endloop />\r\n"));
    // Tags that are self-closing already stay as they are.
    const QString flat = QStringLiteral("<if cond=\"a\" />\r\n<endif />");
    EXPECT_EQ(ClipboardText::FlattenBlocks(flat), flat);
}

TEST(ClipboardPasteText, LineEndsOfEveryKindBecomeCrLf)
{
    const QString crlf = ClipboardText::FlattenBlocks(QStringLiteral("<a />\r\n<b />\r\n<c />"));
    EXPECT_EQ(crlf, QStringLiteral("<a />\r\n<b />\r\n<c />"));
    EXPECT_EQ(ClipboardText::FlattenBlocks(QStringLiteral("<a />\n<b />\n<c />")), crlf);
    EXPECT_EQ(ClipboardText::FlattenBlocks(QStringLiteral("<a />\r<b />\r<c />")), crlf);
    EXPECT_EQ(ClipboardText::FlattenBlocks(QStringLiteral("<a />\r\n<b />\r<c />")), crlf);
    EXPECT_EQ(ClipboardText::FlattenBlocks(QStringLiteral("\n\r")), QStringLiteral("\r\n\r\n"));
}

TEST(ClipboardPasteText, WrapperElementAroundTheFlatText)
{
    EXPECT_EQ(ClipboardText::PasteDocument(QStringLiteral("<a />\n</if>")),
              QStringLiteral("<zmlclip>\r\n<a />\r\n<endif />\r\n</zmlclip>"));
    EXPECT_EQ(ClipboardText::PasteDocument(QString()),
              QStringLiteral("<zmlclip>\r\n\r\n</zmlclip>"));
}

TEST(ClipboardPasteText, CopyThenFlattenGivesSelfClosingOpeners)
{
    StepRowsModel model;
    fill(model, {QStringLiteral("<loop count=\"1\" />"), QStringLiteral("<if cond=\"c\" />"),
                 QStringLiteral("<endif />"), QStringLiteral("<endloop />")});
    const QString flat = ClipboardText::FlattenBlocks(ClipboardText::CopyText(model, {0, 1, 2, 3}));
    EXPECT_EQ(flat, QStringLiteral("<loop count=\"1\" />\r\n<if cond=\"c\" />\r\n<endif />\r\n"
                                   "<endloop />\r\n"));
}

TEST(EditRulesPositions, InsertDropCommentAndPaste)
{
    EXPECT_EQ(EditRules::InsertPosition(-1), -1);
    EXPECT_EQ(EditRules::InsertPosition(2), 3);
    EXPECT_EQ(EditRules::DropPosition(-1), -1);
    EXPECT_EQ(EditRules::DropPosition(4), 4);
    EXPECT_EQ(EditRules::CommentPosition(-1, false), -1);
    EXPECT_EQ(EditRules::CommentPosition(1, false), 2);
    EXPECT_EQ(EditRules::CommentPosition(1, false, true), 1);
    EXPECT_EQ(EditRules::CommentPosition(1, true, true), -1);
    EXPECT_EQ(EditRules::CommentPosition(-1, false, true), -1);
    EXPECT_EQ(EditRules::CommentPosition(1, true), -1);
    EXPECT_EQ(EditRules::PastePosition(-1), -1);
    EXPECT_EQ(EditRules::PastePosition(4), 4);
}

TEST(EditRulesPositions, ClosingElementsCompareExactly)
{
    EXPECT_EQ(EditRules::ClosingElement(QStringLiteral("if")), QStringLiteral("endif"));
    EXPECT_EQ(EditRules::ClosingElement(QStringLiteral("loop")), QStringLiteral("endloop"));
    EXPECT_TRUE(EditRules::ClosingElement(QStringLiteral("IF")).isEmpty());
    EXPECT_TRUE(EditRules::ClosingElement(QStringLiteral("else")).isEmpty());
    EXPECT_TRUE(EditRules::ClosingElement(QString()).isEmpty());
}

TEST(EditRulesLineNumber, NumbersAreRoundedAndMustBeAtLeastOne)
{
    int line = 0;
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral("2.6"), &line));
    EXPECT_EQ(line, 3);
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral(" 12 "), &line));
    EXPECT_EQ(line, 12);
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral("1e2"), &line));
    EXPECT_EQ(line, 100);
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral("0.5"), &line));
    EXPECT_EQ(line, 1);
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral("+7"), &line));
    EXPECT_EQ(line, 7);
    EXPECT_TRUE(EditRules::ParseLineNumber(QStringLiteral("2147483647"), &line));
    EXPECT_EQ(line, std::numeric_limits<int>::max());

    line = 42;
    for (const char *bad : {"0", "-3", "0.4", "abc", "", "   ", "3x", "2147483648",
                            "99999999999999999999999", "1e300", "nan", "inf", "-inf"}) {
        EXPECT_FALSE(EditRules::ParseLineNumber(QString::fromLatin1(bad), &line)) << bad;
        EXPECT_EQ(line, 42) << bad;
    }
}
