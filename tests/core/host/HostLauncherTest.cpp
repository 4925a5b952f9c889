#include "support/TempSettingsStore.h"

#include "core/host/HostLauncher.h"
#include "core/settings/CRegistry.h"
#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

class FakeDocument final : public HostLauncher::Document {
public:
    QString fileName;
    bool dirty = false;
    bool saveSucceeds = true;
    QString nameAfterSave;
    QList<bool> saveCalls;

    QString FileName() const override { return fileName; }
    bool Dirty() const override { return dirty; }
    bool SaveDoc(bool saveAs) override
    {
        saveCalls.append(saveAs);
        if (!saveSucceeds)
            return false;
        if (!nameAfterSave.isEmpty())
            fileName = nameAfterSave;
        dirty = false;
        return true;
    }
};

const QString kSaveFirst = QStringLiteral("You have to save the file before you can run it.\r\n"
                                          "Do you want to save it now?");
const QString kNotFound = QStringLiteral("Can't find Tessaro.");
const QString kNotStarted = QStringLiteral("Unable to execute Tessaro");

class HostLauncherTest : public TempSettingsStore {
protected:
    void SetUp() override
    {
        TempSettingsStore::SetUp();
        ASSERT_TRUE(m_work.isValid());
        m_hostDir = m_work.filePath(QStringLiteral("host dir; $(touch pwned) & 'q'"));
        ASSERT_TRUE(QDir().mkpath(m_hostDir));
        m_argsFile = m_work.filePath(QStringLiteral("args.txt"));
    }

    static void setAppPath(const QString &folder)
    {
        CRegistry reg;
        reg.SectionKey = QStringLiteral("Software\\Tessaro\\Paths");
        reg.ValueKey = QStringLiteral("AppPath");
        reg.ValueType = 1;
        reg.setValue(folder);
    }

    // A substitute host that writes its arguments, one per line, to args.txt.
    void writeHost(bool executable = true) const
    {
        QFile host(QDir(m_hostDir).filePath(QStringLiteral("tessapp")));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly));
        const QString script = QStringLiteral("#!/bin/sh\n"
                                              "for arg in \"$@\"; do printf '%s\\n' \"$arg\"; "
                                              "done > '%1.part'\n"
                                              "mv '%1.part' '%1'\n")
                                   .arg(m_argsFile);
        host.write(script.toUtf8());
        host.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        ASSERT_TRUE(host.setPermissions(permissions));
    }

    // The lines the substitute host wrote, once it has run.
    QStringList hostArguments() const
    {
        if (!QTest::qWaitFor([this] { return QFileInfo::exists(m_argsFile); }, 10000))
            return {QStringLiteral("<host did not run>")};
        QFile file(m_argsFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QTemporaryDir m_work;
    QString m_hostDir;
    QString m_argsFile;
};

} // namespace

TEST(HostLauncherPathTest, AppendsTheExecutableWithOneSeparator)
{
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("C:\\Tessaro"), true),
              QStringLiteral("C:\\Tessaro\\Tessapp.exe"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("C:\\Tessaro\\"), true),
              QStringLiteral("C:\\Tessaro\\Tessapp.exe"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("C:/Tessaro/"), true),
              QStringLiteral("C:/Tessaro\\Tessapp.exe"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("/opt/tessaro"), false),
              QStringLiteral("/opt/tessaro/tessapp"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("/opt/tessaro/"), false),
              QStringLiteral("/opt/tessaro/tessapp"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("/opt/tessaro\\"), false),
              QStringLiteral("/opt/tessaro/tessapp"));
    EXPECT_EQ(HostLauncher::ExecutablePath(QStringLiteral("/"), false), QStringLiteral("/tessapp"));
    EXPECT_EQ(HostLauncher::Arguments(QStringLiteral("/a b/c.zml")),
              QStringList{QStringLiteral("-addin:/a b/c.zml")});
}

TEST_F(HostLauncherTest, FindsTheHostOnlyWhenTheSettingNamesAnExistingFile)
{
    EXPECT_EQ(HostLauncher::FindExecutable(), QString());
    setAppPath(m_hostDir);
    EXPECT_EQ(HostLauncher::FindExecutable(), QString());
    writeHost();
    const QString expected = QDir(m_hostDir).filePath(QStringLiteral("tessapp"));
    EXPECT_EQ(HostLauncher::FindExecutable(), expected);
    setAppPath(m_hostDir + QLatin1Char('/'));
    EXPECT_EQ(HostLauncher::FindExecutable(), expected);
}

