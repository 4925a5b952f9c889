#include "support/EditWindowFixture.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class ActionFilterWindowTest : public EditWindowTest {
protected:
    QTreeWidget *tree() { return w().Tree()->Tree(); }
    // The shown actions, and the shown folders with whether they are expanded.
    QStringList shownActions()
    {
        QStringList keys;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *folder = tree()->topLevelItem(i);
            for (int c = 0; !folder->isHidden() && c < folder->childCount(); ++c) {
                if (!folder->child(c)->isHidden())
                    keys.append(ActionTree::KeyOf(folder->child(c)));
            }
        }
        return keys;
    }
    QStringList folders(bool expanded)
    {
        QStringList keys;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *folder = tree()->topLevelItem(i);
            if (!folder->isHidden() && folder->isExpanded() == expanded)
                keys.append(ActionTree::KeyOf(folder));
        }
        return keys;
    }
    QString selectedKey()
    {
        const QTreeWidgetItem *node = w().Tree()->SelectedItem();
        return node ? ActionTree::KeyOf(node) : QString();
    }
};

} // namespace

TEST_F(ActionFilterWindowTest, FilterNarrowsTheTreeAndEnterInsertsTheMatch)
{
    openShown({});
    w().setStepDialogs(&fake);
    QLineEdit *field = w().Tree()->filterField();
    EXPECT_EQ(field->placeholderText(), QStringLiteral("Filter actions"));
    // The tree as the user left it: one folder open, an action selected.
    clickNode("var");
    tree()->topLevelItem(2)->setExpanded(true);
    const QStringList openBefore = folders(true);
    const QStringList closedBefore = folders(false);
    const int rowsBefore = doc().RowCount();
    ASSERT_EQ(rowsBefore, 1); // the click inserted a var step
    ASSERT_EQ(selectedKey(), QStringLiteral("var"));

    // Ctrl+E from the list; a word of one action's description finds it alone.
    key(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("TEMPLATE"));
    EXPECT_EQ(shownActions(), QStringList({"newdoc"}));
    EXPECT_EQ(folders(true), QStringList({"Documents"}));
    EXPECT_TRUE(folders(false).isEmpty());
    EXPECT_EQ(selectedKey(), QStringLiteral("newdoc"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(doc().RowCount(), 2);
    EXPECT_EQ(doc().Step(1)->ElementName, QStringLiteral("newdoc"));

    // Every word must match, each in the name, caption or description.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("close discard"));
    EXPECT_EQ(shownActions(), QStringList({"closedoc"}));
    // Down goes into the tree, where Enter and a click insert as on the full tree.
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_TRUE(tree()->hasFocus());
    QTest::keyClick(tree(), Qt::Key_Return);
    EXPECT_EQ(doc().Step(2)->ElementName, QStringLiteral("closedoc"));
    clickNode("closedoc");
    EXPECT_EQ(doc().RowCount(), 4);
    EXPECT_TRUE(shownActions().size() == 1);

    // Escape clears the field: the tree is back as it was.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(folders(true), openBefore);
    EXPECT_EQ(folders(false), closedBefore);
    EXPECT_EQ(selectedKey(), QStringLiteral("var"));
    EXPECT_GT(shownActions().size(), 60);

    // Nothing matching hides every folder; the clear button's clearing restores them too.
    QTest::keyClicks(field, QStringLiteral("no-such-action"));
    EXPECT_TRUE(shownActions().isEmpty());
    EXPECT_TRUE(folders(true).isEmpty());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(doc().RowCount(), 4);
    field->clear();
    EXPECT_EQ(folders(true), openBefore);
}
