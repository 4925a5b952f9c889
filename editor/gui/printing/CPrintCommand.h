#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>

class CPrinter;
class QPrinter;
class QWidget;

// The print command of the editor: chooses the printer (with or without the printer dialog),
// keeps the chosen printer as the current one for later jobs, and prints a text on it with the
// page settings.
class CPrintCommand final {
public:
    // What the printer dialog returns: a device name, or a PDF file when printing to a file.
    struct PrinterChoice {
        QString deviceName;
        QString outputFile;
        int orientation = 1; // 1 portrait, 2 landscape
        int copies = 1;
    };
    // Shows the printer dialog filled from choice; true when the user confirmed.
    using PrinterDialog = std::function<bool(QWidget *owner, PrinterChoice &choice)>;
    using PrinterList = std::function<QStringList()>;

    // Seams: the printer dialog (Fieldpane's printer dialog, which offers printing to a PDF
    // file, unless set) and the installed printers (the system's unless set). An empty
    // function restores the default.
    static void SetPrinterDialog(PrinterDialog dialog);
    static void SetInstalledPrinters(PrinterList list);
    // Forgets the chosen printer (the system's default printer is current again).
    static void ResetCurrentPrinter();
    static PrinterChoice CurrentPrinter();

    // Prints text on the current printer; with showDialog, the user chooses the printer first.
    // documentPath (empty when never saved) names the document in headers and footers.
    // Returns true when the job was printed.
    static bool PrintDocument(QWidget *owner, CPrinter &settings, const QString &text,
                              const QString &documentPath, bool showDialog);

    // The paper and printable area of the current printer (of a PDF file when there is none).
    static QPageLayout CurrentPageLayout();

private:
    static bool ShowPrinterDialog(QWidget *owner, PrinterChoice &choice);
    static void Configure(QPrinter &printer, const PrinterChoice &choice);
};
