#pragma once

#include <QStringList>

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

// Command-line modes that need no window:
//   stepsmith --check [--catalogue FILE] SCRIPT...
//   stepsmith --format [--catalogue FILE] IN [OUT]
//   stepsmith --export-pdf [--catalogue FILE] IN OUT.pdf
//   stepsmith --help | -h | --version
// Returns the exit status (0 success, 1 a script failed, 2 wrong usage, an unknown option among
// them) when the arguments ask for one of them or hold anything that looks like an option
// before "--", or -1 when they do not (the program then starts its window). Creates its own
// QCoreApplication.
int RunCommandLine(int argc, char *argv[]);
