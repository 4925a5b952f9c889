#include "support/TempSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <unistd.h>

namespace {

const QString kKey = QStringLiteral("Software\\Halvern\\TR AddIn Editor");

RegValue dword(qint32 number)
{
    RegValue value{RegDword, QByteArray(4, '\0')};
    qToLittleEndian(number, value.data.data());
    return value;
}

RegValue text(const QString &s)
{
    RegValue value{RegSz, {}};
    for (QChar c : s) {
        value.data.append(static_cast<char>(c.unicode() & 0xFF));
        value.data.append(static_cast<char>(c.unicode() >> 8));
    }
    value.data.append(2, '\0');
    return value;
}

} // namespace

using RegFileStoreTest = TempSettingsStore;

TEST_F(RegFileStoreTest, ValuesOfEveryTypeSurviveANewStoreInstance)
{
    const QList<QPair<QString, RegValue>> values = {
        {QStringLiteral("String"), text(QStringLiteral("Courier New"))},
        {QStringLiteral("Expand"), {RegExpandSz, text(QStringLiteral("%HOME%")).data}},
        {QStringLiteral("Dword"), dword(-1)},
        {QStringLiteral("Big"), {RegDwordBigEndian, QByteArray("\1\2\3\4")}},
        {QStringLiteral("Multi"), {RegMultiSz, QByteArray("x\0\0\0\0\0", 6)}},
        {QStringLiteral("Binary"), {RegBinary, QByteArray("\0\x7f\x80\xff", 4)}},
        {QString(), text(QStringLiteral("default"))},
    };
    for (const auto &[name, value] : values)
        ASSERT_TRUE(
            m_store->writeValue(kHKeyCurrentUser, kKey + QStringLiteral("\\MainWnd"), name, value));

    RegFileStore fresh(m_dir.path());
    for (const auto &[name, value] : values) {
        const std::optional<RegValue> read =
            fresh.readValue(kHKeyCurrentUser,
                            QStringLiteral("SOFTWARE\\halvern\\tr addin editor\\mainwnd\\"), name);
        ASSERT_TRUE(read.has_value()) << name.toStdString();
        EXPECT_EQ(*read, value) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(m_dir.path() + QStringLiteral("/HKEY_CURRENT_USER.reg")));
    EXPECT_FALSE(fresh.readValue(kHKeyLocalMachine, kKey + QStringLiteral("\\MainWnd"),
                                 QStringLiteral("String")));
}

TEST_F(RegFileStoreTest, KeysExistOnceCreatedAndParentsWithThem)
{
    EXPECT_TRUE(m_store->keyExists(kHKeyCurrentUser, QString()));
    EXPECT_FALSE(m_store->keyExists(kHKeyCurrentUser, kKey));
    ASSERT_TRUE(m_store->createKey(kHKeyCurrentUser, kKey + QStringLiteral("\\Printer")));
    RegFileStore fresh(m_dir.path());
    EXPECT_TRUE(fresh.keyExists(kHKeyCurrentUser, kKey + QStringLiteral("\\printer\\")));
    EXPECT_TRUE(fresh.keyExists(kHKeyCurrentUser, QStringLiteral("software\\HALVERN")));
    EXPECT_FALSE(fresh.keyExists(kHKeyCurrentUser, QStringLiteral("Software\\Halv")));
    EXPECT_FALSE(fresh.keyExists(kHKeyLocalMachine, kKey));

    // A sibling that sorts between a key and its subkeys does not hide the key.
    ASSERT_TRUE(m_store->createKey(kHKeyCurrentUser, QStringLiteral("Software\\A B")));
    ASSERT_TRUE(m_store->createKey(kHKeyCurrentUser, QStringLiteral("Software\\A\\X")));
    EXPECT_TRUE(m_store->keyExists(kHKeyCurrentUser, QStringLiteral("Software\\a")));
    EXPECT_FALSE(m_store->keyExists(kHKeyCurrentUser, QStringLiteral("Software\\A B\\X")));

    // A value name keeps the letter case it was first written with.
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("WordWrap"), dword(1)));
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("WORDWRAP"), dword(0)));
    EXPECT_EQ(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("wordwrap")), dword(0));
    EXPECT_TRUE(readUserFile().contains("\"WordWrap\"=dword:00000000"));
}

