#include "support/EditWindowFixture.h"
#include "support/ZmlTestSupport.h"

#include "core/checks/ScriptChecks.h"
#include "gui/mainwindow/ProblemsPanel.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

using ScriptChecks::ProblemKind;

namespace {

class ProblemsTest : public EditWindowTest {
protected:
    ProblemsPanel &panel() { return *w().Problems(); }

    // Waits for the check that follows the last edit; the found problems as (row, kind).
    std::vector<std::pair<int, ProblemKind>> checked()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !panel().checkPending(); }, 3000));
        std::vector<std::pair<int, ProblemKind>> result;
        for (const ScriptChecks::Problem &problem : panel().problems())
            result.emplace_back(problem.row, problem.kind);
        return result;
    }
    using Found = std::vector<std::pair<int, ProblemKind>>;

    QString statusCount()
    {
        QLabel *panel = w().statusPanel(QStringLiteral("Problems"));
        return panel->isVisible() ? panel->text() : QString();
    }
    QTreeWidget &table() { return *panel().table(); }
    QPoint entryCentre(int entry)
    {
        return table().visualItemRect(table().topLevelItem(entry)).center();
    }

    // A click and then the double click the platform reports for a second one.
    static void doubleClick(QWidget *widget, QPoint at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        const QPointF global = widget->mapToGlobal(QPointF(at));
        QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(at), global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    // The tooltip over the gutter of a row.
    QString markerTip(int row)
    {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QPoint at(3, rowRect(row).top() + 6);
        QHelpEvent help(QEvent::ToolTip, at, listViewport()->mapToGlobal(at));
        QApplication::sendEvent(listViewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

const QString kIf = QStringLiteral("<if var=\"a\" operator=\"=\">");

TEST_F(ProblemsTest, BlockProblemsComeAndGoAsRowsMove)
{
    // loop, if, bmfirst, endif, endloop, else, bmlast
    openShown(
        {"<loop count=\"1\">", kIf, "<bmfirst />", "</if>", "</loop>", "<else />", "<bmlast />"});
    EXPECT_EQ(checked(), (Found{{5, ProblemKind::ElseOutsideIf}}));
    EXPECT_EQ(statusCount(), "1 problem");

    // The else moves up into the loop (still outside an if), then into the if.
    clickRows({5});
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(checked(), (Found{{4, ProblemKind::ElseOutsideIf}}));
    key(Qt::Key_U, Qt::ControlModifier);
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(names().at(2), "else");
    EXPECT_EQ(checked(), Found{});
    EXPECT_EQ(statusCount(), ""); // hidden without problems

    // The End If moves below the End Loop: the blocks cross.
    clickRows({4});
    ASSERT_EQ(names().at(4), "endif");
    key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(checked(), (Found{{4, ProblemKind::CrossedBlocks}}));
    EXPECT_EQ(markerTip(4), "End Loop crosses the If of line 2");
    EXPECT_EQ(markerTip(3), "");
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(checked(), Found{});

    // Deleting the End Loop leaves the Loop open; deleting the Loop too mends it.
    m_messages.answerNext(MsgResult::Yes);
    clickRows({5});
    key(Qt::Key_Delete);
    EXPECT_EQ(checked(), (Found{{0, ProblemKind::OpenerWithoutCloser}}));
    EXPECT_EQ(table().topLevelItem(0)->text(0), "1");
    EXPECT_EQ(table().topLevelItem(0)->text(1), "Loop without End Loop");
    m_messages.answerNext(MsgResult::Yes);
    clickRows({0});
    key(Qt::Key_Delete);
    EXPECT_EQ(checked(), Found{});
    EXPECT_EQ(table().topLevelItemCount(), 0);
}

TEST_F(ProblemsTest, DisablingAnIfStrandsItsEndIf)
{
    openShown({"<bmclear />", kIf, "<bmfirst />", "</if>"});
    EXPECT_EQ(checked(), Found{});
    clickRows({1});
    w().action(Command::EditDisable)->trigger();
    EXPECT_EQ(checked(), (Found{{3, ProblemKind::CloserWithoutOpener}}));
    EXPECT_EQ(markerTip(3), "End If without If");
    w().action(Command::EditEnable)->trigger();
    EXPECT_EQ(checked(), Found{});
}

TEST_F(ProblemsTest, EmptyRequiredValueUntilTheStepIsEdited)
{
    openShown({"<bmclear />", "<msgbox title=\"T\"></msgbox>"});
    w().setStepDialogs(&fake);
    EXPECT_EQ(checked(), (Found{{1, ProblemKind::EmptyRequiredValue}}));
    EXPECT_EQ(panel().problems().front().text, "\"Message\" requires a value");

    fake.properties.push_back([](CElement &step) {
        step.Text = QStringLiteral("Hello");
        return true;
    });
    clickRows({1});
    key(Qt::Key_Return);
    EXPECT_EQ(checked(), Found{});
    EXPECT_EQ(markerTip(1), "");
    w().setStepDialogs(nullptr);
}

TEST_F(ProblemsTest, StepOfAnActionTheCatalogueLacksUntilDeleted)
{
    openShown({"<bmclear />"});
    CElement retired; // as left by a catalogue that has dropped the action
    retired.ElementName = QStringLiteral("retired");
    doc().InsertStep(retired, -1);
    EXPECT_EQ(checked(), (Found{{1, ProblemKind::UnknownAction}}));
    m_messages.answerNext(MsgResult::Yes);
    clickRows({1});
    key(Qt::Key_Delete);
    EXPECT_EQ(checked(), Found{});
}

TEST_F(ProblemsTest, EntriesJumpToTheirRowsByDoubleClickAndEnter)
{
    QStringList body{"<msgbox></msgbox>", kIf};
    for (int i = 0; i < 60; ++i)
        body.append(QStringLiteral("<bmfirst />"));
    body.append({"</if>", "<msgbox></msgbox>"});
    openShown(body);
    EXPECT_EQ(checked(),
              (Found{{0, ProblemKind::EmptyRequiredValue}, {63, ProblemKind::EmptyRequiredValue}}));
    panel().show();
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            return table().isVisible() &&
                   !table().visualItemRect(table().topLevelItem(1)).isEmpty();
        },
        3000));
    EditWindowTest::settle();

    doubleClick(table().viewport(), entryCentre(1));
    EditWindowTest::settle();
    EXPECT_EQ(selected(), std::vector<int>{63});
    EXPECT_EQ(list().currentIndex().row(), 63);
    EXPECT_TRUE(list().hasFocus());
    EXPECT_TRUE(listViewport()->rect().intersects(rowRect(63)));
    EXPECT_GT(list().verticalScrollBar()->value(), 0);

    table().setFocus();
    table().setCurrentItem(table().topLevelItem(0));
    QTest::keyClick(&table(), Qt::Key_Return);
    EditWindowTest::settle();
    EXPECT_EQ(selected(), std::vector<int>{0});
    EXPECT_TRUE(list().hasFocus());
    EXPECT_EQ(list().verticalScrollBar()->value(), 0);
}

