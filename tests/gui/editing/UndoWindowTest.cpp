#include "support/EditWindowFixture.h"

#include "core/document/DocumentHistory.h"
#include "core/zml/ZmlWriter.h"
#include "gui/mainwindow/frmFileProp.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace {

class UndoWindowTest : public EditWindowTest {
protected:
    // What a step of the history must give back: the saved bytes, the depths, the selection.
    struct State {
        QByteArray bytes;
        std::vector<int> depths;
        std::vector<int> selected;
    };
    static void expectSame(const State &actual, const State &expected, const char *when)
    {
        EXPECT_EQ(QString::fromUtf8(actual.bytes), QString::fromUtf8(expected.bytes)) << when;
        EXPECT_EQ(actual.depths, expected.depths) << when;
        EXPECT_EQ(actual.selected, expected.selected) << when;
    }
    State state()
    {
        State s{BuildDocumentUtf8(doc()), {}, selected()};
        for (int r = 0; r < doc().RowCount(); ++r)
            s.depths.push_back(doc().Rows()->depth(r));
        return s;
    }
    // Does a command with real events, then Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) on the list.
    // rows are clicked first (Ctrl adds to the selection); an empty list clicks nothing.
    void roundTrip(const char *what, const QString &undoText, const std::vector<int> &rows,
                   const std::function<void()> &change)
    {
        SCOPED_TRACE(what);
        for (std::size_t i = 0; i < rows.size(); ++i)
            QTest::mouseClick(listViewport(), Qt::LeftButton,
                              i == 0 ? Qt::NoModifier : Qt::ControlModifier, rowCentre(rows[i]));
        const State before = state();
        change();
        settle();
        const State after = state();
        EXPECT_NE(before.bytes, after.bytes);
        EXPECT_EQ(w().action(Command::EditUndo)->text(), QStringLiteral("&Undo ") + undoText);
        key(Qt::Key_Z, Qt::ControlModifier);
        expectSame(state(), before, "undone");
        EXPECT_EQ(w().action(Command::EditRedo)->text(), QStringLiteral("&Redo ") + undoText);
        key(Qt::Key_Y, Qt::ControlModifier);
        expectSame(state(), after, "redone");
        key(Qt::Key_Z, Qt::ControlModifier);
        expectSame(state(), before, "undone again");
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        expectSame(state(), after, "redone again");
    }
    // The first comment row, and the first step that is neither a comment nor disabled.
    int firstComment()
    {
        return find([](const CElement &s) { return s.IsComment; });
    }
    int firstEnabledStep()
    {
        return find([](const CElement &s) { return !s.IsComment && !s.Disabled; });
    }
    int find(const std::function<bool(const CElement &)> &test)
    {
        for (int r = 0; r < doc().RowCount(); ++r) {
            if (test(*doc().Step(r)))
                return r;
        }
        return -1;
    }
    // Chooses an item of the Edit menu opened by a right click on row.
    void chooseFromContextMenu(int row, Command command)
    {
        QTest::mouseClick(listViewport(), Qt::RightButton, {}, rowCentre(row));
        settle();
        QMenu *menu = w().menu(QStringLiteral("mnuEdit"));
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(w().action(command)).center());
        settle();
    }
};

} // namespace

