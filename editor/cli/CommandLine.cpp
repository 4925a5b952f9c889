#include "cli/CommandLine.h"

#include "cli/CheckMode.h"
#include "cli/Diagnostics.h"
#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CDocument.h"
#include "core/host/BuildInfo.h"
#include "core/host/MessageService.h"
#include "core/host/RuntimeFiles.h"
#include "core/zml/AnsiCodec.h"
#include "core/zml/RegularFile.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <memory>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STEPSMITH_HAS_ASAN
#endif
#endif

namespace {

enum class Mode { None, Check, Format, ExportPdf };

const char *const kUsage =
    "usage: stepsmith [SCRIPT]\n"
    "       stepsmith --check [OPTION]... SCRIPT...\n"
    "       stepsmith --format [OPTION]... IN [OUT]\n"
    "       stepsmith --export-pdf [OPTION]... IN OUT.pdf\n"
    "       stepsmith --help | --version\n"
    "\n"
    "  --check      read each script as Open does and run the save-time block check\n"
    "  --format     read IN as Open does and write OUT as Save would (without OUT, IN\n"
    "               itself, atomically and only when its bytes change)\n"
    "  --export-pdf read IN as Open does and print it with the page settings to a PDF file\n"
    "  --catalogue FILE\n"
    "               use FILE as the action catalogue instead of the installed Actions.dat\n"
    "  --diagnostics=json\n"
    "               print each message as one JSON object (file, line, column, severity, text)\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the program's version and exit\n"
    "  --           the arguments that follow are files, even when they start with '-'\n"
    "\n"
    "Without a mode the window opens SCRIPT. --check reads the scripts in parallel. Messages\n"
    "go to standard error as FILE:LINE:COLUMN: error: TEXT (or warning:, info:).\n"
    "Exit status: 0 success, 1 a script failed, 2 wrong usage.\n";

void printLine(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// How messages are printed, as the command line asks.
DiagnosticFormat diagnosticFormat = DiagnosticFormat::Text;

// Messages that concern no script: one line each, like the others, with no file.
MsgResult printMessage(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    PrintDiagnostics(FormatDiagnostics(diagnosticFormat, QString(), {{text, icon}}));
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
        return MsgResult::No;
    case MsgButtons::YesNoCancel:
        return MsgResult::Cancel;
    }
    return MsgResult::Ok;
}

void report(const QString &file, const QList<Notice> &notices)
{
    PrintDiagnostics(FormatDiagnostics(diagnosticFormat, file, notices));
}

int usageError(const QString &problem)
{
    printLine(QStringLiteral("stepsmith: ") + problem);
    std::fputs(kUsage, stderr);
    return 2;
}

// Loads the catalogue into doc and reports its problems; path becomes the file read. False
// when there is none to use.
bool loadCatalogue(CDocument &doc, QString &path)
{
    if (path.isEmpty()) {
        path = FindCatalogue();
        if (path.isEmpty()) {
            ShowMessage(CatalogueMissingMessage(), MsgIcon::Critical);
            return false;
        }
    } else if (!QFileInfo(path).isFile()) {
        report(path, {{QStringLiteral("Can't find the catalogue file '%1'").arg(path)}});
        return false;
    }
    doc.Catalogue().LoadFile(path);
    const QStringList problems = doc.Catalogue().LoadProblems();
    if (problems.isEmpty())
        return true;
    const bool empty = doc.Catalogue().Count() == 0;
    report(path, {{CatalogueProblemsMessage(problems),
                   empty ? MsgIcon::Critical : MsgIcon::Exclamation}});
    return !empty;
}

// Opens path into doc and reports what went wrong; true when it was read.
bool openReported(CDocument &doc, const QString &path, OpenResult &result,
                  OpenObserver *observer = nullptr)
{
    result = OpenDocument(doc, path, observer);
    report(path, OpenNotices(result));
    return result.ok();
}

// The bytes a save of doc writes (the text in the system code page, with a final CR LF).
QByteArray savedBytes(const CDocument &doc)
{
    return AnsiCodec::encode(BuildDocumentText(doc) + QStringLiteral("\r\n"));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes in to out, or back to in when out is empty: then only when the bytes change, so that
// a formatted script keeps its time stamp.
int format(CDocument &doc, const QString &in, const QString &out)
{
    // A UTF-8 text for another file is written while IN is read, and committed only when it
    // turns out to be what a save writes.
    std::unique_ptr<StreamedSave> streamed;
    if (!out.isEmpty() && AnsiCodec::systemIsUtf8() && !IsSpecialFile(out))
        streamed = std::make_unique<StreamedSave>(out);
    CheckingObserver walk(streamed.get());
    OpenResult opened;
    if (!openReported(doc, in, opened, &walk))
        return 1;
    // A script that would not save is reported at its fault in IN.
    bool proven = false;
    if (const QList<Notice> blocks = BlockCheckNotices(doc, opened, &proven, &walk.checker());
        !blocks.isEmpty()) {
        report(in, blocks);
        return 1;
    }
    if (out.isEmpty() && savedBytes(doc) == fileBytes(in))
        return 0;
    std::optional<SaveResult> written;
    if (streamed)
        written = streamed->Finish(doc, proven);
    const SaveResult saved =
        written ? *written : SaveDocument(doc, out.isEmpty() ? in : out, false, proven);
    report(saved.fileName, SaveNotices(doc, saved));
    return saved.ok() ? 0 : 1;
}

} // namespace

QStringList ProgramArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString WindowScript(int argc, char *argv[])
{
    QStringList arguments = ProgramArguments(argc, argv);
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("--"))
        arguments.removeFirst();
    return arguments.join(QLatin1Char(' '));
}

