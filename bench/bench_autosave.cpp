// The autosave of a large script: what the window's thread pays (copying the document and
// handing it to the writer thread) and what the writer thread does (text and atomic write).
#include "core/document/CDocument.h"
#include "core/recovery/Autosaver.h"
#include "core/recovery/DocumentSnapshot.h"
#include "core/recovery/RecoveryStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// n steps: variables with their own values, a comment every 17 steps, an if block every 50.
void fillDocument(CDocument &doc, int n)
{
    auto var = doc.Catalogue().Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, {}, {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, {}, {}, false, {}, "Value");
    (void)doc.Catalogue().Add("if", "If");
    (void)doc.Catalogue().Add("endif", "End If");
    std::vector<CDocument::NewStep> steps;
    steps.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const char *name = i % 50 == 0 ? "if" : i % 50 == 49 ? "endif" : "var";
        auto step = CElements::Copy(*doc.Catalogue().Item(name));
        if (i % 17 == 0) {
            step = std::make_shared<CElement>();
            step->IsComment = true;
            step->Text = QStringLiteral("comment %1").arg(i);
        } else if (step->ElementName == QLatin1String("var")) {
            step->Attributes().Item(QStringLiteral("name"))->Value = QStringLiteral("v%1").arg(i);
            step->Attributes().Item(QStringLiteral("value"))->Value =
                QStringLiteral("a < b & \"%1\"").arg(i);
        }
        steps.push_back({nullptr, -1, step});
    }
    doc.InsertSteps(steps, -1);
}

// The window's part of one autosave: the copy of the document, a slice at a time between the
// window's events, and the hand-off to the writer thread. Time: all slices of one autosave;
// "longest_ms": the longest wall time of one slice (the start included), "longest_cpu_ms" its
// CPU time on the window's thread (wall time on a loaded machine includes time descheduled).
void BM_AutosaveWindowThread(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    CDocument doc;
    fillDocument(doc, n);
    RecoveryStore store(dir.path());
    store.open();
    Autosaver autosaver(doc, store);
    double longest = 0;
    double longestCpu = 0;
    int slices = 0;
    QElapsedTimer clock;
    const auto measure = [&](auto &&slice) {
        const double cpu = threadCpuMs();
        clock.start();
        slice();
        longest = std::max(longest, double(clock.nsecsElapsed()) / 1e6);
        longestCpu = std::max(longestCpu, threadCpuMs() - cpu);
    };
    for (auto _ : state) {
        state.PauseTiming();
        autosaver.waitForJobs();
        doc.SetDirty(true); // a change not yet written
        state.ResumeTiming();
        measure([&] { autosaver.writeNow(); });
        while (autosaver.copying()) {
            measure([] { QCoreApplication::processEvents(); });
            ++slices;
        }
    }
    autosaver.waitForJobs();
    state.counters["longest_ms"] = longest;
    state.counters["longest_cpu_ms"] = longestCpu;
    state.counters["slices"] =
        benchmark::Counter(slices + state.iterations(), benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * n);
}

// The writer thread's part: the document built from the snapshot, its text, the atomic write.
void BM_AutosaveWriterThread(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    CDocument doc;
    fillDocument(doc, n);
    RecoveryStore store(dir.path());
    store.open();
    for (auto _ : state) {
        state.PauseTiming();
        auto snapshot = std::make_unique<DocumentSnapshot>(doc);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            store.write(snapshot->text(), QString(), QDateTime::currentDateTime()));
        state.PauseTiming(); // the snapshot's end is not part of it
        snapshot.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(BM_AutosaveWindowThread)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveWriterThread)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
