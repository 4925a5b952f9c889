#include "cli/CommandLine.h"

#include "cli/ExportPdfMode.h"
#include "core/catalogue/CatalogueLocation.h"
#include "core/document/CDocument.h"
#include "core/host/BuildInfo.h"
#include "core/host/MessageService.h"
#include "core/host/RuntimeFiles.h"
#include "core/zml/AnsiCodec.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"
#include "gui/widgets/AppMessageBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

enum class Mode { None, Check, Format, ExportPdf };

const char *const kUsage =
    "usage: stepsmith [SCRIPT]\n"
    "       stepsmith --check [--catalogue FILE] SCRIPT...\n"
    "       stepsmith --format [--catalogue FILE] IN [OUT]\n"
    "       stepsmith --export-pdf [--catalogue FILE] IN OUT.pdf\n"
    "       stepsmith --help | --version\n"
    "\n"
    "  --check      read each script as Open does and run the save-time block check\n"
    "  --format     read IN as Open does and write OUT as Save would (without OUT, IN\n"
    "               itself, atomically and only when its bytes change)\n"
    "  --export-pdf read IN as Open does and print it with the page settings to a PDF file\n"
    "  --catalogue  use FILE as the action catalogue instead of the installed Actions.dat\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the program's version and exit\n"
    "  --           the arguments that follow are files, even when they start with '-'\n"
    "\n"
    "Without a mode the window opens SCRIPT. Messages go to standard error.\n"
    "Exit status: 0 success, 1 a script failed, 2 wrong usage.\n";

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
        const BlockCheckResult result = CheckBlocksUtf8(BuildDocumentUtf8(doc));
        if (result != BlockCheckResult::Ok) {
            ShowMessage(BlockCheckMessage(doc, result), MsgIcon::Critical);
            status = 1;
        }
    }
    return status;
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
    if (!openReported(doc, in))
        return 1;
    if (out.isEmpty() && CheckBlocksUtf8(BuildDocumentUtf8(doc)) == BlockCheckResult::Ok &&
        savedBytes(doc) == fileBytes(in))
        return 0;
    const SaveResult saved = SaveDocument(doc, out.isEmpty() ? in : out, false);
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

int runRequest(const Request &r)
{
    ScopedMessageHandler messages(&printMessage);
    CDocument doc;
    if (!loadCatalogue(doc, r.catalogue))
        return 1;
    switch (r.mode) {
    case Mode::Check:
        return check(doc, r.files);
    case Mode::Format:
        return format(doc, r.files.at(0), r.files.value(1));
    case Mode::ExportPdf:
        return ExportScriptPdf(doc, r.files.at(0), r.files.at(1));
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
