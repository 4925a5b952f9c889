// Editing commands on a 100 000-step script shown in a list view: paste, select all + copy,
// delete and move of large selections, and single inserts, edits and moves.
#include "core/document/CDocument.h"
#include "core/document/DocumentHistory.h"
#include "gui/editing/EditCommands.h"
#include "gui/editing/IStepDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QListView>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kScript = 100000;

// Confirms every dialog without changing anything.
class ConfirmingDialogs final : public IStepDialogs {
public:
    bool ShowMe(CElement &, bool) override { return true; }
    CommentAnswer AskComment(const QString &, bool) override
    {
        return {QStringLiteral("c"), false};
    }
    int AskGoto() override { return 1; }
};

void fillCatalogue(CElements &catalogue)
{
    auto var = catalogue.Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, "counter", {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, "a < b & \"c\"", {}, false, {}, "Value");
    auto say = catalogue.Add("saytext", "Say text", true, "Text to say");
    (void)say->Attributes().Add("title", 1, "t", {}, false, {}, "Title");
    auto cond = catalogue.Add("if", "If");
    (void)cond->Attributes().Add("cond", 1, "x > 1", {}, true, {}, "Condition");
    (void)catalogue.Add("endif", "End If");
}

// A document of count steps (var steps with an if block every 50 rows) shown in a list view.
struct Fixture {
    explicit Fixture(int count)
    {
        fillCatalogue(document.Catalogue());
        std::vector<CDocument::NewStep> steps;
        steps.reserve(static_cast<std::size_t>(count));
        const auto var = document.Catalogue().Item("var");
        const auto cond = document.Catalogue().Item("if");
        const auto endif = document.Catalogue().Item("endif");
        for (int i = 0; i < count; ++i)
            steps.push_back({i % 50 == 10 ? cond : i % 50 == 20 ? endif : var, -1});
        document.InsertSteps(steps, -1);
        document.SetDirty(false);
        list.setModel(document.Rows());
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        list.setUniformItemSizes(true);
        list.resize(600, 800);
        list.show();
        QApplication::processEvents();
    }

    void selectRange(int first, int last)
    {
        list.selectionModel()->select(
            QItemSelection(document.Rows()->index(first), document.Rows()->index(last)),
            QItemSelectionModel::ClearAndSelect);
    }
    void selectEvery(int step, int count, int from)
    {
        QItemSelection selection;
        for (int i = 0; i < count; ++i) {
            const QModelIndex index = document.Rows()->index(from + i * step);
            selection.select(index, index);
        }
        list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    CDocument document;
    QListView list;
    ConfirmingDialogs dialogs;
    EditCommands commands{document, &list, dialogs};
};

// Clipboard text of n steps in the nested form that copy produces.
QString clipboardSteps(int n)
{
    QString text;
    for (int i = 0; i < n; ++i) {
        if (i % 20 == 5)
            text += QStringLiteral("<if cond=\"x &gt; 1\" >\r\n");
        else if (i % 20 == 15)
            text += QStringLiteral("</if>\r\n");
        else
            text += QStringLiteral("<var name=\"n\" value=\"v\" />\r\n");
    }
    return text;
}

template <typename Setup, typename Run> void measure(benchmark::State &state, Setup setup, Run run)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto fixture = std::make_unique<Fixture>(kScript);
        setup(*fixture);
        state.ResumeTiming();
        run(*fixture);
        QApplication::processEvents(); // the view's queued layout work counts too
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
    }
}

void BM_Paste10000IntoTheMiddle(benchmark::State &state)
{
    QGuiApplication::clipboard()->setText(clipboardSteps(10000));
    measure(
        state, [](Fixture &f) { f.selectRange(kScript / 2, kScript / 2); },
        [](Fixture &f) {
            if (!f.commands.PasteText() || f.document.RowCount() != kScript + 10000)
                std::abort();
        });
}

void BM_SelectAllAndCopy(benchmark::State &state)
{
    measure(
        state, [](Fixture &) {},
        [](Fixture &f) {
            f.commands.SelectAll();
            if (!f.commands.CopySelection())
                std::abort();
        });
}

void BM_Delete10000Contiguous(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectRange(40000, 49999); },
        [](Fixture &f) {
            if (!f.commands.DeleteSelection(false) || f.document.RowCount() != kScript - 10000)
                std::abort();
        });
}

void BM_Delete10000Scattered(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectEvery(10, 10000, 3); },
        [](Fixture &f) {
            if (!f.commands.DeleteSelection(false) || f.document.RowCount() != kScript - 10000)
                std::abort();
        });
}

// Undo of the scattered deletion above, and of a paste of 10 000 steps, with the view attached.
void BM_UndoDelete10000Scattered(benchmark::State &state)
{
    measure(
        state,
        [](Fixture &f) {
            f.selectEvery(10, 10000, 3);
            f.commands.DeleteSelection(false);
            QApplication::processEvents();
        },
        [](Fixture &f) {
            f.commands.history().stack()->undo();
            if (f.document.RowCount() != kScript)
                std::abort();
        });
}

void BM_UndoPaste10000(benchmark::State &state)
{
    QGuiApplication::clipboard()->setText(clipboardSteps(10000));
    measure(
        state,
        [](Fixture &f) {
            f.selectRange(kScript / 2, kScript / 2);
            f.commands.PasteText();
            QApplication::processEvents();
        },
        [](Fixture &f) {
            f.commands.history().stack()->undo();
            if (f.document.RowCount() != kScript)
                std::abort();
        });
}

void BM_Move1000Contiguous(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectRange(50000, 50999); },
        [](Fixture &f) {
            if (!f.commands.MoveSelection(true))
                std::abort();
        });
}

void BM_Move1000Scattered(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectEvery(7, 1000, 40001); },
        [](Fixture &f) {
            if (!f.commands.MoveSelection(false))
                std::abort();
        });
}

void BM_SingleInsertInTheMiddle(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectRange(kScript / 2, kScript / 2); },
        [](Fixture &f) {
            if (f.commands.InsertAction(QStringLiteral("if")) != kScript / 2 + 1)
                std::abort();
        });
}

void BM_SingleEditInTheMiddle(benchmark::State &state)
{
    measure(
        state,
        [](Fixture &f) {
            f.list.setCurrentIndex(f.document.Rows()->index(kScript / 2));
            f.document.Step(kScript / 2)->Disabled = true;
        },
        [](Fixture &f) {
            if (!f.commands.EditStep())
                std::abort();
        });
}

void BM_SingleMoveInTheMiddle(benchmark::State &state)
{
    measure(
        state, [](Fixture &f) { f.selectRange(kScript / 2, kScript / 2); },
        [](Fixture &f) {
            if (!f.commands.MoveSelection(false))
                std::abort();
        });
}

} // namespace

BENCHMARK(BM_Paste10000IntoTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectAllAndCopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Delete10000Contiguous)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UndoDelete10000Scattered)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UndoPaste10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Delete10000Scattered)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Move1000Contiguous)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Move1000Scattered)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SingleInsertInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SingleEditInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SingleMoveInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
