#include "core/settings/ColorNames.h"

#include <QCoreApplication>

#include <array>

namespace ColorNames {

namespace {

constexpr std::array<const char *, SystemColorCount> SystemNames{{
    QT_TRANSLATE_NOOP("ColorNames", "Scroll Bars"),
    QT_TRANSLATE_NOOP("ColorNames", "Desktop"),
    QT_TRANSLATE_NOOP("ColorNames", "Active Title Bar"),
    QT_TRANSLATE_NOOP("ColorNames", "Inactive Title Bar"),
    QT_TRANSLATE_NOOP("ColorNames", "Menu Bar"),
    QT_TRANSLATE_NOOP("ColorNames", "Window Background"),
    QT_TRANSLATE_NOOP("ColorNames", "Window Frame"),
    QT_TRANSLATE_NOOP("ColorNames", "Menu Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Window Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Title Bar Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Active Border"),
    QT_TRANSLATE_NOOP("ColorNames", "Inactive Border"),
    QT_TRANSLATE_NOOP("ColorNames", "Application Workspace"),
    QT_TRANSLATE_NOOP("ColorNames", "Highlight"),
    QT_TRANSLATE_NOOP("ColorNames", "Highlight Text"),
    QT_TRANSLATE_NOOP("ColorNames", "3D Face"),
    QT_TRANSLATE_NOOP("ColorNames", "3D Shadow"),
    QT_TRANSLATE_NOOP("ColorNames", "Gray Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Button Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Inactive Caption Text"),
    QT_TRANSLATE_NOOP("ColorNames", "3D Highlight"),
    QT_TRANSLATE_NOOP("ColorNames", "3D Dark Shadow"),
    QT_TRANSLATE_NOOP("ColorNames", "3D Light"),
    QT_TRANSLATE_NOOP("ColorNames", "Tooltip Text"),
    QT_TRANSLATE_NOOP("ColorNames", "Tooltip Background"),
}};

// Console order: the eight dark colours (components 0x80, light grey 0xC0) then the light ones.
constexpr std::array<quint32, StandardColorCount> StandardValues{{
    0x000000,
    0x800000,
    0x008000,
    0x808000,
    0x000080,
    0x800080,
    0x008080,
    0xC0C0C0, //
    0x808080,
    0xFF0000,
    0x00FF00,
    0xFFFF00,
    0x0000FF,
    0xFF00FF,
    0x00FFFF,
    0xFFFFFF,
}};

const char StandardNames[] =
    "Black|Navy|Green|Teal|Maroon|Purple|Olive|Silver|Gray|Blue|Lime|Cyan|Red|Magenta|Yellow|White";

} // namespace

QString SystemColorName(int index)
{
    if (index < 0 || index >= SystemColorCount)
        return {};
    return QCoreApplication::translate("ColorNames", SystemNames[static_cast<size_t>(index)]);
}

quint32 StandardColor(int index)
{
    if (index < 0 || index >= StandardColorCount)
        return 0;
    return StandardValues[static_cast<size_t>(index)];
}

QString StandardColorName(int index)
{
    if (index < 0 || index >= StandardColorCount)
        return {};
    return QString::fromLatin1(StandardNames).split(QLatin1Char('|')).at(index);
}

QString HexColorName(quint32 color)
{
    const QString digits = QStringLiteral("00000") + QString::number(color, 16).toUpper();
    return QStringLiteral("0x") + digits.right(6);
}

QString ColorName(quint32 color)
{
    if ((color & SystemFlag) != 0) {
        const quint32 index = color & ~SystemFlag;
        if (index < static_cast<quint32>(SystemColorCount))
            return SystemColorName(static_cast<int>(index));
    }
    for (int i = 0; i < StandardColorCount; ++i) {
        if (StandardValues[static_cast<size_t>(i)] == color)
            return StandardColorName(i);
    }
    return HexColorName(color);
}

} // namespace ColorNames
