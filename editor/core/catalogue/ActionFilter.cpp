#include "core/catalogue/ActionFilter.h"

#include <QRegularExpression>

namespace ActionFilter {

QStringList Words(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

bool Matches(const QStringList &words, const QString &name, const QString &caption,
             const QString &description)
{
    for (const QString &word : words) {
        if (!name.contains(word, Qt::CaseInsensitive) &&
            !caption.contains(word, Qt::CaseInsensitive) &&
            !description.contains(word, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace ActionFilter