TEST_F(RegFileStoreTest, RefusesWhatCannotBeStored)
{
    EXPECT_FALSE(m_store->writeValue(0x80000003u, kKey, QStringLiteral("x"), dword(1)));
    EXPECT_FALSE(m_store->writeValue(kHKeyCurrentUser, QStringLiteral("a\\\\b"),
                                     QStringLiteral("x"), dword(1)));
    EXPECT_FALSE(
        m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("two\nlines"), dword(1)));
    EXPECT_FALSE(m_store->createKey(0x80000003u, kKey));
    EXPECT_FALSE(QFileInfo::exists(userFile()));
}

TEST_F(RegFileStoreTest, ACachingStoreSeesWritesOfAnotherInstance)
{
    RegFileStore other(m_dir.path());
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Size"), dword(1)));
    EXPECT_EQ(other.readValue(kHKeyCurrentUser, kKey, QStringLiteral("Size")), dword(1));
    // Same file size, written immediately after: the cache must still notice.
    for (qint32 i = 2; i < 6; ++i) {
        ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Size"), dword(i)));
        EXPECT_EQ(other.readValue(kHKeyCurrentUser, kKey, QStringLiteral("Size")), dword(i));
    }
    // A write merges into the file as it is now, not into a stale cache.
    ASSERT_TRUE(other.writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Other"), dword(7)));
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Mine"), dword(8)));
    RegFileStore fresh(m_dir.path());
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("Other")), dword(7));
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("Mine")), dword(8));
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("Size")), dword(5));
}

TEST_F(RegFileStoreTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kCount = 40;
    QProcess first;
    QProcess second;
    const QStringList common = {m_dir.path()};
    first.start(QStringLiteral(REGSTORE_WRITER),
                common + QStringList{QStringLiteral("first"), QString::number(kCount)});
    second.start(QStringLiteral(REGSTORE_WRITER),
                 common + QStringList{QStringLiteral("second"), QString::number(kCount)});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);

    RegFileStore fresh(m_dir.path());
    for (int i = 0; i < kCount; ++i) {
        for (const char *prefix : {"first", "second"}) {
            EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, QStringLiteral("Software\\Race"),
                                      QLatin1String(prefix) + QString::number(i)),
                      dword(i))
                << prefix << i;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(userFile() + QStringLiteral(".lock")));
}

TEST_F(RegFileStoreTest, ABatchSavesItsWritesTogetherAndMergesWithOthers)
{
    RegFileStore other(m_dir.path());
    ASSERT_TRUE(other.writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Before"), dword(1)));
    const QByteArray before = readUserFile();
    {
        SettingsBatch batch(*m_store);
        {
            SettingsBatch inner(*m_store); // nested: only the outer batch saves
            for (qint32 i = 0; i < 20; ++i)
                ASSERT_TRUE(
                    m_store->writeValue(kHKeyCurrentUser, kKey, QString::number(i), dword(i)));
            EXPECT_TRUE(inner.commit());
        }
        EXPECT_EQ(readUserFile(), before);
        EXPECT_EQ(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("7")), dword(7));
        EXPECT_FALSE(other.readValue(kHKeyCurrentUser, kKey, QStringLiteral("7")));
        // Another process writes meanwhile; its value must survive the batch's save.
        ASSERT_TRUE(other.writeValue(kHKeyCurrentUser, kKey, QStringLiteral("During"), dword(2)));
        EXPECT_EQ(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("19")), dword(19));
        EXPECT_TRUE(batch.commit());
    }
    RegFileStore fresh(m_dir.path());
    for (const char *name : {"Before", "During", "0", "19"})
        EXPECT_TRUE(fresh.readValue(kHKeyCurrentUser, kKey, QLatin1String(name))) << name;
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("During")), dword(2));
}

TEST_F(RegFileStoreTest, ABatchThatCannotBeSavedSaysSo)
{
    SettingsBatch batch(*m_store);
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Lost"), dword(1)));
    QDir(m_dir.path()).removeRecursively();
    QFile blocker(m_dir.path()); // a file where the settings folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(batch.commit());
    EXPECT_FALSE(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("Lost")));
    QFile::remove(m_dir.path());
}

