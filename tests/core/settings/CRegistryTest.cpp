#include "support/TempSettingsStore.h"

#include "core/settings/CRegistry.h"
#include "core/settings/CRegistryError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Software\\Halvern\\TR AddIn Editor\\Printer");

// A store that refuses every change, as a registry without write access would.
class RefusingStore final : public SettingsStore {
public:
    bool keyExists(quint32, const QString &) override { return false; }
    bool createKey(quint32, const QString &) override { return createSucceeds; }
    std::optional<RegValue> readValue(quint32, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    bool writeValue(quint32, const QString &, const QString &, const RegValue &) override
    {
        return false;
    }
    bool createSucceeds = false;
};

} // namespace

class CRegistryTest : public TempSettingsStore {
protected:
    CRegistry reg(const QString &name, qint32 type)
    {
        CRegistry r;
        r.ClassKey = CRegistry::HKeyCurrentUser;
        r.SectionKey = kSection;
        r.ValueKey = name;
        r.ValueType = type;
        return r;
    }
    std::optional<RegValue> stored(const QString &name)
    {
        return RegFileStore(m_dir.path()).readValue(kHKeyCurrentUser, kSection, name);
    }
};

TEST_F(CRegistryTest, StringsAndDwordsReadBackWithTheirTypes)
{
    CRegistry font = reg(QStringLiteral("FontName"), 1);
    font.setValue(QStringLiteral("Courier New"));
    CRegistry size = reg(QStringLiteral("FontSize"), 4);
    size.setValue(10);
    CRegistry empty = reg(QStringLiteral("HeaderText"), 1);
    empty.setValue(QString());

    CRegistry read = reg(QStringLiteral("FontName"), 4);
    read.Default = QStringLiteral("unused");
    EXPECT_EQ(read.Value(), QVariant(QStringLiteral("Courier New")));
    EXPECT_EQ(read.ValueType, 1);
    read.ValueKey = QStringLiteral("fontsize");
    EXPECT_EQ(read.Value(), QVariant(10));
    EXPECT_EQ(read.ValueType, 4);
    read.ValueKey = QStringLiteral("HeaderText"); // an empty value is not a missing one
    EXPECT_EQ(read.Value(), QVariant(QString()));
    EXPECT_EQ(read.Value().typeId(), QMetaType::QString);
}

TEST_F(CRegistryTest, MissingValuesGiveTheDefaultAndLeaveTheType)
{
    CRegistry r = reg(QStringLiteral("MarginLeft"), 4);
    r.Default = 4800;
    EXPECT_EQ(r.Value(), QVariant(4800));
    EXPECT_EQ(r.ValueType, 4);
    r.SectionKey = QStringLiteral("Software\\Nowhere");
    EXPECT_EQ(r.Value(), QVariant(4800));
    EXPECT_FALSE(r.KeyExists());
}

TEST_F(CRegistryTest, IntegersAndBooleansAreWrittenAsDwords)
{
    CRegistry r = reg(QStringLiteral("LineNumbers"), 4);
    r.setValue(true);
    EXPECT_EQ(stored(QStringLiteral("LineNumbers")),
              (RegValue{RegDword, QByteArray("\xff\xff\xff\xff")}));
    r.setValue(false);
    EXPECT_EQ(r.Value(), QVariant(0));

    r = reg(QStringLiteral("ScaleMode"), 5); // big-endian requested: stored as a plain DWORD
    r.setValue(QVariant::fromValue<short>(-2));
    EXPECT_EQ(stored(QStringLiteral("ScaleMode")),
              (RegValue{RegDword, QByteArray("\xfe\xff\xff\xff")}));
    EXPECT_EQ(r.Value(), QVariant(-2));
    EXPECT_EQ(r.ValueType, 4);

    r.ValueType = 4;
    r.setValue(0x80000000u);
    EXPECT_EQ(r.Value(), QVariant(static_cast<qint32>(0x80000000u)));
}

TEST_F(CRegistryTest, ValuesOfOtherKindsOrTypesWriteNothingAndRaiseNothing)
{
    CRegistry r = reg(QStringLiteral("MarginTop"), 4);
    EXPECT_NO_THROW(r.setValue(12.5));
    EXPECT_NO_THROW(r.setValue(QStringLiteral("77")));
    EXPECT_FALSE(stored(QStringLiteral("MarginTop")));

    r.ValueType = 7;
    EXPECT_NO_THROW(r.setValue(QStringLiteral("list")));
    r.ValueType = 11;
    EXPECT_NO_THROW(r.setValue(5));
    EXPECT_FALSE(stored(QStringLiteral("MarginTop")));
    EXPECT_TRUE(r.KeyExists()); // the key itself is created before the type is looked at
}

TEST_F(CRegistryTest, TheTwoPercentRuleChoosesExpandableStrings)
{
    struct Case {
        const char *text;
        qint32 type;
    };
    const Case cases[] = {
        {"%SystemRoot%\\x", 2},
        {"%a%", 2},
        {"a%b%c", 2},
        {"50%", 1},
        {"%", 1},
        {"%%", 1},
        {"a%%b", 1},
        {"%%%", 2},
        {"5% of 6%", 2},
        {"", 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CRegistry::StringType(QString::fromUtf8(c.text)), c.type) << c.text;
        CRegistry r = reg(QStringLiteral("Text"), 1);
        r.setValue(QString::fromUtf8(c.text));
        ASSERT_TRUE(stored(QStringLiteral("Text")).has_value());
        EXPECT_EQ(stored(QStringLiteral("Text"))->type, static_cast<quint32>(c.type)) << c.text;
    }
    // Type 2 requested but no variable in the text: a plain string.
    CRegistry r = reg(QStringLiteral("Text"), 2);
    r.setValue(QStringLiteral("100%"));
    EXPECT_EQ(stored(QStringLiteral("Text"))->type, static_cast<quint32>(RegSz));
}

