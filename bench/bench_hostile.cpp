// Hostile input shapes, each at two sizes. Run as a benchmark, or with --check-ratios to fail
// (exit 1) when the time of a shape grows much faster than its input: at 8 times the input,
// linear work takes about 8 times as long, quadratic work 64 times.
#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/host/MessageService.h"
#include "core/settings/RegFileFormat.h"
#include "core/settings/RegFileStore.h"
#include "core/zml/ZmlReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(workDir().path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

void fillCatalogue(CElements &catalogue)
{
    auto var = catalogue.Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, {}, {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, {}, {}, false, {}, "Value");
    auto cond = catalogue.Add("if", "If");
    (void)cond->Attributes().Add("cond", 1, {}, {}, true, {}, "Condition");
    (void)catalogue.Add("endif", "End If");
    (void)catalogue.Add("saytext", "Say text", true, "Text to say");
}

QByteArray script(const QByteArray &body)
{
    return "<zml version=\"1.0\">\r\n<zmlhead><version>1.0</version></zmlhead>\r\n<zmlbody>\r\n" +
           body + "</zmlbody>\r\n</zml>\r\n";
}

// Opens the script made by make(n) (written once per size).
template <typename Make> void openShape(benchmark::State &state, const char *name, Make make)
{
    const int n = int(state.range(0));
    const QString path =
        writeFile(QStringLiteral("%1-%2.zml").arg(QLatin1String(name)).arg(n), script(make(n)));
    ScopedMessageHandler quiet([](const QString &, MsgIcon, MsgButtons) { return MsgResult::Ok; });
    for (auto _ : state) {
        CDocument doc;
        fillCatalogue(doc.Catalogue());
        if (!OpenDocument(doc, path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.RowCount());
    }
}

// n rows, each with an attribute name of its own that the catalogue does not know.
void BM_UnknownAttributesPerRow(benchmark::State &state)
{
    openShape(state, "rows", [](int n) {
        QByteArray body;
        for (int i = 0; i < n; ++i)
            body += "<var name=\"v\" u" + QByteArray::number(i) + "=\"x\" />\r\n";
        return body;
    });
}

// One element with n attribute names that the catalogue does not know.
void BM_UnknownAttributesOnOneElement(benchmark::State &state)
{
    openShape(state, "element", [](int n) {
        QByteArray body = "<var name=\"v\"";
        for (int i = 0; i < n; ++i)
            body += " u" + QByteArray::number(i) + "=\"x\"";
        return body + " />\r\n";
    });
}

// One attribute value of n bytes.
void BM_HugeAttributeValue(benchmark::State &state)
{
    openShape(state, "value",
              [](int n) { return "<var name=\"" + QByteArray(n, 'v') + "\" />\r\n"; });
}

// One comment of n bytes.
void BM_HugeComment(benchmark::State &state)
{
    openShape(state, "comment", [](int n) { return "<!--" + QByteArray(n, 'c') + "-->\r\n"; });
}

// Clipboard text whose block openers find their ">" or "/>" only far away: openers inside
// one comment, then one step.
QString farClosers(int n)
{
    QString text = QStringLiteral("<!-- ");
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("<if <loop ");
    return text + QStringLiteral(" -->\r\n<var name=\"v\" />\r\n");
}

void BM_PasteFarClosers(benchmark::State &state)
{
    const QString text = farClosers(int(state.range(0)));
    for (auto _ : state) {
        CDocument doc;
        fillCatalogue(doc.Catalogue());
        benchmark::DoNotOptimize(ClipboardText::PasteSteps(doc, text, -1).count);
    }
}

void BM_CopyFarClosers(benchmark::State &state)
{
    const QString text = farClosers(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ClipboardText::NestBlocks(text).size());
}

// A settings file of n keys followed by n lines that remove keys.
QByteArray removals(int n)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int i = 0; i < n; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\K" + QByteArray::number(i) + "]\r\n\"v\"=\"x\"\r\n";
    for (int i = 0; i < n; ++i)
        text += "[-HKEY_CURRENT_USER\\Software\\Gone" + QByteArray::number(i) + "]\r\n";
    return text;
}

