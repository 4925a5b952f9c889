#include "core/printing/CPrinter.h"
#include "core/settings/CRegistry.h"
#include "core/settings/RegFileStore.h"
#include "core/settings/SettingsStore.h"
#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kKey = QStringLiteral("Software\\Halvern\\TR AddIn Editor\\Printer");

class PrinterSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_store = std::make_shared<RegFileStore>(m_dir.path());
        m_previous = SettingsStore::setCurrent(m_store);
    }
    void TearDown() override { SettingsStore::setCurrent(m_previous); }

    static QVariant Read(const QString &name)
    {
        CRegistry registry;
        registry.SectionKey = kKey;
        registry.ValueKey = name;
        registry.Default = QStringLiteral("<missing>");
        return registry.Value();
    }
    static qint32 TypeOf(const QString &name)
    {
        CRegistry registry;
        registry.SectionKey = kKey;
        registry.ValueKey = name;
        registry.Value();
        return registry.ValueType;
    }
    static void Write(const QString &name, qint32 type, const QVariant &value)
    {
        CRegistry registry;
        registry.SectionKey = kKey;
        registry.CreateKey();
        registry.ValueKey = name;
        registry.ValueType = type;
        registry.setValue(value);
    }

    QTemporaryDir m_dir;
    std::shared_ptr<RegFileStore> m_store;
    std::shared_ptr<SettingsStore> m_previous;
};

} // namespace

TEST_F(PrinterSettingsTest, FirstSaveWritesEveryValue)
{
    CPrinter printer(CPrinter::Persistence::Settings);
    EXPECT_EQ(Read(QStringLiteral("ScaleMode")), "<missing>"); // reading writes nothing
    ASSERT_TRUE(printer.Save().Saved);
    EXPECT_EQ(printer.ScaleMode(), 3);
    EXPECT_FLOAT_EQ(printer.MarginTop(), 77);
    EXPECT_EQ(printer.HeaderText(), "$L$f$R$d");
    // The key holds all twelve values right away, in their stored forms.
    EXPECT_EQ(Read(QStringLiteral("ScaleMode")), 3);
    EXPECT_EQ(Read(QStringLiteral("MarginLeft")), 4800);
    EXPECT_EQ(Read(QStringLiteral("MarginRight")), 4800);
    EXPECT_EQ(Read(QStringLiteral("MarginTop")), 7700);
    EXPECT_EQ(Read(QStringLiteral("MarginBottom")), 7700);
    EXPECT_EQ(Read(QStringLiteral("MarginHeader")), 3800);
    EXPECT_EQ(Read(QStringLiteral("MarginFooter")), 3800);
    EXPECT_EQ(Read(QStringLiteral("LineNumbers")), 0);
    EXPECT_EQ(Read(QStringLiteral("FontName")), "Courier New");
    EXPECT_EQ(Read(QStringLiteral("FontSize")), 10);
    EXPECT_EQ(Read(QStringLiteral("HeaderText")), "$L$f$R$d");
    EXPECT_EQ(Read(QStringLiteral("FooterText")), "$CPage: $p");
    EXPECT_EQ(TypeOf(QStringLiteral("FontSize")), 4);
    EXPECT_EQ(TypeOf(QStringLiteral("FooterText")), 1);
}

