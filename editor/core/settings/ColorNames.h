#pragma once

#include <QString>
#include <QtGlobal>

// Names of OLE colours (0x00BBGGRR, or 0x80000000 + index for a system colour) as the colour
// drop-down shows them.
namespace ColorNames {

/// Flag of an OLE colour that refers to a system colour.
inline constexpr quint32 SystemFlag = 0x80000000u;
/// Number of named system colours (indexes 0 to 24).
inline constexpr int SystemColorCount = 25;
/// Number of standard colours (the classic 16-colour console set).
inline constexpr int StandardColorCount = 16;

/// Name of system colour `index`, or an empty string outside 0-24.
QString SystemColorName(int index);
/// OLE value of standard colour `index` (0 black ... 15 white); 0 outside 0-15.
quint32 StandardColor(int index);
/// Name of standard colour `index`, or an empty string outside 0-15.
QString StandardColorName(int index);

/// "0x" and six upper-case hexadecimal digits of the value's low three bytes, in the value's
/// blue-green-red order: RGB(1, 2, 3) reads "0x030201".
QString HexColorName(quint32 color);

/// The name shown for `color`: a system colour 0-24 by its name, then a standard colour by
/// its name, otherwise the hexadecimal form.
QString ColorName(quint32 color);

} // namespace ColorNames
