#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QColor>
#include <QPalette>

#include <optional>

// OLE colours: 0x00BBGGRR for plain colours; with the high bit set, the low 16 bits name a
// system colour (0 scroll bars ... 24 tooltip background), resolved through a QPalette.
namespace Fieldpane {

/// Flag that marks an OLE colour as a reference to a system colour.
constexpr quint32 SystemColorFlag = 0x80000000u;
/// Highest system colour index the table knows.
constexpr int LastSystemColorIndex = 24;

struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

/// True when the high bit of an OLE colour is set.
constexpr bool IsSystemColor(quint32 oleColor)
{
    return (oleColor & SystemColorFlag) != 0;
}

/// The palette entry that stands for system colour `index` (0-24); nothing for other indexes.
FIELDPANE_EXPORT std::optional<SystemColorRole> SystemColorRoleOf(int index);

/// The current colour of system colour `index` in `palette`; an invalid QColor for an index
/// outside the table.
FIELDPANE_EXPORT QColor SystemColor(int index, const QPalette &palette);
/// As above, with the application's palette.
FIELDPANE_EXPORT QColor SystemColor(int index);

/// 0x00BBGGRR of a colour (alpha dropped).
FIELDPANE_EXPORT quint32 ToOleColor(const QColor &color);
/// The colour an OLE value shows: plain values as they are, system references resolved
/// (black for an index outside the table).
FIELDPANE_EXPORT QColor FromOleColor(quint32 oleColor, const QPalette &palette);
FIELDPANE_EXPORT QColor FromOleColor(quint32 oleColor);
/// A system reference replaced by its current RGB value; plain values unchanged.
FIELDPANE_EXPORT quint32 ResolveOleColor(quint32 oleColor);

} // namespace Fieldpane
