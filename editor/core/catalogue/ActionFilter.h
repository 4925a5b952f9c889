#pragma once

#include <QString>
#include <QStringList>

// The filter over the action tree: an action passes when its name, caption or description
// contains every word of the filter text, in any case.
namespace ActionFilter {

// The words of a filter text (split at white space; none for a blank text).
QStringList Words(const QString &text);

// True when every word is in name, caption or description (any case); true for no words.
bool Matches(const QStringList &words, const QString &name, const QString &caption,
             const QString &description);

} // namespace ActionFilter
