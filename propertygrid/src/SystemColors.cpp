#include "fieldpane/SystemColors.h"

#include <QGuiApplication>

#include <array>

namespace Fieldpane {

namespace {
constexpr std::array<SystemColorRole, LastSystemColorIndex + 1> Table{{
    {QPalette::Active, QPalette::Button},          // 0 scroll bars
    {QPalette::Active, QPalette::Dark},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active title bar
    {QPalette::Inactive, QPalette::Mid},           // 3 inactive title bar
    {QPalette::Active, QPalette::Window},          // 4 menu bar
    {QPalette::Active, QPalette::Base},            // 5 window background
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 title bar text
    {QPalette::Active, QPalette::Mid},             // 10 active border
    {QPalette::Inactive, QPalette::Midlight},      // 11 inactive border
    {QPalette::Active, QPalette::Mid},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 3D face
    {QPalette::Active, QPalette::Dark},            // 16 3D shadow
    {QPalette::Disabled, QPalette::Text},          // 17 gray text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Disabled, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 3D highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
}};
} // namespace

std::optional<SystemColorRole> SystemColorRoleOf(int index)
{
    if (index < 0 || index > LastSystemColorIndex)
        return std::nullopt;
    return Table[static_cast<size_t>(index)];
}

QColor SystemColor(int index, const QPalette &palette)
{
    const auto role = SystemColorRoleOf(index);
    if (!role)
        return {};
    return palette.color(role->group, role->role);
}

QColor SystemColor(int index)
{
    return SystemColor(index, QGuiApplication::palette());
}

quint32 ToOleColor(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return static_cast<quint32>(qRed(rgb)) | (static_cast<quint32>(qGreen(rgb)) << 8) |
           (static_cast<quint32>(qBlue(rgb)) << 16);
}

QColor FromOleColor(quint32 oleColor, const QPalette &palette)
{
    if (IsSystemColor(oleColor)) {
        const QColor c = SystemColor(static_cast<int>(oleColor & 0xFFFFu), palette);
        return c.isValid() ? c : QColor(Qt::black);
    }
    return QColor(static_cast<int>(oleColor & 0xFFu), static_cast<int>((oleColor >> 8) & 0xFFu),
                  static_cast<int>((oleColor >> 16) & 0xFFu));
}

QColor FromOleColor(quint32 oleColor)
{
    return FromOleColor(oleColor, QGuiApplication::palette());
}

quint32 ResolveOleColor(quint32 oleColor)
{
    if (!IsSystemColor(oleColor))
        return oleColor;
    return ToOleColor(FromOleColor(oleColor));
}

} // namespace Fieldpane
