// Undo and redo on a 100 000-step script: a paste of 10 000 steps and the deletion of 10 000
// scattered steps, each undone and redone through the document's history (with a selection
// model over the rows, as the step list has).
#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/DocumentCommands.h"
#include "core/document/DocumentHistory.h"

#include <QItemSelectionModel>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kScript = 100000;
constexpr int kChanged = 10000;

struct Fixture {
    Fixture()
    {
        auto var = document.Catalogue().Add("var", "Declare a variable");
        (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
        (void)var->Attributes().Add("value", 1, "a < b", {}, false, {}, "Value");
        (void)document.Catalogue().Add("if", "If");
        (void)document.Catalogue().Add("endif", "End If");
        std::vector<CDocument::NewStep> steps;
        const auto step = document.Catalogue().Item("var");
        for (int i = 0; i < kScript; ++i)
            steps.push_back({step, -1});
        document.InsertSteps(steps, -1);
        history.setSelectionModel(&selection);
        history.clear();
    }
    CDocument document;
    QItemSelectionModel selection{document.Rows()};
    DocumentHistory history{document};
};

QString pasteText()
{
    QString text;
    for (int i = 0; i < kChanged; ++i)
        text += QStringLiteral("<var name=\"n%1\" value=\"v\" />\r\n").arg(i);
    return text;
}

// Times undo (redo: false) or redo of the change that push made, one per iteration.
void timeHistory(benchmark::State &state, Fixture &f, bool redo)
{
    QUndoStack *stack = f.history.stack();
    for (auto _ : state) {
        if (redo) {
            state.PauseTiming();
            stack->undo();
            state.ResumeTiming();
            stack->redo();
        } else {
            stack->undo();
            state.PauseTiming();
            stack->redo();
            state.ResumeTiming();
        }
    }
    state.counters["rows"] = f.document.RowCount();
}

void pasted(benchmark::State &state, bool redo)
{
    Fixture f;
    const auto result = ClipboardText::PasteSteps(f.document, pasteText(), kScript / 2);
    f.history.stack()->push(InsertRowsCommand::forInserted(f.history, QStringLiteral("Paste"),
                                                           result.first, result.count));
    timeHistory(state, f, redo);
}

void deleted(benchmark::State &state, bool redo)
{
    Fixture f;
    std::vector<int> rows;
    for (int i = 0; i < kChanged; ++i)
        rows.push_back(i * (kScript / kChanged) + 3);
    f.history.stack()->push(new RemoveRowsCommand(f.history, QStringLiteral("Delete"), rows));
    timeHistory(state, f, redo);
}

void BM_UndoPaste(benchmark::State &state)
{
    pasted(state, false);
}
void BM_RedoPaste(benchmark::State &state)
{
    pasted(state, true);
}
void BM_UndoScatteredDelete(benchmark::State &state)
{
    deleted(state, false);
}
void BM_RedoScatteredDelete(benchmark::State &state)
{
    deleted(state, true);
}

BENCHMARK(BM_UndoPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoScatteredDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoScatteredDelete)->Unit(benchmark::kMillisecond);

} // namespace
