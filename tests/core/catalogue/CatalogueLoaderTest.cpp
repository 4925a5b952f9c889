#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CElements.h"

#include "support/TempSettingsStore.h"

#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class CatalogueLoaderTest : public ::testing::Test {
protected:
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("Actions.dat"))
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString write(const QCborMap &map) { return write(QCborValue(map).toCbor()); }

    QTemporaryDir dir;
};

QCborMap twoActions()
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 2);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("findtext"));
    map.insert(QStringLiteral("Description1"), QStringLiteral("Find text"));
    map.insert(QStringLiteral("Parent1"), QStringLiteral("Find"));
    map.insert(QStringLiteral("ContainsText1"), true);
    map.insert(QStringLiteral("TextMultiLine1"), true);
    map.insert(QStringLiteral("TextRequired1"), true);
    map.insert(QStringLiteral("TextDescription1"), QStringLiteral("Text"));
    map.insert(QStringLiteral("Text1"), QStringLiteral("initial"));
    map.insert(QStringLiteral("Information1"), QStringLiteral("Finds"));
    map.insert(QStringLiteral("AttribCount1"), 3);
    map.insert(QStringLiteral("AttribName1_1"), QStringLiteral("matchcase"));
    map.insert(QStringLiteral("Type1-1"), 6);
    map.insert(QStringLiteral("DefaultValue1_1"), true);
    map.insert(QStringLiteral("Description1_1"), QStringLiteral("Match case"));
    map.insert(QStringLiteral("Required1_1"), true);
    map.insert(QStringLiteral("Value1_1"), QStringLiteral("false"));
    map.insert(QStringLiteral("ArrayValues1_1"), QStringLiteral("true|false"));
    map.insert(QStringLiteral("AttribName1_2"), QStringLiteral("count"));
    map.insert(QStringLiteral("Type1_2"), 5); // the underscore form is not the type key
    map.insert(QStringLiteral("DefaultValue1_2"), 7);
    map.insert(QStringLiteral("AttribName1_3"), QStringLiteral("MatchCase")); // duplicate
    map.insert(QStringLiteral("Type1-3"), 2);
    map.insert(QStringLiteral("ElementName2"), QStringLiteral("var"));
    return map;
}

} // namespace

TEST_F(CatalogueLoaderTest, ReadsEveryKeyWithItsDefault)
{
    CElements catalogue;
    const QString path = write(twoActions());
    catalogue.LoadFile(path);
    EXPECT_EQ(catalogue.FilePath(), path);
    ASSERT_EQ(catalogue.Count(), 2);
    const auto find = catalogue.Item("FINDTEXT");
    ASSERT_TRUE(find);
    EXPECT_EQ(find->Key(), "FINDTEXT");
    EXPECT_EQ(find->ElementName, "findtext");
    EXPECT_EQ(find->Description, "Find text");
    EXPECT_EQ(find->Parent, "Find");
    EXPECT_TRUE(find->ContainsText);
    EXPECT_TRUE(find->TextAllowMultiLine);
    EXPECT_TRUE(find->TextRequired);
    EXPECT_EQ(find->TextDescription, "Text");
    EXPECT_EQ(find->Text, "initial");
    EXPECT_EQ(find->Information, "Finds");
    ASSERT_EQ(find->Attributes().Count(), 2);
    const auto match = find->Attributes().Item(1);
    EXPECT_EQ(match->AttributeName, "matchcase");
    EXPECT_EQ(match->DataType, 6);
    EXPECT_EQ(match->DefaultValue.typeId(), QMetaType::Bool);
    EXPECT_TRUE(match->DefaultValue.toBool());
    EXPECT_EQ(match->Description, "Match case");
    EXPECT_TRUE(match->Required);
    EXPECT_EQ(match->Value, "false");
    EXPECT_EQ(match->ArrayValues, "true|false");
    const auto count = find->Attributes().Item("COUNT");
    EXPECT_EQ(count->DataType, 1);
    EXPECT_EQ(count->DefaultValue.toLongLong(), 7);
    EXPECT_NE(count->DefaultValue.typeId(), QMetaType::QString);

    const auto var = catalogue.Item(2);
    EXPECT_EQ(var->ElementName, "var");
    EXPECT_FALSE(var->ContainsText);
    EXPECT_EQ(var->Attributes().Count(), 0);
    EXPECT_TRUE(var->Description.isEmpty());
}

