#include "support/WindowFixture.h"

#include "gui/actiontree/ActionTree.h"
#include "gui/steplist/StepListView.h"

#include "support/FakeDialogs.h"

#include "core/host/CHTMLHelp.h"
#include "gui/editing/EditCommands.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

namespace {

// The main window shown and active, driven with real key events; assistive technology is
// asked through QAccessible.
class KeyboardAccessTest : public WindowTest {
protected:
    frmEdit &openShown(const QStringList &body)
    {
        frmEdit &w = body.isEmpty() ? open() : open(writeScript("keys.zml", body));
        w.resize(900, 600);
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        QCoreApplication::processEvents();
        return w;
    }

    static QAccessibleInterface *accessible(QObject *object)
    {
        return QAccessible::queryAccessibleInterface(object);
    }

    // The accessible item of the list's current row.
    QAccessibleInterface *currentStep() const
    {
        StepListView *list = m_window->List();
        QAccessibleTableInterface *table = accessible(list)->tableInterface();
        return table == nullptr ? nullptr : table->cellAt(list->currentIndex().row(), 0);
    }
};

TEST_F(KeyboardAccessTest, StepRowsReadTheirCaptionLineLevelAndState)
{
    frmEdit &w = openShown({"<if cond=\"a &lt; b\">", "<var name=\"total\" value=\"1\" />",
                            "<!--Check the total-->", "</if>"});
    StepListView *list = w.List();
    QAccessibleInterface *steps = accessible(list);
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->text(QAccessible::Name), QStringLiteral("Steps"));
    ASSERT_NE(steps->tableInterface(), nullptr);
    EXPECT_EQ(steps->tableInterface()->rowCount(), 4);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QAccessibleInterface *row = currentStep();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->role(), QAccessible::ListItem);
    EXPECT_FALSE(row->text(QAccessible::Name).contains(QLatin1Char('<')))
        << row->text(QAccessible::Name).toStdString();
    EXPECT_EQ(row->text(QAccessible::Description), QStringLiteral("Line 1, level 1"));

    QTest::keyClick(list, Qt::Key_Down);
    row = currentStep();
    EXPECT_TRUE(row->text(QAccessible::Name).contains(QStringLiteral("total")))
        << row->text(QAccessible::Name).toStdString();
    EXPECT_FALSE(row->text(QAccessible::Name).contains(QLatin1Char('<')));
    EXPECT_EQ(row->text(QAccessible::Description), QStringLiteral("Line 2, level 2"));

    QTest::keyClick(list, Qt::Key_Down);
    row = currentStep();
    EXPECT_EQ(row->text(QAccessible::Name), QStringLiteral("Check the total"));
    EXPECT_EQ(row->text(QAccessible::Description), QStringLiteral("Line 3, level 2, comment"));

    // Disabling the step is heard on its row.
    QTest::keyClick(list, Qt::Key_Up);
    w.action(Command::EditDisable)->trigger();
    EXPECT_EQ(currentStep()->text(QAccessible::Description),
              QStringLiteral("Line 2, level 2, disabled"));
}

TEST_F(KeyboardAccessTest, PanesToolbarsAndButtonsHaveNames)
{
    frmEdit &w = openShown({});
    QTreeWidget *tree = w.Tree()->Tree();
    QAccessibleInterface *actions = accessible(tree);
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->text(QAccessible::Name), QStringLiteral("Actions"));
    EXPECT_FALSE(actions->text(QAccessible::Description).isEmpty());
    QAccessibleInterface *bar = accessible(w.toolBar(QStringLiteral("tlbSteps")));
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Steps"));
    QWidget *indent =
        w.toolBar(QStringLiteral("tlbSteps"))->widgetForAction(w.button(Command::EditIndent));
    ASSERT_NE(indent, nullptr);
    EXPECT_EQ(accessible(indent)->role(), QAccessible::Button);
    EXPECT_EQ(accessible(indent)->text(QAccessible::Name), QStringLiteral("Increase Indent"));

    // The tree's nodes as the user moves: a folder, then its first action with its
    // information as the description.
    tree->setFocus();
    QTreeWidgetItem *folder = tree->topLevelItem(0);
    tree->setCurrentItem(folder);
    QAccessibleTableInterface *nodes = actions->tableInterface();
    ASSERT_NE(nodes, nullptr);
    EXPECT_EQ(nodes->cellAt(0, 0)->text(QAccessible::Name), folder->text(0));
    tree->expandItem(folder);
    QTest::keyClick(tree, Qt::Key_Down);
    QTreeWidgetItem *first = folder->child(0);
    ASSERT_EQ(tree->currentItem(), first);
    QAccessibleInterface *node = nodes->cellAt(1, 0);
    EXPECT_EQ(node->role(), QAccessible::TreeItem);
    EXPECT_EQ(node->text(QAccessible::Name), first->text(0));
    EXPECT_EQ(node->text(QAccessible::Description),
              first->data(0, ActionTree::InformationRole).toString());
    EXPECT_TRUE(node->state().focused || node->state().selected);
}

