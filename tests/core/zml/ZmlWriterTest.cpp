#include "core/zml/ZmlWriter.h"

#include "core/document/CDocument.h"
#include "core/zml/XmlTree.h"
#include "core/zml/ZmlReader.h"

#include "support/MessageRecorder.h"
#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ZmlWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillTestCatalogue(doc.Catalogue());
        doc.Header().Author.clear();
        doc.Header().Company.clear();
    }
    void TearDown() override { SetSaveCommitHook({}); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    CDocument doc;
    StepMaker steps{doc};
    QTemporaryDir dir;
    MessageRecorder messages;
};

const QString kUnbalanced =
    QStringLiteral("If without End If or Loop without End Loop. Save action aborted.");
const QString kStray =
    QStringLiteral("End If without If or End Loop without Loop. Save action aborted.");

} // namespace

TEST_F(ZmlWriterTest, WorkedExampleComesOutByteForByte)
{
    doc.Header().Author = "Example Author";
    doc.Header().Company = "Example Company";
    doc.Header().Version = "1.0";
    doc.Header().Description = "Greets three times";
    steps.append("var", {{"name", "count"}, {"value", "3"}});
    steps.comment("Repeat the greeting");
    steps.append("loop", {{"count", "3"}});
    steps.append("saytext", {{"title", "Hi & bye"}}, "Line one\r\nLine two");
    steps.append("if", {{"cond", "count > 1"}});
    steps.append("saytext", {{"title", "skipped"}}, {}, true);
    steps.append("else");
    steps.append("saytext", {{"title", "  indented"}});
    steps.append("endif");
    steps.append("endloop");
    const std::vector<int> expectedDepths{0, 0, 0, 1, 1, 2, 1, 2, 1, 0};
    for (int r = 0; r < doc.RowCount(); ++r)
        ASSERT_EQ(doc.Rows()->depth(r), expectedDepths[std::size_t(r)]) << r;

    const QByteArray expected = CrLfLines({
        R"(<zml version="1.0" edition="Tessaro">)",
        R"(    <zmlhead>)",
        R"(        <author>Example Author</author>)",
        R"(        <company>Example Company</company>)",
        R"(        <web></web>)",
        R"(        <email></email>)",
        R"(        <version>1.0</version>)",
        R"(        <description>Greets three times</description>)",
        R"(    </zmlhead>)",
        R"(    <zmlbody>)",
        R"(        <var name="count" value="3" />)",
        R"(    <!--)",
        R"(Repeat the greeting)",
        R"(-->)",
        R"(        <loop count="3">)",
        R"(            <saytext title="Hi &amp; bye">Line one&#10;Line two</saytext>)",
        R"(            <if cond="count &gt; 1">)",
        R"(                <!-- <saytext title="skipped" /> -->)",
        R"(            <else />)",
        R"(                <saytext title="&#160;&#160;indented" />)",
        R"(            </if>)",
        R"(        </loop>)",
        R"(    </zmlbody>)",
        R"(</zml>)",
    });
    EXPECT_EQ(BuildDocumentText(doc).toUtf8() + "\r\n", expected);

    doc.SetDirty(true);
    ASSERT_TRUE(SaveReported(doc, path("example.zml"), false));
    EXPECT_EQ(ReadBytes(path("example.zml")), expected);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_FALSE(doc.Dirty());
}

TEST_F(ZmlWriterTest, EmptyScriptAndHeaderValues)
{
    doc.Header().Version = "1.0";
    doc.Header().Web = "<a href=\"x\">";
    doc.Header().EMail = "a\tb";
    EXPECT_EQ(BuildHeaderText(doc.Header()), QString::fromUtf8(CrLfLines({
                                                 "    <zmlhead>",
                                                 "        <author></author>",
                                                 "        <company></company>",
                                                 "        <web>&lt;a href=&quot;x&quot;&gt;</web>",
                                                 "        <email>a&#9;b</email>",
                                                 "        <version>1.0</version>",
                                                 "        <description></description>",
                                                 "    </zmlhead>",
                                             })));
    EXPECT_EQ(BuildBodyText(doc), "    <zmlbody>\r\n    </zmlbody>\r\n");
    EXPECT_TRUE(BuildDocumentText(doc).endsWith("    </zmlbody>\r\n</zml>"));
}