TEST_F(PrinterSettingsTest, ChangesReachTheStoreWhenSaved)
{
    {
        CPrinter printer(CPrinter::Persistence::Settings);
        ASSERT_TRUE(printer.Save().Saved);
        printer.SetScaleMode(5);
        printer.SetMarginLeft(0.125f);
        printer.SetMarginTop(2.675f);
        printer.SetLineNumbers(true);
        printer.SetHeaderText(QString());
        printer.SetFontSize(12);
        EXPECT_EQ(Read(QStringLiteral("ScaleMode")), 3); // setters do not write
        ASSERT_TRUE(printer.Save().Saved);
    }
    EXPECT_EQ(Read(QStringLiteral("ScaleMode")), 5);
    EXPECT_EQ(Read(QStringLiteral("MarginLeft")), 12); // 12.5 rounds to the even neighbour
    EXPECT_EQ(Read(QStringLiteral("MarginTop")), 268);
    EXPECT_EQ(Read(QStringLiteral("LineNumbers")), -1);
    EXPECT_EQ(Read(QStringLiteral("HeaderText")), "");
    EXPECT_EQ(Read(QStringLiteral("FontSize")), 12);

    CPrinter again(CPrinter::Persistence::Settings);
    EXPECT_EQ(again.ScaleMode(), 5);
    EXPECT_FLOAT_EQ(again.MarginLeft(), 0.12f);
    EXPECT_FLOAT_EQ(again.MarginTop(), 2.68f);
    EXPECT_TRUE(again.LineNumbers());
    EXPECT_EQ(again.HeaderText(), ""); // an empty stored header is no header, not the default
    EXPECT_EQ(again.FooterText(), "$CPage: $p");
}

TEST_F(PrinterSettingsTest, HandWrittenValuesAreReadLeniently)
{
    Write(QStringLiteral("LineNumbers"), 4, 1);
    Write(QStringLiteral("ScaleMode"), 4, 4); // no unit the devices know
    Write(QStringLiteral("MarginRight"), 4, 250);
    {
        CPrinter printer(CPrinter::Persistence::Settings);
        EXPECT_TRUE(printer.LineNumbers());
        EXPECT_EQ(printer.ScaleMode(), 3);
        EXPECT_FLOAT_EQ(printer.MarginRight(), 2.5f);
        EXPECT_FLOAT_EQ(printer.MarginLeft(), 48); // missing: the default
        ASSERT_TRUE(printer.Save().Saved);
    }
    EXPECT_EQ(Read(QStringLiteral("LineNumbers")), -1);
    EXPECT_EQ(Read(QStringLiteral("ScaleMode")), 3);
}

TEST_F(PrinterSettingsTest, ValuesThatCannotBeReadAsTheirTypeGiveTheirDefaults)
{
    Write(QStringLiteral("MarginTop"), 1, QStringLiteral("250"));          // text for a number
    Write(QStringLiteral("MarginLeft"), 3, QByteArray("\x10\x27\0\0", 4)); // binary
    Write(QStringLiteral("MarginBottom"), 4, -500);                        // below 0
    Write(QStringLiteral("ScaleMode"), 1, QStringLiteral("5"));
    Write(QStringLiteral("LineNumbers"), 1, QStringLiteral("1"));
    Write(QStringLiteral("FontSize"), 4, 70000);
    Write(QStringLiteral("FontName"), 4, 12);
    Write(QStringLiteral("HeaderText"), 4, 7); // a number for a text
    Write(QStringLiteral("FooterText"), 3, QByteArray("x"));
    Write(QStringLiteral("MarginRight"), 5, 250); // a big-endian DWORD is a number
    CPrinter printer(CPrinter::Persistence::ReadOnly);
    EXPECT_FLOAT_EQ(printer.MarginTop(), 77);
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 48);
    EXPECT_FLOAT_EQ(printer.MarginBottom(), 77);
    EXPECT_FLOAT_EQ(printer.MarginRight(), 2.5f);
    EXPECT_EQ(printer.ScaleMode(), 3);
    EXPECT_FALSE(printer.LineNumbers());
    EXPECT_EQ(printer.FontSize(), 10);
    EXPECT_EQ(printer.FontName(), "Courier New");
    EXPECT_EQ(printer.HeaderText(), "$L$f$R$d");
    EXPECT_EQ(printer.FooterText(), "$CPage: $p");
}

