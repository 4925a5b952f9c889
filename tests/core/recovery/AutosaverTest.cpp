#include "core/recovery/Autosaver.h"
#include "core/recovery/DocumentSnapshot.h"
#include "core/recovery/RecoveryStore.h"
#include "support/ZmlTestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AutosaverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillTestCatalogue(m_doc.Catalogue());
        ASSERT_TRUE(m_store.open());
    }
    // What Save writes for the document now (which clears Dirty).
    QByteArray savedBytes()
    {
        const QString path = m_dir.filePath(QStringLiteral("expected.zml"));
        EXPECT_TRUE(SaveDocument(m_doc, path, false));
        return ReadBytes(path);
    }

    QTemporaryDir m_dir;
    CDocument m_doc;
    StepMaker m_steps{m_doc};
    RecoveryStore m_store{m_dir.filePath(QStringLiteral("recovery"))};
    Autosaver m_autosaver{m_doc, m_store};
};

TEST_F(AutosaverTest, WritesAfterAPauseWhatSaveWritesAndRemovesItOnceSaved)
{
    m_autosaver.setIdleInterval(20);
    QSignalSpy written(&m_autosaver, &Autosaver::written);
    EXPECT_FALSE(m_autosaver.idleTimerActive());
    m_steps.append(QStringLiteral("var"), {{"name", QStringLiteral("a<&\"b")}});
    m_steps.comment(QStringLiteral("é comment"));
    m_steps.append(QStringLiteral("saytext"), {{"title", QStringLiteral("T")}}, "two\r\nlines");
    m_doc.SetFileName(m_dir.filePath(QStringLiteral("script.zml")));
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(written.at(0).at(0).toBool());
    m_autosaver.waitForJobs();
    const QByteArray recovery = ReadBytes(m_store.textFile());

    // Nothing changed since: no second write.
    m_autosaver.writeNow();
    m_autosaver.waitForJobs();
    QCoreApplication::processEvents();
    EXPECT_EQ(written.size(), 1);

    EXPECT_EQ(recovery, savedBytes());
    m_autosaver.waitForJobs();
    EXPECT_FALSE(QFile::exists(m_store.textFile()));
    EXPECT_FALSE(QFile::exists(m_store.infoFile()));
    EXPECT_FALSE(m_autosaver.idleTimerActive());
}

TEST_F(AutosaverTest, UnbalancedScriptIsWrittenThoughSaveRefusesIt)
{
    m_steps.append(QStringLiteral("if"));
    m_steps.append(QStringLiteral("var"), {{"name", QStringLiteral("x")}});
    ASSERT_FALSE(SaveDocument(m_doc, m_dir.filePath(QStringLiteral("no.zml")), false));
    m_autosaver.writeNow();
    m_autosaver.waitForJobs();
    const QByteArray text = ReadBytes(m_store.textFile());
    EXPECT_TRUE(text.startsWith(kZmlRootLine));
    EXPECT_TRUE(text.contains("<if"));
    EXPECT_TRUE(text.endsWith("</zml>\r\n"));
    EXPECT_EQ(CheckBlocksUtf8(text.chopped(2)), BlockCheckResult::Unbalanced);
}

TEST_F(AutosaverTest, SnapshotKeepsTheDocumentAsItWasWhenTaken)
{
    m_steps.append(QStringLiteral("var"), {{"name", QStringLiteral("before")}});
    m_doc.SetDepth(0, 3);
    m_doc.Header().Author = QStringLiteral("Ann");
    const QByteArray expected = SavedText(m_doc);
    DocumentSnapshot snapshot(m_doc);
    m_doc.Step(0)->Attributes().Item(QStringLiteral("name"))->Value = QStringLiteral("after");
    m_doc.RemoveSteps({0});
    m_doc.Header().Author = QStringLiteral("Bob");
    EXPECT_EQ(snapshot.text(), expected);
    EXPECT_TRUE(expected.contains("            <var name=\"before\""));

    // Taken in slices of at least one batch of rows each.
    for (int i = 0; i < 1500; ++i)
        m_steps.append(QStringLiteral("var"), {{"name", QString::number(i)}});
    DocumentSnapshot sliced(m_doc, false);
    int slices = 1;
    while (!sliced.copyRows(0))
        ++slices;
    EXPECT_EQ(slices, 3);
    EXPECT_EQ(sliced.text(), SavedText(m_doc));
}

TEST_F(AutosaverTest, EveryKindOfChangeRestartsTheWaitOnlyWhileChanged)
{
    m_autosaver.setIdleInterval(60000);
    m_steps.append(QStringLiteral("var"));
    EXPECT_TRUE(m_autosaver.idleTimerActive());
    m_doc.Clear();
    EXPECT_FALSE(m_autosaver.idleTimerActive()) << "new document: nothing to keep";
    m_steps.append(QStringLiteral("var"));
    m_steps.append(QStringLiteral("var"));
    m_doc.SetDirty(false);
    m_doc.Indent({1});
    EXPECT_FALSE(m_autosaver.idleTimerActive()) << "unchanged document";
    m_doc.SetDirty(true);
    EXPECT_TRUE(m_autosaver.idleTimerActive());
    m_autosaver.writeNow();
    m_autosaver.waitForJobs();
    const QByteArray first = ReadBytes(m_store.textFile());
    for (const auto &change : std::vector<std::function<void()>>{
             [this] { m_doc.Outdent({1}); },
             [this] { m_doc.MoveSteps({1}, true); },
             [this] {
                 m_doc.Step(0)->Text = QStringLiteral("x");
                 m_doc.RefreshRow(0);
             },
         }) {
        change();
        EXPECT_TRUE(m_autosaver.idleTimerActive());
        m_autosaver.writeNow();
        m_autosaver.waitForJobs();
        EXPECT_EQ(ReadBytes(m_store.textFile()), SavedText(m_doc));
    }
    EXPECT_NE(ReadBytes(m_store.textFile()), first);
}

} // namespace
