// Opening and saving large scripts, side by side with `xmllint --noout` on the same files.
// The scripts come from generate-script.py (mixed actions, comments, disabled steps and blocks
// nested ten deep) and use the bundled catalogue.
#include "core/document/CDocument.h"
#include "core/host/MessageService.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// The generated script of `steps` steps (made once per run).
QString script(int steps)
{
    static std::map<int, QString> made;
    auto it = made.find(steps);
    if (it != made.end())
        return it->second;
    const QString path = QDir(workDir().path()).filePath(QStringLiteral("s%1.zml").arg(steps));
    QProcess::execute(QStringLiteral("python3"),
                      {QStringLiteral(STEPSMITH_SOURCE_DIR "/bench/generate-script.py"),
                       QString::number(steps), path});
    made.emplace(steps, path);
    return path;
}

void loadCatalogue(CDocument &doc)
{
    doc.Catalogue().LoadFile(QStringLiteral(STEPSMITH_CATALOGUE));
}

// Read, parse, match against the catalogue and build the rows, the file in the given number of
// pieces at once (0: as the machine decides).
void openScript(benchmark::State &state, int pieces)
{
    SetOpenPieces(pieces, 0);
    const QString path = script(int(state.range(0)));
    ScopedMessageHandler quiet([](const QString &, MsgIcon, MsgButtons) { return MsgResult::Ok; });
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CDocument>();
        loadCatalogue(*doc);
        state.ResumeTiming();
        if (!OpenDocument(*doc, path))
            state.SkipWithError("open failed");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    SetOpenPieces(0, 0);
}

void BM_OpenScript(benchmark::State &state)
{
    openScript(state, 0);
}

void BM_OpenScriptInPieces(benchmark::State &state)
{
    openScript(state, int(state.range(1)));
}

// Build the text, check the blocks and write the file.
void BM_SaveScript(benchmark::State &state)
{
    const QString path = script(int(state.range(0)));
    CDocument doc;
    loadCatalogue(doc);
    if (!OpenDocument(doc, path))
        state.SkipWithError("open failed");
    const QString out = QDir(workDir().path()).filePath(QStringLiteral("out.zml"));
    for (auto _ : state) {
        if (!SaveDocument(doc, out, false))
            state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reference: libxml2's own checker on the same file (process start included).
void BM_XmllintNoout(benchmark::State &state)
{
    const QString path = script(int(state.range(0)));
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path}) != 0)
            state.SkipWithError("xmllint failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_XmllintNoout)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenScript)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
// The 100 000-step script read in 1 to 4 pieces, whatever the processors.
BENCHMARK(BM_OpenScriptInPieces)
    ->ArgsProduct({{100000}, {1, 2, 3, 4}})
    ->ArgNames({"", "pieces"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SaveScript)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
