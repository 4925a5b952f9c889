// Large-script timings of the document: inserting, pasting and removing steps.
#include "core/document/CDocument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

void fillCatalogue(CElements &catalogue)
{
    auto var = catalogue.Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, "a < b & \"c\"", {}, false, {}, "Value");
    (void)catalogue.Add("if", "If");
    (void)catalogue.Add("endif", "End If");
}

void fillDocument(CDocument &doc, int count)
{
    const std::vector<CDocument::NewStep> steps(static_cast<std::size_t>(count),
                                                {doc.Catalogue().Item("var"), -1});
    doc.InsertSteps(steps, -1);
}

// N steps appended one at a time, each through InsertStep.
void BM_AppendSteps(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<CDocument>();
        CDocument &doc = *owner;
        fillCatalogue(doc.Catalogue());
        state.ResumeTiming();
        const CElement &var = *doc.Catalogue().Item("var");
        for (int i = 0; i < n; ++i)
            doc.InsertStep(var, -1);
        benchmark::DoNotOptimize(doc.RowCount());
        state.PauseTiming(); // destruction is not part of the measurement
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// N/10 steps inserted one at a time at random rows of a document of N steps.
void BM_InsertAtRandomRows(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<CDocument>();
        CDocument &doc = *owner;
        fillCatalogue(doc.Catalogue());
        fillDocument(doc, n);
        std::mt19937 random(1);
        const CElement &var = *doc.Catalogue().Item("var");
        state.ResumeTiming();
        for (int i = 0; i < n / 10; ++i)
            doc.InsertStep(var, std::uniform_int_distribution<int>(0, doc.RowCount())(random));
        benchmark::DoNotOptimize(doc.RowCount());
        state.PauseTiming(); // destruction is not part of the measurement
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (n / 10));
}

// N/10 steps pasted as one block into the middle of a document of N steps.
void BM_PasteBlockInMiddle(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<CDocument>();
        CDocument &doc = *owner;
        fillCatalogue(doc.Catalogue());
        fillDocument(doc, n);
        const std::vector<CDocument::NewStep> block(static_cast<std::size_t>(n / 10),
                                                    {doc.Catalogue().Item("var"), -1});
        state.ResumeTiming();
        doc.InsertSteps(block, n / 2);
        benchmark::DoNotOptimize(doc.RowCount());
        state.PauseTiming(); // destruction is not part of the measurement
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (n / 10));
}

// Every tenth row (N/10 scattered rows) of a document of N steps removed at once.
void BM_RemoveScatteredRows(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<CDocument>();
        CDocument &doc = *owner;
        fillCatalogue(doc.Catalogue());
        fillDocument(doc, n);
        std::vector<int> rows;
        for (int r = 0; r < n; r += 10)
            rows.push_back(r);
        state.ResumeTiming();
        doc.RemoveSteps(rows);
        benchmark::DoNotOptimize(doc.RowCount());
        state.PauseTiming(); // destruction is not part of the measurement
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (n / 10));
}

// Every other row of a document of N steps moved up by one.
void BM_MoveScatteredRows(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<CDocument>();
        CDocument &doc = *owner;
        fillCatalogue(doc.Catalogue());
        fillDocument(doc, n);
        std::vector<int> rows;
        for (int r = 1; r < n; r += 2)
            rows.push_back(r);
        state.ResumeTiming();
        doc.MoveSteps(rows, true);
        benchmark::DoNotOptimize(doc.RowCount());
        state.PauseTiming(); // destruction is not part of the measurement
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (n / 2));
}

} // namespace

BENCHMARK(BM_AppendSteps)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertAtRandomRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteBlockInMiddle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveScatteredRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveScatteredRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
