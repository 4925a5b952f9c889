#include "GridTestSupport.h"

#include <QAccessible>
#include <QAccessibleTableInterface>

#include <gtest/gtest.h>

using namespace Fieldpane;

namespace {

// The grid's table and the interface of the widget with the focus.
struct Screen {
    explicit Screen(PropertyList *grid) : table(QAccessible::queryAccessibleInterface(grid)) {}

    QAccessibleTableInterface *cells() const { return table->tableInterface(); }
    QString cell(int row, int column) const
    {
        QAccessibleInterface *c = cells()->cellAt(row, column);
        return c == nullptr ? QStringLiteral("<none>") : c->text(QAccessible::Name);
    }
    static QAccessibleInterface *focused()
    {
        return QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    }

    QAccessibleInterface *table;
};

class GridAccessibility : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.rows().Add(QStringLiteral("Title"), hlvString, QStringLiteral("Report"));
        host.rows().Add(QStringLiteral("Visible"), hlvBoolean, true);
        CListItem notes =
            host.rows().Add(QStringLiteral("Notes"), hlvTextArea, QStringLiteral("two\r\nlines"));
        notes.setCategory(QStringLiteral("More"));
        host.grid->Refresh();
        host.show();
        host.grid->setFocus();
        // The first key chooses the first row.
        QTest::keyClick(host.grid, Qt::Key_Down);
    }

    GridHost host;
};

TEST_F(GridAccessibility, TheGridIsATableOfNamesAndValuesWithTheSelectedLineCurrent)
{
    const Screen screen(host.grid);
    ASSERT_NE(screen.table, nullptr);
    EXPECT_EQ(screen.table->role(), QAccessible::Table);
    ASSERT_NE(screen.cells(), nullptr);
    EXPECT_EQ(screen.cells()->columnCount(), 2);
    // Two rows without a category, the header "More" and its row.
    ASSERT_EQ(screen.cells()->rowCount(), 4);
    EXPECT_EQ(screen.cell(0, 0), QStringLiteral("Title"));
    EXPECT_EQ(screen.cell(0, 1), QStringLiteral("Report"));
    EXPECT_EQ(screen.cell(1, 1), QStringLiteral("true"));
    EXPECT_EQ(screen.cell(2, 0), QStringLiteral("More"));
    EXPECT_EQ(screen.cell(2, 1), QString());
    EXPECT_EQ(screen.cell(3, 0), QStringLiteral("Notes"));
    EXPECT_EQ(screen.cell(4, 0), QStringLiteral("<none>"));

    QAccessibleInterface *value = screen.cells()->cellAt(0, 1);
    EXPECT_EQ(value->role(), QAccessible::Cell);
    EXPECT_EQ(value->text(QAccessible::Description), QStringLiteral("Title"));
    EXPECT_EQ(value->parent(), screen.table);
    EXPECT_EQ(screen.table->indexOfChild(value), 1);
    EXPECT_EQ(screen.table->child(1), value);
    EXPECT_EQ(value->tableCellInterface()->rowIndex(), 0);
    EXPECT_EQ(screen.cells()->selectedRows(), QList<int>{0});
    EXPECT_TRUE(value->state().selected);

    // A value the host sets is what the cell reads.
    host.rows().Item(1).setValue(QStringLiteral("Summary"));
    EXPECT_EQ(screen.cell(0, 1), QStringLiteral("Summary"));
}

TEST_F(GridAccessibility, TheEditorIsNamedAfterTheRowTheUserMovesTo)
{
    const Screen screen(host.grid);
    QAccessibleInterface *editor = Screen::focused();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("Title"));
    EXPECT_EQ(editor->text(QAccessible::Value), QStringLiteral("Report"));

    // The boolean row has no edit box in sight: the box that keeps the focus still says
    // the row's name and value, not those of the row before.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    editor = Screen::focused();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("Visible"));
    EXPECT_EQ(editor->text(QAccessible::Value), QStringLiteral("true"));
    EXPECT_EQ(editor->text(QAccessible::Description), QStringLiteral("true"));
    EXPECT_EQ(screen.cells()->selectedRows(), QList<int>{1});
    EXPECT_FALSE(screen.cells()->cellAt(0, 1)->state().selected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Screen::focused()->text(QAccessible::Name), QStringLiteral("More"));
    EXPECT_EQ(Screen::focused()->text(QAccessible::Value), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Screen::focused()->text(QAccessible::Name), QStringLiteral("Notes"));
    EXPECT_EQ(Screen::focused()->text(QAccessible::Description), QStringLiteral("two\r\nlines"));
    EXPECT_EQ(screen.cells()->selectedRows(), QList<int>{3});

    // Assistive technology may choose a line itself.
    EXPECT_TRUE(screen.cells()->selectRow(0));
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_FALSE(screen.cells()->selectRow(9));
}

} // namespace