TEST_F(CRegistryTest, ExpandableStringsAreExpandedOnRead)
{
    qputenv("STEPSMITH_REG_TEST", "/opt/tessaro");
    CRegistry r = reg(QStringLiteral("AppPath"), 1);
    r.setValue(QStringLiteral("%STEPSMITH_REG_TEST%/bin:%STEPSMITH_UNSET_VAR%:100%"));
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("/opt/tessaro/bin:%STEPSMITH_UNSET_VAR%:100%")));
    EXPECT_EQ(r.ValueType, 2);
    EXPECT_EQ(CRegistry::ExpandEnvironmentStrings(QStringLiteral("%X%STEPSMITH_REG_TEST%")),
              QStringLiteral("%X/opt/tessaro"));
    EXPECT_EQ(CRegistry::ExpandEnvironmentStrings(QStringLiteral("%%")), QStringLiteral("%%"));
    qunsetenv("STEPSMITH_REG_TEST");
}

TEST_F(CRegistryTest, StoredTypesAreReadAsTheyWereWritten)
{
    writeUserFile("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor\\Printer]\r\n"
                  "\"BigBytes\"=hex(5):01,02,03,04\r\n"
                  "\"BigDword\"=hex(5):04,03,02,01\r\n"
                  "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                  "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                  "\"Short\"=hex(4):07\r\n"
                  "\"Binary\"=hex:de,ad\r\n"
                  "\"Embedded\"=hex(1):61,00,00,00,62,00,00,00\r\n");
    CRegistry r = reg(QStringLiteral("BigBytes"), 1);
    EXPECT_EQ(r.Value(), QVariant(0x01020304));
    EXPECT_EQ(r.ValueType, 5);
    r.ValueKey = QStringLiteral("BigDword"); // the DWORD 0x01020304 in big-endian order
    EXPECT_EQ(r.Value(), QVariant(0x04030201));
    r.ValueKey = QStringLiteral("Multi");
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    EXPECT_EQ(r.ValueType, 7);
    r.ValueKey = QStringLiteral("Qword");
    EXPECT_EQ(r.Value(), QVariant(QByteArray("\1\0\0\0\0\0\0\0", 8)));
    EXPECT_EQ(r.ValueType, 11);
    r.ValueKey = QStringLiteral("Short");
    EXPECT_EQ(r.Value(), QVariant(7));
    r.ValueKey = QStringLiteral("Binary");
    EXPECT_EQ(r.Value(), QVariant(QByteArray("\xde\xad")));
    EXPECT_EQ(r.ValueType, 3);
    r.ValueKey = QStringLiteral("Embedded"); // text ends at the first zero
    EXPECT_EQ(r.Value(), QVariant(QStringLiteral("a")));
}

TEST_F(CRegistryTest, BinaryNeedsAByteArray)
{
    CRegistry r = reg(QStringLiteral("Blob"), 3);
    r.setValue(QByteArray("\0\1\2", 3));
    EXPECT_EQ(r.Value(), QVariant(QByteArray("\0\1\2", 3)));
    r.ValueType = 3;
    try {
        r.setValue(QStringLiteral("text"));
        FAIL() << "no error raised";
    } catch (const CRegistryError &error) {
        EXPECT_EQ(error.number(), 26001);
        EXPECT_EQ(error.source(),
                  QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                      QStringLiteral(".cRegistry"));
        EXPECT_EQ(error.description(),
                  QStringLiteral("Failed to set registry value Key: '-2147483647',Section: '") +
                      kSection + QStringLiteral("',Key: 'Blob' to value: 'text'"));
        EXPECT_STREQ(error.what(), error.description().toStdString().c_str());
    }
    EXPECT_EQ(r.Value(), QVariant(QByteArray("\0\1\2", 3)));
}

TEST_F(CRegistryTest, RefusedKeysAndWritesRaiseTheirErrors)
{
    auto refusing = std::make_shared<RefusingStore>();
    SettingsStore::setCurrent(refusing);
    CRegistry r = reg(QStringLiteral("FontSize"), 4);
    r.ClassKey = CRegistry::HKeyLocalMachine;
    try {
        r.CreateKey();
        FAIL() << "no error raised";
    } catch (const CRegistryError &error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("Failed to create registry Key: '") + kSection);
    }
    try {
        r.setValue(10); // the key cannot be created: the writing error is raised
        FAIL() << "no error raised";
    } catch (const CRegistryError &error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("Failed to set registry value Key: '-2147483646',Section: '") +
                      kSection + QStringLiteral("',Key: 'FontSize' to value: '10'"));
    }
    refusing->createSucceeds = true;
    EXPECT_THROW(r.setValue(10), CRegistryError);
    EXPECT_NO_THROW(r.setValue(1.5)); // nothing to write, so nothing refused
}

TEST_F(CRegistryTest, MachineValuesLiveApartFromUserValues)
{
    CRegistry user = reg(QStringLiteral("Shared"), 1);
    user.setValue(QStringLiteral("user"));
    CRegistry machine = reg(QStringLiteral("Shared"), 1);
    machine.ClassKey = CRegistry::HKeyLocalMachine;
    EXPECT_FALSE(machine.KeyExists());
    EXPECT_TRUE(machine.CreateKey());
    EXPECT_TRUE(machine.KeyExists());
    machine.setValue(QStringLiteral("machine"));
    EXPECT_EQ(user.Value(), QVariant(QStringLiteral("user")));
    EXPECT_EQ(machine.Value(), QVariant(QStringLiteral("machine")));
    EXPECT_TRUE(QFileInfo::exists(m_dir.path() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg")));
}