namespace {

// What the command line asks for.
struct Request {
    Mode mode = Mode::None;
    QString catalogue;
    bool catalogueGiven = false;
    DiagnosticFormat format = DiagnosticFormat::Text;
    QStringList files;
};

// First look, before Qt is set up: whether the command line is to be read here (a mode, --help,
// --version or anything else that looks like an option, which the window never takes), and
// whether it prints (which needs fonts).
bool wantsCommandLine(const QStringList &arguments, bool *printing)
{
    bool wanted = false;
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a.startsWith(QLatin1Char('-')))
            wanted = true;
        if (a == QLatin1String("--export-pdf"))
            *printing = true;
    }
    return wanted;
}

Mode modeOf(const QString &option)
{
    return option == QLatin1String("--check")    ? Mode::Check
           : option == QLatin1String("--format") ? Mode::Format
                                                 : Mode::ExportPdf;
}

// Reads the options and files into request; -1 when they were read, otherwise the exit status
// (0 after --help or --version).
int parseRequest(const QStringList &arguments, Request &request)
{
    bool options = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && (a == QLatin1String("--check") || a == QLatin1String("--format") ||
                               a == QLatin1String("--export-pdf"))) {
            const Mode m = modeOf(a);
            if (request.mode != Mode::None && request.mode != m)
                return usageError(
                    QStringLiteral("--check, --format and --export-pdf cannot be combined"));
            request.mode = m;
        } else if (options && a == QLatin1String("--catalogue")) {
            if (i + 1 >= arguments.size() || request.catalogueGiven)
                return usageError(QStringLiteral("--catalogue needs one FILE"));
            request.catalogue = arguments.at(++i);
            request.catalogueGiven = true;
        } else if (options && a.startsWith(QLatin1String("--diagnostics="))) {
            const QString value = a.mid(a.indexOf(QLatin1Char('=')) + 1);
            if (value != QLatin1String("json") && value != QLatin1String("text"))
                return usageError(QStringLiteral("--diagnostics is text or json"));
            request.format =
                value == QLatin1String("json") ? DiagnosticFormat::Json : DiagnosticFormat::Text;
        } else if (options && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options && a == QLatin1String("--version")) {
            std::printf("stepsmith %d.%d.%d\n", kProgramVersionMajor, kProgramVersionMinor,
                        kProgramVersionRevision);
            return 0;
        } else if (options && a.startsWith(QLatin1Char('-'))) {
            return usageError(QStringLiteral("unknown option %1").arg(a));
        } else {
            request.files.append(a);
        }
    }
    return -1;
}

// -1 when the request names what its mode needs, otherwise the exit status of a usage error.
int checkRequest(const Request &r)
{
    if (r.mode == Mode::None)
        return usageError(QStringLiteral("no mode given"));
    if (r.catalogueGiven && r.catalogue.isEmpty())
        return usageError(QStringLiteral("--catalogue needs one FILE"));
    if (r.mode == Mode::Check && r.files.isEmpty())
        return usageError(QStringLiteral("--check needs at least one SCRIPT"));
    if (r.mode == Mode::Format && (r.files.isEmpty() || r.files.size() > 2))
        return usageError(QStringLiteral("--format needs IN and at most one OUT"));
    if (r.mode == Mode::ExportPdf && r.files.size() != 2)
        return usageError(QStringLiteral("--export-pdf needs IN and OUT.pdf"));
    return -1;
}

// Ends the process with status once the mode's output is written and flushed: freeing a large
// document, the application and the statics would only cost time. Sanitizer builds return
// status instead, so that the leak check still covers the command line.
int endRun(int status)
{
#if !defined(__SANITIZE_ADDRESS__) && !defined(STEPSMITH_HAS_ASAN)
    std::fflush(nullptr);
    std::_Exit(status);
#endif
    return status;
}

// printing is set whenever the request is --export-pdf (see RunCommandLine).
int runRequest(const Request &r, const PdfExportSupport *printing)
{
    diagnosticFormat = r.format;
    ScopedMessageHandler messages(&printMessage);
    CDocument doc;
    QString catalogue = r.catalogue;
    if (!loadCatalogue(doc, catalogue))
        return 1;
    switch (r.mode) {
    case Mode::Check:
        return endRun(CheckScripts(catalogue, r.files, r.format, 0, &doc));
    case Mode::Format:
        return endRun(format(doc, r.files.at(0), r.files.value(1)));
    case Mode::ExportPdf:
        return endRun(printing->exportPdf(doc, r.files.at(0), r.files.at(1), r.format));
    case Mode::None:
        break;
    }
    return usageError(QStringLiteral("no mode given"));
}

} // namespace

int RunCommandLine(int argc, char *argv[], const PdfExportSupport *printing)
{
    const QStringList arguments = ProgramArguments(argc, argv);
    bool prints = false;
    if (!wantsCommandLine(arguments, &prints))
        return -1;
    if (prints && printing == nullptr)
        return -1;

    // Printing measures and draws text with fonts, which needs a GUI application.
    static QtArguments qtArguments(argv[0]);
    std::unique_ptr<QCoreApplication> app =
        prints ? printing->createApplication(qtArguments.argc(), qtArguments.argv())
               : std::make_unique<QCoreApplication>(qtArguments.argc(), qtArguments.argv());
    QCoreApplication::setApplicationName(QStringLiteral("Stepsmith"));

    Request request;
    if (const int status = parseRequest(arguments, request); status >= 0)
        return status;
    if (const int status = checkRequest(request); status >= 0)
        return status;
    return runRequest(request, printing);
}
