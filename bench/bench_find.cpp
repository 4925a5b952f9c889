// Find next over a 100 000-step script whose only match is the last step, in the visual view
// and in source mode.
#include "core/document/CDocument.h"
#include "core/document/StepSearch.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kScript = 100000;

void findAtEnd(benchmark::State &state, bool sourceMode)
{
    CDocument document;
    auto var = document.Catalogue().Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, "a < b & \"c\"", {}, false, {}, "Value");
    std::vector<CDocument::NewStep> steps(kScript, CDocument::NewStep{var, -1});
    document.InsertSteps(steps, -1);
    document.Step(kScript - 1)->Attributes().SetValueAt(0, QStringLiteral("needle"));
    StepSearch::Options options;
    options.sourceMode = sourceMode;
    for (auto _ : state) {
        const auto found = StepSearch::Find(document, QStringLiteral("Needle"), 1, true, options);
        benchmark::DoNotOptimize(found);
        if (found.row != kScript - 1)
            state.SkipWithError("wrong row");
    }
}

void BM_FindNextAtEnd(benchmark::State &state)
{
    findAtEnd(state, false);
}
void BM_FindNextAtEndSource(benchmark::State &state)
{
    findAtEnd(state, true);
}

BENCHMARK(BM_FindNextAtEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextAtEndSource)->Unit(benchmark::kMillisecond);

} // namespace
