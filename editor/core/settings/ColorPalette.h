#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QtGlobal>

#include <optional>

// The fixed palette of the colour picker: 8 columns by 6 rows of swatches, 17.5 pixels apart,
// in an image of 139 by 105 pixels.
namespace ColorPalette {

inline constexpr int Columns = 8;
inline constexpr int Rows = 6;
inline constexpr double Pitch = 17.5;
inline constexpr int ImageWidth = 139;
inline constexpr int ImageHeight = 105;

/// A swatch position, both 0-based.
struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell &a, const Cell &b)
    {
        return a.column == b.column && a.row == b.row;
    }
};

/// OLE value (0x00BBGGRR) of the swatch at `cell`; 0 outside the palette.
quint32 SwatchColor(Cell cell);

/// The area of the swatch at `cell` in image pixels.
QRectF SwatchRect(Cell cell);

/// The first swatch, scanning column by column, whose colour equals `color`; nothing for a
/// colour the palette lacks (system colours included).
std::optional<Cell> FindSwatch(quint32 color);

/// The swatch under `pos` in an image of `imageSize`: nothing when the point lies outside
/// (0..width, 0..height, both ends included). A point on the right or bottom edge counts as
/// the last column or row.
std::optional<Cell> HitTest(QPoint pos, QSize imageSize = QSize(ImageWidth, ImageHeight));

} // namespace ColorPalette
