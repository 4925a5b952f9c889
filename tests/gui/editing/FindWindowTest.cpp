#include "support/EditWindowFixture.h"

#include "gui/steplist/FindBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using FindWindowTest = EditWindowTest;

} // namespace

TEST_F(FindWindowTest, FindBarFindsAsYouTypeWrapsAndSaysNotFound)
{
    openShown({"<bmclear />", "<var name=\"total\" value=\"1\" />", "<bmfirst />",
               "<!--\r\nTotal of the day\r\n-->", "<bmlast />"});
    FindBar *bar = w().findBar();
    ASSERT_FALSE(bar->isVisible());
    clickRows({0});

    // Ctrl+F opens the bar under the list with the focus in its field.
    key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->field()->hasFocus());
    EXPECT_GT(bar->geometry().top(), w().List()->geometry().bottom());

    // Typing finds from the current row on; the found row is the only one selected.
    QTest::keyClicks(bar->field(), QStringLiteral("TOT"));
    EXPECT_EQ(selected(), Rows({1}));
    EXPECT_TRUE(bar->field()->hasFocus()) << "typing goes on in the field";
    // Find next (F3, and Enter in the field) goes on from the current row.
    QTest::keyClick(bar->field(), Qt::Key_F3);
    EXPECT_EQ(selected(), Rows({3}));
    QTest::keyClick(bar->field(), Qt::Key_Return);
    EXPECT_EQ(selected(), Rows({1}));
    EXPECT_EQ(statusPanelText(), QStringLiteral("Search wrapped"));
    QTest::keyClick(bar->field(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(), Rows({3}));
    EXPECT_EQ(statusPanelText(), QStringLiteral("Search wrapped"));

    // Match case: the comment's "Total" only.
    QTest::mouseClick(bar->matchCase(), Qt::LeftButton);
    bar->field()->setText(QStringLiteral("Total"));
    clickRows({4});
    QTest::mouseClick(bar->findChild<QWidget *>(QStringLiteral("cmdFindNext")), Qt::LeftButton);
    EXPECT_EQ(selected(), Rows({3}));
    QTest::mouseClick(bar->findChild<QWidget *>(QStringLiteral("cmdFindNext")), Qt::LeftButton);
    EXPECT_EQ(selected(), Rows({3}));

    // Source mode searches the ZML lines; nothing found says so in the bar, no message box.
    w().setShowZML(true);
    bar->field()->setFocus();
    QTest::keyClick(bar->field(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(bar->field(), QStringLiteral("<bmlast"));
    EXPECT_EQ(selected(), Rows({4}));
    EXPECT_TRUE(bar->note()->text().isEmpty());
    QTest::keyClicks(bar->field(), QStringLiteral("x"));
    EXPECT_EQ(bar->note()->text(), QStringLiteral("Not found"));
    EXPECT_EQ(selected(), Rows({4}));
    EXPECT_TRUE(m_messages.messages().empty());

    // Escape closes the bar and gives the list the focus; F3 in the list finds again.
    QTest::keyClick(bar->field(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(w().List()->hasFocus());
    bar->field()->setText(QStringLiteral("<bm"));
    key(Qt::Key_F3);
    EXPECT_EQ(selected(), Rows({0}));
    key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(), Rows({4}));

    // Escape closes the bar from any of its controls too.
    bar->open();
    bar->matchCase()->setFocus();
    QTest::keyClick(bar->matchCase(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(w().List()->hasFocus());
}
