#include "gui/editing/EditCommands.h"
#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "gui/editing/IStepDialogs.h"
#include "support/FakeDialogs.h"
#include "support/MessageRecorder.h"
#include "support/TestCatalogue.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillTestCatalogue(document.Catalogue());
        list.setModel(document.Rows());
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        auto *layout = new QHBoxLayout(&host);
        layout->addWidget(&tree);
        layout->addWidget(&list);
        host.resize(500, 400);
        host.show();
        QApplication::setActiveWindow(&host);
        (void)QTest::qWaitForWindowActive(&host);
        commands.setActionTree(&tree);
    }

    // Appends steps of the given element names (a "#" prefix makes a comment) and clears Dirty.
    void addSteps(const QStringList &names)
    {
        for (const QString &name : names) {
            if (name.startsWith(QLatin1Char('#'))) {
                CElement comment;
                comment.IsComment = true;
                comment.Text = name.mid(1);
                document.InsertStep(comment, -1);
            } else {
                document.InsertStep(*document.Catalogue().Item(name), -1);
            }
        }
        list.selectionModel()->clearSelection();
        list.setCurrentIndex(QModelIndex());
        list.selectionModel()->clearSelection();
        document.SetDirty(false);
    }

    void select(std::initializer_list<int> rows)
    {
        list.selectionModel()->clearSelection();
        for (int r : rows)
            list.selectionModel()->select(document.Rows()->index(r), QItemSelectionModel::Select);
        if (rows.size() > 0)
            list.selectionModel()->setCurrentIndex(document.Rows()->index(*rows.begin()),
                                                   QItemSelectionModel::NoUpdate);
    }

    QStringList names() const
    {
        QStringList result;
        for (int r = 0; r < document.RowCount(); ++r) {
            const auto step = document.Step(r);
            result.append(step->IsComment ? QLatin1Char('#') + step->Text : step->ElementName);
        }
        return result;
    }

    std::vector<int> depths() const
    {
        std::vector<int> result;
        for (int r = 0; r < document.RowCount(); ++r)
            result.push_back(document.Rows()->depth(r));
        return result;
    }

    CDocument document;
    QWidget host;
    QListView list{&host};
    QTreeWidget tree{&host};
    FakeDialogs dialogs;
    EditCommands commands{document, &list, dialogs};
};

using Rows = std::vector<int>;

} // namespace

TEST_F(EditCommandsTest, InsertIntoAnEmptyListAppendsSelectsAndFocuses)
{
    tree.setFocus();
    dialogs.properties.push_back([](CElement &step) {
        step.Attributes().Item(QStringLiteral("name"))->Value = QStringLiteral("v1");
        return true;
    });
    EXPECT_EQ(commands.InsertAction(QStringLiteral("var")), 0);
    ASSERT_EQ(dialogs.propertiesCalls.size(), 1U);
    EXPECT_TRUE(dialogs.propertiesCalls[0].useDefaults);
    EXPECT_EQ(names(), QStringList({QStringLiteral("var")}));
    EXPECT_EQ(document.Rows()->rowText(0), QStringLiteral("<var name=\"v1\" value=\"\" />"));
    EXPECT_EQ(commands.SelectedRows(), Rows({0}));
    EXPECT_EQ(list.currentIndex().row(), 0);
    EXPECT_TRUE(list.hasFocus());
    EXPECT_TRUE(document.Dirty());
}

TEST_F(EditCommandsTest, ClickedActionGoesAfterTheFirstSelectedRow)
{
    addSteps({"var", "var", "var", "var", "var", "var"});
    select({2, 5});
    EXPECT_EQ(commands.InsertAction(QStringLiteral("saytext")), 3);
    EXPECT_EQ(names().at(3), QStringLiteral("saytext"));
    EXPECT_EQ(commands.SelectedRows(), Rows({3}));
}

TEST_F(EditCommandsTest, CancelledPropertiesInsertNothing)
{
    addSteps({"var"});
    dialogs.properties.push_back([](CElement &) { return false; });
    EXPECT_EQ(commands.InsertAction(QStringLiteral("saytext")), -1);
    EXPECT_EQ(document.RowCount(), 1);
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(commands.InsertAction(QStringLiteral("nosuchaction")), -1);
    EXPECT_EQ(dialogs.propertiesCalls.size(), 1U);
}

