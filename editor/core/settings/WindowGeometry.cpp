#include "core/settings/WindowGeometry.h"

#include "core/host/Twips.h"

#include <algorithm>

namespace WindowGeometry {

Placement Place(const WindowSettings &s, const Screen &screen, const QList<QRect> &screens,
                const Design &design)
{
    const QRect &avail = screen.Available;
    int width = s.Width ? TwipsToPixels(*s.Width, screen.DpiX) : design.Size.width();
    int height = s.Height ? TwipsToPixels(*s.Height, screen.DpiY) : design.Size.height();
    width = std::clamp(width, 200, std::max(avail.width(), 200));
    height = std::clamp(height, 150, std::max(avail.height(), 150));
    int left =
        s.Left ? TwipsToPixels(*s.Left, screen.DpiX) : avail.x() + (avail.width() - width) / 2;
    int top =
        s.Top ? TwipsToPixels(*s.Top, screen.DpiY) : avail.y() + (avail.height() - height) / 2;
    // A window stored off every screen comes back centred.
    const QRect wanted(left, top, width, height);
    const bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const QRect &area) {
        return area.intersects(wanted.adjusted(0, 0, 0, -height + 30));
    });
    if (!onScreen) {
        left = avail.x() + (avail.width() - width) / 2;
        top = avail.y() + (avail.height() - height) / 2;
    }
    Placement p;
    p.Geometry = QRect(left, top, width, height);
    const int splitter = s.Splitter ? TwipsToPixels(*s.Splitter, screen.DpiX) : design.Splitter;
    p.Splitter = std::clamp(splitter, design.SplitterLimit,
                            std::max(width - design.SplitterLimit, design.SplitterLimit));
    return p;
}

void Store(WindowSettings &s, const QRect &geometry, bool normal, int splitter,
           const Screen &screen)
{
    if (normal) {
        s.Left = PixelsToTwips(geometry.x(), screen.DpiX);
        s.Top = PixelsToTwips(geometry.y(), screen.DpiY);
        s.Width = PixelsToTwips(geometry.width(), screen.DpiX);
        s.Height = PixelsToTwips(geometry.height(), screen.DpiY);
    }
    if (splitter > 0)
        s.Splitter = PixelsToTwips(splitter, screen.DpiX);
}

} // namespace WindowGeometry
