#include "core/zml/ZmlReader.h"
#include "core/zml/BlockFault.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/zml/XmlTree.h"
#include "core/zml/ZmlWriter.h"

#include "support/MessageRecorder.h"
#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

class ZmlReaderTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(doc.Catalogue()); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    // Writes a file of the given body lines (inside a valid root, header and body).
    QString file(const QByteArray &body, const QString &name = QStringLiteral("t.zml"))
    {
        const QByteArray text = "<zml version=\"1.0\" edition=\"Tessaro\">\r\n<zmlhead>"
                                "<version>1.0</version></zmlhead>\r\n<zmlbody>\r\n" +
                                body + "\r\n</zmlbody>\r\n</zml>\r\n";
        EXPECT_TRUE(WriteBytes(path(name), text));
        return path(name);
    }
    QString raw(const QByteArray &text, const QString &name = QStringLiteral("r.zml"))
    {
        EXPECT_TRUE(WriteBytes(path(name), text));
        return path(name);
    }
    std::vector<int> depths() const
    {
        std::vector<int> out;
        for (int r = 0; r < doc.RowCount(); ++r)
            out.push_back(doc.Rows()->depth(r));
        return out;
    }
    QStringList names() const
    {
        QStringList out;
        for (int r = 0; r < doc.RowCount(); ++r)
            out << (doc.Step(r)->IsComment ? QStringLiteral("#") : doc.Step(r)->ElementName);
        return out;
    }

    CDocument doc;
    StepMaker steps{doc};
    QTemporaryDir dir;
    MessageRecorder messages;
};

QString withPath(const char *text, const QString &path)
{
    return QString::fromLatin1(text) + "\r\n'" + path + "'";
}

} // namespace