TEST_F(ZmlWriterTest, BlockRowsBecomeTagsAndOrdinaryRowsKeepTheirText)
{
    steps.append("if", {{"cond", "a"}});
    steps.append("endif");
    steps.append("loop", {{"count", "2"}});
    steps.append("else");
    steps.append("endloop");
    EXPECT_EQ(BuildBodyText(doc), QString::fromUtf8(CrLfLines({
                                      "    <zmlbody>",
                                      "        <if cond=\"a\">",
                                      "        </if>",
                                      "        <loop count=\"2\">",
                                      "        <else />",
                                      "        </loop>",
                                      "    </zmlbody>",
                                  })));
    // Depth only indents; a deep row keeps its form.
    doc.SetDepth(3, 4);
    EXPECT_TRUE(BuildBodyText(doc).contains("\r\n                        <else />\r\n"));
    // Indentation stops growing at 64 levels.
    doc.SetDepth(3, 64);
    const QString deepest = BuildBodyText(doc);
    doc.SetDepth(3, 5000);
    EXPECT_EQ(BuildBodyText(doc), deepest);
    EXPECT_TRUE(deepest.contains(QStringLiteral("\n") + QString(4 + 4 * 65, u' ') + "<else />"));
}

TEST_F(ZmlWriterTest, TheUtf8TextSaveWritesIsTheDocumentTextEncoded)
{
    doc.Header().Author = QString::fromUtf8("J\xC3\xBCrgen \xF0\x9F\x98\x80 & Co");
    steps.comment(QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                    "e\r\nline two"));
    steps.append("if", {{"cond", QString::fromUtf8("\xE2\x82\xAC < 5")}});
    steps.append("saytext", {{"title", QString(3000, u'\u00e9')}}, "text");
    steps.append("var", {{"name", QString(QChar(0xD800)) + "x" + QChar(0xDC00)}}); // lone halves
    steps.append("endif");
    doc.SetDepth(2, 300);
    QString text = BuildDocumentText(doc);
    // Halves of surrogate pairs without their partner become U+FFFD.
    text.replace(QChar(0xD800), QChar(0xFFFD)).replace(QChar(0xDC00), QChar(0xFFFD));
    EXPECT_EQ(BuildDocumentUtf8(doc), text.toUtf8());
    // Growth past the first estimate keeps every byte.
    EXPECT_GT(text.toUtf8().size(), 6000);
}

TEST_F(ZmlWriterTest, DisabledBlocksAndCommentsKeepTheirFileForm)
{
    steps.append("loop", {{"count", "2"}}, {}, true);
    steps.append("if", {{"cond", "x"}}, {}, true);
    steps.comment("a <if b=\"1\" /> c\r\nsecond");
    steps.append("saytext", {{"title", "t"}}, "say", true);
    steps.append("endif", {}, {}, true);
    steps.append("endloop");
    doc.SetDepth(1, 1);
    doc.SetDepth(2, 2);
    doc.SetDepth(3, 2);
    doc.SetDepth(4, 1);
    doc.SetDepth(5, 0);
    EXPECT_EQ(BuildBodyText(doc), QString::fromUtf8(CrLfLines({
                                      "    <zmlbody>",
                                      "        <!-- <loop count=\"2\" /> -->",
                                      "            <!-- <if cond=\"x\" /> -->",
                                      "    <!--",
                                      "a <if b=\"1\" /> c",
                                      "second",
                                      "-->",
                                      "                <!-- <saytext title=\"t\">say</saytext> -->",
                                      "            </if>",
                                      "        </loop>",
                                      "    </zmlbody>",
                                  })));
    EXPECT_EQ(BuildDocumentUtf8(doc), BuildDocumentText(doc).toUtf8());
}