TEST_F(PrinterSettingsTest, TemplatesAreStoredAndReadExactlyAsTyped)
{
    qputenv("STEPSMITH_TEST_VARIABLE", "expanded");
    const QString header = QStringLiteral("$L%STEPSMITH_TEST_VARIABLE%$R%HOME% 100%");
    {
        CPrinter printer(CPrinter::Persistence::Settings);
        printer.SetHeaderText(header);
        ASSERT_TRUE(printer.Save().Saved);
    }
    EXPECT_EQ(TypeOf(QStringLiteral("HeaderText")), 1); // a plain string, not an expandable one
    // One stored as expandable (by an earlier version) is read as stored too.
    Write(QStringLiteral("FooterText"), 2, QStringLiteral("%STEPSMITH_TEST_VARIABLE%$p"));
    ASSERT_EQ(TypeOf(QStringLiteral("FooterText")), 2);
    {
        CPrinter again(CPrinter::Persistence::Settings);
        EXPECT_EQ(again.HeaderText(), header);
        EXPECT_EQ(again.FooterText(), "%STEPSMITH_TEST_VARIABLE%$p");
        ASSERT_TRUE(again.Save().Saved);
    }
    EXPECT_EQ(TypeOf(QStringLiteral("FooterText")), 1);
    qunsetenv("STEPSMITH_TEST_VARIABLE");
}

TEST_F(PrinterSettingsTest, PlainObjectsAndCopiesNeverWrite)
{
    {
        CPrinter plain;
        plain.SetMarginLeft(5);
        CPrinter persistent(CPrinter::Persistence::Settings);
        persistent.SetMarginLeft(7);
        ASSERT_TRUE(persistent.Save().Saved);
        CPrinter copy(persistent);
        copy.SetMarginLeft(9);
        EXPECT_FLOAT_EQ(copy.MarginTop(), 77);
        EXPECT_TRUE(copy.Save().Saved);  // nothing to write
        EXPECT_TRUE(plain.Save().Saved); // nor here
    }
    EXPECT_EQ(Read(QStringLiteral("MarginLeft")), 700);
}

TEST_F(PrinterSettingsTest, AStoreThatRefusesWritesIsReported)
{
    // The settings folder is a file: nothing can be saved there.
    const QString blocked = m_dir.filePath(QStringLiteral("blocked"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsStore::setCurrent(std::make_shared<RegFileStore>(blocked + QStringLiteral("/sub")));
    MessageRecorder messages;
    CPrinter printer(CPrinter::Persistence::Settings);
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 48);
    const CPrinter::SaveResult saved = printer.Save();
    EXPECT_FALSE(saved.Saved);
    EXPECT_FALSE(saved.Problem.isEmpty());
    EXPECT_TRUE(messages.texts().isEmpty()); // the window tells the user, not the page settings
}

TEST_F(PrinterSettingsTest, ReadOnlyObjectReadsTheSettingsAndNeverWritesThem)
{
    {
        // First run: nothing stored, nothing written.
        CPrinter printer(CPrinter::Persistence::ReadOnly);
        printer.SetFontSize(14);
        EXPECT_EQ(printer.FooterText(), "$CPage: $p");
    }
    EXPECT_EQ(Read(QStringLiteral("FontSize")), "<missing>");

    Write(QStringLiteral("LineNumbers"), 4, 1);
    Write(QStringLiteral("MarginTop"), 4, 250);
    Write(QStringLiteral("HeaderText"), 1, QStringLiteral("$Cx"));
    {
        CPrinter printer(CPrinter::Persistence::ReadOnly);
        EXPECT_TRUE(printer.LineNumbers());
        EXPECT_FLOAT_EQ(printer.MarginTop(), 2.5f);
        EXPECT_EQ(printer.HeaderText(), "$Cx");
        printer.SetHeaderText(QStringLiteral("changed"));
    }
    // Still as stored: 1 (not rewritten as -1) and the old header.
    EXPECT_EQ(Read(QStringLiteral("LineNumbers")), 1);
    EXPECT_EQ(Read(QStringLiteral("HeaderText")), "$Cx");
    EXPECT_EQ(Read(QStringLiteral("MarginLeft")), "<missing>");
}
