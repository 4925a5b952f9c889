#pragma once

#include "core/settings/SharedSettings.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// What the options dialog hands back, as the texts its lists show.
struct OptionsChoice {
    /// Current entries of the font-name lists; nothing when a list has no current entry.
    std::optional<QString> FontName;
    std::optional<QString> FontNameZML;
    /// Texts of the size lists, empty when nothing is selected.
    QString FontSize;
    QString FontSizeZML;
    quint32 CommentColor = 0;
};

/// Index of the first entry of `entries` that begins with `prefix`, letter case ignored, or -1.
int FindStringPrefix(const QStringList &entries, const QString &prefix);

/// A font size text as a whole number of points: 1 to 32767; nothing for any other text.
std::optional<int> ParseFontSize(const QString &text);

/// Stores `choice` in `settings` field by field; a field whose text is missing or does not
/// convert keeps its value.
void StoreOptions(const OptionsChoice &choice, SharedSettings &settings);
