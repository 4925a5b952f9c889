#include "core/catalogue/TypeAhead.h"

namespace {

// A word begins at the start, after a character that is no letter or digit, and at an upper
// case letter that follows a lower case one ("GetText").
bool wordStartsAt(const QString &text, qsizetype i)
{
    if (i == 0)
        return true;
    const QChar before = text.at(i - 1);
    const QChar here = text.at(i);
    if (!before.isLetterOrNumber())
        return here.isLetterOrNumber();
    return before.isLower() && here.isUpper();
}

} // namespace

bool MatchesAnyWord(const QString &caption, const QString &typed)
{
    if (typed.isEmpty() || typed.size() > caption.size())
        return false;
    for (qsizetype i = 0; i + typed.size() <= caption.size(); ++i) {
        if (wordStartsAt(caption, i) &&
            QStringView(caption).mid(i, typed.size()).compare(typed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
