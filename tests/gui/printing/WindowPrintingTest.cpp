// The main window's print commands: "&Print...", the toolbar's Print, page setup and the
// preview, with the printer dialog, the preview window and the page setup answered by the test.
#include "support/WindowFixture.h"

#include "core/printing/CPrinter.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/printing/frmPreview.h"
#include "support/PdfText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QStandardPaths>

#include <stdexcept>

namespace {

class WindowPrintingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        CPrintCommand::ResetCurrentPrinter();
        CPrintCommand::SetInstalledPrinters([this] { return m_installed; });
        // The printer dialog: the file or device set by the test, or cancelled.
        Dialogs::SetDialogHook([this](const Dialogs::Request &request) {
            Dialogs::Answer answer;
            if (request.Kind != Dialogs::DialogKind::Printer)
                return answer;
            ++m_printerDialogs;
            answer.Accepted = !m_pdf.isEmpty() || !m_device.isEmpty();
            answer.OutputFileName = m_pdf;
            answer.DeviceName = m_device;
            answer.Orientation = 1;
            answer.PrintCopies = 1;
            return answer;
        });
    }
    void TearDown() override
    {
        frmPreview::SetExecHook({});
        CPrintCommand::SetInstalledPrinters({});
        CPrintCommand::ResetCurrentPrinter();
        WindowTest::TearDown();
    }

    frmEdit &openScript()
    {
        const QString script = writeScript(QStringLiteral("printed.zml"),
                                           {QStringLiteral("<var name=\"alpha\" value=\"1\" />"),
                                            QStringLiteral("<var name=\"beta\" value=\"2\" />")});
        frmEdit &window = open(script);
        EXPECT_TRUE(m_loaded);
        EXPECT_TRUE(m_messages.texts().isEmpty()) << m_messages.texts().join(u'|').toStdString();
        return window;
    }

    QStringList m_installed;
    QString m_pdf;
    QString m_device;
    int m_printerDialogs = 0;
};

} // namespace

TEST_F(WindowPrintingTest, PrintMenuAsksForThePrinterAndPrintsTheDocument)
{
    frmEdit &window = openScript();
    QAction *menuItem = window.action(Command::FilePrint);
    ASSERT_TRUE(menuItem->isEnabled());
    EXPECT_EQ(menuItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    m_pdf = m_files.filePath(QStringLiteral("job.pdf"));
    // An unsaved change is printed too.
    window.Document()->Header().Author = QStringLiteral("Changed Author");
    menuItem->trigger();
    EXPECT_EQ(m_printerDialogs, 1);
    EXPECT_TRUE(m_messages.texts().isEmpty()) << m_messages.texts().join(u'|').toStdString();
    ASSERT_TRUE(QFileInfo::exists(m_pdf));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString text = PdfText(m_pdf, true);
    EXPECT_TRUE(text.contains(QStringLiteral("<zml version=\"1.0\" edition=\"Tessaro\">")));
    EXPECT_TRUE(text.contains(QStringLiteral("<author>Changed Author</author>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<var name=\"beta\" value=\"2\" />")));
    EXPECT_TRUE(text.contains(QStringLiteral("</zml>")));
    EXPECT_TRUE(text.contains(QStringLiteral("printed.zml"))); // header: the file name
    EXPECT_TRUE(text.contains(QStringLiteral("Page: 1")));
}

TEST_F(WindowPrintingTest, ToolbarPrintUsesTheCurrentPrinterWithoutTheDialog)
{
    frmEdit &window = openScript();
    QAction *button = window.button(Command::FilePrint);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());

    // Nothing chosen and nothing installed: said so, no dialog.
    button->trigger();
    EXPECT_EQ(m_printerDialogs, 0);
    ASSERT_EQ(m_messages.texts().size(), 1);
    EXPECT_TRUE(m_messages.texts().at(0).startsWith(QStringLiteral("No printer is installed.")));

    // A device that is not installed is refused by the menu's dialog path.
    m_device = QStringLiteral("Ghost");
    window.action(Command::FilePrint)->trigger();
    EXPECT_EQ(m_printerDialogs, 1);
    ASSERT_EQ(m_messages.texts().size(), 2);
    EXPECT_EQ(m_messages.texts().at(1), QStringLiteral("Unable to connect to printer Ghost"));
    EXPECT_EQ(m_messages.messages().at(1).icon, MsgIcon::Critical);

    // A file chosen once stays the current printer for the button.
    m_device.clear();
    m_pdf = m_files.filePath(QStringLiteral("again.pdf"));
    window.action(Command::FilePrint)->trigger();
    ASSERT_TRUE(QFile::remove(m_pdf));
    button->trigger();
    EXPECT_EQ(m_printerDialogs, 2);
    EXPECT_TRUE(QFileInfo::exists(m_pdf));
    EXPECT_EQ(m_messages.texts().size(), 2);
}

