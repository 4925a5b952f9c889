#include "core/zml/ZmlPieces.h"

#include "core/document/CDocument.h"
#include "core/zml/XmlEventParser.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

// Opens files as one text and in pieces, and compares what each gives.
class ZmlPiecesTest : public ::testing::Test {
protected:
    void TearDown() override { SetOpenPieces(0, 0); }

    QString write(const QByteArray &text, const QString &name = QStringLiteral("p.zml"))
    {
        const QString path = QDir(dir.path()).filePath(name);
        EXPECT_TRUE(WriteBytes(path, text));
        return path;
    }

    // What an open gives: the result, and each row as a line of its depth and fields.
    struct Opened {
        OpenResult result;
        QStringList rows;
    };
    static Opened open(const QString &path, int pieces)
    {
        SetOpenPieces(pieces, 1);
        CDocument doc;
        FillTestCatalogue(doc.Catalogue());
        Opened opened{OpenDocument(doc, path), {}};
        for (int r = 0; r < doc.RowCount(); ++r) {
            const StepView step = doc.View(r);
            QString line = QStringLiteral("%1 %2|%3|%4%5")
                               .arg(doc.Rows()->depth(r))
                               .arg(doc.Rows()->rowText(r), step.Text())
                               .arg(step.Disabled() ? "D" : "", step.IsComment() ? "C" : "");
            for (int i = 0; i < step.AttributeCount(); ++i)
                line += QLatin1Char('|') + step.ValueAt(i);
            opened.rows << line;
        }
        return opened;
    }

    // Opens path in two, three and four pieces, expecting what reading it as one text gives;
    // returns the most pieces used.
    int expectSameAsOneText(const QString &path)
    {
        const Opened whole = open(path, 1);
        EXPECT_EQ(whole.result.pieces, 1);
        int most = 1;
        for (int pieces : {2, 3, 4}) {
            const Opened split = open(path, pieces);
            EXPECT_EQ(split.result.status, whole.result.status) << pieces;
            EXPECT_TRUE(split.result.place == whole.result.place) << pieces;
            EXPECT_TRUE(split.result.rowPlaces == whole.result.rowPlaces) << pieces;
            EXPECT_EQ(split.rows, whole.rows) << pieces;
            most = std::max(most, split.result.pieces);
        }
        return most;
    }

    QTemporaryDir dir;
};

// A script as the editor writes it: nested and empty blocks, else rows, comments over several
// lines, text content and disabled steps, a disabled opener among them near the end (which
// deepens the rows after it without a closer).
QByteArray editorScript(int blocks)
{
    CDocument doc;
    FillTestCatalogue(doc.Catalogue());
    StepMaker steps(doc);
    for (int i = 0; i < blocks; ++i) {
        const QString n = QString::number(i);
        steps.append("var", {{"name", "v" + n}, {"value", "a & \"b\" <" + n + ">"}});
        steps.append("if", {{"cond", n}});
        steps.append("loop", {{"count", n}});
        steps.append("saytext", {{"title", n}}, "line " + n + "\r\nnext <line>");
        if (i % 3 == 0)
            steps.comment("comment " + n + "\r\n    <var/>\r\nend");
        steps.append("endloop");
        steps.append("else");
        steps.append("range", {{"name", "r" + n}}, {}, i % 2 == 0);
        if (i == blocks - 5)
            steps.append("if", {{"cond", "open " + n}}, {}, true); // a disabled opener
        steps.append("endif");
        if (i % 7 == 0) {
            steps.append("loop");
            steps.append("endloop");
        }
    }
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("s.zml");
    EXPECT_TRUE(SaveDocument(doc, path, false));
    return ReadBytes(path);
}

TEST_F(ZmlPiecesTest, ScriptsTheEditorWritesReadInPiecesAsInOneText)
{
    const QByteArray script = editorScript(300);
    EXPECT_GT(expectSameAsOneText(write(script)), 2);
    QByteArray lf = script;
    lf.replace("\r\n", "\n");
    EXPECT_GT(expectSameAsOneText(write(lf)), 2);

    // The command line's format writes the rows as they are read, the later pieces' last: the
    // file Save writes for the script read as one text.
    const QString in = write(script);
    const QString expected = QDir(dir.path()).filePath("expected.zml");
    const QString out = QDir(dir.path()).filePath("out.zml");
    SetOpenPieces(1, 1);
    CDocument whole;
    FillTestCatalogue(whole.Catalogue());
    ASSERT_TRUE(OpenDocument(whole, in).ok());
    ASSERT_TRUE(SaveDocument(whole, expected, false));
    SetOpenPieces(3, 1);
    CDocument copy;
    FillTestCatalogue(copy.Catalogue());
    StreamedSave save(out);
    ASSERT_TRUE(OpenDocument(copy, in, &save).ok());
    const std::optional<SaveResult> saved = save.Finish(copy, true);
    ASSERT_TRUE(saved && saved->ok());
    EXPECT_EQ(ReadBytes(out), ReadBytes(expected));
}

TEST_F(ZmlPiecesTest, CutsThatDoNotFallBetweenRowsOfTheBodyAreNotUsed)
{
    // Every line begins with "<", so cuts fall in blocks, comments and CDATA sections as well.
    QByteArray body;
    for (int i = 0; i < 400; ++i) {
        const QByteArray n = QByteArray::number(i);
        body += "<var name=\"" + n + "\"/>\n<if cond=\"" + n +
                "\">\n<loop count=\"1\">\n<var/>\n"
                "</loop>\n<else/>\n<var/>\n</if>\n<!--\n<var/>\n<var/>\n-->\n"
                "<saytext><![CDATA[\n<var/>\n<if>\n]]></saytext>\n<unknown>\n<var/>\n</unknown>\n";
    }
    expectSameAsOneText(
        write("<zml version=\"1.0\"><zmlhead/>\n<zmlbody>\n" + body + "</zmlbody></zml>\n"));
}

