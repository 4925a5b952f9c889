#pragma once

#include "cli/CommandLine.h"
#include "cli/Diagnostics.h"

#include <QString>

class CDocument;

// stepsmith --export-pdf [--catalogue FILE] IN OUT.pdf
// Reads IN as Open does and prints the text Save would write into the PDF file OUT with the
// user's page settings (read, never written). doc holds the catalogue. Needs a
// QGuiApplication. The messages of reading IN and writing OUT are printed in format, with
// their file; the page settings' problems are reported through ShowMessage. Returns the exit
// status: 0 written, 1 failed.
int ExportScriptPdf(CDocument &doc, const QString &in, const QString &out, DiagnosticFormat format);

// --export-pdf for RunCommandLine: ExportScriptPdf, in a QGuiApplication on the offscreen
// platform when there is no display to connect to and no platform was asked for, with Qt's
// warnings kept off standard error (which carries the export's messages).
const PdfExportSupport &PdfExportMode();