TEST_F(ZmlReaderTest, OpensHeaderAndStepsAndSignalsTheWindow)
{
    QSignalSpy started(&doc, &CDocument::loadingStarted);
    QSignalSpy finished(&doc, &CDocument::loadingFinished);
    steps.append("var"); // replaced by the opened file
    doc.SetDirty(true);
    const QString p = raw("<zml version=\"1.0\" edition=\"x\">\r\n<zmlhead>\r\n"
                          "<author>A &amp;amp; B</author><company>C&#10;D</company>"
                          "<web>w</web><email>e</email><version>2.5</version>"
                          "<description>d<!-- c -->e</description><author>Z</author>"
                          "</zmlhead>\r\n<zmlbody>\r\n"
                          "  <var name=\"n\" value=\"&#160;&#160;x&amp;#10;\" />\r\n"
                          "</zmlbody></zml>");
    ASSERT_TRUE(OpenReported(doc, p));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(doc.Header().Author, "Z"); // a repeated element overwrites
    EXPECT_EQ(doc.Header().Company, "C\r\nD");
    EXPECT_EQ(doc.Header().Web, "w");
    EXPECT_EQ(doc.Header().EMail, "e");
    EXPECT_EQ(doc.Header().Version, "2.5");
    EXPECT_EQ(doc.Header().Description, "de");
    ASSERT_EQ(doc.RowCount(), 1);
    const auto var = doc.Step(0);
    // One XML unescaping, then DecodeText: &#160; stays a no-break space, &amp;#10; a break.
    EXPECT_EQ(var->Attributes().Item("value")->Value, QString(QChar(0xA0)) + QChar(0xA0) + "x\r\n");
    EXPECT_EQ(doc.FileName(), p);
    EXPECT_FALSE(doc.Dirty());
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(ZmlReaderTest, EveryRefusalHasItsMessageAndKeepsTheDocument)
{
    steps.append("var", {{"name", "kept"}});
    doc.SetFileName(path("old.zml"));
    const auto expectRefused = [&](const QString &p, const QString &message) {
        messages.clear();
        doc.SetDirty(true);
        EXPECT_FALSE(OpenReported(doc, p));
        EXPECT_EQ(messages.texts(), QStringList{message}) << p.toStdString();
        ASSERT_FALSE(messages.messages().isEmpty());
        EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
        EXPECT_EQ(doc.RowCount(), 1);
        EXPECT_EQ(doc.FileName(), path("old.zml"));
        EXPECT_FALSE(doc.Dirty()); // the open document counts as unchanged from the start
    };

    expectRefused(path("none.zml"), "Can't find the file '" + path("none.zml") + "'");
    // A missing file has a status of its own: the window drops it from the recent files.
    EXPECT_EQ(OpenDocument(doc, path("none.zml")).status, OpenResult::Status::Missing);

    ASSERT_TRUE(QDir(dir.path()).mkdir("dir.zml"));
    expectRefused(path("dir.zml"),
                  "Can't open the file '" + path("dir.zml") +
                      "'\r\nCheck that you have the correct permission to access it");
    EXPECT_EQ(OpenDocument(doc, path("dir.zml")).status, OpenResult::Status::Unreadable);

    QString p = raw("<zml version=\"1.0\"><zmlhead>", "a.zml");
    expectRefused(p, withPath("This file is corrupt or not a valid ZML file", p));
    p = raw("", "empty.zml");
    expectRefused(p, withPath("This file is corrupt or not a valid ZML file", p));
    p = raw("<ZML version=\"1.0\"><zmlhead/><zmlbody/></ZML>", "b.zml");
    expectRefused(p, withPath("This file is not a valid ZML document", p));
    p = raw("<zml version=\"2.0\"><zmlhead/><zmlbody/></zml>", "c.zml");
    expectRefused(p, withPath("The file has an invalid or unsupported version number", p));
    p = raw("<zml edition=\"Tessaro\"><zmlhead/><zmlbody/></zml>", "d.zml");
    expectRefused(p, withPath("The file has an invalid or unsupported version number", p));
    p = raw("<zml version=\"1.0\">text<!-- c --></zml>", "e.zml");
    expectRefused(p, withPath("File doesn't contain a valid header", p));
    p = raw("<zml version=\"1.0\"><zmlbody/><zmlhead/></zml>", "f.zml");
    expectRefused(p, withPath("File doesn't contain a valid header", p));
    p = raw("<zml version=\"1.0\"><zmlhead><version>1</version></zmlhead></zml>", "g.zml");
    expectRefused(p, withPath("File doesn't contain a valid body", p));
    p = raw("<zml version=\"1.0\"><zmlhead><version>1</version></zmlhead><ZMLBODY/></zml>",
            "h.zml");
    expectRefused(p, withPath("File doesn't contain a valid body", p));
    // Entity declarations are refused: no expansion blow-up, no external entities.
    p = raw("<!DOCTYPE zml [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
            "<zml version=\"1.0\"><zmlhead><author>&b;</author></zmlhead><zmlbody/></zml>",
            "i.zml");
    expectRefused(p, withPath("This file is corrupt or not a valid ZML file", p));
    p = raw("<!DOCTYPE zml [<!ENTITY e SYSTEM \"/etc/passwd\">]>"
            "<zml version=\"1.0\"><zmlhead><author>&e;</author></zmlhead><zmlbody/></zml>",
            "j.zml");
    expectRefused(p, withPath("This file is corrupt or not a valid ZML file", p));
}

TEST_F(ZmlReaderTest, HeaderInformationMessagesDoNotStopReading)
{
    const QString p = raw("<zml version=\"1.0\"><zmlhead><author>a</author><Version>2</Version>"
                          "<extra/></zmlhead><zmlbody><var name=\"x\"/></zmlbody></zml>");
    ASSERT_TRUE(OpenReported(doc, p));
    EXPECT_EQ(messages.texts(), (QStringList{"Unsupported element found in the header 'Version'\r\n"
                                             "This element will be removed when you save the file",
                                             "Unsupported element found in the header 'extra'\r\n"
                                             "This element will be removed when you save the file",
                                             "File version is missing. Inserting 1.0"}));
    for (const auto &m : messages.messages())
        EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(doc.Header().Version, "1.0");
    EXPECT_EQ(doc.Header().Author, "a");
    EXPECT_EQ(doc.RowCount(), 1);
}

TEST_F(ZmlReaderTest, NestedAndFlatFormsGiveTheSameRowsAndDepths)
{
    ASSERT_TRUE(OpenReported(doc, file("<loop count=\"1\"><if cond=\"c\"><var name=\"a\"/>"
                                       "<else/><var name=\"b\"/></if></loop><var name=\"z\"/>")));
    const QStringList nestedNames = names();
    const std::vector<int> nestedDepths = depths();
    EXPECT_EQ(nestedNames,
              (QStringList{"loop", "if", "var", "else", "var", "endif", "endloop", "var"}));
    EXPECT_EQ(nestedDepths, (std::vector<int>{0, 1, 2, 1, 2, 1, 0, 0}));

    ASSERT_TRUE(OpenReported(doc, file("<loop count=\"1\"/><if cond=\"c\"/><var name=\"a\"/>"
                                       "<else/><var name=\"b\"/><endif/><endloop/>"
                                       "<var name=\"z\"/>")));
    EXPECT_EQ(names(), nestedNames);
    EXPECT_EQ(depths(), nestedDepths);
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(ZmlReaderTest, ElseAndClosersNeverGoBelowZero)
{
    ASSERT_TRUE(OpenReported(doc, file("<else/><var/><endif/><endloop/><var/>")));
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(ZmlReaderTest, EmptyBlockWrittenWithTwoTagsGetsItsClosingRow)
{
    ASSERT_TRUE(OpenReported(doc, file("<if cond=\"a\">\r\n    </if><loop count=\"2\"></loop>"
                                       "<var/>")));
    EXPECT_EQ(names(), (QStringList{"if", "endif", "loop", "endloop", "var"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 0, 0, 0}));
    // The self-closing form stays flat.
    ASSERT_TRUE(OpenReported(doc, file("<if cond=\"a\" /><var/>")));
    EXPECT_EQ(names(), (QStringList{"if", "var"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 1}));
}

TEST_F(ZmlReaderTest, BlocksReadTheSameAcrossReadPiecesAndFromATree)
{
    // The file reaches the parser in pieces of 1 MiB: tags across two pieces keep their form.
    const QByteArray blocks = "<if cond=\"a\" /><var/><endif/><loop count=\"2\"></loop>"
                              "<saytext title=\"t\">hi</saytext><!-- c -->";
    const QByteArray prefix = "<zml version=\"1.0\">\r\n<zmlhead><version>1.0</version>"
                              "</zmlhead>\r\n<zmlbody>\r\n";
    for (int before : {2, 9, 14, 30}) {
        const QByteArray filler(int((1 << 20) - prefix.size() - before), ' ');
        ASSERT_TRUE(
            OpenReported(doc, raw(prefix + filler + blocks + "\r\n</zmlbody>\r\n</zml>\r\n")));
        EXPECT_EQ(names(), (QStringList{"if", "var", "endif", "loop", "endloop", "saytext", "#"}))
            << before;
        EXPECT_EQ(depths(), (std::vector<int>{0, 1, 0, 0, 0, 0, 0})) << before;
        EXPECT_EQ(doc.Step(5)->Text, "hi") << before;
    }

    // A body handed over as a tree gives the same rows as the file, whose steps are built in
    // batches on another thread while it is parsed.
    QByteArray tricky;
    for (int i = 0; i < 1500; ++i) {
        tricky += "<var name=\"a&amp;amp;b" + QByteArray::number(i) +
                  "\"/><if cond=\"x\"><else/><unknown><var/></unknown><!-- n --></if>"
                  "<msgbox>t<!-- split --></msgbox><saytext title=\"s\">a &lt; b</saytext>"
                  "<endif><var/></endif><if cond=\"f\" /><!-- <var name=\"d\" value=\"\" /> -->"
                  "<saytext title=\"t\">line</saytext><endif />";
    }
    ASSERT_TRUE(OpenReported(doc, file(tricky)));
    std::vector<int> fileDepths = depths();
    QStringList fileTexts;
    for (int r = 0; r < doc.RowCount(); ++r)
        fileTexts << doc.Rows()->rowText(r);
    XmlTree tree;
    ASSERT_TRUE(tree.parseUtf8("<zmlbody>" + tricky + "</zmlbody>"));
    CDocument other;
    FillTestCatalogue(other.Catalogue());
    EXPECT_EQ(ParseBody(other, tree.root(), 0, -1), doc.RowCount());
    QStringList treeTexts;
    std::vector<int> treeDepths;
    for (int r = 0; r < other.RowCount(); ++r) {
        treeTexts << other.Rows()->rowText(r);
        treeDepths.push_back(other.Rows()->depth(r));
    }
    EXPECT_EQ(treeTexts, fileTexts);
    EXPECT_EQ(treeDepths, fileDepths);
}

TEST_F(ZmlReaderTest, StepsReadBeforeTheTextHadToBeDecodedAreNotKeptTwice)
{
    // A byte invalid in UTF-8 after the body: the body's steps were read once before the
    // text had to be decoded and read again.
    QByteArray body;
    for (int i = 0; i < 5000; ++i)
        body += "<var name=\"v" + QByteArray::number(i) + "\" />\r\n";
    ASSERT_TRUE(OpenReported(doc, raw("<zml version=\"1.0\"><zmlhead><version>1.0</version>"
                                      "</zmlhead><zmlbody>" +
                                      body + "</zmlbody><!-- caf\xE9 --></zml>")));
    ASSERT_EQ(doc.RowCount(), 5000);
    EXPECT_EQ(doc.Step(4999)->Attributes().Item("name")->Value, "v4999");
}

TEST_F(ZmlReaderTest, UpperCaseLoopIsFoundButGetsNoBlockRules)
{
    ASSERT_TRUE(OpenReported(doc, file("<LOOP count=\"2\"><var/></LOOP><LOOP/><var/>")));
    EXPECT_EQ(names(), (QStringList{"loop", "var", "loop", "var"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 1, 0, 0}));
}

TEST_F(ZmlReaderTest, CommentsUnknownNodesAttributesAndText)
{
    ASSERT_TRUE(OpenReported(
        doc, file("<!--\r\nfirst\r\nsecond\r\n-->\r\n<!--keep\r\n-->\r\n<unknown><var/></unknown>"
                  "stray text<var name=\"n\" bogus=\"1\" NAME=\"m\"/>"
                  "<saytext title=\"t\">a &amp;lt; b&#10;c</saytext>"
                  "<saytext>one<!-- two --></saytext><?var x?><![CDATA[<var/>]]>")));
    EXPECT_EQ(names(), (QStringList{"#", "#", "var", "saytext", "saytext", "#"}));
    EXPECT_EQ(doc.Step(0)->Text, "first\r\nsecond");
    EXPECT_EQ(doc.Step(1)->Text, "keep\r\n"); // no leading break: the trailing one stays
    // Attribute names match ignoring case; the later one wins; unknown ones are dropped.
    EXPECT_EQ(doc.Step(2)->Attributes().Item("name")->Value, "m");
    EXPECT_EQ(doc.Step(2)->Attributes().Count(), 2);
    // Text content goes back to markup before DecodeText: a typed "&lt;" survives.
    EXPECT_EQ(doc.Step(3)->Text, "a &lt; b\r\nc");
    // More than one child: no text, and the comment child becomes a step one level deeper.
    EXPECT_EQ(doc.Step(4)->Text, "");
    EXPECT_EQ(doc.Rows()->depth(5), 1);
    EXPECT_EQ(doc.Step(5)->Text, " two ");
}

TEST_F(ZmlReaderTest, MissingAttributesTakeTheLoadedValueNotThePreviousElements)
{
    doc.Catalogue().Item("var")->Attributes().Item("value")->Value = "initial";
    ASSERT_TRUE(OpenReported(doc, file("<var name=\"a\" value=\"set\"/><var name=\"b\"/>")));
    EXPECT_EQ(doc.Step(0)->Attributes().Item("value")->Value, "set");
    EXPECT_EQ(doc.Step(1)->Attributes().Item("value")->Value, "initial");
    EXPECT_EQ(doc.Catalogue().Item("var")->Attributes().Item("value")->Value, "initial");
}

TEST_F(ZmlReaderTest, DisabledStepsReadBackAsDisabledSteps)
{
    ASSERT_TRUE(OpenReported(doc, file("<if cond=\"c\"><!-- <var name=\"a\" value=\"\" /> -->"
                                       "<!-- <else /> --><!-- <var name=\"a\" /> -->"
                                       "<!-- <nope /> --><!-- <var name=\"a\" value=\"\"> -->"
                                       "<!-- <var name=\"b\" value=\"\" /> --></if>")));
    EXPECT_EQ(names(), (QStringList{"if", "var", "else", "#", "#", "#", "var", "endif"}));
    EXPECT_TRUE(doc.Step(1)->Disabled);
    EXPECT_TRUE(doc.Step(2)->Disabled);
    EXPECT_EQ(depths(), (std::vector<int>{0, 1, 0, 1, 1, 1, 1, 0}));
    // A comment that is not exactly a step's written form stays a comment.
    EXPECT_EQ(doc.Step(3)->Text, " <var name=\"a\" /> ");
    // One that is not well-formed too, and the next disabled step is still recognised.
    EXPECT_EQ(doc.Step(5)->Text, " <var name=\"a\" value=\"\"> ");
    EXPECT_TRUE(doc.Step(6)->Disabled);
    EXPECT_EQ(doc.Step(6)->Attributes().Item("name")->Value, "b");

    // End tags cannot be disabled: their forms in comments stay comments, so a file that lacks
    // its end tag is still refused.
    ASSERT_TRUE(OpenReported(doc, file("<if cond=\"c\" /><!-- <endif /> -->"
                                       "<loop count=\"1\"><!-- <endloop /> --></loop>")));
    EXPECT_EQ(names(), (QStringList{"if", "#", "loop", "#", "endloop"}));
    EXPECT_EQ(doc.Step(1)->Text, " <endif /> ");
    EXPECT_EQ(doc.Step(3)->Text, " <endloop /> ");
    EXPECT_FALSE(SaveReported(doc, path("saved.zml"), false));
    EXPECT_EQ(messages.texts().value(0),
              "If without End If or Loop without End Loop. Save action aborted.");
}

TEST_F(ZmlReaderTest, WriteReadWriteGivesTheSameBytes)
{
    doc.Header().Author = "Ann <x> & co";
    doc.Header().Description = "two\r\nlines";
    // Values made only of tabs and line breaks are written as references and are values.
    doc.Header().Web = "\t";
    doc.Header().EMail = "\r\n\t";
    steps.append("var", {{"name", "n"}, {"value", "\"q\" & 'a'\ttab"}});
    steps.comment("multi\r\nline comment");
    steps.append("if", {{"cond", "a b"}});
    steps.append("endif");
    steps.append("loop", {{"count", "3"}});
    steps.append("saytext", {{"title", "x"}}, "text & <b>\r\nnext", true);
    steps.append("if");
    steps.append("saytext", {{"title", ""}}, "line");
    steps.append("else");
    steps.append("else", {}, {}, true);
    steps.append("endif");
    steps.append("endloop");
    steps.append("range", {{"name", "r"}}, {}, true);
    steps.append("saytext", {{"title", "\t"}}, "\r\n");
    steps.append("saytext", {{"title", ""}}, "\t\t", true);
    // Disabled openers without their closers: the rows after them stay one level deeper.
    steps.append("loop", {{"count", "2"}}, {}, true);
    steps.append("if", {{"cond", "d"}}, {}, true);
    steps.append("var", {{"name", "inner"}});
    ASSERT_TRUE(SaveReported(doc, path("one.zml"), false));
    const QByteArray first = ReadBytes(path("one.zml"));
    const QStringList firstNames = names();

    CDocument other;
    FillTestCatalogue(other.Catalogue());
    ASSERT_TRUE(OpenReported(other, path("one.zml")));
    ASSERT_EQ(other.RowCount(), doc.RowCount());
    for (int r = 0; r < doc.RowCount(); ++r) {
        EXPECT_EQ(other.Rows()->rowText(r), doc.Rows()->rowText(r)) << r;
        EXPECT_EQ(other.Rows()->depth(r), doc.Rows()->depth(r)) << r;
        EXPECT_EQ(other.Step(r)->Disabled, doc.Step(r)->Disabled) << r;
        EXPECT_EQ(other.Step(r)->Text, doc.Step(r)->Text) << r;
    }
    EXPECT_EQ(other.Header().Web, "\t");
    EXPECT_EQ(other.Header().EMail, "\r\n\t");
    EXPECT_EQ(other.Step(13)->Attributes().Item("title")->Value, "\t");
    EXPECT_EQ(other.Rows()->depth(17), 2);
    ASSERT_TRUE(SaveReported(other, path("two.zml"), false));
    EXPECT_EQ(ReadBytes(path("two.zml")).toStdString(), first.toStdString());
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(firstNames.size(), other.RowCount());
}

TEST_F(ZmlReaderTest, DisabledStepsWithSpacesWrittenAsReferencesStayDisabledSteps)
{
    // The comment of a disabled step holds "&#160;" where the step read back has U+00A0; it is
    // still the step's own form, so the step is restored, not turned into a comment.
    steps.append("saytext", {{"title", "  indented"}}, "two  spaces", true);
    steps.append("var", {{"name", " v"}, {"value", "1"}}, {}, true);
    ASSERT_TRUE(SaveReported(doc, path("one.zml"), false));
    ASSERT_TRUE(ReadBytes(path("one.zml")).contains("&#160;&#160;indented"));
    ASSERT_TRUE(OpenReported(doc, path("one.zml")));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(names(), (QStringList{"saytext", "var"}));
    for (int r = 0; r < doc.RowCount(); ++r) {
        EXPECT_TRUE(doc.Step(r)->Disabled) << r;
        EXPECT_FALSE(doc.Step(r)->IsComment) << r;
    }
    const QString nbsp(QChar(0xA0));
    EXPECT_EQ(doc.Step(0)->Attributes().Item("title")->Value, nbsp + nbsp + "indented");
    EXPECT_EQ(doc.Step(0)->Text, "two " + nbsp + "spaces");
    // Saved again, the file keeps its bytes from then on.
    ASSERT_TRUE(SaveReported(doc, path("two.zml"), false));
    ASSERT_TRUE(OpenReported(doc, path("two.zml")));
    EXPECT_EQ(names(), (QStringList{"saytext", "var"}));
    EXPECT_TRUE(doc.Step(1)->Disabled);
    ASSERT_TRUE(SaveReported(doc, path("three.zml"), false));
    EXPECT_EQ(ReadBytes(path("three.zml")), ReadBytes(path("two.zml")));
}

TEST_F(ZmlReaderTest, SpacesWrittenAsReferencesComeBackAsNoBreakSpaces)
{
    steps.append("var", {{"name", "  x"}});
    ASSERT_TRUE(SaveReported(doc, path("one.zml"), false));
    EXPECT_TRUE(ReadBytes(path("one.zml")).contains("name=\"&#160;&#160;x\""));
    ASSERT_TRUE(OpenReported(doc, path("one.zml")));
    const QString nbsp(QChar(0xA0));
    EXPECT_EQ(doc.Step(0)->Attributes().Item("name")->Value, nbsp + nbsp + "x");
    // From then on the file keeps the same bytes.
    ASSERT_TRUE(SaveReported(doc, path("two.zml"), false));
    ASSERT_TRUE(OpenReported(doc, path("two.zml")));
    ASSERT_TRUE(SaveReported(doc, path("three.zml"), false));
    EXPECT_EQ(ReadBytes(path("three.zml")), ReadBytes(path("two.zml")));
}

TEST_F(ZmlReaderTest, Windows1252BytesAreReadInUtf8Files)
{
    // "é" as UTF-8 and as a lone Windows-1252 byte, and the euro sign 0x80.
    ASSERT_TRUE(OpenReported(doc, raw("<zml version=\"1.0\"><zmlhead><author>\xC3\xA9 \xE9\x80"
                                      "</author><version>1.0</version></zmlhead>"
                                      "<zmlbody><var name=\"\x93q\x94\"/></zmlbody></zml>")));
    EXPECT_EQ(doc.Header().Author, QString::fromUtf8("é é€"));
    EXPECT_EQ(doc.Step(0)->Attributes().Item("name")->Value, QString::fromUtf8("“q”"));
}

TEST_F(ZmlReaderTest, DeepNestingReadsWithoutRecursion)
{
    // 100 000 nested blocks: as deep as the writer may have saved them, read without recursion.
    QByteArray body;
    const int levels = 100000;
    body.reserve(levels * 32);
    for (int i = 0; i < levels; ++i)
        body += "<if cond=\"x\">";
    for (int i = 0; i < levels; ++i)
        body += "</if>";
    ASSERT_TRUE(OpenReported(doc, file(body)));
    EXPECT_TRUE(messages.texts().isEmpty());
    ASSERT_EQ(doc.RowCount(), 2 * levels);
    EXPECT_EQ(doc.Rows()->depth(levels - 1), levels - 1);
    EXPECT_EQ(doc.Step(levels)->ElementName, "endif");
    EXPECT_EQ(doc.Rows()->depth(levels), levels - 1);
    EXPECT_EQ(doc.Rows()->depth(2 * levels - 1), 0);
}

TEST_F(ZmlReaderTest, FragmentsInsertAtAPositionInOneBlock)
{
    steps.append("var", {{"name", "first"}});
    steps.append("var", {{"name", "last"}});
    QSignalSpy block(&doc, &CDocument::stepsInserted);
    EXPECT_EQ(InsertXmlFragment(doc,
                                "<zmlclip>\r\n<if cond=\"a\"><range/></if><bogus/>"
                                "<var name=\"mid\"/>\r\n</zmlclip>",
                                1),
              4);
    ASSERT_EQ(block.count(), 1);
    EXPECT_EQ(names(), (QStringList{"var", "if", "range", "endif", "var", "var"}));
    EXPECT_EQ(doc.Step(4)->Attributes().Item("name")->Value, "mid");
    EXPECT_EQ(doc.Step(5)->Attributes().Item("name")->Value, "last");
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 1, 0, 0, 0}));

    messages.clear();
    EXPECT_EQ(InsertXmlFragment(doc, "<zmlclip><var></zmlclip>", 0), 0);
    EXPECT_EQ(InsertXmlFragment(doc, "<zmlclip>text only</zmlclip>", -1), 0);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(doc.RowCount(), 6);
}

