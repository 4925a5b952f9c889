// The program stopped the hard way (SIGKILL) and started again, as child processes with their
// own settings and data folders.
#include "support/ZmlTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The driven program (RecoveryDriver.cpp) with the folders of one user.
class Child final {
public:
    Child(const QTemporaryDir &home, const QString &recover, const QString &file = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("STEPSMITH_DRIVER_RECOVER"), recover);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(RECOVERY_DRIVER),
                        file.isEmpty() ? QStringList() : QStringList{file});
        m_started = m_process.waitForStarted(10000) && !waitFor("ready").isNull();
    }
    ~Child()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    bool started() const { return m_started; }
    // Lines read so far, in order.
    const QStringList &lines() const { return m_lines; }
    // Sends a command and returns the first reply line starting with expected (null when
    // none came in time).
    QString send(const QString &command, const char *expected = "")
    {
        m_process.write(command.toUtf8() + '\n');
        return waitFor(expected);
    }
    QString waitFor(const char *prefix)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                m_lines.append(line);
                if (!line.startsWith(QLatin1String("message ")) &&
                    !line.startsWith(QLatin1String("offered ")) &&
                    line.startsWith(QLatin1String(prefix)))
                    return line;
            }
            if (timer.elapsed() > 30000 || m_process.state() == QProcess::NotRunning)
                return QString();
            m_process.waitForReadyRead(1000);
        }
    }
    // Closes the window (a question is answered No) and waits for the end.
    bool quit()
    {
        return send(QStringLiteral("quit")) == QLatin1String("ok") &&
               m_process.waitForFinished(30000) && m_process.exitCode() == 0;
    }
    void kill()
    {
        m_process.kill(); // SIGKILL
        m_process.waitForFinished(10000);
    }
    QStringList offered() const { return m_lines.filter(QRegularExpression("^offered ")); }

private:
    QProcess m_process;
    QStringList m_lines;
    bool m_started = false;
};

class RecoveryProcessTest : public ::testing::Test {
protected:
    QString recoveryFolder() const
    {
        return m_home.filePath(QStringLiteral("data/Stepsmith/recovery"));
    }
    QStringList recoveryTexts() const
    {
        return QDir(recoveryFolder()).entryList({QStringLiteral("*.zml")}, QDir::Files);
    }
    QString path(const char *name) const { return m_work.filePath(QString::fromLatin1(name)); }
    // The same edits in a child of its own; returns what Save writes after them.
    QByteArray savedAfter(const QStringList &edits)
    {
        QTemporaryDir home;
        Child clean(home, QStringLiteral("later"));
        EXPECT_TRUE(clean.started());
        for (const QString &edit : edits)
            EXPECT_EQ(clean.send(edit), QStringLiteral("ok")) << edit.toStdString();
        const QString expected = m_work.filePath(QStringLiteral("expected.zml"));
        EXPECT_EQ(clean.send(QStringLiteral("save ") + expected), QStringLiteral("ok"));
        return ReadBytes(expected);
    }

    QTemporaryDir m_home;
    QTemporaryDir m_work;
};

const QStringList kEdits = {
    QStringLiteral("add var name=first"),
    QStringLiteral("comment a comment with <, & and \"quotes\""),
    QStringLiteral("add var name=second"),
};

