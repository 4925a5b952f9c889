#include "printing/CPrintCommand.h"
#include "printing/CPrinter.h"
#include "support/MessageRecorder.h"

#include <QFile>
#include <QFileInfo>
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
    EXPECT_FALSE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), true));
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
    EXPECT_FALSE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), true));
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
    ASSERT_TRUE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("a\r\nb"), true));
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
    EXPECT_EQ(CPrintCommand::CurrentPrinter().outputFile, pdf);

    ASSERT_TRUE(QFile::remove(pdf));
    ASSERT_TRUE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("a"), false));
    EXPECT_EQ(fake.shown, 1); // no dialog the second time
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST(PrintCommand, PrintButtonWithoutAnyPrinterSaysSo)
{
    FakePrinters fake({});
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), false));
    EXPECT_EQ(fake.shown, 0);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().at(0).startsWith(QStringLiteral("No printer is installed.")));
    // The preview then lays out on a PDF page.
    const QPageLayout layout = CPrintCommand::CurrentPageLayout();
    EXPECT_TRUE(layout.pageSize().id() == QPageSize::A4 ||
                layout.pageSize().id() == QPageSize::Letter);
}
