#pragma once

#include <QString>

#include <optional>

namespace Fieldpane {

/// Case-sensitive wildcard match: "?" any one character, "*" any run of characters, "#" one
/// digit, "[a-c]" one character of the list, "[!a-c]" one character not in it. Returns nothing
/// when the pattern is malformed (an unclosed "[" or a descending range).
std::optional<bool> MatchWildcard(const QString &text, const QString &pattern);

} // namespace Fieldpane