TEST_F(ZmlWriterTest, AnUnpairedSurrogateEndingAValueIsReplacedWhereItStands)
{
    doc.Header().Author = QStringLiteral("a") + QChar(0xD83D);
    doc.Header().Company = QStringLiteral("b");
    steps.append("var", {{"name", QStringLiteral("n") + QChar(0xD83D)}, {"value", "v"}});
    QString text = BuildDocumentText(doc);
    text.replace(QChar(0xD83D), QChar(0xFFFD));
    const QByteArray utf8 = BuildDocumentUtf8(doc);
    EXPECT_EQ(utf8, text.toUtf8());
    EXPECT_TRUE(utf8.contains("<author>a\xEF\xBF\xBD</author>"));
}

TEST_F(ZmlWriterTest, ZmlNameRule)
{
    EXPECT_TRUE(CheckZmlName("a.zml"));
    EXPECT_TRUE(CheckZmlName("/x/demo.ZML"));
    EXPECT_FALSE(CheckZmlName("demo"));
    EXPECT_FALSE(CheckZmlName("demo.zmlx"));
    EXPECT_FALSE(CheckZmlName(""));

    ASSERT_TRUE(SaveReported(doc, path("demo"), true));
    EXPECT_EQ(doc.FileName(), path("demo.zml"));
    EXPECT_TRUE(QFile::exists(path("demo.zml")));
    ASSERT_TRUE(SaveReported(doc, path("kept.ZML"), true));
    EXPECT_EQ(doc.FileName(), path("kept.ZML"));
    // A name given by the program (not just chosen) is written as given.
    ASSERT_TRUE(SaveReported(doc, path("plain"), false));
    EXPECT_TRUE(QFile::exists(path("plain")));
}

TEST_F(ZmlWriterTest, BlockCheckRefusesUnbalancedScriptsWithTheFirstMessage)
{
    EXPECT_EQ(CheckBlocks(BuildDocumentText(doc)), BlockCheckResult::Ok);

    steps.append("if", {{"cond", "x"}});
    EXPECT_EQ(CheckBlocks(BuildDocumentText(doc)), BlockCheckResult::Unbalanced);
    doc.SetDirty(true);
    EXPECT_FALSE(SaveReported(doc, path("a.zml"), false));
    ASSERT_EQ(messages.texts(), QStringList{kUnbalanced});
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
    EXPECT_FALSE(QFile::exists(path("a.zml")));
    EXPECT_TRUE(doc.Dirty());
    EXPECT_TRUE(doc.FileName().isEmpty());

    // A disabled opener closed by its endif or endloop row is named in the message.
    for (const char *opener : {"if", "loop"}) {
        CDocument other;
        FillTestCatalogue(other.Catalogue());
        StepMaker s(other);
        s.append("var", {{"name", "a"}});
        s.append("loop", {{"count", "1"}});
        s.append(opener, {}, {}, true);
        s.append("var", {{"name", "b"}});
        s.append(QLatin1String(opener) == QLatin1String("if") ? "endif" : "endloop");
        s.append("endloop");
        messages.clear();
        EXPECT_FALSE(SaveReported(other, path("b.zml"), false));
        EXPECT_EQ(messages.texts(),
                  QStringList{QLatin1String(opener) == QLatin1String("if")
                                  ? "Step 3 is a disabled If, but its End If is still in the "
                                    "script. Enable the step or delete its End If. Save action "
                                    "aborted."
                                  : "Step 3 is a disabled Loop, but its End Loop is still in the "
                                    "script. Enable the step or delete its End Loop. Save action "
                                    "aborted."});
        EXPECT_FALSE(QFile::exists(path("b.zml")));
    }
}

