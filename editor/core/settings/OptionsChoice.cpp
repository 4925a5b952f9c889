#include "core/settings/OptionsChoice.h"

#include <limits>

int FindStringPrefix(const QStringList &entries, const QString &prefix)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

std::optional<int> ParseFontSize(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value <= 0 || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return value;
}

void StoreOptions(const OptionsChoice &choice, SharedSettings &settings)
{
    if (choice.FontNameZML && !choice.FontNameZML->isEmpty())
        settings.FontNameZML = *choice.FontNameZML;
    if (const auto size = ParseFontSize(choice.FontSizeZML))
        settings.FontSizeZML = *size;
    if (choice.FontName && !choice.FontName->isEmpty())
        settings.FontName = *choice.FontName;
    if (const auto size = ParseFontSize(choice.FontSize))
        settings.FontSize = *size;
    settings.CommentColor = choice.CommentColor;
}