void BM_SettingsRemovalLines(benchmark::State &state)
{
    const QByteArray text = removals(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            RegFileFormat::parse(text, QStringLiteral("HKEY_CURRENT_USER")).keys.size());
    }
}

// Ten writes of one value each into a settings file of n keys and n removal lines.
void BM_SettingsWrites(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString folder = QDir(workDir().path()).filePath(QStringLiteral("reg%1").arg(n));
    QDir().mkpath(folder);
    RegFileStore store(folder);
    QFile::remove(store.filePath(kHKeyCurrentUser));
    writeFile(QStringLiteral("reg%1/HKEY_CURRENT_USER.reg").arg(n), removals(n));
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            const QByteArray dword(4, char(++round));
            if (!store.writeValue(kHKeyCurrentUser, QStringLiteral("Software\\W"),
                                  QStringLiteral("v%1").arg(i), {RegDword, dword}))
                state.SkipWithError("write failed");
        }
    }
}

// The shape at n and at growth times n.
void sizes(benchmark::internal::Benchmark *b, int n, int growth)
{
    // CPU time of the whole process (opening parses on a second thread): unlike real time, it
    // does not grow when other programs take the processor.
    b->Arg(n)->Arg(n * growth)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

// Keeps the least CPU time of every run; prints them as the console does.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double seconds = run.cpu_accumulated_time / double(run.iterations);
            auto [it, added] =
                best[run.run_name.function_name].emplace(std::stol(run.run_name.args), seconds);
            if (!added)
                it->second = std::min(it->second, seconds);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Compares the smallest and the largest size of every shape; false when the time of one
    // grows faster than the input to the power 1.5 (linear work grows as fast as the input,
    // quadratic work as the square; the margin absorbs a loaded machine's noise).
    bool check() const
    {
        bool ok = true;
        for (const auto &[name, times] : best) {
            if (times.size() < 2)
                continue;
            const double growth = double(times.rbegin()->first) / double(times.begin()->first);
            const double ratio = times.rbegin()->second / times.begin()->second;
            const bool fine = ratio <= std::pow(growth, 1.5);
            std::printf("%-36s x%.0f input: x%.1f time%s\n", name.c_str(), growth, ratio,
                        fine ? "" : "  (grows faster than the input)");
            ok = ok && fine;
        }
        return ok;
    }

private:
    std::map<std::string, std::map<long, double>> best; // shape -> size -> seconds
};

} // namespace

// Sizes: the huge tokens grow 4 times (a quadratic cost shows from 32 MB on), the others 8.
BENCHMARK(BM_UnknownAttributesPerRow)->Apply([](auto *b) { sizes(b, 10000, 8); });
BENCHMARK(BM_UnknownAttributesOnOneElement)->Apply([](auto *b) { sizes(b, 10000, 8); });
BENCHMARK(BM_HugeAttributeValue)->Apply([](auto *b) { sizes(b, 32 << 20, 4); });
BENCHMARK(BM_HugeComment)->Apply([](auto *b) { sizes(b, 32 << 20, 4); });
BENCHMARK(BM_PasteFarClosers)->Apply([](auto *b) { sizes(b, 10000, 8); });
BENCHMARK(BM_CopyFarClosers)->Apply([](auto *b) { sizes(b, 10000, 8); });
BENCHMARK(BM_SettingsRemovalLines)->Apply([](auto *b) { sizes(b, 2500, 8); });
BENCHMARK(BM_SettingsWrites)->Apply([](auto *b) { sizes(b, 2500, 8); });

int main(int argc, char **argv)
{
    bool checkRatios = false;
    std::vector<char *> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check-ratios") == 0)
            checkRatios = true;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.check() || !checkRatios ? 0 : 1;
}
