// The live checks of a large script, as run after every edit.
#include "core/checks/ScriptChecks.h"
#include "core/document/CDocument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void fillCatalogue(CElements &catalogue)
{
    auto var = catalogue.Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, "a < b & \"c\"", {}, false, {}, "Value");
    auto cond = catalogue.Add("if", "If");
    (void)cond->Attributes().Add("cond", 1, "x", {}, true, {}, "Condition");
    (void)catalogue.Add("else", "Else");
    (void)catalogue.Add("endif", "End If");
    auto loop = catalogue.Add("loop", "Loop");
    (void)loop->Attributes().Add("count", 5, "3", {}, true, {}, "Count");
    (void)catalogue.Add("endloop", "End Loop");
}

// N steps in repeated groups of ten: nested if/else and loop blocks around variables, one
// required value in a hundred left empty, and one if in a thousand without its End If.
void fillDocument(CDocument &doc, int count)
{
    const char *group[] = {"loop", "var",   "if",  "var",     "else",
                           "var",  "endif", "var", "endloop", "var"};
    std::vector<CDocument::NewStep> steps;
    steps.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto definition = doc.Catalogue().Item(QString::fromLatin1(group[i % 10]));
        auto step = CElements::Copy(*definition);
        if (i % 100 == 1)
            step->Attributes().SetValueAt(0, QString());
        if (i % 1000 == 6)
            step = CElements::Copy(*doc.Catalogue().Item("var"));
        steps.push_back({nullptr, -1, std::move(step)});
    }
    doc.InsertSteps(steps, -1);
}

void BM_CheckScript(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    auto doc = std::make_unique<CDocument>();
    fillCatalogue(doc->Catalogue());
    fillDocument(*doc, n);
    std::size_t problems = 0;
    for (auto _ : state) {
        problems = ScriptChecks::CheckDocument(*doc).size();
        benchmark::DoNotOptimize(problems);
    }
    state.counters["problems"] = static_cast<double>(problems);
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(BM_CheckScript)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
