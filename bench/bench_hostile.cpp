// Hostile input shapes, each at two sizes (N and 4 N). Run as a benchmark, or with
// --check-ratios to fail (exit 1) when the time of a shape grows much faster than its input:
// linear work takes about 4 times as long at 4 N, quadratic work 16 times.
#include "controls/MessageService.h"
#include "controls/RegFileFormat.h"
#include "controls/RegFileStore.h"
#include "document/CDocument.h"
#include "document/ClipboardText.h"
#include "document/ZmlReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kGrowth = 4;       // the larger size is kGrowth times the smaller one
constexpr double kMaxRatio = 8.; // between linear (4) and quadratic (16)

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

QByteArray script(const QByteArray &body, const QByteArray &head = "<version>1.0</version>")
{
    return "<zml version=\"1.0\">\r\n<zmlhead>" + head + "</zmlhead>\r\n<zmlbody>\r\n" + body +
           "</zmlbody>\r\n</zml>\r\n";
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

// A header of n unknown elements.
void BM_UnknownHeaderElements(benchmark::State &state)
{
    const int n = int(state.range(0));
    QByteArray head = "<version>1.0</version>";
    for (int i = 0; i < n; ++i)
        head += "<x" + QByteArray::number(i) + "/>";
    const QString path =
        writeFile(QStringLiteral("head-%1.zml").arg(n), script("<var name=\"v\" />", head));
    ScopedMessageHandler quiet([](const QString &, MsgIcon, MsgButtons) { return MsgResult::Ok; });
    for (auto _ : state) {
        CDocument doc;
        fillCatalogue(doc.Catalogue());
        if (!OpenDocument(doc, path))
            state.SkipWithError("open failed");
    }
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

void sizes(benchmark::internal::Benchmark *b, int n)
{
    b->Arg(n)->Arg(n * kGrowth)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Keeps the fastest real time of every run; prints them as the console does.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double seconds = run.real_accumulated_time / double(run.iterations);
            auto [it, added] =
                best.emplace(run.run_name.function_name + '/' + run.run_name.args, seconds);
            if (!added)
                it->second = std::min(it->second, seconds);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Pairs "name/N" with "name/<kGrowth N>" and reports every ratio; false when one is too big.
    bool check() const
    {
        bool ok = true;
        for (const auto &[name, seconds] : best) {
            const auto slash = name.rfind('/');
            if (slash == std::string::npos)
                continue;
            const long n = std::stol(name.substr(slash + 1));
            const auto larger = best.find(name.substr(0, slash + 1) + std::to_string(n * kGrowth));
            if (larger == best.end())
                continue;
            const double ratio = larger->second / seconds;
            const bool fine = ratio <= kMaxRatio;
            std::printf("%-40s x%d input: x%.1f time%s\n", name.substr(0, slash).c_str(), kGrowth,
                        ratio, fine ? "" : "  (grows faster than the input)");
            ok = ok && fine;
        }
        return ok;
    }

private:
    std::map<std::string, double> best;
};

} // namespace

BENCHMARK(BM_UnknownAttributesPerRow)->Apply([](auto *b) { sizes(b, 25000); });
BENCHMARK(BM_UnknownAttributesOnOneElement)->Apply([](auto *b) { sizes(b, 25000); });
BENCHMARK(BM_HugeAttributeValue)->Apply([](auto *b) { sizes(b, 32 << 20); });
BENCHMARK(BM_HugeComment)->Apply([](auto *b) { sizes(b, 32 << 20); });
BENCHMARK(BM_UnknownHeaderElements)->Apply([](auto *b) { sizes(b, 25000); });
BENCHMARK(BM_PasteFarClosers)->Apply([](auto *b) { sizes(b, 25000); });
BENCHMARK(BM_CopyFarClosers)->Apply([](auto *b) { sizes(b, 25000); });
BENCHMARK(BM_SettingsRemovalLines)->Apply([](auto *b) { sizes(b, 5000); });
BENCHMARK(BM_SettingsWrites)->Apply([](auto *b) { sizes(b, 5000); });

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
