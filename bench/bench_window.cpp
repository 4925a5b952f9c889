// Main window timings with a 100 000-step script: opening it into the window (reading, row
// layout and the first paint), selecting, scrolling and repainting.
#include "core/document/CDocument.h"
#include "core/host/MessageService.h"
#include "core/zml/ZmlWriter.h"
#include "gui/editing/EditCommands.h"
#include "gui/mainwindow/frmEdit.h"
#include "gui/steplist/StepListView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr int kSteps = 100000;

struct Fixture {
    QTemporaryDir settings;
    QTemporaryDir files;
    std::unique_ptr<frmEdit> window;
    QString path;

    Fixture()
    {
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        window = std::make_unique<frmEdit>();
        window->Load(QString(), [](CElements &catalogue) {
            catalogue.LoadFile(QStringLiteral(STEPSMITH_ACTIONS_DAT));
            return catalogue.Count() > 0;
        });
        window->resize(1000, 700);
        window->show();
        // A script of every action in turn, with values, comments and balanced blocks.
        CDocument &doc = *window->Document();
        std::vector<CDocument::NewStep> steps;
        std::vector<std::shared_ptr<CElement>> actions;
        for (const auto &action : doc.Catalogue()) {
            const QString &name = action->ElementName;
            if (name == "if" || name == "else" || name == "endif" || name == "loop" ||
                name == "endloop")
                continue;
            for (const auto &attribute : action->Attributes())
                attribute->Value = QStringLiteral("value of ") + attribute->AttributeName;
            actions.push_back(action);
        }
        auto comment = std::make_shared<CElement>();
        comment->IsComment = true;
        comment->Text = QStringLiteral("A comment about the next steps");
        for (int i = 0; steps.size() < static_cast<std::size_t>(kSteps); ++i) {
            if (i % 50 == 0) {
                steps.push_back({doc.Catalogue().Item("IF"), -1});
                steps.push_back({actions[static_cast<std::size_t>(i) % actions.size()], -1});
                steps.push_back({doc.Catalogue().Item("ENDIF"), -1});
            } else if (i % 17 == 0) {
                steps.push_back({comment, -1});
            } else {
                steps.push_back({actions[static_cast<std::size_t>(i) % actions.size()], -1});
            }
        }
        steps.resize(kSteps);
        doc.InsertSteps(steps, -1);
        path = files.filePath(QStringLiteral("large.zml"));
        SaveDocument(doc, path, false);
        window->NewDoc();
    }

    void settle() const
    {
        window->List()->doItemsLayout();
        window->List()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_OpenLargeScript(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        f.window->OpenDoc(f.path);
        f.settle();
        state.PauseTiming();
        if (f.window->Document()->RowCount() != kSteps)
            state.SkipWithError("the script did not open");
        f.window->NewDoc();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeScript)->Unit(benchmark::kMillisecond)->Iterations(3);

void openOnce(Fixture &f)
{
    if (f.window->Document()->RowCount() != kSteps) {
        f.window->OpenDoc(f.path);
        f.settle();
    }
}

void BM_SelectRow(benchmark::State &state)
{
    Fixture &f = fixture();
    openOnce(f);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> row(0, kSteps - 1);
    StepListView *list = f.window->List();
    for (auto _ : state) {
        const QModelIndex index = f.window->Document()->Rows()->index(row(random), 0);
        list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        list->scrollTo(index);
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_SelectRow)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State &state)
{
    Fixture &f = fixture();
    openOnce(f);
    for (auto _ : state) {
        f.window->action(Command::EditSelectAll)->trigger();
        f.window->List()->viewport()->repaint();
        state.PauseTiming();
        f.window->List()->clearSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);

void BM_ScrollPage(benchmark::State &state)
{
    Fixture &f = fixture();
    openOnce(f);
    QScrollBar *bar = f.window->List()->verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        bar->setValue(
            bar->value() + bar->pageStep() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        f.window->List()->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State &state)
{
    Fixture &f = fixture();
    openOnce(f);
    for (auto _ : state)
        f.window->List()->viewport()->repaint();
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

// Switching between the visual and the source view measures every row again.
void BM_ToggleSourceView(benchmark::State &state)
{
    Fixture &f = fixture();
    openOnce(f);
    for (auto _ : state) {
        f.window->setShowZML(!f.window->ShowZML());
        f.settle();
    }
}
BENCHMARK(BM_ToggleSourceView)->Unit(benchmark::kMillisecond)->Iterations(2);

// A session with a script ten times as large (1 000 000 steps, the 100 000-step body repeated):
// open, scroll to the end, select a row, disable it, save, select all, delete and close. Each
// phase is one user action; the counters give each one's time and the longest.
void BM_MillionStepSession(benchmark::State &state)
{
    Fixture &f = fixture();
    f.window->NewDoc();
    QFile source(f.path);
    if (!source.open(QIODevice::ReadOnly))
        state.SkipWithError("no script");
    const QByteArray text = source.readAll();
    const QByteArray open = "<zmlbody>\r\n";
    const qsizetype bodyStart = text.indexOf(open) + open.size();
    const qsizetype bodyEnd = text.lastIndexOf("    </zmlbody>");
    QByteArray large = text.left(bodyStart);
    for (int i = 0; i < 10; ++i)
        large += text.mid(bodyStart, bodyEnd - bodyStart);
    large += text.mid(bodyEnd);
    const QString path = f.files.filePath(QStringLiteral("million.zml"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(large) != large.size())
        state.SkipWithError("cannot write the script");
    out.close();

    // Closing the changed script answers "No" to saving it.
    ScopedMessageHandler answer([](const QString &, MsgIcon, MsgButtons) { return MsgResult::No; });
    StepListView *list = f.window->List();
    const auto phases = std::vector<std::pair<const char *, std::function<void()>>>{
        {"open_ms",
         [&] {
             f.window->OpenDoc(path);
         }},
        {"scroll_ms",
         [&] {
             list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
         }},
        {"select_ms",
         [&] {
             list->selectionModel()->setCurrentIndex(
                 f.window->Document()->Rows()->index(10 * kSteps - 3, 0),
                 QItemSelectionModel::ClearAndSelect);
         }},
        {"disable_ms",
         [&] {
             f.window->Commands()->SetStepsDisabled(true);
         }},
        {"save_ms",
         [&] {
             f.window->SaveDoc(false);
         }},
        {"select_all_ms",
         [&] {
             f.window->action(Command::EditSelectAll)->trigger();
         }},
        {"delete_ms",
         [&] {
             f.window->Commands()->DeleteSelection(false);
         }},
        {"close_ms",
         [&] {
             f.window->NewDoc();
         }},
    };
    for (auto _ : state) {
        double longest = 0;
        for (const auto &[name, run] : phases) {
            QElapsedTimer clock;
            clock.start();
            run();
            f.settle();
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            state.counters[name] = ms;
            longest = std::max(longest, ms);
        }
        state.counters["longest_ms"] = longest;
        if (f.window->Document()->RowCount() != 0)
            state.SkipWithError("the session did not end empty");
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_MillionStepSession)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture().window->Document()->SetDirty(false);
    return 0;
}
