#include "core/printing/CPrinter.h"
#include "gui/printing/CPrintCommand.h"
#include "support/MessageRecorder.h"
#include "support/PdfText.h"

#include <fieldpane/CCommonDialogs.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

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
        const QString text = PdfText(pdf);
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

namespace {

using Fieldpane::CCommonDialogs;

// Fake printers with the program's own printer dialog, answered through Fieldpane's hook.
class CommonPrinterDialog {
public:
    explicit CommonPrinterDialog(QStringList installed)
    {
        CPrintCommand::ResetCurrentPrinter();
        CPrintCommand::SetPrinterDialog({});
        CPrintCommand::SetInstalledPrinters([installed] { return installed; });
        CCommonDialogs::SetDialogHook([this](const CCommonDialogs::Request &request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~CommonPrinterDialog()
    {
        CCommonDialogs::SetDialogHook({});
        CPrintCommand::SetInstalledPrinters({});
        CPrintCommand::ResetCurrentPrinter();
    }
    CommonPrinterDialog(const CommonPrinterDialog &) = delete;
    CommonPrinterDialog &operator=(const CommonPrinterDialog &) = delete;

    CCommonDialogs::Answer answer;
    std::vector<CCommonDialogs::Request> requests;
};

} // namespace

TEST(PrintCommandDialog, ChosenDeviceMustBeInstalled)
{
    CommonPrinterDialog dialog({QStringLiteral("Office"), QStringLiteral("Office 2")});
    dialog.answer.Accepted = true;
    dialog.answer.DeviceName = QStringLiteral("Office 3");
    dialog.answer.Orientation = 2;
    MessageRecorder messages;
    CPrinter settings;
    QWidget owner;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(&owner, settings, QStringLiteral("x"), QString(), true));
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests.at(0).Kind, CCommonDialogs::DialogKind::Printer);
    EXPECT_EQ(dialog.requests.at(0).Owner, &owner);
    EXPECT_TRUE(dialog.requests.at(0).AllowPrintToFile);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().at(0).text, "Unable to connect to printer Office 3");
    EXPECT_EQ(messages.messages().at(0).icon, MsgIcon::Critical);
    // The refused device does not become the current printer.
    EXPECT_EQ(CPrintCommand::CurrentPrinter().deviceName, "Office");
}

TEST(PrintCommandDialog, CancelPrintsNothingAndKeepsThePrinter)
{
    CommonPrinterDialog dialog({QStringLiteral("Office")});
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), QString(), true));
    EXPECT_EQ(dialog.requests.size(), 1u);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(CPrintCommand::CurrentPrinter().deviceName.isEmpty());
}

TEST(PrintCommandDialog, PdfFileChosenInTheDialogIsWrittenAndOfferedAgain)
{
    CommonPrinterDialog dialog({});
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chosen.pdf"));
    dialog.answer.Accepted = true;
    dialog.answer.OutputFileName = pdf;
    dialog.answer.Orientation = 2;
    dialog.answer.PrintCopies = 1;
    MessageRecorder messages;
    CPrinter settings;
    ASSERT_TRUE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("one\r\ntwo"),
                                             QString(), true));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    const CPrintCommand::PrinterChoice current = CPrintCommand::CurrentPrinter();
    EXPECT_EQ(current.outputFile, pdf);
    EXPECT_TRUE(current.deviceName.isEmpty());
    EXPECT_EQ(current.orientation, 2);
    EXPECT_EQ(CPrintCommand::CurrentPageLayout().orientation(), QPageLayout::Landscape);

    // The next dialog starts from the file chosen last time.
    dialog.answer.Accepted = false;
    EXPECT_FALSE(
        CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"), QString(), true));
    ASSERT_EQ(dialog.requests.size(), 2u);
    EXPECT_EQ(dialog.requests.at(1).OutputFileName, pdf);
}

TEST(PrintCommandDialog, WithoutPrintersAPdfBesideTheDocumentIsOffered)
{
    CommonPrinterDialog dialog({});
    MessageRecorder messages;
    CPrinter settings;
    EXPECT_FALSE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"),
                                              QStringLiteral("/scripts/demo.v2.zml"), true));
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests.at(0).OutputFileName, QStringLiteral("/scripts/demo.v2.pdf"));

    // With a printer installed the printer is offered, not a file.
    CommonPrinterDialog withPrinter({QStringLiteral("Office")});
    EXPECT_FALSE(CPrintCommand::PrintDocument(nullptr, settings, QStringLiteral("x"),
                                              QStringLiteral("/scripts/demo.zml"), true));
    ASSERT_EQ(withPrinter.requests.size(), 1u);
    EXPECT_TRUE(withPrinter.requests.at(0).OutputFileName.isEmpty());
    EXPECT_TRUE(messages.texts().isEmpty());
}
