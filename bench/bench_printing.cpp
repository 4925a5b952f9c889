// Layout of a large script for the preview and for PDF output.
#include "core/printing/CPrintPreview.h"
#include "core/printing/CPrinter.h"
#include "core/printing/PdfExport.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString ScriptText(int steps)
{
    QStringList lines;
    lines.append(QStringLiteral("<zml version=\"1.0\" edition=\"Tessaro\">"));
    for (int i = 0; i < steps; ++i) {
        switch (i % 4) {
        case 0:
            lines.append(QStringLiteral("    <msgbox text=\"Step %1 of the script\" />").arg(i));
            break;
        case 1:
            lines.append(QStringLiteral("    <find text=\"needle%1\" matchcase=\"true\" "
                                        "wholeword=\"false\" direction=\"down\" "
                                        "wrap=\"true\" regexp=\"false\" />")
                             .arg(i));
            break;
        case 2:
            lines.append(QStringLiteral("    <!-- a comment about step %1 -->").arg(i));
            break;
        default:
            lines.append(QStringLiteral("    <var name=\"v%1\" value=\"%1\" />").arg(i));
        }
    }
    lines.append(QStringLiteral("</zml>"));
    return lines.join(QStringLiteral("\r\n"));
}

void BM_PreviewLayout(benchmark::State &state)
{
    const QString text = ScriptText(static_cast<int>(state.range(0)));
    CPrinter settings;
    settings.SetLineNumbers(true);
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    int pages = 0;
    for (auto _ : state) {
        CPrintPreview preview(layout);
        preview.ApplySettings(settings);
        preview.PrintText(text, true);
        pages = preview.PageCount();
        benchmark::DoNotOptimize(preview.RenderPage(0, 1.0));
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PreviewLayout)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ExportPdf(benchmark::State &state)
{
    const QString text = ScriptText(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    CPrinter settings;
    settings.SetLineNumbers(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportPdf(text, settings, dir.filePath(QStringLiteral("b.pdf"))));
    state.counters["pages"] = settings.PageNumber();
}
BENCHMARK(BM_ExportPdf)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