TEST_F(ZmlPiecesTest, ReadAsOneTextWhenThePiecesDoNotJoin)
{
    QByteArray rows;
    QByteArray stray; // with closers and else rows whose depths are held at 0
    for (int i = 0; i < 300; ++i) {
        rows += "        <var name=\"" + QByteArray::number(i) + "\" />\r\n";
        if (i % 40 == 39)
            stray += rows.right(40 * 31) + "        <else />\r\n        <endif />\r\n";
    }
    const QByteArray head = "<zml version=\"1.0\">\r\n    <zmlhead />\r\n    <zmlbody>\r\n";
    const QByteArray tail = "    </zmlbody>\r\n</zml>\r\n";
    EXPECT_EQ(expectSameAsOneText(write(head + stray + tail)), 1);
    // A text that is not well-formed near its end, or only after its body; a Windows-1252 byte
    // in a later piece, for which the file is read again, decoded.
    expectSameAsOneText(write(head + rows + rows + "        <var></if>\r\n" + rows + tail));
    expectSameAsOneText(
        write(head + rows + rows + "        <var name=\"caf\xE9\" />\r\n" + rows + tail));
    expectSameAsOneText(write(head + rows + rows + tail + "<after/>\r\n"));
    // A document type may give elements attributes, which the later pieces would not know.
    const QByteArray typed = "<!DOCTYPE zml [<!ATTLIST var value CDATA \"given\">]>\r\n";
    EXPECT_EQ(expectSameAsOneText(write(typed + head + rows + rows + tail)), 1);
    // A text that is not a script.
    expectSameAsOneText(write("<zml version=\"2.0\">\r\n    <zmlhead />\r\n    <zmlbody>\r\n" +
                              rows + rows + tail));
}

TEST(ZmlPiecesPlanTest, CutsAtRowsIndentedAsTheFirstRow)
{
    EXPECT_EQ(ZmlPieces::lineBreaks("a\r\nb\rc\nd\r", 10), 4);
    QByteArray text = "<zml version=\"1.0\">\r\n  <zmlhead/>\r\n  <zmlbody a=\"\r\n\">\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "    <var/>\r\n      <var/>\r\n    <else/>\r\n    <!-- c -->\r\n";
    text += "  </zmlbody>\r\n</zml>\r\n";
    const ZmlPieces::Plan plan = ZmlPieces::plan(text, 4);
    EXPECT_EQ(plan.prefix, "<zml version=\"1.0\"><zmlbody a=\"\r\n\">\n");
    EXPECT_EQ(plan.prefixLines, 2);
    ASSERT_EQ(plan.starts.size(), 3U);
    for (qint64 start : plan.starts)
        EXPECT_EQ(text.mid(start, 11), "    <var/>\r");
    EXPECT_TRUE(std::is_sorted(plan.starts.begin(), plan.starts.end()));

    EXPECT_FALSE(ZmlPieces::plan(text, 1).split());
    EXPECT_FALSE(ZmlPieces::plan("<!DOCTYPE zml>" + text, 4).split());
    EXPECT_FALSE(ZmlPieces::plan(QByteArray(70000, ' ') + text, 4).split()); // the body is far
    QByteArray oneLine = text;
    oneLine.replace("\r\n", "");
    EXPECT_FALSE(ZmlPieces::plan(oneLine, 4).split());
}

class NoEvents final : public XmlEventHandler {
    void startElement(std::string_view, const Attribute *, int, bool) override {}
    void endElement() override {}
    void characters(XmlNodeType, std::string_view, std::string_view) override {}
};

TEST(XmlEventParserPartTest, APartEndsBetweenNodesOnlyWithEverythingTaken)
{
    NoEvents events;
    XmlEventParser parser(&events);
    const auto part = [&parser](const char *text, int depth) {
        return parser.parsePart(ZmlPieces::source(text)) && parser.partEndsBetweenNodes(depth);
    };
    EXPECT_TRUE(part("<a><b>\n<c/>\n", 2));
    EXPECT_FALSE(part("<a><b>\n<c/>\n", 3));
    EXPECT_FALSE(part("<a><b>\n<!-- <c/>\n", 2));
    EXPECT_FALSE(part("<a><b>\n<![CDATA[ <c/>\n", 2));
    EXPECT_FALSE(part("<a><b>\n<c x='\n", 2));
    EXPECT_FALSE(part("<a><b>\ntext\n", 2));
    EXPECT_FALSE(part("<a><b>\n&#32;\n", 2)); // a blank written as a reference is text
    EXPECT_FALSE(part("<a><b>\n<?pi \n", 2));

    ASSERT_TRUE(part("<a><b>\n", 2));
    EXPECT_TRUE(parser.parseMore(ZmlPieces::source("<c/>\n"), false));
    EXPECT_TRUE(parser.partEndsBetweenNodes(2));
    EXPECT_FALSE(parser.parseMore(ZmlPieces::source("</b>"), true)); // <a> left open
    EXPECT_FALSE(parser.parseMore(ZmlPieces::source("</a>"), true)); // failed before
    ASSERT_TRUE(part("<a><b>\n", 2));
    EXPECT_TRUE(parser.parseMore(ZmlPieces::source("<c/>\n</b>", "</a>"), true));
}

} // namespace
