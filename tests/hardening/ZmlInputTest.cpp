// Opening and saving scripts against hostile, huge and oddly encoded files and failing disks.
#include "core/document/CDocument.h"
#include "core/document/StepRowsModel.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include "support/MessageRecorder.h"
#include "support/TestCatalogue.h"
#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString kCorrupt = QStringLiteral("This file is corrupt or not a valid ZML file");

class ZmlInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        FillTestCatalogue(doc.Catalogue());
    }
    void TearDown() override { SetSaveCommitHook({}); }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(WriteBytes(path(name), bytes));
        return path(name);
    }
    static QByteArray script(const QByteArray &body)
    {
        return "<zml "
               "version=\"1.0\">\r\n<zmlhead><version>1.0</version></zmlhead>\r\n<zmlbody>\r\n" +
               body + "</zmlbody>\r\n</zml>\r\n";
    }
    // Opens a script of one step first, so that refusals can be seen to keep it.
    void openKnownScript()
    {
        ASSERT_TRUE(OpenReported(doc, write("known.zml", script("<var name=\"kept\" />\r\n"))));
        messages.clear();
    }
    void expectKnownScript() const
    {
        ASSERT_EQ(doc.RowCount(), 1);
        EXPECT_EQ(doc.Step(0)->Attributes().Item("name")->Value, QStringLiteral("kept"));
        EXPECT_EQ(doc.FileName(), path("known.zml"));
    }

    QTemporaryDir dir;
    CDocument doc;
    StepMaker steps{doc};
    MessageRecorder messages;
};

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray utf16le(const QByteArray &utf8)
{
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

} // namespace

TEST_F(ZmlInput, TextThatIsNotXmlIsRefusedAndTheOpenScriptKept)
{
    openKnownScript();
    const QList<QByteArray> inputs = {
        QByteArray(),
        randomBytes(100000, 3),
        QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        QByteArray(5000, '\0'),
        script("<var name=\"x\" />").left(40), // cut short
        "<zml version=\"1.0\"><zmlhead/><zmlbody></zml>",
        "<!DOCTYPE zml [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
        "<zml version=\"1.0\"><zmlhead/><zmlbody><var name=\"&b;&b;&b;\"/></zmlbody></zml>",
    };
    for (const QByteArray &bytes : inputs) {
        const QString p = write("bad.zml", bytes);
        EXPECT_FALSE(OpenReported(doc, p)) << bytes.left(60).toStdString();
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_EQ(messages.texts().at(0), kCorrupt + QStringLiteral("\r\n'") + p + u'\'');
        EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
        expectKnownScript();
        messages.clear();
    }
}

TEST_F(ZmlInput, AnExternalDocumentTypeIsNeverLoaded)
{
    // Opened or refused, the file named by the document type is never read.
    OpenReported(doc, write("dtd.zml", "<!DOCTYPE zml SYSTEM \"file:///etc/passwd\"><zml "
                                       "version=\"1.0\"><zmlhead><author>&root;</author>"
                                       "</zmlhead><zmlbody/></zml>"));
    EXPECT_FALSE(doc.Header().Author.contains(QStringLiteral("root")));
}

TEST_F(ZmlInput, OtherEncodingsOpenOrAreRefusedCleanly)
{
    const QByteArray body = "<saytext title=\"Gr\xC3\xBC\xC3\x9F"
                            "e \xE2\x82\xAC\">"
                            "caf\xC3\xA9</saytext>\r\n";
    // UTF-8 with a byte order mark opens with its text intact.
    ASSERT_TRUE(OpenReported(doc, write("bom.zml", "\xEF\xBB\xBF" + script(body))));
    ASSERT_EQ(doc.RowCount(), 1);
    EXPECT_EQ(doc.Step(0)->Text, QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(doc.Step(0)->Attributes().Item("title")->Value, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                                                                "e \xE2\x82\xAC"));

    // A file declaring another encoding is read by its bytes: Latin-1 bytes as Windows-1252.
    messages.clear();
    ASSERT_TRUE(OpenReported(
        doc, write("latin.zml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" +
                                    script("<saytext title=\"x\">caf\xE9 \x80</saytext>"))));
    EXPECT_EQ(doc.Step(0)->Text, QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));

    // UTF-16 opens in either byte order, with or without a byte order mark.
    QByteArray littleEndian = utf16le(script(body));
    QByteArray bigEndian = littleEndian;
    for (qsizetype i = 0; i + 1 < bigEndian.size(); i += 2)
        std::swap(bigEndian[i], bigEndian[i + 1]);
    for (const QByteArray &bytes : {littleEndian, bigEndian, littleEndian.mid(2)}) {
        messages.clear();
        ASSERT_TRUE(OpenReported(doc, write("utf16.zml", bytes))) << bytes.left(6).toHex().data();
        EXPECT_TRUE(messages.texts().isEmpty());
        ASSERT_EQ(doc.RowCount(), 1);
        EXPECT_EQ(doc.Step(0)->Text, QString::fromUtf8("caf\xC3\xA9"));
    }
}

