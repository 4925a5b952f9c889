#pragma once

#include "fieldpane/CListItem.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>

#include <optional>

namespace Fieldpane {

/// A whole number from a number or numeric text; fractions round to the nearest whole number,
/// an exact half to the even neighbour. Nothing when not numeric or out of the 32-bit range.
std::optional<qint32> ToInt32(const QVariant &value);

/// True for text that reads as a number ("42", " -4.5 ", "1e3", "&H1F").
bool IsNumericText(const QString &text);

/// A boolean from "true"/"false" in any letter case, a bool, or a number (0 is false).
std::optional<bool> ToBoolean(const QVariant &value);

/// A colour from a QColor, a text QColor reads ("#rrggbb", "#aarrggbb", "red") or a number
/// taken as an OLE colour (0x00BBGGRR, or a system colour reference). Nothing otherwise.
std::optional<QColor> ToColor(const QVariant &value);

/// A font from a QFont or the text QFont::toString writes. Nothing otherwise.
std::optional<QFont> ToFont(const QVariant &value);

/// "#rrggbb", or "#aarrggbb" when the colour is not opaque.
QString ColorText(const QColor &color);

/// "Family, 10 pt" followed by ", Bold", ", Italic" as they apply.
QString FontText(const QFont &font);

/// The text a row's value cell shows: the value as text, nothing for a list value.
QString valueText(const CListItem &item);
/// The text up to its first line break.
QString firstLine(const QString &text);

} // namespace Fieldpane