TEST_F(KeyboardAccessTest, IndentOutdentAndTheListsContextMenuFromTheKeyboard)
{
    frmEdit &w = openShown({"<bmfirst />", "<bmlast />"});
    StepListView *list = w.List();
    list->setFocus();
    list->selectionModel()->clearSelection();
    // The current row shows the focus while nothing is selected.
    ASSERT_TRUE(list->currentIndex().isValid());
    EXPECT_FALSE(list->selectionModel()->hasSelection());
    const QImage focused = list->viewport()->grab().toImage();
    w.Tree()->Tree()->setFocus();
    EXPECT_NE(list->viewport()->grab().toImage(), focused);
    list->setFocus();

    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_BracketRight, Qt::ControlModifier);
    EXPECT_EQ(w.Document()->Rows()->depth(0), 1);
    QTest::keyClick(list, Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_EQ(w.Document()->Rows()->depth(0), 0);

    // Shift+F10 and the Menu key open the Edit menu at the current row, which they select.
    list->selectionModel()->clearSelection();
    QTest::keyClick(list, Qt::Key_Down);
    list->selectionModel()->clearSelection();
    QMenu *edit = w.menu(QStringLiteral("mnuEdit"));
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(m_window->Commands()->SelectedRows(), std::vector<int>{1});
    const QRect row = list->visualRect(list->currentIndex());
    EXPECT_NEAR(edit->pos().y(), list->viewport()->mapToGlobal(row.bottomLeft()).y(), 2);
    edit->close();
    QTest::keyClick(list, Qt::Key_Menu);
    EXPECT_TRUE(edit->isVisible());
    edit->close();
}

TEST_F(KeyboardAccessTest, TheTreeFindsByAnyWordAndOffersInsertAndHelpOnTheMenuKey)
{
    frmEdit &w = openShown({});
    FakeDialogs fake;
    w.setStepDialogs(&fake);
    QTreeWidget *tree = w.Tree()->Tree();
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));

    // Type-ahead: a word inside the caption is found, its folder opened.
    QTreeWidgetItem *target = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr && target == nullptr; ++it) {
        const QString caption = (*it)->text(0);
        if (!ActionTree::IsFolder(*it) && caption.contains(QLatin1Char(' ')))
            target = *it;
    }
    ASSERT_NE(target, nullptr);
    const QString word = target->text(0).section(QLatin1Char(' '), -1);
    QTest::keyClicks(tree, word);
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_TRUE(tree->currentItem()->text(0).contains(word, Qt::CaseInsensitive))
        << tree->currentItem()->text(0).toStdString() << " for " << word.toStdString();
    EXPECT_TRUE(tree->currentItem()->parent() == nullptr ||
                tree->currentItem()->parent()->isExpanded());

    // The Menu key: Insert puts the action into the script.
    tree->setCurrentItem(target);
    QTest::keyClick(tree, Qt::Key_Menu);
    auto *menu = w.findChild<QMenu *>(QStringLiteral("mnuActionTree"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("&Insert"));
    EXPECT_EQ(menu->actions().at(1)->text(), QStringLiteral("&Help"));
    menu->actions().at(0)->trigger();
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.Document()->RowCount(), 1);

    // Shift+F10 on a folder: no Insert; Help shows the help.
    QList<QUrl> shown;
    const auto previous = CHTMLHelp::SetViewer([&](const QUrl &url) { shown.append(url); });
    tree->setCurrentItem(tree->topLevelItem(0));
    QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier);
    menu = w.findChild<QMenu *>(QStringLiteral("mnuActionTree"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());
    menu->actions().at(1)->trigger();
    menu->close();
    CHTMLHelp::SetViewer(previous);
    EXPECT_EQ(shown.size() + static_cast<int>(m_messages.messages().size()), 1);
}

} // namespace
