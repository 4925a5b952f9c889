#include "cli/CommandLine.h"

#include "cli/ExportPdfMode.h"
#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CDocument.h"
#include "core/host/MessageService.h"
#include "core/host/RuntimeFiles.h"
#include "core/zml/QuickBlockCheck.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"
#include "gui/widgets/AppMessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
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
    "usage: stepsmith --check [--catalogue FILE] SCRIPT...\n"
    "       stepsmith --format [--catalogue FILE] IN OUT\n"
    "       stepsmith --export-pdf [--catalogue FILE] IN OUT.pdf\n"
    "\n"
    "  --check      read each script as Open does and run the save-time block check\n"
    "  --format     read IN as Open does and write OUT as Save would\n"
    "  --export-pdf read IN as Open does and print it with the page settings to a PDF file\n"
    "  --catalogue  use FILE as the action catalogue instead of the installed Actions.dat\n"
    "\n"
    "Messages go to standard error. Exit status: 0 success, 1 a script failed, 2 wrong usage.\n";

void printLine(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// One line per message: its kind by the icon, then the text with each CR LF as one blank.
MsgResult printMessage(const QString &text, MsgIcon icon, MsgButtons buttons)
{
    QString prefix;
    switch (icon) {
    case MsgIcon::Critical:
        prefix = QStringLiteral("error: ");
        break;
    case MsgIcon::Exclamation:
        prefix = QStringLiteral("warning: ");
        break;
    case MsgIcon::Information:
    case MsgIcon::Question:
    case MsgIcon::None:
        prefix = QStringLiteral("info: ");
        break;
    }
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    printLine(prefix + line);
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

int usageError(const QString &problem)
{
    printLine(QStringLiteral("stepsmith: ") + problem);
    std::fputs(kUsage, stderr);
    return 2;
}

bool loadCatalogue(CDocument &doc, const QString &given)
{
    QString path = given;
    if (path.isEmpty()) {
        path = FindCatalogue();
        if (path.isEmpty()) {
            ShowMessage(CatalogueMissingMessage(), MsgIcon::Critical);
            return false;
        }
    } else if (!QFileInfo(path).isFile()) {
        ShowMessage(QStringLiteral("Can't find the catalogue file '%1'").arg(path),
                    MsgIcon::Critical);
        return false;
    }
    doc.Catalogue().LoadFile(path);
    const QStringList problems = doc.Catalogue().LoadProblems();
    if (problems.isEmpty())
        return true;
    const bool empty = doc.Catalogue().Count() == 0;
    ShowMessage(CatalogueProblemsMessage(problems),
                empty ? MsgIcon::Critical : MsgIcon::Exclamation);
    return !empty;
}

// Opens path into doc and reports what went wrong; true when it was read.
bool openReported(CDocument &doc, const QString &path)
{
    const OpenResult result = OpenDocument(doc, path);
    ShowNotices(OpenNotices(result));
    return result.ok();
}

int check(CDocument &doc, const QStringList &scripts)
{
    int status = 0;
    for (const QString &script : scripts) {
        if (!openReported(doc, script)) {
            status = 1;
            continue;
        }
        const BlockCheckResult result = QuickBlockCheck(doc) == QuickCheck::Ok
                                            ? BlockCheckResult::Ok
                                            : CheckBlocksUtf8(BuildDocumentUtf8(doc));
        if (result != BlockCheckResult::Ok) {
            ShowMessage(BlockCheckMessage(doc, result), MsgIcon::Critical);
            status = 1;
        }
    }
    return status;
}

int format(CDocument &doc, const QString &in, const QString &out)
{
    if (!openReported(doc, in))
        return 1;
    const SaveResult saved = SaveDocument(doc, out, false);
    ShowNotices(SaveNotices(doc, saved));
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

namespace {

// What the command line asks for.
struct Request {
    Mode mode = Mode::None;
    QString catalogue;
    bool catalogueGiven = false;
    QStringList files;
};

// First look, before Qt is set up: whether a mode or --help is asked for, and whether it prints
// (which needs fonts).
bool wantsCommandLine(const QStringList &arguments, bool *printing)
{
    bool wanted = false;
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--check") || a == QLatin1String("--format") ||
            a == QLatin1String("--help"))
            wanted = true;
        if (a == QLatin1String("--export-pdf"))
            wanted = *printing = true;
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
// (0 after --help).
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
        } else if (options && a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options && a.startsWith(QLatin1String("--"))) {
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
    if (r.catalogueGiven && r.catalogue.isEmpty())
        return usageError(QStringLiteral("--catalogue needs one FILE"));
    if (r.mode == Mode::Check && r.files.isEmpty())
        return usageError(QStringLiteral("--check needs at least one SCRIPT"));
    if (r.mode == Mode::Format && r.files.size() != 2)
        return usageError(QStringLiteral("--format needs IN and OUT"));
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

int runRequest(const Request &r)
{
    ScopedMessageHandler messages(&printMessage);
    CDocument doc;
    if (!loadCatalogue(doc, r.catalogue))
        return 1;
    switch (r.mode) {
    case Mode::Check:
        return endRun(check(doc, r.files));
    case Mode::Format:
        return endRun(format(doc, r.files.at(0), r.files.at(1)));
    case Mode::ExportPdf:
        return endRun(ExportScriptPdf(doc, r.files.at(0), r.files.at(1)));
    case Mode::None:
        break;
    }
    return usageError(QStringLiteral("no mode given"));
}

} // namespace

int RunCommandLine(int argc, char *argv[])
{
    const QStringList arguments = ProgramArguments(argc, argv);
    bool printing = false;
    if (!wantsCommandLine(arguments, &printing))
        return -1;

    // Printing measures and draws text with fonts, which needs a GUI application (offscreen
    // when there is no display).
    static QtArguments qtArguments(argv[0]);
    std::unique_ptr<QCoreApplication> app;
    if (printing) {
        PrepareHeadlessPlatform();
        app = std::make_unique<QGuiApplication>(qtArguments.argc(), qtArguments.argv());
    } else {
        app = std::make_unique<QCoreApplication>(qtArguments.argc(), qtArguments.argv());
    }
    QCoreApplication::setApplicationName(QStringLiteral("Stepsmith"));

    Request request;
    if (const int status = parseRequest(arguments, request); status >= 0)
        return status;
    if (const int status = checkRequest(request); status >= 0)
        return status;
    return runRequest(request);
}