TEST_F(RecoveryProcessTest, KilledAfterAnEditRecoversWhatSaveWouldHaveWritten)
{
    const QString original = path("script.zml");
    QByteArray recovery;
    {
        Child first(m_home, QStringLiteral("later"));
        ASSERT_TRUE(first.started());
        ASSERT_EQ(first.send(kEdits[0]), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("save ") + original), QStringLiteral("ok"));
        for (const QString &edit : kEdits.mid(1))
            ASSERT_EQ(first.send(edit), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("autosave")), QStringLiteral("ok"));
        const QString file = first.send(QStringLiteral("recovery"), "recovery ").mid(9);
        recovery = ReadBytes(file);
        first.kill();
    }
    ASSERT_FALSE(recovery.isEmpty());
    EXPECT_EQ(recovery, savedAfter(kEdits));

    Child second(m_home, QStringLiteral("recover"));
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.offered(), QStringList{QStringLiteral("offered script.zml|%1|readable")
                                                .arg(QDir::toNativeSeparators(m_work.path()))});
    // The original name, marked changed; the next save writes the same bytes.
    EXPECT_EQ(second.send(QStringLiteral("state"), "state "),
              QStringLiteral("state %1|changed|3|[%1] - Tessaro AddIn Editor").arg(original));
    EXPECT_EQ(ReadBytes(second.send(QStringLiteral("recovery"), "recovery ").mid(9)), recovery)
        << "taken over as the new instance's own recovery file";
    // Save asks before replacing the original file, which may be newer (answered No).
    const QByteArray before = ReadBytes(original);
    EXPECT_EQ(second.send(QStringLiteral("savedoc")), QStringLiteral("failed"));
    EXPECT_EQ(second.lines().filter(QStringLiteral("already exists")),
              QStringList{QStringLiteral("message script.zml already exists. Do you want to "
                                         "replace it?")});
    EXPECT_EQ(ReadBytes(original), before);
    ASSERT_EQ(second.send(QStringLiteral("save ") + path("again.zml")), QStringLiteral("ok"));
    EXPECT_EQ(ReadBytes(path("again.zml")), recovery);
    ASSERT_TRUE(second.quit());
    EXPECT_TRUE(recoveryTexts().isEmpty());
}

TEST_F(RecoveryProcessTest, KilledWithUnclosedBlocksRecoversTheSameRows)
{
    const QString original = path("blocks.zml");
    const QStringList edits = {
        QStringLiteral("add loop count=2"),
        QStringLiteral("add if var=x operator=< value=1"),
        QStringLiteral("add var name=inner"),
        QStringLiteral("comment mentions </if> and <loop count=\"3\">"),
        QStringLiteral("add endloop"),
    };
    QByteArray recovery;
    QString rows;
    {
        Child first(m_home, QStringLiteral("later"));
        ASSERT_TRUE(first.started());
        ASSERT_EQ(first.send(kEdits[0]), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("save ") + original), QStringLiteral("ok"));
        for (const QString &edit : edits)
            ASSERT_EQ(first.send(edit), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("save ") + path("refused.zml")),
                  QStringLiteral("failed"))
            << "Save refuses blocks that do not balance";
        ASSERT_EQ(first.send(QStringLiteral("autosave")), QStringLiteral("ok"));
        rows = first.send(QStringLiteral("rows"), "rows ");
        recovery = ReadBytes(first.send(QStringLiteral("recovery"), "recovery ").mid(9));
        first.kill();
    }
    ASSERT_TRUE(recovery.contains("<if var=\"x\" operator=\"&lt;\" value=\"1\">\r\n"));

    Child second(m_home, QStringLiteral("recover"));
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.offered().size(), 1);
    EXPECT_TRUE(second.lines().filter(QStringLiteral("could not be recovered")).isEmpty());
    EXPECT_EQ(second.send(QStringLiteral("state"), "state "),
              QStringLiteral("state %1|changed|6|[%1] - Tessaro AddIn Editor").arg(original));
    EXPECT_EQ(second.send(QStringLiteral("rows"), "rows "), rows);
    EXPECT_EQ(ReadBytes(second.send(QStringLiteral("recovery"), "recovery ").mid(9)), recovery)
        << "taken over as it was";
}

TEST_F(RecoveryProcessTest, KillDuringAnAutosaveWriteKeepsThePreviousRecoveryFile)
{
    {
        Child first(m_home, QStringLiteral("later"));
        ASSERT_TRUE(first.started());
        ASSERT_EQ(first.send(kEdits[0]), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("autosave")), QStringLiteral("ok"));
        ASSERT_EQ(first.send(kEdits[1]), QStringLiteral("ok"));
        ASSERT_EQ(first.send(QStringLiteral("hang"), "hanging"), QStringLiteral("hanging"));
        first.kill();
    }
    ASSERT_EQ(recoveryTexts().size(), 1);
    EXPECT_EQ(ReadBytes(QDir(recoveryFolder()).filePath(recoveryTexts().at(0))),
              savedAfter(kEdits.mid(0, 1)));

    Child second(m_home, QStringLiteral("recover"));
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.offered(), QStringList{QStringLiteral("offered [Untitled]||readable")});
    EXPECT_EQ(second.send(QStringLiteral("state"), "state "),
              QStringLiteral("state |changed|1|[Untitled] - Tessaro AddIn Editor"));
}