TEST_F(ZmlInput, TextIsDecodedAgainOnlyForBytesThatAreNotUtf8)
{
    // A UTF-8 character across the first piece boundary, then, megabytes on, a Windows-1252 byte:
    // the text is decoded again as a stream, and both characters come out right.
    const QByteArray start = "<saytext title=\"a\">";
    const qsizetype xs = (1 << 20) - 1 - script(QByteArray()).indexOf("</zmlbody>") - start.size();
    const qsizetype ys = 3 << 20;
    const QByteArray text = script(start + QByteArray(xs, 'x') + "\xC3\xA9" + QByteArray(ys, 'y') +
                                   "\x80</saytext>\r\n");
    ASSERT_EQ(text.indexOf("\xC3\xA9"), (1 << 20) - 1);
    ASSERT_TRUE(OpenReported(doc, write("late.zml", text)));
    ASSERT_EQ(doc.RowCount(), 1);
    EXPECT_TRUE(doc.Step(0)->Text ==
                QString(xs, u'x') + QChar(0xE9) + QString(ys, u'y') + QChar(0x20AC));

    // Ill-formed before any such byte: corrupt, whatever the bytes after it.
    messages.clear();
    const QString p = write("bad.zml", "<zml version=\"1.0\"><zmlhead></zmlbody>\xE9\xE9</zml>");
    EXPECT_FALSE(OpenReported(doc, p));
    EXPECT_EQ(messages.texts(), QStringList{kCorrupt + QStringLiteral("\r\n'") + p + u'\''});
}

TEST_F(ZmlInput, DevicesAndPipesAreNeverRead)
{
    openKnownScript();
    const QString fifo = path("pipe.zml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &p : {fifo, QStringLiteral("/dev/zero")}) {
        messages.clear();
        EXPECT_FALSE(OpenReported(doc, p)); // returns at once: nothing is read
        EXPECT_EQ(messages.texts(), QStringList{SpecialFileOpenMessage(p)});
        expectKnownScript();
    }
}

TEST_F(ZmlInput, TokensOfManyMegabytesOpenWhole)
{
    const QByteArray value(5 << 20, 'v');
    const QByteArray comment(6 << 20, 'c');
    ASSERT_TRUE(OpenReported(
        doc, write("long.zml", script("<var name=\"" + value + "\" /><!--" + comment + "-->"))));
    ASSERT_EQ(doc.RowCount(), 2);
    EXPECT_EQ(doc.Step(0)->Attributes().Item("name")->Value.size(), value.size());
    EXPECT_EQ(doc.Step(1)->Text.size(), comment.size());
}