TEST_F(EditCommandsTest, ClickedOpenerGetsItsCloserAndStaysSelected)
{
    addSteps({"var"});
    select({0});
    EXPECT_EQ(commands.InsertAction(QStringLiteral("if")), 1);
    EXPECT_EQ(names(), QStringList({"var", "if", "endif"}));
    EXPECT_EQ(depths(), Rows({0, 0, 0}));
    EXPECT_EQ(commands.SelectedRows(), Rows({1}));
    // Inside the block, a loop gets its endloop one level deeper.
    select({1});
    EXPECT_EQ(commands.InsertAction(QStringLiteral("loop")), 2);
    EXPECT_EQ(names(), QStringList({"var", "if", "loop", "endloop", "endif"}));
    EXPECT_EQ(depths(), Rows({0, 0, 1, 1, 0}));
    EXPECT_EQ(commands.SelectedRows(), Rows({2}));
}

TEST_F(EditCommandsTest, DroppedOpenerLeavesTheCloserSelected)
{
    addSteps({"var", "var"});
    EXPECT_EQ(commands.DropAction(QStringLiteral("if"), 1), 1);
    EXPECT_EQ(names(), QStringList({"var", "if", "endif", "var"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({2}));
    EXPECT_EQ(commands.DropAction(QStringLiteral("saytext"), -1), 4);
    EXPECT_EQ(commands.SelectedRows(), Rows({4}));
    EXPECT_TRUE(list.hasFocus());
}

TEST_F(EditCommandsTest, TheCatalogueDefinitionIsNotChangedByTheDialog)
{
    dialogs.properties.push_back([](CElement &step) {
        step.Disabled = true;
        step.Text = QStringLiteral("said");
        return true;
    });
    commands.InsertAction(QStringLiteral("saytext"));
    EXPECT_TRUE(document.Step(0)->Disabled);
    EXPECT_EQ(document.Step(0)->Text, QStringLiteral("said"));
    const auto definition = document.Catalogue().Item(QStringLiteral("saytext"));
    EXPECT_FALSE(definition->Disabled);
    EXPECT_TRUE(definition->Text.isEmpty());
    // The next insert of the same action starts enabled again.
    commands.InsertAction(QStringLiteral("saytext"));
    ASSERT_EQ(dialogs.propertiesCalls.size(), 2U);
    EXPECT_FALSE(dialogs.propertiesCalls[1].disabled);
    EXPECT_FALSE(document.Step(1)->Disabled);
}

TEST_F(EditCommandsTest, EditStepUsesStoredValuesAndSetsDirtyOnlyWhenConfirmed)
{
    addSteps({"var", "#note"});
    EXPECT_FALSE(commands.EditStep()); // no current row
    EXPECT_TRUE(dialogs.propertiesCalls.empty());

    select({0});
    dialogs.properties.push_back([](CElement &) { return false; });
    EXPECT_FALSE(commands.EditStep());
    EXPECT_FALSE(document.Dirty());

    dialogs.properties.push_back([](CElement &step) {
        step.Attributes().Item(QStringLiteral("name"))->Value = QStringLiteral("n");
        return true;
    });
    EXPECT_TRUE(commands.EditStep());
    EXPECT_FALSE(dialogs.propertiesCalls.back().useDefaults);
    EXPECT_EQ(document.Rows()->rowText(0), QStringLiteral("<var name=\"n\" value=\"\" />"));
    EXPECT_TRUE(document.Dirty());
}

TEST_F(EditCommandsTest, EditingACommentUsesTheCommentDialog)
{
    addSteps({"var", "#old"});
    select({1});
    EXPECT_FALSE(commands.EditStep()); // cancelled: empty answer
    ASSERT_EQ(dialogs.commentCalls.size(), 1U);
    EXPECT_EQ(dialogs.commentCalls[0], std::make_pair(QStringLiteral("old"), true));
    EXPECT_FALSE(document.Dirty());

    dialogs.comments.push_back({QStringLiteral("new\r\ntext"), true});
    EXPECT_TRUE(commands.EditStep());
    EXPECT_EQ(document.Step(1)->Text, QStringLiteral("new\r\ntext"));
    EXPECT_EQ(document.Rows()->rowText(1), QStringLiteral("<!--\r\nnew\r\ntext\r\n-->"));
    EXPECT_EQ(document.RowCount(), 2); // still edited in place, not moved
    EXPECT_TRUE(document.Dirty());
    EXPECT_TRUE(dialogs.propertiesCalls.empty());
}

TEST_F(EditCommandsTest, AddCommentPositions)
{
    dialogs.comments.push_back({QStringLiteral("first"), false});
    EXPECT_TRUE(commands.AddComment());
    EXPECT_TRUE(dialogs.commentCalls.back().second); // no selection: check box hidden
    EXPECT_TRUE(dialogs.commentCalls.back().first.isEmpty());
    EXPECT_TRUE(document.Dirty());

    addSteps({"var", "var"});
    select({1});
    dialogs.comments.push_back({QStringLiteral("after"), false});
    EXPECT_TRUE(commands.AddComment());
    EXPECT_FALSE(dialogs.commentCalls.back().second);
    EXPECT_EQ(names(), QStringList({"#first", "var", "#after", "var"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({2}));

    select({3});
    dialogs.comments.push_back({QStringLiteral("before"), false, true});
    EXPECT_TRUE(commands.AddComment());
    EXPECT_EQ(names(), QStringList({"#first", "var", "#after", "#before", "var"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({3}));

    select({0});
    dialogs.comments.push_back({QStringLiteral("last"), true});
    EXPECT_TRUE(commands.AddComment());
    EXPECT_EQ(names().last(), QStringLiteral("#last"));

    document.SetDirty(false);
    EXPECT_FALSE(commands.AddComment()); // empty answer
    EXPECT_EQ(document.RowCount(), 6);
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditCommandsTest, DeleteAsksAndNoKeepsEverything)
{
    addSteps({"var", "if", "endif", "var"});
    select({1, 2});
    MessageRecorder messages;
    messages.answerNext(MsgResult::No);
    EXPECT_FALSE(commands.DeleteSelection(true));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Are you sure you want to delete the selected items?"));
    EXPECT_EQ(messages.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(messages.messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(document.RowCount(), 4);
    EXPECT_FALSE(document.Dirty());

    EXPECT_TRUE(commands.DeleteSelection(true));
    EXPECT_EQ(names(), QStringList({"var", "var"}));
    EXPECT_EQ(document.StepCount(), 2);
    EXPECT_TRUE(document.Dirty());
    EXPECT_TRUE(commands.SelectedRows().empty());
}

TEST_F(EditCommandsTest, DeleteWithoutSelectionOrWithoutAsking)
{
    addSteps({"var", "saytext"});
    MessageRecorder messages;
    EXPECT_FALSE(commands.DeleteSelection(true));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_FALSE(document.Dirty());
    select({0});
    EXPECT_TRUE(commands.DeleteSelection(false));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(names(), QStringList({"saytext"}));
}

TEST_F(EditCommandsTest, MoveKeepsTheRelativeOrderAndTheSelection)
{
    addSteps({"#a", "#b", "#c", "#d"});
    select({1, 2});
    EXPECT_TRUE(commands.MoveSelection(true));
    EXPECT_EQ(names(), QStringList({"#b", "#c", "#a", "#d"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({0, 1}));
    EXPECT_EQ(list.currentIndex().row(), 0);
    EXPECT_TRUE(document.Dirty());
    // Row 0 is selected: up is refused and changes nothing.
    document.SetDirty(false);
    EXPECT_FALSE(commands.MoveSelection(true));
    EXPECT_FALSE(document.Dirty());

    select({1, 2});
    EXPECT_TRUE(commands.MoveSelection(false));
    EXPECT_EQ(names(), QStringList({"#b", "#d", "#c", "#a"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({2, 3}));
    EXPECT_FALSE(commands.MoveSelection(false));
}

TEST_F(EditCommandsTest, MoveOfScatteredRows)
{
    addSteps({"#a", "#b", "#c", "#d", "#e"});
    select({1, 3});
    EXPECT_TRUE(commands.MoveSelection(true));
    EXPECT_EQ(names(), QStringList({"#b", "#a", "#d", "#c", "#e"}));
    EXPECT_EQ(commands.SelectedRows(), Rows({0, 2}));
}

TEST_F(EditCommandsTest, IndentAndOutdentStopAtTheLimitsWithoutDirty)
{
    addSteps({"var", "var"});
    select({0});
    commands.OutdentSelection();
    EXPECT_EQ(document.Rows()->depth(0), 0);
    for (int i = 0; i < 50; ++i)
        commands.IndentSelection();
    EXPECT_EQ(document.Rows()->depth(0), 45);
    EXPECT_EQ(document.Rows()->depth(1), 0);
    commands.OutdentSelection();
    EXPECT_EQ(document.Rows()->depth(0), 44);
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditCommandsTest, DisablingRebuildsTheRowTextAndMarksTheScriptChanged)
{
    addSteps({"var", "#note", "var"});
    select({0, 1});
    commands.SetStepsDisabled(true);
    EXPECT_TRUE(document.Step(0)->Disabled);
    EXPECT_TRUE(document.Step(1)->Disabled);
    EXPECT_FALSE(document.Step(2)->Disabled);
    EXPECT_EQ(document.Rows()->rowText(0), QStringLiteral("<!-- <var name=\"\" value=\"\" /> -->"));
    EXPECT_EQ(document.Rows()->rowText(1), QStringLiteral("<!--\r\nnote\r\n-->"));
    // The written file changes, so closing must not lose it.
    EXPECT_TRUE(document.Dirty());
    document.SetDirty(false);
    commands.SetStepsDisabled(true); // nothing changes
    EXPECT_FALSE(document.Dirty());
    commands.SetStepsDisabled(false);
    EXPECT_EQ(document.Rows()->rowText(0), QStringLiteral("<var name=\"\" value=\"\" />"));
    EXPECT_EQ(commands.SelectedRows(), Rows({0, 1}));
}

TEST_F(EditCommandsTest, SelectAllAndGoto)
{
    addSteps({"var", "var", "var", "var"});
    commands.SelectAll();
    EXPECT_EQ(commands.SelectedRows(), Rows({0, 1, 2, 3}));

    tree.setFocus();
    EXPECT_TRUE(commands.GotoLine(3));
    EXPECT_EQ(commands.SelectedRows(), Rows({2}));
    EXPECT_EQ(list.currentIndex().row(), 2);
    EXPECT_TRUE(list.hasFocus());
    EXPECT_FALSE(commands.GotoLine(5));
    EXPECT_FALSE(commands.GotoLine(0));
    EXPECT_EQ(commands.SelectedRows(), Rows({2}));

    dialogs.gotoAnswer = 1;
    commands.GotoStep();
    EXPECT_EQ(commands.SelectedRows(), Rows({0}));
    dialogs.gotoAnswer = 0;
    commands.GotoStep();
    EXPECT_EQ(dialogs.gotoCalls, 2);
    EXPECT_EQ(commands.SelectedRows(), Rows({0}));
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditCommandsTest, CopyWithoutSelectionLeavesTheClipboardAndCutDeletesNothing)
{
    addSteps({"var"});
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_FALSE(commands.CopySelection());
    commands.CutSelection();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(document.RowCount(), 1);
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditCommandsTest, CopyPutsTheNestedFormOnTheClipboard)
{
    addSteps({"var", "if", "saytext", "endif"});
    select({1, 2, 3});
    EXPECT_TRUE(commands.CopySelection());
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<if cond=\"\" >\r\n<saytext title=\"\" />\r\n</if>\r\n"));
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(commands.SelectedRows(), Rows({1, 2, 3}));
}

TEST_F(EditCommandsTest, CutCopiesAndDeletesWithoutAsking)
{
    addSteps({"#a", "#b", "#c"});
    select({0, 2});
    MessageRecorder messages;
    commands.CutSelection();
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(names(), QStringList({"#b"}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<!--\r\na\r\n-->\r\n<!--\r\nc\r\n-->\r\n"));
    EXPECT_TRUE(document.Dirty());
}

TEST_F(EditCommandsTest, PasteAvailabilityFollowsTheClipboard)
{
    QSignalSpy spy(&commands, &EditCommands::pasteAvailableChanged);
    QGuiApplication::clipboard()->setText(QStringLiteral("plain prose"));
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_TRUE(spy.last().at(0).toBool());
    EXPECT_TRUE(EditCommands::ClipboardHasText());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(spy.last().at(0).toBool());
    EXPECT_FALSE(EditCommands::ClipboardHasText());
    EXPECT_FALSE(commands.PasteText());
}

TEST_F(EditCommandsTest, CopyThenPasteRestoresABlockBeforeTheFirstSelectedRow)
{
    addSteps({"#a", "if", "saytext", "endif", "#b", "#c", "#d", "#e"});
    document.Step(2)->Text = QStringLiteral("hi <there> & \"you\"");
    document.Step(2)->Attributes().Item(QStringLiteral("title"))->Value = QStringLiteral("t");
    document.Step(1)->Attributes().Item(QStringLiteral("cond"))->Value = QStringLiteral("a > b");
    for (int r = 1; r <= 3; ++r)
        document.RefreshRow(r);
    const QStringList texts = [&] {
        QStringList t;
        for (int r = 1; r <= 3; ++r)
            t.append(document.Rows()->rowText(r));
        return t;
    }();
    select({1, 2, 3});
    ASSERT_TRUE(commands.CopySelection());

    document.SetDirty(false);
    select({4, 7});
    tree.clearFocus();
    list.setFocus();
    MessageRecorder messages;
    EXPECT_TRUE(commands.PasteText());
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(names(), QStringList({"#a", "if", "saytext", "endif", "if", "saytext", "endif", "#b",
                                    "#c", "#d", "#e"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(document.Rows()->rowText(4 + i), texts.at(i));
    EXPECT_EQ(depths(), Rows({0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(commands.SelectedRows(), Rows({6}));
    EXPECT_TRUE(tree.hasFocus());
    EXPECT_TRUE(document.Dirty());
}

TEST_F(EditCommandsTest, PasteWithoutSelectionAppendsAndAcceptsEveryLineEnd)
{
    addSteps({"#a"});
    for (const QString &lineEnd :
         {QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral("\r\n")}) {
        QGuiApplication::clipboard()->setText(
            QStringLiteral("<loop count=\"2\" >") + lineEnd + QStringLiteral("<!--") + lineEnd +
            QStringLiteral("two") + lineEnd + QStringLiteral("lines") + lineEnd +
            QStringLiteral("-->") + lineEnd + QStringLiteral("</loop>") + lineEnd);
        list.selectionModel()->clearSelection();
        ASSERT_TRUE(commands.PasteText());
    }
    EXPECT_EQ(names(),
              QStringList({"#a", "loop", "#two\r\nlines", "endloop", "loop", "#two\r\nlines",
                           "endloop", "loop", "#two\r\nlines", "endloop"}));
    EXPECT_EQ(document.Rows()->rowText(1), QStringLiteral("<loop count=\"2\" />"));
    EXPECT_EQ(commands.SelectedRows(), Rows({9}));
}

TEST_F(EditCommandsTest, TextThatIsNotStepsPastesNothingWithoutAMessage)
{
    addSteps({"#a"});
    MessageRecorder messages;
    QSignalSpy inserted(document.Rows(), &QAbstractItemModel::rowsInserted);
    for (const QString &text :
         {QStringLiteral("Dear reader, this is prose."), QStringLiteral("<saytext title=\"x"),
          QStringLiteral("<unknown a=\"1\" />"), QStringLiteral("</zmlclip><var name=\"a\" />")}) {
        QGuiApplication::clipboard()->setText(text);
        EXPECT_TRUE(EditCommands::ClipboardHasText());
        EXPECT_FALSE(commands.PasteText()) << text.toStdString();
    }
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(document.RowCount(), 1);
    EXPECT_FALSE(document.Dirty());
}

TEST_F(EditCommandsTest, CommentMentioningAnOpenerSurvivesCutAndPaste)
{
    addSteps({"#see <if below", "saytext", "#x"});
    select({0, 1});
    commands.CutSelection();
    EXPECT_EQ(names(), QStringList({"#x"}));
    select({0});
    ASSERT_TRUE(commands.PasteText());
    EXPECT_EQ(names(), QStringList({"#see <if below", "saytext", "#x"}));
}

TEST_F(EditCommandsTest, DisabledBlocksPasteBackAsDisabledSteps)
{
    addSteps({"if", "endif"});
    select({0, 1});
    commands.SetStepsDisabled(true);
    ASSERT_TRUE(commands.CopySelection());
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<!-- <if cond=\"\" > -->\r\n<!-- </if> -->\r\n"));
    list.selectionModel()->clearSelection();
    ASSERT_TRUE(commands.PasteText());
    // The reader restores a comment that is exactly a step's form as a disabled step: the
    // opener gets its own form back, so the block stays a disabled if with its endif (not a
    // comment followed by a stray endif).
    EXPECT_EQ(names().mid(2), QStringList({"if", "endif"}));
    EXPECT_TRUE(document.Step(2)->Disabled);
    EXPECT_TRUE(document.Step(3)->Disabled);
    EXPECT_EQ(document.Rows()->rowText(2), document.Rows()->rowText(0));
}