TEST_F(ZmlReaderTest, PasteInsertsClipboardTextBeforeTheSelectionOrAtTheEnd)
{
    steps.append("var", {{"name", "first"}});
    steps.append("var", {{"name", "last"}});
    // Copied text holds blocks in nested form and may have any line ends.
    const QString copied = "<if cond=\"a\">\n<range name=\"r\" />\r</if>\r\n";
    ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(doc, copied, 1);
    EXPECT_EQ(pasted.first, 1);
    EXPECT_EQ(pasted.last, 3);
    EXPECT_EQ(pasted.count, 3);
    EXPECT_EQ(names(), (QStringList{"var", "if", "range", "endif", "var"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 1, 0, 0}));

    pasted = ClipboardText::PasteSteps(doc, "<var name=\"end\" />", -1);
    EXPECT_EQ(pasted.first, 5);
    EXPECT_EQ(pasted.last, 5);
    EXPECT_EQ(doc.Step(5)->Attributes().Item("name")->Value, "end");

    // Text that is not well-formed, or holds no step, changes nothing and says nothing.
    for (const char *text : {"<var name=\"x\">", "<var /></range>", "plain words", ""}) {
        pasted = ClipboardText::PasteSteps(doc, text, 0);
        EXPECT_EQ(pasted.count, 0) << text;
        EXPECT_EQ(pasted.first, -1) << text;
        EXPECT_EQ(pasted.last, -1) << text;
    }
    EXPECT_EQ(doc.RowCount(), 6);
    EXPECT_TRUE(messages.messages().isEmpty());
}

