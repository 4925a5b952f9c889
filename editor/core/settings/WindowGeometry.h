#pragma once

#include "core/settings/WindowSettings.h"

#include <QList>
#include <QRect>
#include <QSize>

// Where the main window opens and what of its geometry is stored, in twips converted at the
// screen's logical dpi.
namespace WindowGeometry {

// The screen the window is on: its usable area and logical dpi.
struct Screen {
    QRect Available{0, 0, 1024, 768};
    double DpiX = 96.0;
    double DpiY = 96.0;
};

// The window's designed size and splitter position, and the pixels the splitter keeps from
// either edge.
struct Design {
    QSize Size;
    int Splitter = 0;
    int SplitterLimit = 0;
};

struct Placement {
    QRect Geometry;   // normal-state geometry in pixels
    int Splitter = 0; // width of the actions pane in pixels
};

// The stored geometry at the screen's dpi: the size at least 200 by 150 and at most the usable
// area, the designed size where nothing is stored; centred on screen where no position is
// stored, or when its top 30 pixels would show on none of screens. The splitter keeps the limit
// from both edges.
Placement Place(const WindowSettings &settings, const Screen &screen, const QList<QRect> &screens,
                const Design &design);

// Stores geometry (when the window is in its normal state) and the splitter position in
// settings, in twips.
void Store(WindowSettings &settings, const QRect &geometry, bool normal, int splitter,
           const Screen &screen);

} // namespace WindowGeometry
