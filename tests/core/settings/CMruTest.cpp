#include "support/TempSettingsStore.h"

#include "core/settings/CMru.h"
#include "core/settings/CRegistry.h"

#include <QSignalSpy>

namespace {

const QString kApp = QStringLiteral("TR AddIn Editor");
const QString kSection = QStringLiteral("MRU List");

QStringList namesOf(const CMru &mru)
{
    QStringList names;
    for (int i = 0; i < mru.ListSize(); ++i)
        names.append(mru.FileName(i));
    return names;
}

QVariant readValue(const QString &name)
{
    CRegistry reg;
    reg.SectionKey = QStringLiteral("Software\\Halvern\\TR AddIn Editor\\MRU List");
    reg.ValueKey = name;
    reg.Default = QStringLiteral("<missing>");
    return reg.Value();
}

} // namespace

TEST(CMruTest, SizeStartsAtFourAndResizesKeepingEntries)
{
    CMru mru;
    QSignalSpy sizeSpy(&mru, &CMru::ListSizeChanged);
    QSignalSpy listSpy(&mru, &CMru::MruListChanged);
    EXPECT_EQ(mru.ListSize(), 4);
    EXPECT_EQ(mru.ListCount(), 0);

    mru.AddToMruList(QStringLiteral("/a/one.zml"));
    mru.AddToMruList(QStringLiteral("/a/two.zml"));
    mru.setListSize(9);
    EXPECT_EQ(mru.ListSize(), 9);
    ASSERT_EQ(sizeSpy.count(), 1);
    EXPECT_EQ(sizeSpy.at(0).at(0).toInt(), 9);
    EXPECT_EQ(mru.ListCount(), 2);
    EXPECT_EQ(mru.FileName(0), QStringLiteral("/a/two.zml"));

    mru.setListSize(9);
    mru.setListSize(0);
    mru.setListSize(-3);
    EXPECT_EQ(sizeSpy.count(), 1);
    EXPECT_EQ(mru.ListSize(), 9);

    // Shrinking drops the entries beyond the new size, which changes the list.
    listSpy.clear();
    mru.setListSize(1);
    EXPECT_EQ(mru.ListCount(), 1);
    EXPECT_EQ(mru.FileName(0), QStringLiteral("/a/two.zml"));
    EXPECT_EQ(mru.FileName(1), QString());
    EXPECT_EQ(listSpy.count(), 1);
}

TEST(CMruTest, AddingAListedFilePromotesItIgnoringCase)
{
    CMru mru;
    mru.setFileNameCase(Qt::CaseInsensitive); // as on Windows
    mru.setListSize(9);
    QSignalSpy listSpy(&mru, &CMru::MruListChanged);
    mru.AddToMruList(QStringLiteral("C:\\Scripts\\First.zml"));
    mru.AddToMruList(QStringLiteral("C:\\Scripts\\Second.zml"));
    mru.AddToMruList(QStringLiteral("C:\\Scripts\\Third.zml"));
    mru.AddToMruList(QStringLiteral("c:\\scripts\\FIRST.ZML"));
    EXPECT_EQ(listSpy.count(), 4);
    EXPECT_EQ(mru.ListCount(), 3);
    EXPECT_EQ(namesOf(mru).mid(0, 4),
              (QStringList{QStringLiteral("c:\\scripts\\FIRST.ZML"),
                           QStringLiteral("C:\\Scripts\\Third.zml"),
                           QStringLiteral("C:\\Scripts\\Second.zml"), QString()}));
    // The promoted entry keeps its title.
    EXPECT_EQ(mru.FileTitle(0), QStringLiteral("First.zml"));
    EXPECT_EQ(mru.FileTitle(1), QStringLiteral("Third.zml"));

    // Promoting the entry at the top changes nothing but its letter case.
    mru.AddToMruList(QStringLiteral("C:\\Scripts\\First.zml"));
    EXPECT_EQ(mru.ListCount(), 3);
    EXPECT_EQ(mru.FileName(0), QStringLiteral("C:\\Scripts\\First.zml"));

    // Blank names are ignored.
    listSpy.clear();
    mru.AddToMruList(QStringLiteral("   "));
    mru.AddToMruList(QString());
    EXPECT_EQ(listSpy.count(), 0);
    EXPECT_EQ(mru.ListCount(), 3);
}