TEST_F(ProblemsTest, RefusedSaveKeepsItsMessageAndOpensTheListAtTheRow)
{
    const QString path = m_files.filePath("shown.zml");
    openShown({"<bmclear />", kIf, "<bmfirst />", "</if>"});
    m_messages.answerNext(MsgResult::Yes);
    clickRows({3});
    key(Qt::Key_Delete);
    ASSERT_FALSE(panel().isVisible());
    const QByteArray before = ReadBytes(path);

    // Saved at once, before the pending check has run.
    m_messages.clear();
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(m_messages.texts(),
              QStringList{"If without End If or Loop without End Loop. Save action aborted."});
    EXPECT_EQ(m_messages.messages().front().icon, MsgIcon::Critical);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(panel().isVisible());
    ASSERT_NE(table().currentItem(), nullptr);
    EXPECT_EQ(table().currentItem()->text(0), "2");
    EXPECT_EQ(table().currentItem()->text(1), "If without End If");
}

TEST_F(ProblemsTest, TheDockIsANewViewMenuItemRememberedBetweenRuns)
{
    openShown({"<bmclear />"});
    QMenu *view = w().menu(QStringLiteral("mnuView"));
    const QList<QAction *> items = view->actions();
    ASSERT_GE(items.size(), 4);
    // After the existing items: a separator, Problems, Fold All, Unfold All.
    EXPECT_TRUE(items.at(items.size() - 4)->isSeparator());
    QAction *toggle = items.at(items.size() - 3);
    EXPECT_EQ(toggle->text(), "Problems");
    EXPECT_EQ(items.at(items.size() - 2)->text(), "&Fold All");
    EXPECT_EQ(items.back()->text(), "U&nfold All");
    EXPECT_FALSE(panel().isVisible());
    toggle->trigger();
    EXPECT_TRUE(panel().isVisible());
    w().close();

    openShown({"<bmclear />"});
    EXPECT_TRUE(panel().isVisible());
    w().Problems()->toggleViewAction()->trigger();
    w().close();
    openShown({"<bmclear />"});
    EXPECT_FALSE(panel().isVisible());
}

} // namespace
