#pragma once

#include <QString>

#include <cstdint>

// Fonts and comment colour of the step list: read at start-up, edited by the options dialog,
// written when the main window closes.
struct SharedSettings {
    QString FontName = QStringLiteral("Arial");
    int FontSize = 8;
    QString FontNameZML = QStringLiteral("Courier New");
    int FontSizeZML = 10;
    // An OLE colour: with the high bit set, the low bits are a system colour index.
    std::uint32_t CommentColor = 0x008000;
};