TEST_F(ZmlReaderTest, CopiedDisabledBlocksPasteBackAsTheSameDisabledSteps)
{
    steps.append("loop", {{"count", "2"}}, {}, true);
    steps.append("if", {{"cond", "a"}}, {}, true);
    steps.append("saytext", {{"title", "t"}}, "hi");
    steps.append("endif", {}, {}, true);
    steps.append("endloop");
    std::vector<int> all(static_cast<std::size_t>(doc.RowCount()));
    for (int r = 0; r < doc.RowCount(); ++r)
        all[static_cast<std::size_t>(r)] = r;
    QStringList texts;
    for (int r = 0; r < doc.RowCount(); ++r)
        texts.append(doc.Rows()->rowText(r));
    const std::vector<int> copiedDepths = depths();
    ASSERT_EQ(copiedDepths, (std::vector<int>{0, 1, 2, 1, 0}));
    const QString copied = ClipboardText::CopyText(*doc.Rows(), all);

    // Pasted again and again, the rows stay the same disabled steps.
    for (int round = 0; round < 2; ++round) {
        CDocument pasted;
        FillTestCatalogue(pasted.Catalogue());
        ASSERT_EQ(ClipboardText::PasteSteps(pasted, copied, -1).count, 5);
        QStringList again;
        for (int r = 0; r < pasted.RowCount(); ++r)
            again.append(pasted.Rows()->rowText(r));
        EXPECT_EQ(again, texts);
        for (int r = 0; r < pasted.RowCount(); ++r)
            EXPECT_EQ(pasted.Rows()->depth(r), copiedDepths[static_cast<std::size_t>(r)]) << r;
        EXPECT_FALSE(pasted.Step(0)->IsComment);
        EXPECT_TRUE(pasted.Step(0)->Disabled);
        EXPECT_EQ(pasted.Step(1)->ElementName, "if");
        EXPECT_TRUE(pasted.Step(1)->Disabled);
    }
}