TEST_F(RegFileStoreTest, ADamagedFileIsBackedUpOnceAndItsReadableValuesKept)
{
    QByteArray damaged = "Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor]\r\n"
                         "\"FontName\"=\"Arial\"\r\n"
                         "\"FontSize\"=dword:0000000";
    damaged.append(QByteArray("\0\0\0", 3));
    damaged.append("\xff\xfe garbage\r\n\"LastPath\"=\"/home/u\"\r\n\"Blob\"=hex:01,0");
    writeUserFile(damaged);

    EXPECT_EQ(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("FontName")),
              text(QStringLiteral("Arial")));
    EXPECT_EQ(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("LastPath")),
              text(QStringLiteral("/home/u")));
    EXPECT_FALSE(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("FontSize")));
    EXPECT_FALSE(m_store->readValue(kHKeyCurrentUser, kKey, QStringLiteral("Blob"))); // cut short

    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("IconStyle"), dword(2)));
    QFile backup(userFile() + QStringLiteral(".bad"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), damaged);
    backup.close();

    RegFileStore fresh(m_dir.path());
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("FontName")),
              text(QStringLiteral("Arial")));
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("LastPath")),
              text(QStringLiteral("/home/u")));
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("IconStyle")), dword(2));
    EXPECT_FALSE(readUserFile().contains("garbage"));

    // A later damage does not replace the first backup.
    writeUserFile(readUserFile() + "more garbage\r\n");
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("IconStyle"), dword(1)));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), damaged);
    EXPECT_EQ(fresh.readValue(kHKeyCurrentUser, kKey, QStringLiteral("IconStyle")), dword(1));
}

TEST_F(RegFileStoreTest, AFileThatCannotBeReadIsNeverReplaced)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not apply to root";
    ASSERT_TRUE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("Kept"), dword(1)));
    const QByteArray before = readUserFile();
    QFile::setPermissions(userFile(), QFileDevice::WriteOwner);
    EXPECT_FALSE(
        RegFileStore(m_dir.path()).readValue(kHKeyCurrentUser, kKey, QStringLiteral("Kept")));
    EXPECT_FALSE(m_store->writeValue(kHKeyCurrentUser, kKey, QStringLiteral("New"), dword(2)));
    QFile::setPermissions(userFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readUserFile(), before);
}

TEST_F(RegFileStoreTest, AReadOnlyMachineFileRefusesWrites)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not apply to root";
    const QString machine = m_store->filePath(kHKeyLocalMachine);
    EXPECT_TRUE(machine.endsWith(QStringLiteral("/HKEY_LOCAL_MACHINE.reg")));
    QFile file(machine);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_LOCAL_MACHINE\\Software\\Tessaro]\r\n\"Shared\"=\"yes\"\r\n");
    file.close();
    QFile::setPermissions(machine, QFileDevice::ReadOwner);
    EXPECT_EQ(m_store->readValue(kHKeyLocalMachine, QStringLiteral("software\\tessaro"),
                                 QStringLiteral("shared")),
              text(QStringLiteral("yes")));
    EXPECT_FALSE(m_store->writeValue(kHKeyLocalMachine, QStringLiteral("Software\\Tessaro"),
                                     QStringLiteral("Shared"), text(QStringLiteral("no"))));
    EXPECT_EQ(m_store->readValue(kHKeyLocalMachine, QStringLiteral("Software\\Tessaro"),
                                 QStringLiteral("Shared")),
              text(QStringLiteral("yes")));
    QFile::setPermissions(machine, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(RegFileStoreLocation, FollowsXdgConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/stepsmith-xdg-test");
    EXPECT_EQ(RegFileStore::defaultDirectory(),
              QStringLiteral("/tmp/stepsmith-xdg-test/stepsmith"));
    EXPECT_EQ(RegFileStore().filePath(kHKeyCurrentUser),
              QStringLiteral("/tmp/stepsmith-xdg-test/stepsmith/HKEY_CURRENT_USER.reg"));
    qputenv("XDG_CONFIG_HOME", saved);
}
