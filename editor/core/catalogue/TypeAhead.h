#pragma once

#include <QString>

// Type-ahead in the action tree: the typed text matches a caption when a word of the caption
// (after a space, a punctuation mark or a change from lower to upper case) begins with it, in
// any letter case. Typing "var" finds "Set variable" as well as "Variable".
bool MatchesAnyWord(const QString &caption, const QString &typed);