TEST_F(CatalogueLoaderTest, DuplicateActionsKeepTheFirst)
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 3);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("Var"));
    map.insert(QStringLiteral("Description1"), QStringLiteral("first"));
    map.insert(QStringLiteral("ElementName2"), QStringLiteral("var"));
    map.insert(QStringLiteral("Description2"), QStringLiteral("second"));
    map.insert(QStringLiteral("ElementName3"), QStringLiteral("if"));
    CElements catalogue;
    catalogue.LoadFile(write(map));
    ASSERT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(catalogue.Item("var")->Description, "first");
    EXPECT_EQ(catalogue.Item(2)->ElementName, "if");
}

TEST_F(CatalogueLoaderTest, UnreadableOrCorruptFilesLeaveTheCatalogueAlone)
{
    CElements catalogue;
    (void)catalogue.Add("kept");
    catalogue.LoadFile(QDir(dir.path()).filePath("missing.dat"));
    catalogue.LoadFile(write(QByteArray("\xff\x00garbage", 9), "bad.dat"));
    catalogue.LoadFile(write(QCborValue(QStringLiteral("not a map")).toCbor(), "text.dat"));
    QCborMap none;
    none.insert(QStringLiteral("ElementName1"), QStringLiteral("x"));
    catalogue.LoadFile(write(none));
    QCborMap zero = twoActions();
    zero.insert(QStringLiteral("ElementCount"), 0);
    catalogue.LoadFile(write(zero));
    QCborMap wrongType = twoActions();
    wrongType.insert(QStringLiteral("ElementCount"), QStringLiteral("2"));
    catalogue.LoadFile(write(wrongType));
    ASSERT_EQ(catalogue.Count(), 1);
    EXPECT_TRUE(catalogue.Contains("kept"));
    QDir(dir.path()).mkdir("folder.dat");
    catalogue.LoadFile(QDir(dir.path()).filePath("folder.dat"));
    EXPECT_EQ(catalogue.Count(), 1);
}

TEST_F(CatalogueLoaderTest, HugeCountsInADamagedFileLoadQuickly)
{
    QCborMap map = twoActions();
    map.insert(QStringLiteral("ElementCount"), Q_INT64_C(2000000000));
    map.insert(QStringLiteral("AttribCount2"), Q_INT64_C(2000000000));
    map.insert(QStringLiteral("ElementName7"), QStringLiteral("seventh"));
    CElements catalogue;
    catalogue.LoadFile(write(map));
    // findtext, var and the seventh; the key-less entries before it (no name, so no action and
    // no attribute a script could hold) are left out and reported.
    ASSERT_EQ(catalogue.Count(), 3);
    EXPECT_EQ(catalogue.Item(3)->ElementName, "seventh");
    EXPECT_EQ(catalogue.Item("var")->Attributes().Count(), 0);
    EXPECT_EQ(catalogue.LoadProblems(),
              (QStringList{"An attribute without a name of the action 'var' was left out.",
                           "An action without a name was left out."}));
}