TEST_F(UndoWindowTest, EveryCommandUndoesAndRedoesAsOneStep)
{
    openShown({"<bmclear />", "<if cond=\"a\">", "<saveall />", "</if>", "<bmfirst />",
               "<!--\r\nnote\r\n-->"});
    w().setStepDialogs(&fake);
    QGuiApplication::clipboard()->clear();
    settle();
    EXPECT_FALSE(enabled(Command::EditUndo));
    EXPECT_FALSE(enabledButton(Command::EditRedo));

    clickRows({0});
    roundTrip("insert from the tree", "Insert", {}, [this] { clickNode("loop"); });
    roundTrip("drop", "Drop", {}, [this] { dragToList("if", rowCentre(2)); });
    roundTrip("properties", "Edit", {1}, [this] {
        fake.properties.push_back([](CElement &step) {
            step.Attributes().SetValueAt(0, QStringLiteral("b"));
            step.Disabled = true;
            return true;
        });
        key(Qt::Key_Return);
    });
    roundTrip("add a comment", "Add Comment", {}, [this] {
        fake.comments.push_back({QStringLiteral("added"), false});
        key(Qt::Key_R, Qt::ControlModifier);
    });
    roundTrip("edit a comment", "Edit Comment", {}, [this] {
        fake.comments.push_back({QStringLiteral("changed"), false});
        QTest::mouseDClick(listViewport(), Qt::LeftButton, {}, rowCentre(firstComment()));
    });
    roundTrip("delete", "Delete", {0, 2, 4}, [this] {
        m_messages.answerNext(MsgResult::Yes);
        key(Qt::Key_Delete);
    });
    roundTrip("cut", "Cut", {1, 3}, [this] { key(Qt::Key_X, Qt::ControlModifier); });
    roundTrip("paste", "Paste", {0}, [this] { key(Qt::Key_V, Qt::ControlModifier); });
    roundTrip("move", "Move Down", {0, 1}, [this] { key(Qt::Key_D, Qt::ControlModifier); });
    roundTrip("indent", "Indent", {2}, [this] { clickButton(Command::EditIndent); });
    roundTrip("outdent", "Outdent", {2}, [this] { clickButton(Command::EditOutdent); });
    const int step = firstEnabledStep();
    roundTrip("disable", "Disable", {step},
              [&] { chooseFromContextMenu(step, Command::EditDisable); });
    roundTrip("enable", "Enable", {step},
              [&] { chooseFromContextMenu(step, Command::EditEnable); });
    roundTrip("file properties", "File Properties", {}, [this] {
        SetModalRunner([](QDialog &dialog) {
            auto *properties = qobject_cast<frmFileProp *>(&dialog);
            if (properties == nullptr)
                return 0;
            QTest::keyClicks(properties->txtAuthor(), QStringLiteral(" and friends"));
            return int(QDialog::Accepted);
        });
        clickButton(Command::EditProperties);
        SetModalRunner([](QDialog &) { return 0; });
    });
    EXPECT_TRUE(enabledButton(Command::EditUndo));
    EXPECT_EQ(w().button(Command::EditUndo)->toolTip(), QStringLiteral("Undo File Properties"));
}

TEST_F(UndoWindowTest, ChangedFlagAndSavePromptFollowTheHistory)
{
    const QString path = writeScript("flag.zml", {"<bmclear />", "<bmfirst />"});
    frmEdit &window = open(path);
    window.show();
    settle();
    clickRows({0});
    m_messages.answerNext(MsgResult::Yes);
    key(Qt::Key_Delete);
    EXPECT_TRUE(window.Dirty());
    EXPECT_TRUE(window.windowTitle().startsWith('['));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(window.Dirty()) << "undone back to the saved file";
    const std::size_t asked = m_messages.messages().size();
    EXPECT_EQ(window.QuerySave(), frmEdit::SaveAnswer::Unchanged);

    // Redo past the saved state; a save marks the new clean state; undo leaves it again.
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(window.Dirty());
    ASSERT_TRUE(window.SaveDoc(false));
    EXPECT_FALSE(window.Dirty());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window.Dirty());
    m_messages.answerNext(MsgResult::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_EQ(m_messages.messages().size(), asked + 1);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(window.close()) << "at the saved state closing asks nothing";
    EXPECT_EQ(m_messages.messages().size(), asked + 1);

    // New and Open start a fresh history.
    frmEdit &again = open(path);
    EXPECT_FALSE(again.action(Command::EditUndo)->isEnabled());
    again.Commands()->SelectAll();
    again.Commands()->DeleteSelection(false);
    EXPECT_TRUE(again.action(Command::EditUndo)->isEnabled());
    m_messages.answerNext(MsgResult::No);
    again.NewDoc();
    EXPECT_FALSE(again.action(Command::EditUndo)->isEnabled());
    EXPECT_EQ(again.action(Command::EditUndo)->text(), QStringLiteral("&Undo"));
}