TEST_F(ZmlWriterTest, BlockCheckCases)
{
    const auto check = [&](const std::function<void(StepMaker &)> &build) {
        CDocument other;
        FillTestCatalogue(other.Catalogue());
        StepMaker s(other);
        build(s);
        return CheckBlocks(BuildDocumentText(other));
    };
    EXPECT_EQ(check([](StepMaker &s) { s.append("endif"); }), BlockCheckResult::Unbalanced);
    EXPECT_EQ(check([](StepMaker &s) {
                  s.append("if");
                  s.append("endloop");
                  s.append("loop");
                  s.append("endif");
              }),
              BlockCheckResult::Unbalanced);
    EXPECT_EQ(check([](StepMaker &s) { s.comment("a -- b"); }), BlockCheckResult::Unbalanced);
    // A disabled if keeps its start tag inside the comment while its endif writes the end tag.
    EXPECT_EQ(check([](StepMaker &s) {
                  s.append("if", {}, {}, true);
                  s.append("endif");
              }),
              BlockCheckResult::Unbalanced);
    EXPECT_EQ(check([](StepMaker &s) { s.comment("see <EndIf here"); }),
              BlockCheckResult::StrayCloser);
    EXPECT_EQ(check([](StepMaker &s) { s.comment("<ENDLOOP"); }), BlockCheckResult::StrayCloser);
    // else outside any if is accepted.
    EXPECT_EQ(check([](StepMaker &s) { s.append("else"); }), BlockCheckResult::Ok);
    EXPECT_EQ(check([](StepMaker &s) {
                  s.append("loop");
                  s.append("if");
                  s.append("endif");
                  s.append("endloop");
              }),
              BlockCheckResult::Ok);
    EXPECT_EQ(BlockCheckMessage(BlockCheckResult::Unbalanced), kUnbalanced);
    EXPECT_EQ(BlockCheckMessage(BlockCheckResult::StrayCloser), kStray);
    EXPECT_TRUE(BlockCheckMessage(BlockCheckResult::Ok).isEmpty());
}

TEST_F(ZmlWriterTest, StrayCloserIsRefusedWithTheSecondMessage)
{
    steps.comment("<endloop");
    doc.SetDirty(true);
    EXPECT_FALSE(SaveReported(doc, path("b.zml"), false));
    EXPECT_EQ(messages.texts(), QStringList{kStray});
    EXPECT_FALSE(QFile::exists(path("b.zml")));
    EXPECT_TRUE(doc.Dirty());
}