TEST_F(WindowPrintingTest, PreviewDisablesTheWindowAndPrintsFromIt)
{
    frmEdit &window = openScript();
    window.show();
    m_pdf = m_files.filePath(QStringLiteral("preview.pdf"));
    window.action(Command::FilePrint)->trigger(); // chooses the PDF file
    ASSERT_TRUE(QFile::remove(m_pdf));

    int previews = 0;
    bool enabledWhileOpen = true;
    QString counter;
    frmPreview::SetExecHook([&](frmPreview &preview) {
        ++previews;
        enabledWhileOpen = window.isEnabled();
        counter = preview.PageCounterText();
        EXPECT_EQ(preview.windowTitle(), window.windowTitle());
        QAction *print = preview.findChild<QAction *>(QStringLiteral("Print"));
        ASSERT_NE(print, nullptr);
        print->trigger();
    });
    window.action(Command::FilePreview)->trigger();
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(counter, QStringLiteral("Page:  1 / 1 "));
    // Printed from the preview on the current printer, without a second dialog.
    EXPECT_TRUE(QFileInfo::exists(m_pdf));
    EXPECT_EQ(m_printerDialogs, 1);
    EXPECT_TRUE(m_messages.texts().isEmpty()) << m_messages.texts().join(u'|').toStdString();

    // The toolbar button opens it too; closing without printing prints nothing.
    ASSERT_TRUE(QFile::remove(m_pdf));
    frmPreview::SetExecHook([&](frmPreview &preview) {
        ++previews;
        enabledWhileOpen = window.isEnabled();
        preview.findChild<QAction *>(QStringLiteral("Close"))->trigger();
    });
    window.button(Command::FilePreview)->trigger();
    EXPECT_EQ(previews, 2);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(QFileInfo::exists(m_pdf));
}

TEST_F(WindowPrintingTest, FailedPreviewIsReportedAndTheWindowIsUsableAgain)
{
    frmEdit &window = openScript();
    frmPreview::SetExecHook([](frmPreview &) { throw std::runtime_error("out of paper images"); });
    window.action(Command::FilePreview)->trigger();
    EXPECT_TRUE(window.isEnabled());
    ASSERT_EQ(m_messages.messages().size(), 2);
    EXPECT_EQ(m_messages.texts().at(0), QStringLiteral("out of paper images"));
    EXPECT_EQ(m_messages.texts().at(1), QStringLiteral("Can't create Print Preview Window"));
    EXPECT_EQ(m_messages.messages().at(1).icon, MsgIcon::Information);
    EXPECT_TRUE(window.action(Command::FilePreview)->isEnabled());
}

TEST_F(WindowPrintingTest, PageSetupEditsTheWindowsSettingsWhichOutliveTheWindow)
{
    frmEdit &window = openScript();
    EXPECT_FALSE(window.Printer().LineNumbers());
    int shown = 0;
    SetModalRunner([&shown](QDialog &dialog) {
        ++shown;
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmPageSetup"));
        dialog.findChild<QCheckBox *>(QStringLiteral("chkLineNumbers"))->setChecked(true);
        dialog.findChild<QLineEdit *>(QStringLiteral("txtFooter"))->setText(QStringLiteral("$p"));
        dialog.accept();
        return dialog.result();
    });
    window.action(Command::FilePageSetup)->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(window.Printer().LineNumbers());
    EXPECT_EQ(window.Printer().FooterText(), QStringLiteral("$p"));

    // Cancel keeps them.
    SetModalRunner([](QDialog &dialog) {
        dialog.findChild<QCheckBox *>(QStringLiteral("chkLineNumbers"))->setChecked(false);
        dialog.reject();
        return dialog.result();
    });
    window.action(Command::FilePageSetup)->trigger();
    EXPECT_TRUE(window.Printer().LineNumbers());

    // Written when the dialog was accepted, read by the next window.
    m_window.reset();
    frmEdit &next = open();
    EXPECT_TRUE(next.Printer().LineNumbers());
    EXPECT_EQ(next.Printer().FooterText(), QStringLiteral("$p"));
}
