#include "core/document/CElement.h"
#include "core/document/SelectionState.h"
#include "core/document/StepRowGeometry.h"

#include <gtest/gtest.h>

namespace G = StepRowGeometry;

namespace {

TEST(StepRowGeometryTest, IconCellAndIndentFollowTheIconStyle)
{
    EXPECT_EQ(G::IconCellSize(0), 2);
    EXPECT_EQ(G::IconCellSize(1), 20);
    EXPECT_EQ(G::IconCellSize(2), 38);
    EXPECT_EQ(G::IndentStep(0), 22);
    EXPECT_EQ(G::IndentStep(1), 22);
    EXPECT_EQ(G::IndentStep(2), 36);
    EXPECT_EQ(G::IconSize(1), 16);
    EXPECT_EQ(G::IconSize(2), 32);
    // Text starts after the gutter, the icon cell and the indentation.
    EXPECT_EQ(G::TextLeft(0, 0, 0), 2);
    EXPECT_EQ(G::TextLeft(30, 2, 3), 30 + 38 + 3 * 36);
    EXPECT_EQ(G::TextLeft(30, 1, 2), 30 + 20 + 2 * 22);
    EXPECT_EQ(G::IconLeft(30, 2, 1), 30 + 1 + 36);
}

TEST(StepRowGeometryTest, RowHeightsHaveAFloorAndA210PixelCap)
{
    // No icons: the floor is 2 + 8.
    EXPECT_EQ(G::RowHeight(0, 0), 10);
    // Large icons: at least 38 + 8.
    EXPECT_EQ(G::RowHeight(13, 2), 46);
    EXPECT_EQ(G::RowHeight(13, 1), 28);
    // Text height plus 8 between the floor and the cap.
    EXPECT_EQ(G::RowHeight(100, 2), 108);
    EXPECT_EQ(G::RowHeight(202, 0), 210);
    EXPECT_EQ(G::RowHeight(203, 0), 210);
    EXPECT_EQ(G::RowHeight(5000, 2), G::kMaxRowHeight);
}

TEST(StepRowGeometryTest, GutterGrowsWithTheDigitsOfTheRowCount)
{
    EXPECT_EQ(G::GutterDigits(0), 3);
    EXPECT_EQ(G::GutterDigits(9), 3);
    EXPECT_EQ(G::GutterDigits(10), 4);
    EXPECT_EQ(G::GutterDigits(99), 4);
    EXPECT_EQ(G::GutterDigits(100), 5);
    EXPECT_EQ(G::GutterDigits(100000), 8);
}

TEST(StepRowGeometryTest, VisualCaptionShowsTabsAsGuillemets)
{
    CElement comment;
    comment.IsComment = true;
    comment.Text = "a\tb";
    EXPECT_EQ(VisualCaption(comment), QString::fromUtf8("a \u00BB b"));
}

TEST(SelectionStateTest, NoSelection)
{
    const SelectionState s = ComputeSelectionState(12, 0, false, false, -1, {});
    EXPECT_EQ(s.LinePanel, "Lines: 12");
    EXPECT_EQ(s.TextPanel, "");
    EXPECT_FALSE(s.MoveUp || s.MoveDown || s.EditCommands);
    EXPECT_TRUE(s.GotoStep);
    EXPECT_TRUE(s.SelectAll);

    const SelectionState empty = ComputeSelectionState(0, 0, false, false, -1, {});
    EXPECT_FALSE(empty.GotoStep);
    EXPECT_FALSE(empty.SelectAll);
    EXPECT_EQ(empty.LinePanel, "Lines: 0");
}

TEST(SelectionStateTest, SingleSelectionShowsTheStepOnOneLine)
{
    const SelectionState s =
        ComputeSelectionState(12, 1, false, false, 2, "Shows a message.\r\nWaits for OK.");
    EXPECT_EQ(s.LinePanel, "Line: 3 of 12");
    EXPECT_EQ(s.TextPanel, "Shows a message. Waits for OK.");
    EXPECT_TRUE(s.MoveUp && s.MoveDown && s.EditCommands && s.SelectAll);
}

TEST(SelectionStateTest, FirstAndLastRowsBlockTheirMoves)
{
    EXPECT_FALSE(ComputeSelectionState(5, 1, true, false, 0, {}).MoveUp);
    EXPECT_TRUE(ComputeSelectionState(5, 1, true, false, 0, {}).MoveDown);
    EXPECT_FALSE(ComputeSelectionState(5, 1, false, true, 4, {}).MoveDown);
    EXPECT_TRUE(ComputeSelectionState(5, 1, false, true, 4, {}).MoveUp);
}

TEST(SelectionStateTest, MultipleAndFullSelections)
{
    const SelectionState two = ComputeSelectionState(5, 2, false, false, 3, "info");
    EXPECT_EQ(two.TextPanel, "<Multiple selection>");
    EXPECT_EQ(two.LinePanel, "Line: 4 of 5");
    const SelectionState all = ComputeSelectionState(5, 5, true, true, 0, "info");
    EXPECT_FALSE(all.SelectAll);
    EXPECT_FALSE(all.MoveUp || all.MoveDown);
}

TEST(SelectionStateTest, StepsPanel)
{
    EXPECT_EQ(StepsPanelText(7), "Steps: 7");
    EXPECT_EQ(StepsPanelText(0), "");
}

} // namespace