TEST_F(ZmlWriterTest, SaveSetsFileNameBeforeWriting)
{
    QSignalSpy name(&doc, &CDocument::fileNameChanged);
    bool existedAtSignal = true;
    QObject::connect(&doc, &CDocument::fileNameChanged,
                     [&](const QString &p) { existedAtSignal = QFile::exists(p); });
    steps.append("var", {{"name", "é€"}});
    const SaveResult saved = SaveReported(doc, path("s.zml"), false);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.fileName, path("s.zml"));
    EXPECT_FALSE(existedAtSignal);
    EXPECT_EQ(name.count(), 1);
    EXPECT_EQ(doc.FileName(), path("s.zml"));
    // System code page (UTF-8 here), CR LF after every line and no byte order mark.
    const QByteArray bytes = ReadBytes(path("s.zml"));
    EXPECT_TRUE(bytes.startsWith("<zml "));
    EXPECT_TRUE(bytes.contains("<var name=\"\xC3\xA9\xE2\x82\xAC\" value=\"\" />\r\n"));
    EXPECT_TRUE(bytes.endsWith("</zml>\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

TEST_F(ZmlWriterTest, FailedWriteLeavesThePreviousFileIntact)
{
    const QByteArray old = "previous contents\r\n";
    ASSERT_TRUE(WriteBytes(path("keep.zml"), old));
    steps.append("var", {{"name", "x"}});
    doc.SetDirty(true);
    SetSaveCommitHook([](QSaveFile &file) {
        // The text was written to the save file; the failure comes before the commit.
        EXPECT_TRUE(file.isOpen());
        return false;
    });
    EXPECT_FALSE(SaveReported(doc, path("keep.zml"), false));
    EXPECT_EQ(
        messages.texts(),
        QStringList{"Can't save the file. Make sure the file and folder isn't write protected"});
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(ReadBytes(path("keep.zml")), old);
    EXPECT_TRUE(doc.Dirty());
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.zml"});

    SetSaveCommitHook({});
    messages.clear();
    ASSERT_TRUE(SaveReported(doc, path("keep.zml"), false));
    EXPECT_TRUE(ReadBytes(path("keep.zml")).contains("<var name=\"x\""));
    EXPECT_FALSE(doc.Dirty());
}

TEST_F(ZmlWriterTest, UnwritableTargetsReportTheSaveMessage)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.zml"));
    doc.SetDirty(true);
    EXPECT_FALSE(SaveReported(doc, path("folder.zml"), false));
    EXPECT_FALSE(SaveReported(doc, path("missing/x.zml"), false));
    EXPECT_EQ(messages.texts().size(), 2);
    for (const QString &text : messages.texts())
        EXPECT_EQ(text, SaveFailedMessage());
    EXPECT_TRUE(QFileInfo(path("folder.zml")).isDir());
    EXPECT_TRUE(doc.Dirty());
}

TEST_F(ZmlWriterTest, DevicesAndPipesAreRefusedAndLeftAsTheyAre)
{
    const QString fifo = path("pipe.zml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = path("link.zml");
    ASSERT_TRUE(QFile::link(fifo, link));
    doc.SetDirty(true);
    for (const QString &target : {fifo, link}) {
        messages.clear();
        EXPECT_FALSE(SaveReported(doc, target, false));
        EXPECT_EQ(messages.texts(), QStringList{SpecialFileSaveMessage(target)});
        EXPECT_TRUE(doc.FileName().isEmpty());
        EXPECT_TRUE(doc.Dirty());
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(ZmlWriterTest, BlockCheckTellsThePlaceOfTheFault)
{
    const BlockCheck unbalanced = CheckBlocksAt("<zml>\r\n  <if>\r\n</zml>");
    EXPECT_EQ(unbalanced.Result, BlockCheckResult::Unbalanced);
    EXPECT_EQ(unbalanced.Place, (TextPlace{3, 3})); // the name in the end tag
    const BlockCheck stray = CheckBlocksAt("<zml>\r\n<!-- x <ENDIF -->\r\n</zml>");
    EXPECT_EQ(stray.Result, BlockCheckResult::StrayCloser);
    EXPECT_EQ(stray.Place, (TextPlace{2, 8}));
    EXPECT_FALSE(CheckBlocksAt("<zml>\r\n</zml>").Place.known());

    // A refused save carries the check.
    steps.comment("<endloop");
    const SaveResult saved = SaveDocument(doc, path("c.zml"), false);
    EXPECT_EQ(saved.status, SaveResult::Status::Blocks);
    EXPECT_EQ(saved.check.Result, BlockCheckResult::StrayCloser);
    EXPECT_TRUE(saved.check.Place.known());
}

// The command line's format writes while it reads: the file it commits is the one Save writes,
// and whenever what it wrote may differ, it commits nothing and leaves the target as it was.
TEST_F(ZmlWriterTest, AStreamedSaveCommitsOnlyWhatSaveWouldWrite)
{
    steps.append("if", {{"cond", "a < b"}});
    steps.append("saytext", {{"title", "t"}}, "line one\r\nline two");
    steps.append("endif");
    steps.comment("note");
    doc.Header().Description = "streamed";
    const QString in = path("in.zml");
    ASSERT_TRUE(SaveDocument(doc, in, false));
    const QByteArray saved = ReadBytes(in);
    const QByteArray old = "previous contents\r\n";

    const auto streamedOpen = [&](CDocument &target, StreamedSave &save) {
        FillTestCatalogue(target.Catalogue());
        return OpenDocument(target, in, &save).ok();
    };
    {
        CDocument copy;
        StreamedSave save(path("out.zml"));
        ASSERT_TRUE(streamedOpen(copy, save));
        const std::optional<SaveResult> result = save.Finish(copy, true);
        ASSERT_TRUE(result && result->ok());
        EXPECT_EQ(ReadBytes(path("out.zml")), saved);
        EXPECT_EQ(copy.FileName(), path("out.zml"));
        EXPECT_FALSE(copy.Dirty());
    }
    // Not proven sound, changed after reading, or a failed commit: nothing is committed.
    const std::function<void(CDocument &)> spoil[] = {
        [](CDocument &) {},
        [](CDocument &d) { d.RemoveSteps({0}); },
        [](CDocument &d) { d.Header().Author = "someone else"; },
    };
    for (std::size_t i = 0; i < std::size(spoil); ++i) {
        ASSERT_TRUE(WriteBytes(path("keep.zml"), old));
        CDocument copy;
        StreamedSave save(path("keep.zml"));
        ASSERT_TRUE(streamedOpen(copy, save));
        spoil[i](copy);
        EXPECT_FALSE(save.Finish(copy, i != 0)) << i;
        EXPECT_EQ(ReadBytes(path("keep.zml")), old) << i;
    }
    ASSERT_TRUE(WriteBytes(path("keep.zml"), old));
    SetSaveCommitHook([](QSaveFile &) { return false; });
    CDocument copy;
    StreamedSave save(path("keep.zml"));
    ASSERT_TRUE(streamedOpen(copy, save));
    const std::optional<SaveResult> failed = save.Finish(copy, true);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, SaveResult::Status::WriteFailed);
    EXPECT_EQ(ReadBytes(path("keep.zml")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"in.zml", "keep.zml", "out.zml"}));

    // A file read again in another encoding (a byte that is not UTF-8 after rows were already
    // handed over) starts over: what was written goes, and nothing is committed.
    QByteArray body;
    for (int i = 0; i < 5000; ++i)
        body += "<var name=\"v" + QByteArray::number(i) + "\" />\r\n";
    ASSERT_TRUE(WriteBytes(path("late.zml"), "<zml version=\"1.0\"><zmlhead></zmlhead><zmlbody>" +
                                                 body + "</zmlbody><!-- caf\xE9 --></zml>"));
    CDocument late;
    FillTestCatalogue(late.Catalogue());
    StreamedSave restarted(path("restart.zml"));
    ASSERT_TRUE(OpenDocument(late, path("late.zml"), &restarted).ok());
    ASSERT_EQ(late.RowCount(), 5000);
    EXPECT_FALSE(restarted.Finish(late, true));
    EXPECT_FALSE(QFileInfo::exists(path("restart.zml")));
}

// A large script is written while its rows are walked on another thread: an unbalanced one is
// still refused with nothing left behind, and a balanced one saves the bytes of a small save.
TEST_F(ZmlWriterTest, ALargeScriptIsCheckedWhileItIsWritten)
{
    for (int i = 0; i < 5000; ++i)
        steps.append("var", {{"name", QString::number(i)}});
    steps.append("if", {{"cond", "x"}});
    const QByteArray old = "previous contents\r\n";
    ASSERT_TRUE(WriteBytes(path("big.zml"), old));
    const SaveResult refused = SaveDocument(doc, path("big.zml"), false);
    EXPECT_EQ(refused.status, SaveResult::Status::Blocks);
    EXPECT_EQ(ReadBytes(path("big.zml")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.zml"});
    EXPECT_TRUE(doc.FileName().isEmpty());

    steps.append("endif");
    ASSERT_TRUE(SaveDocument(doc, path("big.zml"), false));
    EXPECT_EQ(ReadBytes(path("big.zml")), BuildDocumentUtf8(doc) + "\r\n");
}
