#include "cli/ExportPdfMode.h"

#include "core/document/CDocument.h"
#include "core/host/MessageService.h"
#include "core/printing/CPrinter.h"
#include "core/printing/PdfExport.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QtGlobal>

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's own notes about the environment (no runtime folder, font substitutes) are not messages
// of the export: only its errors are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && previousHandler)
        previousHandler(type, context, text);
}

void prepareHeadlessPlatform()
{
    previousHandler = qInstallMessageHandler(&QuietQtMessages);
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv)
{
    prepareHeadlessPlatform();
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

const PdfExportSupport &PdfExportMode()
{
    static const PdfExportSupport mode{&createApplication, &ExportScriptPdf};
    return mode;
}

int ExportScriptPdf(CDocument &doc, const QString &in, const QString &out, DiagnosticFormat format)
{
    const QFileInfo source(in);
    const QFileInfo target(out);
    // Printing over the script itself would destroy it.
    if (target.exists() && source.exists() &&
        target.canonicalFilePath() == source.canonicalFilePath()) {
        PrintDiagnostics(FormatDiagnostics(
            format, out,
            {{QStringLiteral("The PDF file must not be the script itself:\r\n'%1'").arg(out)}}));
        return 1;
    }
    const OpenResult opened = OpenDocument(doc, in);
    PrintDiagnostics(FormatDiagnostics(format, in, OpenNotices(opened)));
    if (!opened.ok())
        return 1;

    CPrinter printer(CPrinter::Persistence::ReadOnly);
    if (!printer.LoadProblem().isEmpty())
        ShowMessage(printer.LoadProblem(), MsgIcon::Exclamation);
    printer.SetDocumentPath(source.absoluteFilePath());
    QString error;
    if (!ExportPdf(BuildDocumentText(doc), printer, out, &error)) {
        PrintDiagnostics(FormatDiagnostics(format, out, {{error}}));
        return 1;
    }
    return 0;
}
