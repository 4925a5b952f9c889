#include "support/EditWindowFixture.h"
#include "support/ZmlTestSupport.h"

#include "gui/steplist/FindBar.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

class FoldTest : public EditWindowTest {
protected:
    // bmclear, if { bmfirst, loop { bmlast }, endloop }, endif, bmclear
    frmEdit &openBlocks()
    {
        return openShown({"<bmclear />", "<if var=\"a\" operator=\"=\">", "<bmfirst />",
                          "<loop count=\"2\">", "<bmlast />", "</loop>", "</if>", "<bmclear />"},
                         "fold.zml");
    }
    QString hiddenRows()
    {
        QString marks;
        for (int r = 0; r < doc().RowCount(); ++r)
            marks += list().isRowHidden(r) ? QLatin1Char('h') : QLatin1Char('.');
        return marks;
    }
    void clickFold(int row)
    {
        QTest::mouseClick(listViewport(), Qt::LeftButton, {}, list().foldControlRect(row).center());
    }
    QAction *viewItem(const char *name)
    {
        return w().menu(QStringLiteral("mnuView"))->findChild<QAction *>(QLatin1String(name));
    }
};

TEST_F(FoldTest, TheGutterControlFoldsABlockAndCountsItsHiddenRows)
{
    openBlocks();
    clickRows({7});
    EXPECT_EQ(list().foldAt(1), StepRowView::Fold::Open);
    EXPECT_EQ(list().foldAt(3), StepRowView::Fold::Open);
    EXPECT_EQ(list().foldAt(2), StepRowView::Fold::None);

    clickFold(3);
    EXPECT_EQ(hiddenRows(), "....hh..");
    EXPECT_EQ(list().foldNote(3), "2 rows folded");
    clickFold(1);
    EXPECT_EQ(hiddenRows(), "..hhhhh.");
    EXPECT_EQ(list().foldNote(1), "5 rows folded");
    EXPECT_EQ(selected(), std::vector<int>{7}); // a fold control leaves the selection alone
    // The rows below moved up to the folded row.
    EXPECT_EQ(rowRect(7).top(), rowRect(1).bottom() + 1);

    clickFold(1); // the inner fold stays folded
    EXPECT_EQ(hiddenRows(), "....hh..");
    clickFold(3);
    EXPECT_EQ(hiddenRows(), "........");
    EXPECT_EQ(list().foldNote(3), "");
}

TEST_F(FoldTest, FoldAllAndUnfoldAllFromTheViewMenu)
{
    openBlocks();
    viewItem("mnuViewFoldAll")->trigger();
    EXPECT_EQ(hiddenRows(), "..hhhhh.");
    EXPECT_EQ(list().foldAt(3), StepRowView::Fold::Folded);
    viewItem("mnuViewUnfoldAll")->trigger();
    EXPECT_EQ(hiddenRows(), "........");
}

TEST_F(FoldTest, AFoldedBlockIsCopiedSavedAndMovedWhole)
{
    openBlocks();
    clickRows({1});
    QTest::mouseClick(listViewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(6));
    key(Qt::Key_C, Qt::ControlModifier);
    const QString wholeBlock = QApplication::clipboard()->text();
    key(Qt::Key_S, Qt::ControlModifier);
    const QByteArray saved = ReadBytes(m_files.filePath("fold.zml"));

    clickFold(1);
    clickRows({1});
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    QApplication::clipboard()->clear();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), wholeBlock);
    makeDirty();
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(m_files.filePath("fold.zml")), saved);

    // Moving the folded row down moves its block past the next row, still folded.
    key(Qt::Key_D, Qt::ControlModifier);
    settle();
    EXPECT_EQ(names(), (QStringList{"bmclear", "bmclear", "if", "bmfirst", "loop", "bmlast",
                                    "endloop", "endif"}));
    EXPECT_EQ(hiddenRows(), "...hhhhh");
    // Clicking elsewhere drops the hidden rows from the selection with their opener.
    clickRows({0});
    EXPECT_EQ(selected(), std::vector<int>{0});
}

TEST_F(FoldTest, RevealingARowUnfoldsTheBlocksAroundIt)
{
    openBlocks();
    viewItem("mnuViewFoldAll")->trigger();
    EXPECT_TRUE(list().revealRow(4)); // what a find that lands on row 4 calls
    EXPECT_EQ(hiddenRows(), "........");
    EXPECT_FALSE(list().revealRow(4));
}

TEST_F(FoldTest, AFindUnfoldsTheBlocksAroundItsMatchOnly)
{
    openShown({"<bmclear />", "<if var=\"a\" operator=\"=\">", "<bmfirst />", "<loop count=\"2\">",
               "<var name=\"inner\" value=\"1\" />", "</loop>", "</if>", "<loop count=\"3\">",
               "<bmlast />", "</loop>"},
              "find.zml");
    viewItem("mnuViewFoldAll")->trigger();
    ASSERT_EQ(hiddenRows(), "..hhhhh.hh");
    clickRows({0});
    key(Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(w().findBar()->field(), QStringLiteral("inner"));
    EXPECT_EQ(hiddenRows(), "........hh");
    EXPECT_EQ(selected(), std::vector<int>{4});
    EXPECT_TRUE(listViewport()->rect().contains(rowRect(4)));
    EXPECT_EQ(list().foldAt(7), StepRowView::Fold::Folded);
}

} // namespace
