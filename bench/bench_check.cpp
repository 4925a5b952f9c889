// The command line's --check of many scripts: one worker against one a core. The scripts are
// 1 000 copies of a generated script of 1 000 steps (mixed actions, comments, disabled steps
// and nested blocks) read with the bundled catalogue; every one passes, so nothing is printed.
#include "cli/CheckMode.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kScripts = 1000;
constexpr int kSteps = 1000;

const QStringList &scripts()
{
    static QTemporaryDir dir;
    static QStringList made;
    if (!made.isEmpty())
        return made;
    const QString first = QDir(dir.path()).filePath(QStringLiteral("s0.zml"));
    QProcess::execute(QStringLiteral("python3"),
                      {QStringLiteral(STEPSMITH_SOURCE_DIR "/bench/generate-script.py"),
                       QString::number(kSteps), first});
    made << first;
    for (int i = 1; i < kScripts; ++i) {
        made << QDir(dir.path()).filePath(QStringLiteral("s%1.zml").arg(i));
        QFile::copy(first, made.last());
    }
    return made;
}

// range(0): workers (0: one a core).
void BM_CheckScripts(benchmark::State &state)
{
    const QStringList &files = scripts();
    for (auto _ : state) {
        if (CheckScripts(QStringLiteral(STEPSMITH_CATALOGUE), files, DiagnosticFormat::Text,
                         int(state.range(0))) != 0)
            state.SkipWithError("a script failed the check");
    }
    state.SetItemsProcessed(state.iterations() * kScripts);
}
BENCHMARK(BM_CheckScripts)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2);

} // namespace

BENCHMARK_MAIN();
