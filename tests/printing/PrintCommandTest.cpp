#include "printing/CPrintCommand.h"
#include "printing/CPrinter.h"
#include "support/MessageRecorder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Installs fake printers and a scripted printer dialog for one test.
class FakePrinters {
public:
    explicit FakePrinters(QStringList installed)
    {
        CPrintCommand::ResetCurrentPrinter();
        CPrintCommand::SetInstalledPrinters([installed] { return installed; });
        CPrintCommand::SetPrinterDialog([this](QWidget *, CPrintCommand::PrinterChoice &choice) {
            ++shown;
            offered = choice;
            if (!accept)
                return false;
            choice = answer;
            return true;
        });
    }
    ~FakePrinters()
    {
        CPrintCommand::SetInstalledPrinters({});
        CPrintCommand::SetPrinterDialog({});
        CPrintCommand::ResetCurrentPrinter();
    }
    FakePrinters(const FakePrinters &) = delete;
    FakePrinters &operator=(const FakePrinters &) = delete;

    bool accept = true;
    CPrintCommand::PrinterChoice answer;
    CPrintCommand::PrinterChoice offered;
    int shown = 0;
};

} // namespace

TEST(PrintCommand, CancelledDialogPrintsNothing)
{
    FakePrinters fake({QStringLiteral("Office")});
    fake.accept = false;
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), QString(), true));
    EXPECT_EQ(fake.shown, 1);
    EXPECT_EQ(fake.offered.deviceName, "Office"); // the default printer is offered
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST(PrintCommand, UnknownDeviceCannotBeConnected)
{
    FakePrinters fake({QStringLiteral("Office")});
    fake.answer.deviceName = QStringLiteral("Basement");
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), QString(), true));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).text, "Unable to connect to printer Basement");
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(CPrintCommand::CurrentPrinter().deviceName, "Office");
}

TEST(PrintCommand, PdfChosenInTheDialogStaysCurrentForThePrintButton)
{
    FakePrinters fake({});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("job.pdf"));
    fake.answer.outputFile = pdf;
    MessageRecorder messages;
    CPrinter settings;
    ASSERT_TRUE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("alpha\r\nbeta"),
                                             QStringLiteral("/scripts/demo.zml"), true));
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(text.contains(QStringLiteral("demo.zml")));
        EXPECT_TRUE(text.contains(QStringLiteral("alpha")));
        EXPECT_TRUE(text.contains(QStringLiteral("Page: 1")));
    }
    EXPECT_EQ(CPrintCommand::CurrentPrinter().outputFile, pdf);

    ASSERT_TRUE(QFile::remove(pdf));
    ASSERT_TRUE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("a"), QString(), false));
    EXPECT_EQ(fake.shown, 1); // no dialog the second time
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST(PrintCommand, PrintButtonWithoutAnyPrinterSaysSo)
{
    FakePrinters fake({});
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), QString(), false));
    EXPECT_EQ(fake.shown, 0);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().at(0).startsWith(QStringLiteral("No printer is installed.")));
    // The preview then lays out on a PDF page.
    const QPageLayout layout = CPrintCommand::CurrentPageLayout();
    EXPECT_TRUE(layout.pageSize().id() == QPageSize::A4 ||
                layout.pageSize().id() == QPageSize::Letter);
}