TEST_F(ZmlInput, ManyUnknownNamesAreDroppedAndKnownOnesStillRead)
{
    QByteArray body = "<var";
    for (int i = 0; i < 50; ++i)
        body += " u" + QByteArray::number(i) + "=\"x\"";
    body += " name=\"first\" />\r\n<var u7=\"x\" value=\"2\" u49=\"y\" name=\"second\" />\r\n";
    QByteArray head = "<version>1.0</version>";
    for (int i = 0; i < 1000; ++i)
        head += "<x" + QByteArray::number(i % 5) + "/><y" + QByteArray::number(i) + "/>";
    ASSERT_TRUE(OpenReported(
        doc, write("names.zml", script(body).replace("<version>1.0</version>", head))));
    ASSERT_EQ(doc.RowCount(), 2);
    EXPECT_EQ(doc.Step(0)->Attributes().Item("name")->Value, QStringLiteral("first"));
    EXPECT_EQ(doc.Step(1)->Attributes().Item("name")->Value, QStringLiteral("second"));
    EXPECT_EQ(doc.Step(1)->Attributes().Item("value")->Value, QStringLiteral("2"));

    // 1005 unknown header names: three by name, each once, then the count of the rest.
    const QString removed =
        QStringLiteral("\r\nThis element will be removed when you save the file");
    EXPECT_EQ(messages.texts(),
              (QStringList{"Unsupported element found in the header 'x0'" + removed,
                           "Unsupported element found in the header 'y0'" + removed,
                           "Unsupported element found in the header 'x1'" + removed,
                           "1002 more unsupported elements found in the header\r\nThese "
                           "elements will be removed when you save the file"}));
}

TEST_F(ZmlInput, AFiftyMegabyteScriptOpensAndSavesUnchanged)
{
    // 50 000 steps of about 1 KB each.
    QByteArray body;
    body.reserve(52 << 20);
    const QByteArray filler(1050, 'v');
    for (int i = 0; i < 50000; ++i) {
        if (i % 1000 == 0)
            body += "  <if cond=\"a\">\r\n";
        body += "    <var name=\"v" + QByteArray::number(i) + "\" value=\"" + filler + "\" />\r\n";
        if (i % 1000 == 999)
            body += "  </if>\r\n";
    }
    const QByteArray text = script(body);
    ASSERT_GT(text.size(), 50 << 20);
    ASSERT_TRUE(OpenReported(doc, write("big.zml", text)));
    EXPECT_TRUE(messages.texts().isEmpty());
    ASSERT_EQ(doc.RowCount(), 50000 + 2 * 50);
    EXPECT_EQ(doc.Step(doc.RowCount() - 2)->Attributes().Item("name")->Value,
              QStringLiteral("v49999"));
    EXPECT_EQ(doc.Rows()->depth(doc.RowCount() - 2), 1);

    ASSERT_TRUE(SaveReported(doc, path("big2.zml"), false));
    ASSERT_TRUE(OpenReported(doc, path("big2.zml")));
    ASSERT_TRUE(SaveReported(doc, path("big3.zml"), false));
    EXPECT_EQ(ReadBytes(path("big3.zml")), ReadBytes(path("big2.zml")));
}

TEST_F(ZmlInput, MegabyteValuesSurviveOpenAndSave)
{
    QByteArray value(1 << 20, 'x');
    for (int i = 1; i < value.size(); i += 997)
        value[i] = ' ';
    value.replace(5000, 5, "&amp;");
    QByteArray longText(1 << 20, 't');
    longText.replace(100, 4, "&lt;");
    const QByteArray body = "<var name=\"" + value + "\" value=\"v\" />\r\n<saytext title=\"" +
                            value + "\">" + longText + "</saytext>\r\n";
    ASSERT_TRUE(OpenReported(doc, write("wide.zml", script(body))));
    ASSERT_EQ(doc.RowCount(), 2);
    const QString name = doc.Step(0)->Attributes().Item("name")->Value;
    EXPECT_EQ(name.size(), value.size() - 4);
    EXPECT_EQ(name.mid(5000, 1), QStringLiteral("&"));
    EXPECT_EQ(doc.Step(1)->Text.size(), longText.size() - 3);

    ASSERT_TRUE(SaveReported(doc, path("wide2.zml"), false));
    CDocument again;
    FillTestCatalogue(again.Catalogue());
    ASSERT_TRUE(OpenReported(again, path("wide2.zml")));
    EXPECT_EQ(again.Step(0)->Attributes().Item("name")->Value, name);
    EXPECT_EQ(again.Step(1)->Text, doc.Step(1)->Text);
}

