#include "core/settings/ColorNames.h"
#include "core/host/PopupPlacement.h"
#include "core/settings/ColorPalette.h"

#include <gtest/gtest.h>

#include <set>

using namespace ColorNames;

TEST(ColorNames, SystemColoursByIndex)
{
    EXPECT_EQ(ColorName(0x80000000u), "Scroll Bars");
    EXPECT_EQ(ColorName(0x80000005u), "Window Background");
    EXPECT_EQ(ColorName(0x8000000Fu), "3D Face");
    EXPECT_EQ(ColorName(0x80000012u), "Button Text");
    EXPECT_EQ(ColorName(0x80000018u), "Tooltip Background");
    // Past the table the value is shown as digits, the flag cut off by the six-digit form.
    EXPECT_EQ(ColorName(0x80000019u), "0x000019");
    EXPECT_EQ(ColorName(0x80010005u), "0x010005");

    std::set<QString> names;
    for (int i = 0; i < SystemColorCount; ++i)
        names.insert(SystemColorName(i));
    EXPECT_EQ(names.size(), size_t(SystemColorCount));
    EXPECT_EQ(names.count(QString()), 0u);
    EXPECT_TRUE(SystemColorName(-1).isEmpty());
    EXPECT_TRUE(SystemColorName(25).isEmpty());
}

TEST(ColorNames, StandardColoursInBlueGreenRedOrder)
{
    EXPECT_EQ(ColorName(0x000000), "Black");
    EXPECT_EQ(ColorName(0x800000), "Navy");
    EXPECT_EQ(ColorName(0x008000), "Green");
    EXPECT_EQ(ColorName(0x000080), "Maroon");
    EXPECT_EQ(ColorName(0x008080), "Olive");
    EXPECT_EQ(ColorName(0xC0C0C0), "Silver");
    EXPECT_EQ(ColorName(0x808080), "Gray");
    EXPECT_EQ(ColorName(0xFF0000), "Blue");
    EXPECT_EQ(ColorName(0x0000FF), "Red");
    EXPECT_EQ(ColorName(0xFFFF00), "Cyan");
    EXPECT_EQ(ColorName(0x00FFFF), "Yellow");
    EXPECT_EQ(ColorName(0xFFFFFF), "White");

    std::set<quint32> values;
    for (int i = 0; i < StandardColorCount; ++i) {
        values.insert(StandardColor(i));
        EXPECT_EQ(ColorName(StandardColor(i)), StandardColorName(i)) << i;
    }
    EXPECT_EQ(values.size(), size_t(StandardColorCount));
    EXPECT_EQ(StandardColorName(16), QString());
}

TEST(ColorNames, OtherColoursAsSixHexDigits)
{
    EXPECT_EQ(ColorName(0x123456), "0x123456");
    // Red 1, green 2, blue 3.
    EXPECT_EQ(ColorName(0x030201), "0x030201");
    EXPECT_EQ(ColorName(0x00000A), "0x00000A");
    EXPECT_EQ(ColorName(0xABCDEF), "0xABCDEF");
    // A value with bits above the colour is no standard colour, though its low bytes are.
    EXPECT_EQ(ColorName(0x01000080), "0x000080");
    EXPECT_EQ(HexColorName(0x0000FF), "0x0000FF");
    EXPECT_EQ(HexColorName(0x8000000F), "0x00000F");
}

TEST(ColorPalette, SwatchColoursAreTheFixedTable)
{
    using ColorPalette::SwatchColor;
    // Table colours are red-green-blue; the values are blue-green-red.
    EXPECT_EQ(SwatchColor({0, 0}), 0xFFFFFFu);
    EXPECT_EQ(SwatchColor({1, 0}), 0xC0C0FFu); // FFC0C0
    EXPECT_EQ(SwatchColor({2, 0}), 0xC0E0FFu); // FFE0C0
    EXPECT_EQ(SwatchColor({0, 1}), 0xE0E0E0u);
    EXPECT_EQ(SwatchColor({1, 2}), 0x0000FFu); // FF0000
    EXPECT_EQ(SwatchColor({2, 2}), 0x0080FFu); // FF8000
    EXPECT_EQ(SwatchColor({6, 2}), 0xFF0000u); // 0000FF
    EXPECT_EQ(SwatchColor({2, 3}), 0x0040C0u); // C04000
    EXPECT_EQ(SwatchColor({7, 4}), 0x800080u);
    EXPECT_EQ(SwatchColor({2, 5}), 0x404080u); // 804040
    EXPECT_EQ(SwatchColor({7, 5}), 0x400040u);
    EXPECT_EQ(SwatchColor({8, 0}), 0u);
    EXPECT_EQ(SwatchColor({0, 6}), 0u);
}

