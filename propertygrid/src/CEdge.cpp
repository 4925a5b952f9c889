#include "fieldpane/CEdge.h"

#include "EdgePixelRect.h"
#include "fieldpane/SystemColors.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

namespace Fieldpane {

namespace {
constexpr int ThreeDShadow = 16;
constexpr int ThreeDHighlight = 20;
constexpr int ThreeDDarkShadow = 21;
constexpr int ThreeDLight = 22;

void drawRing(QPainter &painter, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}
} // namespace

CEdge::CEdge() : m_palette(QGuiApplication::palette()) {}

void CEdge::setRectangle(int left, int top, int right, int bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

QRect EdgePixelRect(const CEdge &edge, bool convertFromTwips)
{
    int left = edge.Left();
    int top = edge.Top();
    int right = edge.Right();
    int bottom = edge.Bottom();
    if (convertFromTwips) {
        const QPaintDevice *device = edge.Device() ? edge.Device()->device() : nullptr;
        const int dpiX = device && device->logicalDpiX() > 0 ? device->logicalDpiX() : 96;
        const int dpiY = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
        const int twipsX = qMax(1, 1440 / dpiX);
        const int twipsY = qMax(1, 1440 / dpiY);
        left /= twipsX;
        right /= twipsX;
        top /= twipsY;
        bottom /= twipsY;
    }
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void CEdge::Draw(int edgeStyle, bool convertFromTwips) const
{
    if (!m_device)
        return;
    const QRect outer = EdgePixelRect(*this, convertFromTwips);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const QColor light = SystemColor(ThreeDLight, m_palette);
    const QColor highlight = SystemColor(ThreeDHighlight, m_palette);
    const QColor shadow = SystemColor(ThreeDShadow, m_palette);
    const QColor darkShadow = SystemColor(ThreeDDarkShadow, m_palette);

    m_device->save();
    if (edgeStyle & RaisedOuter)
        drawRing(*m_device, outer, light, darkShadow);
    else if (edgeStyle & SunkenOuter)
        drawRing(*m_device, outer, shadow, highlight);
    if (edgeStyle & RaisedInner)
        drawRing(*m_device, inner, highlight, shadow);
    else if (edgeStyle & SunkenInner)
        drawRing(*m_device, inner, darkShadow, light);
    m_device->restore();
}

} // namespace Fieldpane