TEST_F(CatalogueLoaderTest, NamesThatCannotBeWrittenAreLeftOutAndReported)
{
    QCborMap map = twoActions();
    map.insert(QStringLiteral("ElementCount"), 3);
    map.insert(QStringLiteral("AttribCount2"), 6); // more than var stores
    map.insert(QStringLiteral("AttribName2_1"), QStringLiteral("a b"));
    map.insert(QStringLiteral("AttribName2_2"), QStringLiteral("name"));
    map.insert(QStringLiteral("AttribName2_3"), QStringLiteral("xmlns"));
    map.insert(QStringLiteral("AttribName2_4"), QStringLiteral("p:q"));
    map.insert(QStringLiteral("AttribName2_5"), QStringLiteral("x=\"\" y"));
    map.insert(QStringLiteral("ElementName3"), QStringLiteral("bad/>"));
    CElements catalogue;
    catalogue.LoadFile(write(map));
    ASSERT_EQ(catalogue.Count(), 2);
    const auto var = catalogue.Item("var");
    ASSERT_EQ(var->Attributes().Count(), 1);
    EXPECT_EQ(var->Attributes().Item(1)->AttributeName, "name");
    const QString cannot = QStringLiteral("' of the action 'var' was left out: its name cannot be "
                                          "written to a script.");
    EXPECT_EQ(catalogue.LoadProblems(),
              (QStringList{"The attribute 'a b" + cannot, "The attribute 'xmlns" + cannot,
                           "The attribute 'p:q" + cannot, "The attribute 'x=\"\" y" + cannot,
                           "An attribute without a name of the action 'var' was left out.",
                           "The action 'bad/>' was left out: its name cannot be written to a "
                           "script."}));
    EXPECT_TRUE(CatalogueProblemsMessage(catalogue.LoadProblems())
                    .endsWith("\r\n1 more problems were found."));

    // A good file reports nothing; a pipe is not read, and says so.
    catalogue.LoadFile(write(twoActions()));
    EXPECT_TRUE(catalogue.LoadProblems().isEmpty());
    const QString fifo = QDir(dir.path()).filePath("pipe.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    catalogue.LoadFile(fifo);
    EXPECT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(catalogue.LoadProblems(),
              QStringList{"The catalogue '" + fifo +
                          "' is a device or a pipe, not a file, and was not read."});
}

TEST_F(CatalogueLoaderTest, BundledCatalogueLoads)
{
    CElements catalogue;
    catalogue.LoadFile(QStringLiteral(STEPSMITH_BUNDLED_CATALOGUE));
    EXPECT_GE(catalogue.Count(), 60);
    EXPECT_TRUE(catalogue.LoadProblems().isEmpty())
        << catalogue.LoadProblems().join('\n').toStdString();
    for (const char *name : {"if", "else", "endif", "loop", "endloop", "var", "range"})
        EXPECT_TRUE(catalogue.Contains(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(catalogue.Item("var")->Attributes().Item("name"));
}

using CatalogueLocationTest = TempSettingsStore;

TEST_F(CatalogueLocationTest, SettingFolderThenProgramFolderThenDataFolder)
{
    QTemporaryDir setting, program, data;
    const auto touch = [](const QString &folder) {
        QFile file(QDir(folder).filePath("Actions.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(LocateCatalogue(program.path(), data.path()), QString());
    touch(data.path());
    EXPECT_EQ(LocateCatalogue(program.path(), data.path()),
              QDir(data.path()).filePath("Actions.dat"));
    touch(program.path());
    EXPECT_EQ(LocateCatalogue(program.path(), data.path()),
              QDir(program.path()).filePath("Actions.dat"));

    // The setting names a folder without the file: the program's folder is used.
    const QByteArray folder = QDir::toNativeSeparators(setting.path()).toUtf8();
    writeUserFile("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Tessaro\\Paths]\r\n"
                  "\"DatFiles\"=\"" +
                  folder + "/\"\r\n");
    EXPECT_EQ(LocateCatalogue(program.path(), data.path()),
              QDir(program.path()).filePath("Actions.dat"));
    touch(setting.path());
    EXPECT_EQ(QDir::cleanPath(LocateCatalogue(program.path(), data.path())),
              QDir(setting.path()).filePath("Actions.dat"));

    EXPECT_EQ(CatalogueMissingMessage(),
              "Can't find the 'Actions.dat' file.\r\nApplication execution aborted");
}