TEST_F(ZmlInput, ASavedScriptOfDeeplyNestedBlocksOpensAgain)
{
    // Blocks nested as deep as a user may build them in the editor read back as they were saved.
    const int levels = 300;
    for (int i = 0; i < levels; ++i)
        steps.append("if", {{"cond", "x"}});
    steps.append("var", {{"name", "inner"}});
    for (int i = 0; i < levels; ++i)
        steps.append("endif");
    ASSERT_TRUE(SaveReported(doc, path("deep.zml"), false));
    CDocument again;
    FillTestCatalogue(again.Catalogue());
    ASSERT_TRUE(OpenReported(again, path("deep.zml")))
        << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(again.RowCount(), 2 * levels + 1);
    EXPECT_EQ(again.Rows()->depth(levels), levels);
    EXPECT_EQ(again.Rows()->depth(2 * levels), 0);
}

TEST_F(ZmlInput, AHundredThousandNestedBlocksOpenAndSaveInLinearSpace)
{
    // Written by hand (no indentation): blocks inside blocks, 100 000 levels deep.
    const int levels = 100000;
    QByteArray body;
    body.reserve(levels * 20);
    for (int i = 0; i < levels; ++i)
        body += "<if cond=\"x\">";
    body += "<var name=\"inner\" />";
    for (int i = 0; i < levels; ++i)
        body += "</if>";
    ASSERT_TRUE(OpenReported(doc, write("nested.zml", script(body))));
    EXPECT_TRUE(messages.texts().isEmpty());
    ASSERT_EQ(doc.RowCount(), 2 * levels + 1);
    EXPECT_EQ(doc.Rows()->depth(levels), levels);
    EXPECT_EQ(doc.Step(levels + 1)->ElementName, QStringLiteral("endif"));
    EXPECT_EQ(doc.Rows()->depth(2 * levels), 0);

    // Indentation stops growing at some depth: the file stays proportional to the rows.
    ASSERT_TRUE(SaveReported(doc, path("nested2.zml"), false));
    EXPECT_LT(QFileInfo(path("nested2.zml")).size(), qint64(2 * levels + 1) * 400);
    CDocument again;
    FillTestCatalogue(again.Catalogue());
    ASSERT_TRUE(OpenReported(again, path("nested2.zml")));
    ASSERT_EQ(again.RowCount(), doc.RowCount());
    EXPECT_EQ(again.Rows()->depth(levels), levels);
    EXPECT_EQ(again.Step(levels)->Attributes().Item("name")->Value, QStringLiteral("inner"));
}

TEST_F(ZmlInput, AFullDiskLeavesThePreviousFileIntact)
{
    const QByteArray old = script("<var name=\"old\" />\r\n");
    write("keep.zml", old);
    for (int i = 0; i < 2000; ++i)
        steps.append("var", {{"name", QString(500, u'n')}});
    doc.SetDirty(true);

    // Files may grow to 64 KB only: the write fails part way, as on a full disk.
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveReported(doc, path("keep.zml"), false).ok();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.texts(), QStringList{SaveFailedMessage()});
    EXPECT_EQ(ReadBytes(path("keep.zml")), old);
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.zml"});
}

TEST_F(ZmlInput, AReadOnlyFolderLeavesThePreviousFileIntact)
{
    const QByteArray old = script("<var name=\"old\" />\r\n");
    const QString folder = path("ro");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(WriteBytes(folder + QStringLiteral("/keep.zml"), old));
    bool mounted = false;
    if (::geteuid() == 0) {
        // Permissions do not bind root: make the folder a read-only bind mount instead.
        const QByteArray native = QFile::encodeName(folder);
        mounted = ::mount(native.constData(), native.constData(), nullptr, MS_BIND, nullptr) == 0 &&
                  ::mount(nullptr, native.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                          nullptr) == 0;
        if (!mounted) {
            ::umount(native.constData());
            GTEST_SKIP() << "cannot make a read-only folder as root here";
        }
    } else {
        ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    steps.append("var", {{"name", "new"}});
    doc.SetDirty(true);
    const bool saved = SaveReported(doc, folder + QStringLiteral("/keep.zml"), false).ok();
    if (mounted)
        ::umount(QFile::encodeName(folder).constData());
    else
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    EXPECT_FALSE(saved);
    EXPECT_EQ(messages.texts(), QStringList{SaveFailedMessage()});
    EXPECT_EQ(ReadBytes(folder + QStringLiteral("/keep.zml")), old);
    EXPECT_TRUE(doc.Dirty());
}