TEST(ColorPalette, FindSwatchScansEveryCell)
{
    using namespace ColorPalette;
    std::set<quint32> colours;
    for (int column = 0; column < Columns; ++column) {
        for (int row = 0; row < Rows; ++row) {
            const Cell cell{column, row};
            colours.insert(SwatchColor(cell));
            const auto found = FindSwatch(SwatchColor(cell));
            ASSERT_TRUE(found);
            EXPECT_EQ(*found, cell);
        }
    }
    EXPECT_EQ(colours.size(), size_t(Columns * Rows));
    EXPECT_FALSE(FindSwatch(0x123456));
    EXPECT_FALSE(FindSwatch(0x80000005u));
}

TEST(ColorPalette, HitTestFollowsTheSwatchPitch)
{
    using namespace ColorPalette;
    auto hit = [](int x, int y) {
        return HitTest(QPoint(x, y));
    };
    EXPECT_EQ(*hit(0, 0), (Cell{0, 0}));
    EXPECT_EQ(*hit(17, 17), (Cell{0, 0}));
    EXPECT_EQ(*hit(18, 18), (Cell{1, 1}));
    // The last column begins at 122.5 and the last row at 87.5.
    EXPECT_EQ(*hit(122, 87), (Cell{6, 4}));
    EXPECT_EQ(*hit(123, 88), (Cell{7, 5}));
    EXPECT_EQ(*hit(138, 104), (Cell{7, 5}));
    // Points on the right and bottom edges count as the last column and row.
    EXPECT_EQ(*hit(139, 105), (Cell{7, 5}));
    EXPECT_EQ(*hit(40, 105), (Cell{2, 5}));
    EXPECT_FALSE(hit(-1, 10));
    EXPECT_FALSE(hit(10, -1));
    EXPECT_FALSE(hit(140, 10));
    EXPECT_FALSE(hit(10, 106));
    EXPECT_FALSE(HitTest(QPoint(0, 0), QSize(0, 0)));
    // A palette shown twice as large keeps its cells.
    EXPECT_EQ(*HitTest(QPoint(246, 176), QSize(278, 210)), (Cell{7, 5}));
    EXPECT_EQ(*HitTest(QPoint(244, 174), QSize(278, 210)), (Cell{6, 4}));
    // Every cell's centre hits that cell.
    for (int column = 0; column < Columns; ++column) {
        for (int row = 0; row < Rows; ++row) {
            const QPoint centre = SwatchRect({column, row}).center().toPoint();
            EXPECT_EQ(*HitTest(centre), (Cell{column, row})) << column << "," << row;
        }
    }
}

TEST(PopupPlacement, BelowOrAboveTheControl)
{
    const QRect screen(0, 0, 800, 600);
    const QSize popup(150, 160);
    // Below, left-aligned.
    EXPECT_EQ(DropDownPosition(QRect(100, 200, 120, 20), popup, screen), QPoint(100, 220));
    // Fits exactly down to the last row of the screen.
    EXPECT_EQ(DropDownPosition(QRect(100, 420, 120, 20), popup, screen), QPoint(100, 440));
    // One more row and it opens above, its bottom at the control's top.
    EXPECT_EQ(DropDownPosition(QRect(100, 421, 120, 20), popup, screen), QPoint(100, 261));
    // Kept on the screen horizontally.
    EXPECT_EQ(DropDownPosition(QRect(700, 100, 80, 20), popup, screen), QPoint(650, 120));
    EXPECT_EQ(DropDownPosition(QRect(-30, 100, 80, 20), popup, screen), QPoint(0, 120));
    // A screen offset from the origin.
    EXPECT_EQ(DropDownPosition(QRect(900, 1000, 80, 20), popup, QRect(800, 0, 800, 1100)),
              QPoint(900, 840));
}
