#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QPalette>
#include <QRect>

class QPainter;

namespace Fieldpane {

/// Draws a 3-D edge around a rectangle, in the manner of the classic bevels: an outer and an
/// inner ring, each raised or sunken.
class FIELDPANE_EXPORT CEdge final {
public:
    /// Edge bits; combine one outer and one inner bit.
    enum EdgeStyle {
        RaisedOuter = 1,
        SunkenOuter = 2,
        RaisedInner = 4,
        SunkenInner = 8,
        Raised = RaisedOuter | RaisedInner, // 5
        Sunken = SunkenOuter | SunkenInner, // 10
        Etched = SunkenOuter | RaisedInner, // 6
        Bump = RaisedOuter | SunkenInner,   // 9
    };

    CEdge();

    /// The painter to draw with; nullptr (the default) makes `Draw` do nothing.
    QPainter *Device() const { return m_device; }
    void setDevice(QPainter *device) { m_device = device; }

    /// The rectangle, right and bottom exclusive.
    void setRectangle(int left, int top, int right, int bottom);
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Right() const { return m_right; }
    int Bottom() const { return m_bottom; }

    /// Colours of the rings; the application's palette unless set.
    void setPalette(const QPalette &palette) { m_palette = palette; }

    /// Draws the edge on all four sides. With `convertFromTwips` the rectangle is taken in
    /// twips and divided by the device's twips per pixel; otherwise it is in pixels.
    void Draw(int edgeStyle, bool convertFromTwips) const;

private:
    QPainter *m_device = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    QPalette m_palette;
};

} // namespace Fieldpane