// Blank runs are judged eight spaces at a time: any length of them, with tabs and line breaks
// anywhere, is dropped, and text that begins after them is kept whole.
TEST(XmlTreeTest, BlankRunsOfAnyLengthAreDroppedAndTextAfterThemIsKept)
{
    const QString spaces(17, QLatin1Char(' '));
    const QString text = spaces + QStringLiteral("x") + spaces;
    XmlTree tree;
    ASSERT_TRUE(tree.parse(QStringLiteral("<r>") + spaces + QStringLiteral("\t\r\n") + spaces +
                           QStringLiteral("<e/>") + text + QStringLiteral("<f/>") +
                           QString(8, QLatin1Char(' ')) + QStringLiteral("\n        \t</r>")));
    const XmlNode root = tree.root();
    ASSERT_EQ(root.childCount(), 3);
    EXPECT_EQ(root.firstChild().name(), "e");
    EXPECT_EQ(root.firstChild().nextSibling().text(), text);
    EXPECT_EQ(root.firstChild().nextSibling().nextSibling().name(), "f");
}

TEST(XmlTreeTest, KeepsCommentsDropsBlankTextAndTellsSelfClosingTags)
{
    XmlTree tree;
    ASSERT_TRUE(tree.parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"1 &lt; 2\" b='x'>"
                           "\r\n  <e/> <f></f>t&amp;u<!--c--><![CDATA[d]]><?p q?></r>"));
    const XmlNode root = tree.root();
    EXPECT_EQ(root.name(), "r");
    EXPECT_EQ(root.attribute("a"), "1 < 2");
    bool found = false;
    EXPECT_EQ(root.attribute("b", &found), "x");
    EXPECT_TRUE(found);
    root.attribute("c", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(root.childCount(), 6);
    XmlNode n = root.firstChild();
    EXPECT_TRUE(n.isSelfClosing());
    n = n.nextSibling();
    EXPECT_EQ(n.name(), "f");
    EXPECT_FALSE(n.isSelfClosing());
    EXPECT_FALSE(n.hasChildren());
    n = n.nextSibling();
    EXPECT_EQ(n.type(), XmlNode::Type::Text);
    EXPECT_EQ(n.text(), "t&u");
    EXPECT_EQ(n.markup(), "t&amp;u");
    n = n.nextSibling();
    EXPECT_EQ(n.type(), XmlNode::Type::Comment);
    EXPECT_EQ(n.text(), "c");
    n = n.nextSibling();
    EXPECT_EQ(n.type(), XmlNode::Type::CData);
    n = n.nextSibling();
    EXPECT_EQ(n.type(), XmlNode::Type::ProcessingInstruction);
    EXPECT_EQ(n.name(), "p");
    EXPECT_TRUE(n.nextSibling().isNull());
    EXPECT_EQ(root.innerText(), "t&ud");

    EXPECT_FALSE(tree.parse("<a><b></a>"));
    EXPECT_FALSE(tree.isValid());
    EXPECT_FALSE(tree.errorString().isEmpty());
    EXPECT_FALSE(XmlTree::isWellFormed("<a/><b/>"));
    EXPECT_FALSE(XmlTree::isWellFormed("<a><!-- x -- y --></a>"));
    EXPECT_FALSE(XmlTree::isWellFormed("<p:a/>")); // undeclared prefix
    EXPECT_TRUE(XmlTree::isWellFormed("<a>&#10;&lt;</a>"));
    // A reference the parser cannot resolve (its declaration would be in an external subset,
    // which is never read) is refused rather than dropped.
    EXPECT_FALSE(XmlTree::isWellFormed("<!DOCTYPE a SYSTEM \"a.dtd\"><a>&b;</a>"));
    EXPECT_FALSE(XmlTree::isWellFormed("<a x=\"1\" x=\"2\"/>"));

    // The text reaches the parser in pieces of 1 MiB: a tag across two pieces is still told
    // apart as self-closing or not.
    for (int before : {5, 3, 1}) {
        const QByteArray big = "<r>" + QByteArray((1 << 20) - before, ' ') + "<e/><f></f></r>";
        ASSERT_TRUE(tree.parseUtf8(big));
        EXPECT_TRUE(tree.root().firstChild().isSelfClosing()) << before;
        EXPECT_FALSE(tree.root().firstChild().nextSibling().isSelfClosing()) << before;
    }

    // Names keep the prefix they were written with; namespace declarations are not attributes.
    ASSERT_TRUE(tree.parse("<p:a xmlns:p=\"urn:p\" xmlns=\"urn:d\" p:x=\"1\" y=\"2\"><b/></p:a>"));
    EXPECT_EQ(tree.root().name(), "p:a");
    ASSERT_EQ(tree.root().attributeCount(), 2);
    EXPECT_EQ(tree.root().attributeName(0), "p:x");
    EXPECT_EQ(tree.root().attributeName(1), "y");
    EXPECT_EQ(tree.root().firstChild().name(), "b");
}

