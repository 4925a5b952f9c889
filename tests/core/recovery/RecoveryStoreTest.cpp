#include "core/recovery/RecoveryStore.h"
#include "core/document/StepText.h"
#include "core/recovery/DocumentSnapshot.h"
#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray kScript = QByteArrayLiteral("<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
                                             "</zml>\r\n");

class RecoveryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.filePath(QStringLiteral("recovery")); }
};

TEST_F(RecoveryStoreTest, WritesTextAndSideFileAndOffersThemOnlyOnceTheWriterEnded)
{
    const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
    auto first = std::make_unique<RecoveryStore>(folder());
    ASSERT_TRUE(first->open());
    ASSERT_TRUE(first->write(kScript, QStringLiteral("/tmp/a b/x.zml"), time));
    EXPECT_EQ(ReadBytes(first->textFile()), kScript);

    RecoveryStore second(folder());
    ASSERT_TRUE(second.open());
    EXPECT_NE(second.instanceId(), first->instanceId());
    EXPECT_TRUE(second.offerable().empty()) << "the first instance still runs";
    ASSERT_TRUE(second.write(kScript, QString(), time));

    const QString id = first->instanceId();
    first.reset(); // ends: its lock is released
    const auto entries = second.offerable();
    ASSERT_EQ(entries.size(), 1U) << "only the ended instance's file, not the own one";
    EXPECT_EQ(entries[0].instanceId, id);
    EXPECT_EQ(entries[0].originalPath, QStringLiteral("/tmp/a b/x.zml"));
    EXPECT_EQ(entries[0].saved.toMSecsSinceEpoch(), time.toMSecsSinceEpoch());
    EXPECT_TRUE(entries[0].readable);

    // Taken over: the text moves to the own name, the ended instance's files are gone.
    ASSERT_TRUE(second.adopt(entries[0]));
    EXPECT_FALSE(QFile::exists(entries[0].textFile));
    EXPECT_FALSE(QFile::exists(entries[0].infoFile));
    EXPECT_EQ(ReadBytes(second.textFile()), kScript);
    second.removeOwn();
    EXPECT_FALSE(QFile::exists(second.textFile()));
    EXPECT_FALSE(QFile::exists(second.infoFile()));
}

TEST_F(RecoveryStoreTest, StaleLockOfAKilledInstanceDoesNotHideItsFiles)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    const QDir dir(folder());
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("dead.zml")), kScript));
    // A lock file as a process that no longer exists left it.
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("dead.lock")),
                           QByteArray("999999999\nstepsmith\n") +
                               QSysInfo::machineHostName().toUtf8() + "\n"));
    RecoveryStore store(folder());
    ASSERT_TRUE(store.open());
    const auto entries = store.offerable();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_FALSE(entries[0].readable) << "no side file";
}

TEST_F(RecoveryStoreTest, DamagedFilesAreOfferedAsUnreadableAndDiscardedOnRequest)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    const QDir dir(folder());
    const QByteArray info =
        QByteArrayLiteral(R"({"originalPath":"","saved":"2026-01-02T03:04:05.000Z"})");
    // Cut short, a corrupt side file, a good one, and a side file written before its text.
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("cut.zml")), kScript.left(20)));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("cut.json")), info));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("bad.zml")), kScript));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("bad.json")), "{\"originalPath\": 4"));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("good.zml")), kScript));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("good.json")), info));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("lone.json")), info));

    RecoveryStore store(folder());
    ASSERT_TRUE(store.open());
    auto entries = store.offerable();
    ASSERT_EQ(entries.size(), 3U);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("lone.json"))));
    std::map<QString, bool> readable;
    for (const auto &e : entries)
        readable[e.instanceId] = e.readable;
    EXPECT_EQ(readable, (std::map<QString, bool>{
                            {QStringLiteral("bad"), false},
                            {QStringLiteral("cut"), false},
                            {QStringLiteral("good"), true},
                        }));
    for (const auto &e : entries) {
        if (!e.readable)
            RecoveryStore::discard(e);
    }
    entries = store.offerable();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].instanceId, QStringLiteral("good"));
}

TEST_F(RecoveryStoreTest, FailedOrInterruptedWriteKeepsThePreviousText)
{
    RecoveryStore store(folder());
    ASSERT_TRUE(store.open());
    const QDateTime time = QDateTime::currentDateTime();
    ASSERT_TRUE(store.write(kScript, QString(), time));
    RecoveryStore::setWriteHook([](QSaveFile &file) {
        file.write("half a script");
        return false;
    });
    EXPECT_FALSE(store.write(QByteArrayLiteral("<zml>new</zml>\r\n"), QString(), time));
    RecoveryStore::setWriteHook({});
    EXPECT_EQ(ReadBytes(store.textFile()), kScript);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << "text, side file and lock; no temporary file left";
}

