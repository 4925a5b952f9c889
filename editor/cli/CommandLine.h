#pragma once

#include "cli/Diagnostics.h"

#include <QStringList>

#include <memory>

class CDocument;
class QCoreApplication;

// The program reads its own arguments: Qt is given only the program's name, so that it never
// takes a user's argument (a file named "-reverse", "-platform" followed by a file) for one of
// its options.

// The arguments after the program's name, decoded as Qt decodes them.
QStringList ProgramArguments(int argc, char *argv[]);
// The script the window opens: the arguments joined by blanks, without a leading "--" (which
// lets a name start with '-').
QString WindowScript(int argc, char *argv[]);

// The argument count and vector for the Qt application object: the program's name alone. They
// must outlive the application object.
class QtArguments final {
public:
    explicit QtArguments(char *programName) : m_argv{programName, nullptr} {}
    int &argc() { return m_argc; }
    char **argv() { return m_argv; }

private:
    int m_argc = 1;
    char *m_argv[2];
};

// What --export-pdf needs of Qt Gui, which only the window's module links (ExportPdfMode.h).
struct PdfExportSupport {
    // The application object for measuring and drawing text, made ready for the export.
    std::unique_ptr<QCoreApplication> (*createApplication)(int &argc, char **argv);
    // Reads IN into doc (which holds the catalogue) and prints it to OUT; the exit status.
    int (*exportPdf)(CDocument &doc, const QString &in, const QString &out,
                     DiagnosticFormat format);
};

// Command-line modes that need no window:
//   stepsmith --check [--catalogue FILE] SCRIPT...
//   stepsmith --format [--catalogue FILE] IN [OUT]
//   stepsmith --export-pdf [--catalogue FILE] IN OUT.pdf
//   stepsmith --help | -h | --version
// Returns the exit status (0 success, 1 a script failed, 2 wrong usage, an unknown option among
// them) when the arguments ask for one of them or hold anything that looks like an option
// before "--", or -1 when they do not (the program then starts its window). Without printing,
// a command line that names --export-pdf is left to the window's module as well (-1, before
// anything is done). Creates its own QCoreApplication (or printing's application).
int RunCommandLine(int argc, char *argv[], const PdfExportSupport *printing);
