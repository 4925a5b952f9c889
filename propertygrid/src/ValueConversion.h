#pragma once

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

} // namespace Fieldpane