TEST(CMruTest, NamesDifferingInCaseAreTwoFilesWhereTheFileSystemTellsThemApart)
{
    CMru mru;
    mru.setListSize(9);
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    EXPECT_EQ(mru.FileNameCase(), Qt::CaseInsensitive);
    mru.setFileNameCase(Qt::CaseSensitive);
#else
    EXPECT_EQ(mru.FileNameCase(), Qt::CaseSensitive);
#endif
    mru.AddToMruList(QStringLiteral("/s/f5.zml"));
    mru.AddToMruList(QStringLiteral("/s/F5.zml"));
    mru.AddToMruList(QStringLiteral("/s/f5.zml"));
    EXPECT_EQ(mru.ListCount(), 2);
    EXPECT_EQ(namesOf(mru).mid(0, 2),
              (QStringList{QStringLiteral("/s/f5.zml"), QStringLiteral("/s/F5.zml")}));
    EXPECT_EQ(mru.FileTitle(0), QStringLiteral("f5.zml"));
    EXPECT_EQ(mru.FileTitle(1), QStringLiteral("F5.zml"));
}

TEST(CMruTest, TheTenthFilePushesTheOldestOut)
{
    CMru mru;
    mru.setListSize(9);
    for (int i = 1; i <= 9; ++i)
        mru.AddToMruList(QStringLiteral("/s/file%1.zml").arg(i));
    EXPECT_EQ(mru.ListCount(), 9);
    EXPECT_EQ(mru.FileName(8), QStringLiteral("/s/file1.zml"));

    mru.AddToMruList(QStringLiteral("/s/file10.zml"));
    EXPECT_EQ(mru.ListCount(), 9);
    EXPECT_EQ(mru.FileName(0), QStringLiteral("/s/file10.zml"));
    EXPECT_EQ(mru.FileName(8), QStringLiteral("/s/file2.zml"));
    EXPECT_FALSE(namesOf(mru).contains(QStringLiteral("/s/file1.zml")));
    EXPECT_EQ(mru.FileName(9), QString());
    EXPECT_EQ(mru.FileName(-1), QString());
}

TEST(CMruTest, TitlesAreThePartAfterTheLastSeparator)
{
    CMru mru;
    mru.setListSize(9);
    mru.AddToMruList(QStringLiteral("C:\\Data\\win.zml"));
    mru.AddToMruList(QStringLiteral("/home/ann/unix.zml"));
    mru.AddToMruList(QStringLiteral("plain.zml"));
    mru.AddToMruList(QStringLiteral("C:/mixed\\dir/both.zml"));
    mru.AddToMruList(QStringLiteral("/given/path.zml"), QStringLiteral("Given title"));
    EXPECT_EQ(mru.FileTitle(4), QStringLiteral("win.zml"));
    EXPECT_EQ(mru.FileTitle(3), QStringLiteral("unix.zml"));
    EXPECT_EQ(mru.FileTitle(2), QStringLiteral("plain.zml"));
    // A backslash wins over a later slash.
    EXPECT_EQ(mru.FileTitle(1), QStringLiteral("dir/both.zml"));
    EXPECT_EQ(mru.FileTitle(0), QStringLiteral("Given title"));
}