// Scripts whose blocks do not balance are written as Save writes them, which is not
// well-formed; recovery reads them back with the rows and depths the editor had, while a
// normal open refuses them as before.
TEST_F(RecoveryStoreTest, UnbalancedScriptIsRecoveredWithItsRowsAndBytes)
{
    const std::pair<const char *, std::function<void(StepMaker &)>> scripts[] = {
        {"if and loop never closed",
         [](StepMaker &s) {
             s.append(QStringLiteral("loop"), {{"count", QStringLiteral("3")}});
             s.append(QStringLiteral("if"), {{"cond", QStringLiteral("a<b & \"c\"")}});
             s.append(QStringLiteral("var"), {{"name", QStringLiteral("x")}});
             s.append(QStringLiteral("else"));
             s.append(QStringLiteral("saytext"), {}, QStringLiteral("says </if> <if a>\r\nthen"));
             s.comment(QStringLiteral("mentions </if> and <loop x=\"1\">\r\nover two lines"));
             s.append(QStringLiteral("var"), {{"name", QStringLiteral("off")}}, {}, true);
         }},
        {"comments that are not well-formed",
         [](StepMaker &s) {
             s.comment(QStringLiteral("a -- b --> c\r\nd"));
             s.append(QStringLiteral("var"), {{"name", QStringLiteral("x--y")}}, {}, true);
             s.comment(QStringLiteral("ends in -"));
         }},
        {"closers without openers, crossed blocks",
         [](StepMaker &s) {
             s.append(QStringLiteral("endif"));
             s.append(QStringLiteral("var"), {{"name", QStringLiteral("y")}});
             s.append(QStringLiteral("endloop"));
             s.append(QStringLiteral("if"));
             s.append(QStringLiteral("loop"));
             s.append(QStringLiteral("endif"));
             s.append(QStringLiteral("endloop"));
         }},
        {"disabled opener closed by an endif",
         [](StepMaker &s) {
             s.append(QStringLiteral("if"), {{"cond", QStringLiteral("z")}}, {}, true);
             s.append(QStringLiteral("var"), {{"name", QStringLiteral("in")}});
             s.append(QStringLiteral("endif"));
             s.append(QStringLiteral("loop"));
             s.append(QStringLiteral("endloop"));
         }},
    };
    RecoveryStore store(folder());
    ASSERT_TRUE(store.open());
    const QString path = store.textFile();
    for (const auto &[name, build] : scripts) {
        SCOPED_TRACE(name);
        CDocument doc;
        FillTestCatalogue(doc.Catalogue());
        StepMaker steps(doc);
        build(steps);
        doc.Header().Author = QStringLiteral("Zoë");
        ASSERT_EQ(SaveDocument(doc, m_dir.filePath(QStringLiteral("refused.zml")), false).status,
                  SaveResult::Status::Blocks);
        const QByteArray bytes = SavedText(doc);
        ASSERT_TRUE(
            store.write(bytes, QStringLiteral("/scripts/x.zml"), QDateTime::currentDateTime()));

        CDocument strict;
        FillTestCatalogue(strict.Catalogue());
        EXPECT_EQ(OpenDocument(strict, path).status, OpenResult::Status::Corrupt);

        CDocument recovered;
        FillTestCatalogue(recovered.Catalogue());
        const OpenResult result = OpenRecoveredDocument(recovered, path);
        ASSERT_TRUE(result.ok()) << int(result.status);
        ASSERT_EQ(recovered.RowCount(), doc.RowCount());
        for (int row = 0; row < doc.RowCount(); ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(BuildStepText(*recovered.Step(row)), BuildStepText(*doc.Step(row)));
            EXPECT_EQ(recovered.Step(row)->Disabled, doc.Step(row)->Disabled);
            EXPECT_EQ(recovered.Step(row)->Text, doc.Step(row)->Text);
            EXPECT_EQ(recovered.Rows()->depth(row), doc.Rows()->depth(row));
        }
        EXPECT_EQ(recovered.FileName(), path);
        EXPECT_EQ(SavedText(recovered), bytes);
        EXPECT_EQ(ReadBytes(path), bytes) << "the recovery file is only read";

        // Cut short anywhere before its end, the file is refused and the document kept.
        const qsizetype end = bytes.lastIndexOf("</zml>") + 6;
        for (qsizetype size = 0; size < end; size += 11) {
            ASSERT_TRUE(WriteBytes(path, bytes.left(size)));
            ASSERT_FALSE(OpenRecoveredDocument(recovered, path).ok()) << size;
            ASSERT_EQ(recovered.RowCount(), doc.RowCount());
        }
    }
}

} // namespace