TEST_F(RecoveryProcessTest, TwoInstancesKeepTheirOwnFiles)
{
    Child first(m_home, QStringLiteral("recover"));
    ASSERT_TRUE(first.started());
    ASSERT_EQ(first.send(kEdits[0]), QStringLiteral("ok"));
    ASSERT_EQ(first.send(QStringLiteral("autosave")), QStringLiteral("ok"));

    Child second(m_home, QStringLiteral("recover"));
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.offered().isEmpty()) << "the first instance still runs";
    ASSERT_EQ(second.send(kEdits[2]), QStringLiteral("ok"));
    ASSERT_EQ(second.send(QStringLiteral("autosave")), QStringLiteral("ok"));
    EXPECT_EQ(recoveryTexts().size(), 2);
    ASSERT_EQ(first.send(QStringLiteral("state"), "state "),
              QStringLiteral("state |changed|1|[Untitled] - Tessaro AddIn Editor"));

    first.kill();
    Child third(m_home, QStringLiteral("later"));
    ASSERT_TRUE(third.started());
    EXPECT_EQ(third.offered().size(), 1) << "the killed instance's file only";
    ASSERT_TRUE(second.quit());
    EXPECT_EQ(recoveryTexts().size(), 1) << "kept for later";
}

TEST_F(RecoveryProcessTest, CorruptRecoveryFilesAreOfferedKeptAndDiscardedCleanly)
{
    ASSERT_TRUE(QDir().mkpath(recoveryFolder()));
    const QDir dir(recoveryFolder());
    const QByteArray info = R"({"originalPath":"/x/cut.zml","saved":"2026-01-02T03:04:05Z"})";
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("cut.zml")), "<zml version=\"1.0\""));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("cut.json")), info));
    {
        // Complete at both ends, not well-formed inside: offered, cannot be recovered, kept.
        ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("bad.zml")),
                               "<zml version=\"1.0\"><zmlhead></zmlbody></zml>\r\n"));
        ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("bad.json")), info));
        Child recovering(m_home, QStringLiteral("recover"));
        ASSERT_TRUE(recovering.started());
        EXPECT_EQ(recovering.offered().size(), 2);
        EXPECT_EQ(recovering.lines().filter("message The script could not be recovered").size(), 1);
        EXPECT_EQ(recovering.send(QStringLiteral("state"), "state "),
                  QStringLiteral("state |unchanged|0|[Untitled] - Tessaro AddIn Editor"));
    }
    EXPECT_EQ(recoveryTexts().size(), 2);
    {
        Child later(m_home, QStringLiteral("later"));
        ASSERT_TRUE(later.started());
        QStringList offered = later.offered();
        offered.sort();
        EXPECT_EQ(offered, QStringList({QStringLiteral("offered cut.zml|/x|readable"),
                                        QStringLiteral("offered cut.zml|/x|unreadable")}));
    }
    {
        Child discarding(m_home, QStringLiteral("discard"));
        ASSERT_TRUE(discarding.started());
        ASSERT_TRUE(discarding.quit());
    }
    EXPECT_EQ(QDir(recoveryFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(RecoveryProcessTest, RecentFilesEntrySurvivesAKill)
{
    const QString script = path("recent.zml");
    {
        Child writer(m_home, QStringLiteral("later"));
        ASSERT_TRUE(writer.started());
        ASSERT_EQ(writer.send(kEdits[0]), QStringLiteral("ok"));
        ASSERT_EQ(writer.send(QStringLiteral("save ") + script), QStringLiteral("ok"));
        ASSERT_TRUE(writer.quit());
    }
    // The program itself, opening the script from its command line.
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(STEPSMITH_PROGRAM), {script});
    ASSERT_TRUE(program.waitForStarted(10000));
    const auto settingsHold = [&] {
        QDirIterator files(home.filePath(QStringLiteral("config")), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            if (ReadBytes(files.next()).contains(script.toUtf8()))
                return true;
        }
        return false;
    };
    QElapsedTimer timer;
    timer.start();
    while (!settingsHold() && timer.elapsed() < 30000 && program.state() == QProcess::Running)
        QThread::msleep(100);
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(10000);
    EXPECT_TRUE(settingsHold()) << "the entry was written while the program ran";
}

} // namespace