TEST(CMruTest, RemovingComparesExactlyAndClosesTheGap)
{
    CMru mru;
    mru.setListSize(9);
    mru.AddToMruList(QStringLiteral("/s/a.zml"));
    mru.AddToMruList(QStringLiteral("/s/b.zml"));
    mru.AddToMruList(QStringLiteral("/s/c.zml"));
    QSignalSpy listSpy(&mru, &CMru::MruListChanged);

    mru.RemoveFromMruList(QStringLiteral("/S/B.zml"));
    mru.RemoveFromMruList(QStringLiteral(" "));
    EXPECT_EQ(listSpy.count(), 0);
    EXPECT_EQ(mru.ListCount(), 3);

    mru.RemoveFromMruList(QStringLiteral("/s/b.zml"));
    EXPECT_EQ(listSpy.count(), 1);
    EXPECT_EQ(mru.ListCount(), 2);
    EXPECT_EQ(mru.ListSize(), 9);
    EXPECT_EQ(namesOf(mru).mid(0, 3),
              (QStringList{QStringLiteral("/s/c.zml"), QStringLiteral("/s/a.zml"), QString()}));
    EXPECT_EQ(mru.FileTitle(1), QStringLiteral("a.zml"));
    EXPECT_EQ(mru.FileTitle(2), QString());

    mru.RemoveFromMruList(QStringLiteral("/s/c.zml"));
    mru.RemoveFromMruList(QStringLiteral("/s/a.zml"));
    EXPECT_EQ(mru.ListCount(), 0);
    EXPECT_EQ(listSpy.count(), 3);
}

using CMruSettingsTest = TempSettingsStore;

TEST_F(CMruSettingsTest, SavesEverySlotAndReadsTheListBack)
{
    CMru mru;
    mru.setListSize(9);
    mru.AddToMruList(QStringLiteral("/s/old.zml"));
    mru.AddToMruList(QStringLiteral("/home/ann/%HOME%/odd name.zml"));
    mru.AddToMruList(QStringLiteral("/s/new.zml"), QStringLiteral("Newest"));
    ASSERT_TRUE(mru.SaveMruList(kApp, kSection));

    EXPECT_EQ(readValue(QStringLiteral("FileName1")), QStringLiteral("/s/new.zml"));
    EXPECT_EQ(readValue(QStringLiteral("FileTitle1")), QStringLiteral("Newest"));
    EXPECT_EQ(readValue(QStringLiteral("FileName3")), QStringLiteral("/s/old.zml"));
    // Empty slots are written as empty strings, up to the list size.
    EXPECT_EQ(readValue(QStringLiteral("FileName4")), QString());
    EXPECT_EQ(readValue(QStringLiteral("FileTitle9")), QString());
    EXPECT_EQ(readValue(QStringLiteral("FileName10")), QStringLiteral("<missing>"));
    // A path that looks like it holds a variable is stored as plain text, unexpanded.
    EXPECT_EQ(readValue(QStringLiteral("FileName2")),
              QStringLiteral("/home/ann/%HOME%/odd name.zml"));

    CMru restored;
    restored.setListSize(9);
    QSignalSpy listSpy(&restored, &CMru::MruListChanged);
    restored.GetMruList(kApp, kSection);
    EXPECT_EQ(listSpy.count(), 1);
    EXPECT_EQ(restored.ListCount(), 3);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(restored.FileName(i), mru.FileName(i)) << i;
        EXPECT_EQ(restored.FileTitle(i), mru.FileTitle(i)) << i;
    }

    // Reading from a section that does not exist empties the list.
    restored.GetMruList(kApp, QStringLiteral("Other List"));
    EXPECT_EQ(restored.ListCount(), 0);
}

TEST_F(CMruSettingsTest, ReadingPacksEntriesAndFillsMissingTitles)
{
    writeUserFile("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor\\MRU List]\r\n"
                  "\"FileName1\"=\"\"\r\n"
                  "\"FileName2\"=\"/s/second.zml\"\r\n"
                  "\"FileTitle2\"=\"Second\"\r\n"
                  "\"FileName3\"=dword:00000007\r\n"
                  "\"FileName4\"=\"/s/fourth.zml\"\r\n");
    CMru mru;
    mru.setListSize(9);
    mru.GetMruList(kApp, kSection);
    EXPECT_EQ(mru.ListCount(), 2);
    EXPECT_EQ(mru.FileName(0), QStringLiteral("/s/second.zml"));
    EXPECT_EQ(mru.FileTitle(0), QStringLiteral("Second"));
    EXPECT_EQ(mru.FileName(1), QStringLiteral("/s/fourth.zml"));
    EXPECT_EQ(mru.FileTitle(1), QStringLiteral("fourth.zml"));
}
