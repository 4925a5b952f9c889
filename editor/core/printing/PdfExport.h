#pragma once

#include <QPageLayout>
#include <QString>

class CPrinter;

// The page of a PDF file: the locale's paper (Letter in the United States, else A4), portrait,
// with the same small unprintable border as the PDF printer.
QPageLayout DefaultPdfPageLayout();

// Resolution of PDF output: pixel margins and a pixel unit look as on the screen.
inline constexpr int kPdfResolution = 96;

// Prints text (lines separated by CR LF) with the page settings of printer into a PDF file.
// Returns false, with a message for the user in *errorMessage, when the file cannot be written
// or names a device or pipe (which is left as it is).
bool ExportPdf(const QString &text, CPrinter &printer, const QString &pdfPath,
               QString *errorMessage = nullptr);
