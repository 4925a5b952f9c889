#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/DocumentCommands.h"
#include "core/document/DocumentHistory.h"
#include "core/zml/ZmlWriter.h"

#include "support/TestCatalogue.h"

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// What undo and redo must restore: the saved bytes, the depths and the selection.
struct State {
    QByteArray bytes;
    std::vector<int> depths;
    std::vector<int> selected;
    int current = -1;
    bool operator==(const State &o) const
    {
        return bytes == o.bytes && depths == o.depths && selected == o.selected &&
               current == o.current;
    }
};

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillTestCatalogue(doc.Catalogue());
        history.setSelectionModel(&selection);
        // var, if (x), saytext, endif, loop, endloop, range
        for (const char *name : {"var", "if", "saytext", "endif", "loop", "endloop", "range"})
            doc.InsertStep(*doc.Catalogue().Item(QString::fromLatin1(name)), -1);
        doc.Step(0)->Attributes().SetValueAt(0, QStringLiteral("a"));
        doc.Step(2)->Text = QStringLiteral("hello");
        history.clear();
    }
    State state() const
    {
        State s;
        s.bytes = BuildDocumentUtf8(doc);
        for (int r = 0; r < doc.RowCount(); ++r)
            s.depths.push_back(doc.Rows()->depth(r));
        const RowSelection sel = history.selection();
        s.selected = sel.rows;
        s.current = sel.current;
        return s;
    }
    void select(std::vector<int> rows, int current)
    {
        history.applySelection(RowSelection{std::move(rows), current});
    }
    std::shared_ptr<CElement> newStep(const char *name)
    {
        return CElements::Copy(*doc.Catalogue().Item(QString::fromLatin1(name)));
    }
    // Does the change (pushing a command and selecting as the window would), then checks that
    // undo gives back the state before it and redo the state after it, twice over.
    void roundTrip(const std::function<void()> &change)
    {
        const State before = state();
        change();
        const State after = state();
        EXPECT_NE(before.bytes, after.bytes);
        for (int pass = 0; pass < 2; ++pass) {
            history.stack()->undo();
            EXPECT_EQ(state(), before) << "undo, pass " << pass;
            history.stack()->redo();
            EXPECT_EQ(state(), after) << "redo, pass " << pass;
        }
    }

    CDocument doc;
    QItemSelectionModel selection{doc.Rows()};
    DocumentHistory history{doc};
};

TEST_F(HistoryTest, EveryCommandUndoesAndRedoesExactly)
{
    select({1}, 1);
    roundTrip([this] {
        auto edited = CElements::Copy(*doc.Step(0));
        edited->Attributes().SetValueAt(1, QStringLiteral("42"));
        edited->Text = QStringLiteral("ignored");
        history.stack()->push(new EditStepCommand(history, QStringLiteral("Edit"), 0, edited));
    });
    roundTrip([this] {
        history.stack()->push(new InsertRowsCommand(history, QStringLiteral("Insert"), 2,
                                                    {newStep("loop"), newStep("endloop")}));
        select({2}, 2);
    });
    select({0, 3, 6}, 3);
    roundTrip([this] {
        history.stack()->push(
            new RemoveRowsCommand(history, QStringLiteral("Delete"), {0, 3, 4, 8}));
        select({}, -1);
    });
    select({2, 3}, 3);
    roundTrip([this] {
        history.stack()->push(new MoveRowsCommand(history, QStringLiteral("Move"), {2, 3}, true));
        select({1, 2}, 2);
    });
    roundTrip([this] {
        history.stack()->push(new DisableCommand(history, QStringLiteral("Disable"), {1, 2}, true));
    });
    roundTrip([this] {
        CHeader header = doc.Header();
        header.Author = QStringLiteral("Someone else");
        history.stack()->push(new HeaderCommand(history, QStringLiteral("Properties"), header));
    });
    roundTrip([this] {
        history.stack()->push(new DepthCommand(history, QStringLiteral("Indent"), {0, 1, 2}, true));
    });
}

TEST_F(HistoryTest, PasteIsRecordedAfterItHappened)
{
    select({3}, 3);
    roundTrip([this] {
        const RowSelection before = history.selection();
        const auto pasted = ClipboardText::PasteSteps(
            doc, QStringLiteral("<if cond=\"1\" >\r\n<var name=\"b\" />\r\n</if>\r\n"), 3);
        ASSERT_EQ(pasted.count, 3);
        auto *command =
            InsertRowsCommand::forInserted(history, QStringLiteral("Paste"), pasted.first, 3);
        command->setSelectionBefore(before);
        history.stack()->push(command);
        select({pasted.last}, pasted.last);
    });
    EXPECT_EQ(history.stack()->undoText(), QStringLiteral("Paste"));
}

TEST_F(HistoryTest, ChangedFlagFollowsTheHistory)
{
    QSignalSpy changes(&doc, &CDocument::dirtyChanged);
    EXPECT_FALSE(doc.Dirty());
    // Indenting only changes the indentation of the lines: it leaves the flag alone.
    history.stack()->push(new DepthCommand(history, QStringLiteral("Indent"), {0}, true));
    EXPECT_FALSE(doc.Dirty());
    history.stack()->push(new RemoveRowsCommand(history, QStringLiteral("Delete"), {0}));
    EXPECT_TRUE(doc.Dirty());
    history.stack()->undo();
    EXPECT_FALSE(doc.Dirty()) << "back at the saved state";
    history.stack()->redo();
    EXPECT_TRUE(doc.Dirty());

    // A save (the writer clears the flag) makes this the clean state.
    doc.SetDirty(false);
    EXPECT_TRUE(history.stack()->isClean());
    history.stack()->undo();
    EXPECT_TRUE(doc.Dirty()) << "undone past the save";
    history.stack()->redo();
    EXPECT_FALSE(doc.Dirty());

    // A new change after undoing past the clean state can never return to it.
    history.stack()->undo();
    history.stack()->push(new DisableCommand(history, QStringLiteral("Disable"), {0}, true));
    history.stack()->undo();
    EXPECT_TRUE(doc.Dirty());

    history.clear();
    EXPECT_FALSE(doc.Dirty());
    EXPECT_FALSE(history.stack()->canUndo());
    // Reading a file into the document ends the history of its old rows.
    history.stack()->push(new RemoveRowsCommand(history, QStringLiteral("Delete"), {0}));
    emit doc.loadingStarted();
    EXPECT_FALSE(history.stack()->canUndo());
    EXPECT_GE(changes.count(), 6);

    // A recovered script differs from its file from the start: no state of its history is
    // the saved one until a save.
    doc.SetDirty(true);
    history.clearUnsaved();
    EXPECT_TRUE(doc.Dirty());
    history.stack()->push(new DepthCommand(history, QStringLiteral("Indent"), {0}, true));
    history.stack()->undo();
    EXPECT_TRUE(doc.Dirty()) << "undone to the recovered state";
    doc.SetDirty(false);
    history.stack()->redo();
    EXPECT_FALSE(doc.Dirty()) << "indenting after the save";
}

} // namespace
