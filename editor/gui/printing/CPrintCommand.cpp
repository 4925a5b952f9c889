#include "gui/printing/CPrintCommand.h"

#include "core/host/MessageService.h"
#include "core/printing/CPainterDevice.h"
#include "core/printing/CPrinter.h"
#include "core/printing/PdfExport.h"

#include <fieldpane/CCommonDialogs.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <memory>

namespace {

struct State {
    CPrintCommand::PrinterDialog dialog;
    CPrintCommand::PrinterList printers;
    bool chosen = false;
    CPrintCommand::PrinterChoice current;
    // The printer dialog keeps the last choice (device or file) for the next time it opens.
    std::unique_ptr<Fieldpane::CCommonDialogs> dialogs;
};

State &Instance()
{
    static State state;
    return state;
}

QStringList InstalledPrinters()
{
    const State &state = Instance();
    return state.printers ? state.printers() : QPrinterInfo::availablePrinterNames();
}

QString DefaultPrinterName(const QStringList &installed)
{
    if (Instance().printers)
        return installed.value(0);
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? installed.value(0) : name;
}

QString Tr(const char *text)
{
    return QCoreApplication::translate("CPrintCommand", text);
}

} // namespace

void CPrintCommand::SetPrinterDialog(PrinterDialog dialog)
{
    Instance().dialog = std::move(dialog);
}

void CPrintCommand::SetInstalledPrinters(PrinterList list)
{
    Instance().printers = std::move(list);
}

void CPrintCommand::ResetCurrentPrinter()
{
    Instance().chosen = false;
    Instance().current = PrinterChoice();
    Instance().dialogs.reset();
}

CPrintCommand::PrinterChoice CPrintCommand::CurrentPrinter()
{
    const State &state = Instance();
    if (state.chosen)
        return state.current;
    PrinterChoice choice;
    choice.deviceName = DefaultPrinterName(InstalledPrinters());
    return choice;
}

bool CPrintCommand::ShowPrinterDialog(QWidget *owner, PrinterChoice &choice)
{
    State &state = Instance();
    if (state.dialog)
        return state.dialog(owner, choice);
    if (!state.dialogs) {
        state.dialogs = std::make_unique<Fieldpane::CCommonDialogs>();
        state.dialogs->setAllowPrintToFile(true);
    }
    Fieldpane::CCommonDialogs &dialogs = *state.dialogs;
    dialogs.Init(owner);
    if (!choice.outputFile.isEmpty())
        dialogs.setOutputFileName(choice.outputFile);
    dialogs.setPrintCopies(std::max(1, choice.copies));
    if (!dialogs.ShowPrinter())
        return false;
    choice.outputFile = dialogs.OutputFileName();
    choice.deviceName = choice.outputFile.isEmpty() ? dialogs.DeviceName() : QString();
    choice.orientation = dialogs.Orientation() == 2 ? 2 : 1;
    choice.copies = std::max(1, static_cast<int>(dialogs.PrintCopies()));
    return true;
}

void CPrintCommand::Configure(QPrinter &printer, const PrinterChoice &choice)
{
    if (!choice.outputFile.isEmpty() || choice.deviceName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(kPdfResolution);
        printer.setPageLayout(DefaultPdfPageLayout());
        printer.setOutputFileName(choice.outputFile);
    } else {
        printer.setPrinterName(choice.deviceName);
    }
    printer.setPageOrientation(choice.orientation == 2 ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait);
    printer.setCopyCount(std::max(1, choice.copies));
    printer.setDocName(QCoreApplication::applicationName());
}

bool CPrintCommand::PrintDocument(QWidget *owner, CPrinter &settings, const QString &text,
                                  const QString &documentPath, bool showDialog)
{
    State &state = Instance();
    PrinterChoice choice = CurrentPrinter();
    if (showDialog) {
        // With no printer installed a PDF file is the only choice: offer one named after the
        // document, beside it.
        if (choice.deviceName.isEmpty() && choice.outputFile.isEmpty() && !documentPath.isEmpty()) {
            const QFileInfo document(documentPath);
            choice.outputFile =
                document.dir().filePath(document.completeBaseName() + QStringLiteral(".pdf"));
        }
        if (!ShowPrinterDialog(owner, choice))
            return false;
        if (choice.outputFile.isEmpty()) {
            // The chosen device must be one of the installed printers.
            if (!InstalledPrinters().contains(choice.deviceName)) {
                ShowMessage(
                    Tr(QT_TRANSLATE_NOOP("CPrintCommand", "Unable to connect to printer %1"))
                        .arg(choice.deviceName),
                    MsgIcon::Critical);
                return false;
            }
        }
        state.current = choice;
        state.chosen = true;
    } else if (choice.deviceName.isEmpty() && choice.outputFile.isEmpty()) {
        ShowMessage(Tr(QT_TRANSLATE_NOOP(
                        "CPrintCommand",
                        "No printer is installed.\r\nChoose Print... in the File menu to print "
                        "to a PDF file.")),
                    MsgIcon::Exclamation);
        return false;
    }

    QPrinter printer(QPrinter::HighResolution);
    Configure(printer, choice);
    CPainterDevice device(printer);
    if (!device.IsActive()) {
        const QString target =
            choice.outputFile.isEmpty()
                ? Tr(QT_TRANSLATE_NOOP("CPrintCommand", "printer %1")).arg(choice.deviceName)
                : QStringLiteral("'%1'").arg(choice.outputFile);
        ShowMessage(Tr(QT_TRANSLATE_NOOP("CPrintCommand", "Unable to print on %1")).arg(target),
                    MsgIcon::Critical);
        return false;
    }
    settings.SetDocumentPath(documentPath);
    settings.PrintText(text, device);
    return true;
}

QPageLayout CPrintCommand::CurrentPageLayout()
{
    const PrinterChoice choice = CurrentPrinter();
    if (!choice.outputFile.isEmpty() || choice.deviceName.isEmpty()) {
        QPageLayout layout = DefaultPdfPageLayout();
        layout.setOrientation(choice.orientation == 2 ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
        return layout;
    }
    QPrinter printer(QPrinter::HighResolution);
    Configure(printer, choice);
    return printer.pageLayout();
}