TEST_F(ZmlReaderTest, RefusalsTellThePlaceOfTheFault)
{
    struct Case {
        QByteArray text;
        OpenResult::Status status;
        TextPlace place;
    };
    const Case cases[] = {
        // The parser's own place: the name in the end tag that closes nothing open.
        {"<zml version=\"1.0\">\r\n<zmlhead>\r\n  </zmlbody>", OpenResult::Status::Corrupt, {3, 5}},
        // The element at fault: the root, the first and the second element inside it.
        {"\r\n  <zmx version=\"1.0\"/>", OpenResult::Status::NotZml, {2, 3}},
        {"<zml version=\"2.0\">\r\n<zmlhead/></zml>", OpenResult::Status::BadVersion, {1, 1}},
        {"<zml version=\"1.0\">\r\n <head/></zml>", OpenResult::Status::NoHeader, {2, 2}},
        {"<zml version=\"1.0\">\r\n<zmlhead/>\r\n<zmlbod/></zml>",
         OpenResult::Status::NoBody,
         {3, 1}},
    };
    for (const Case &c : cases) {
        const OpenResult result = OpenDocument(doc, raw(c.text));
        EXPECT_EQ(result.status, c.status) << c.text.constData();
        EXPECT_EQ(result.place.Line, c.place.Line) << c.text.constData();
        EXPECT_EQ(result.place.Column, c.place.Column) << c.text.constData();
    }
    EXPECT_FALSE(OpenDocument(doc, path("none.zml")).place.known());
}