TEST_F(HostLauncherTest, StartsASavedScriptWithItsPathAsOneUninterpretedArgument)
{
    writeHost();
    setAppPath(m_hostDir);
    const QString scriptPath =
        m_work.filePath(QStringLiteral("my scripts; $(touch pwned) `id` 'q' \"d\" & *.zml"));
    FakeDocument document;
    document.fileName = scriptPath;
    MessageRecorder messages;

    EXPECT_EQ(HostLauncher::RunFile(document, {}), HostLauncher::Result::Started);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_TRUE(document.saveCalls.isEmpty());
    EXPECT_EQ(hostArguments(), QStringList{QStringLiteral("-addin:") + scriptPath});
    EXPECT_FALSE(QFileInfo::exists(m_work.filePath(QStringLiteral("pwned"))));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("pwned"))));
}

TEST_F(HostLauncherTest, AnUnnamedScriptIsSavedFirstOnlyWhenTheUserAgrees)
{
    writeHost();
    setAppPath(m_hostDir);
    EXPECT_EQ(HostLauncher::SaveFirstQuestion(), kSaveFirst);
    int asked = 0;
    bool answer = false;
    const auto ask = [&] {
        ++asked;
        return answer;
    };

    FakeDocument declined;
    declined.dirty = true;
    EXPECT_EQ(HostLauncher::RunFile(declined, ask), HostLauncher::Result::NotSaved);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(declined.saveCalls.isEmpty());

    // Yes leads to the save dialog; cancelling it ends the command quietly.
    FakeDocument cancelled;
    cancelled.dirty = true;
    cancelled.saveSucceeds = false;
    answer = true;
    EXPECT_EQ(HostLauncher::RunFile(cancelled, ask), HostLauncher::Result::NotSaved);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(cancelled.saveCalls, QList<bool>{false});
    MsgIcon icon = MsgIcon::Critical;
    EXPECT_EQ(HostLauncher::Problem(HostLauncher::Result::NotSaved, &icon), QString());

    // An unnamed script without changes still needs a file for the host to read.
    FakeDocument clean;
    clean.nameAfterSave = m_work.filePath(QStringLiteral("saved.zml"));
    EXPECT_EQ(HostLauncher::RunFile(clean, ask), HostLauncher::Result::Started);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(clean.saveCalls, QList<bool>{false});
    EXPECT_EQ(hostArguments(), QStringList{QStringLiteral("-addin:") + clean.nameAfterSave});
}

TEST_F(HostLauncherTest, AChangedNamedScriptIsSavedWithoutAQuestion)
{
    setAppPath(m_hostDir);
    writeHost();
    MessageRecorder messages;
    FakeDocument failing;
    failing.fileName = m_work.filePath(QStringLiteral("a.zml"));
    failing.dirty = true;
    failing.saveSucceeds = false;
    const auto never = [] {
        ADD_FAILURE() << "a named script is saved without a question";
        return false;
    };
    EXPECT_EQ(HostLauncher::RunFile(failing, never), HostLauncher::Result::NotSaved);
    EXPECT_EQ(failing.saveCalls, QList<bool>{false});
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(QTest::qWaitFor([this] { return QFileInfo::exists(m_argsFile); }, 300));

    FakeDocument saving;
    saving.fileName = failing.fileName;
    saving.dirty = true;
    EXPECT_EQ(HostLauncher::RunFile(saving, never), HostLauncher::Result::Started);
    EXPECT_EQ(saving.saveCalls, QList<bool>{false});
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(hostArguments(), QStringList{QStringLiteral("-addin:") + saving.fileName});
}

TEST_F(HostLauncherTest, AMissingHostOrOneThatCannotStartIsReported)
{
    MessageRecorder messages;
    FakeDocument document;
    document.fileName = m_work.filePath(QStringLiteral("a.zml"));

    EXPECT_EQ(HostLauncher::RunFile(document, {}), HostLauncher::Result::HostMissing);
    setAppPath(m_hostDir);
    EXPECT_EQ(HostLauncher::RunFile(document, {}), HostLauncher::Result::HostMissing);
    MsgIcon icon = MsgIcon::None;
    EXPECT_EQ(HostLauncher::Problem(HostLauncher::Result::HostMissing, &icon), kNotFound);
    EXPECT_EQ(icon, MsgIcon::Exclamation);

    writeHost(false);
    EXPECT_EQ(HostLauncher::RunFile(document, {}), HostLauncher::Result::StartFailed);
    EXPECT_EQ(HostLauncher::Problem(HostLauncher::Result::StartFailed, &icon), kNotStarted);
    EXPECT_EQ(icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.texts().isEmpty()); // the window shows them
}
