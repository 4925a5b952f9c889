#include "core/settings/ColorPalette.h"

#include <array>
#include <cmath>

namespace ColorPalette {

namespace {

// Red-green-blue, rows top to bottom.
constexpr std::array<std::array<quint32, Columns>, Rows> Rgb{{
    {{0xFFFFFF, 0xFFC0C0, 0xFFE0C0, 0xFFFFC0, 0xC0FFC0, 0xC0FFFF, 0xC0C0FF, 0xFFC0FF}},
    {{0xE0E0E0, 0xFF8080, 0xFFC080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x8080FF, 0xFF80FF}},
    {{0xC0C0C0, 0xFF0000, 0xFF8000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF}},
    {{0x808080, 0xC00000, 0xC04000, 0xC0C000, 0x00C000, 0x00C0C0, 0x0000C0, 0xC000C0}},
    {{0x404040, 0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080}},
    {{0x000000, 0x400000, 0x804040, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040}},
}};

constexpr quint32 toOle(quint32 rgb)
{
    return ((rgb & 0xFF0000u) >> 16) | (rgb & 0x00FF00u) | ((rgb & 0x0000FFu) << 16);
}

bool inside(Cell cell)
{
    return cell.column >= 0 && cell.column < Columns && cell.row >= 0 && cell.row < Rows;
}

// The swatch index along one axis whose image is `designed` pixels long at its designed size
// and `extent` pixels long as shown.
int indexAt(int coordinate, int extent, int designed, int count)
{
    // A point on the far edge belongs to the last swatch.
    const int c = coordinate >= extent ? extent - 1 : coordinate;
    const double pitch = Pitch * extent / designed;
    const int index = static_cast<int>(std::floor(c / pitch));
    return qBound(0, index, count - 1);
}

} // namespace

quint32 SwatchColor(Cell cell)
{
    if (!inside(cell))
        return 0;
    return toOle(Rgb[static_cast<size_t>(cell.row)][static_cast<size_t>(cell.column)]);
}

QRectF SwatchRect(Cell cell)
{
    return QRectF(cell.column * Pitch, cell.row * Pitch, Pitch, Pitch);
}

std::optional<Cell> FindSwatch(quint32 color)
{
    for (int column = 0; column < Columns; ++column) {
        for (int row = 0; row < Rows; ++row) {
            if (SwatchColor({column, row}) == color)
                return Cell{column, row};
        }
    }
    return std::nullopt;
}

std::optional<Cell> HitTest(QPoint pos, QSize imageSize)
{
    if (imageSize.width() <= 0 || imageSize.height() <= 0)
        return std::nullopt;
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > imageSize.width() || pos.y() > imageSize.height())
        return std::nullopt;
    return Cell{indexAt(pos.x(), imageSize.width(), ImageWidth, Columns),
                indexAt(pos.y(), imageSize.height(), ImageHeight, Rows)};
}

} // namespace ColorPalette
