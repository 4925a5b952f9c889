// Folding and unfolding a block of 50 000 rows in the step list of a 100 000-step script,
// shown offscreen; the view's queued layout counts too.
#include "core/document/CDocument.h"
#include "gui/steplist/StepListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kScript = 100000;
constexpr int kBlock = 50000;

// var rows, then an if whose block holds kBlock rows (the if's body and its End If).
struct FoldFixture {
    FoldFixture()
    {
        auto var = doc.Catalogue().Add("var", "Declare a variable");
        (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
        auto cond = doc.Catalogue().Add("if", "If");
        (void)cond->Attributes().Add("cond", 1, "x > 1", {}, true, {}, "Condition");
        (void)doc.Catalogue().Add("endif", "End If");
        std::vector<CDocument::NewStep> steps;
        const int before = (kScript - kBlock - 1) / 2;
        for (int i = 0; i < kScript; ++i) {
            const char *name = "var";
            if (i == before)
                name = "if";
            else if (i == before + kBlock)
                name = "endif";
            steps.push_back({doc.Catalogue().Item(QString::fromLatin1(name)), -1});
        }
        doc.InsertSteps(steps, -1);
        opener = before;
        list = std::make_unique<StepListView>(&doc);
        list->resize(800, 600);
        list->show();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    CDocument doc;
    std::unique_ptr<StepListView> list;
    int opener = 0;
};

void BM_FoldBlock50000(benchmark::State &state)
{
    FoldFixture f;
    for (auto _ : state) {
        f.list->setFolded(f.opener, true);
        FoldFixture::settle();
        state.PauseTiming();
        f.list->setFolded(f.opener, false);
        FoldFixture::settle();
        state.ResumeTiming();
    }
}

void BM_UnfoldBlock50000(benchmark::State &state)
{
    FoldFixture f;
    for (auto _ : state) {
        state.PauseTiming();
        f.list->setFolded(f.opener, true);
        FoldFixture::settle();
        state.ResumeTiming();
        f.list->setFolded(f.opener, false);
        FoldFixture::settle();
    }
}

} // namespace

BENCHMARK(BM_FoldBlock50000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnfoldBlock50000)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