// Each row knows where its element, comment or end tag is, also when unknown elements are
// dropped and after the text had to be decoded again (a byte invalid in UTF-8 at the end).
TEST_F(ZmlReaderTest, RowsKnowTheirPlaceInTheFile)
{
    const QByteArray body = "<var/>\r\n  <unknown><var/></unknown><!--c-->\r\n"
                            "<loop count=\"1\">\r\n <var/>\r\n   </loop>\r\n"
                            "<saytext>one<!-- two --></saytext>";
    for (const QByteArray &after : {QByteArray(), QByteArray("<!-- caf\xE9 -->")}) {
        QByteArray text = ReadBytes(file(body));
        text.replace("</zml>", after + "</zml>");
        const OpenResult result = OpenDocument(doc, raw(text));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(names(), (QStringList{"var", "#", "loop", "var", "endloop", "saytext", "#"}));
        const std::vector<TextPlace> expected{{4, 1}, {5, 28}, {6, 1}, {7, 2},
                                              {8, 4}, {9, 1},  {9, 13}};
        EXPECT_EQ(result.rowPlaces, expected);
    }
}

// The row a failed block check points to: the text's place when it falls in a row, otherwise
// the innermost opener left open.
TEST_F(ZmlReaderTest, BlockFaultRowNamesTheStepAtFault)
{
    steps.append("var");
    steps.append("loop");
    steps.comment("a\r\nlong <endif> comment");
    steps.append("endloop");
    BlockCheck check = CheckBlocksAt(BuildDocumentUtf8(doc));
    EXPECT_EQ(check.Result, BlockCheckResult::StrayCloser);
    EXPECT_EQ(BlockFaultRow(doc, check), 2);

    doc.Step(2)->Text = QStringLiteral("a\r\nlong comment");
    steps.append("if");
    steps.append("var");
    check = CheckBlocksAt(BuildDocumentUtf8(doc));
    EXPECT_EQ(check.Result, BlockCheckResult::Unbalanced);
    EXPECT_EQ(BlockFaultRow(doc, check), 4);

    steps.append("endloop"); // crosses the if
    check = CheckBlocksAt(BuildDocumentUtf8(doc));
    EXPECT_EQ(BlockFaultRow(doc, check), 6);
    EXPECT_EQ(BlockFaultRow(doc, BlockCheck{}), -1);
}
