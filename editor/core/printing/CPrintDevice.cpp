#include "core/printing/CPrintDevice.h"

#include <algorithm>
#include <cmath>

CPrintDevice::~CPrintDevice() = default;

bool CPrintDevice::IsValidScaleMode(int code)
{
    return code == Pixels || code == Inches || code == Millimeters || code == Centimeters;
}

bool CPrintDevice::SetScaleMode(int code)
{
    if (!IsValidScaleMode(code))
        return false;
    m_scaleMode = code;
    return true;
}

void CPrintDevice::SetFont(const QString &name, int pointSize)
{
    m_fontName = name;
    m_fontSize = pointSize;
    ApplyFont(name, pointSize);
}

double CPrintDevice::UnitsPerInch(int code)
{
    switch (code) {
    case Inches:
        return 1.0;
    case Millimeters:
        return 25.4;
    case Centimeters:
        return 2.54;
    default:
        return 0.0; // pixels: one unit per device pixel
    }
}

double CPrintDevice::PixelsPerUnitX() const
{
    const double perInch = UnitsPerInch(m_scaleMode);
    return perInch > 0 ? DotsPerInch().x() / perInch : 1.0;
}

double CPrintDevice::PixelsPerUnitY() const
{
    const double perInch = UnitsPerInch(m_scaleMode);
    return perInch > 0 ? DotsPerInch().y() / perInch : 1.0;
}

double CPrintDevice::ScaleWidth() const
{
    return PixelsToUnitsX(PrintableSizePixels().width());
}

double CPrintDevice::ScaleHeight() const
{
    return PixelsToUnitsY(PrintableSizePixels().height());
}

double CPrintDevice::TextWidth(QStringView text) const
{
    if (!text.contains(u'\n'))
        return PixelsToUnitsX(MeasureWidthPixels(text));
    double widest = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        qsizetype length = end - start;
        if (length > 0 && text.at(end - 1) == u'\r')
            --length;
        widest = std::max(widest, MeasureWidthPixels(text.mid(start, length)));
        start = end + 1;
    }
    return PixelsToUnitsX(widest);
}

double CPrintDevice::TextHeight(const QString &text) const
{
    const qsizetype lines = text.count(u'\n') + 1;
    return PixelsToUnitsY(static_cast<double>(lines) * LineHeightPixels());
}

double CPrintDevice::RoundX(double x) const
{
    return PixelsToUnitsX(std::nearbyint(UnitsToPixelsX(x)));
}

double CPrintDevice::RoundY(double y) const
{
    return PixelsToUnitsY(std::nearbyint(UnitsToPixelsY(y)));
}

void CPrintDevice::Print(const QString &text, bool lineBreak)
{
    if (!text.isEmpty()) {
        if (m_drawing)
            DrawText(QPointF(UnitsToPixelsX(m_x), UnitsToPixelsY(m_y)), text);
        m_x += TextWidth(text);
    }
    if (lineBreak) {
        m_x = 0;
        m_y += PixelsToUnitsY(LineHeightPixels());
    }
}

void CPrintDevice::NewPage()
{
    if (m_drawing)
        BeginNewPage();
    ++m_page;
    m_x = 0;
    m_y = 0;
}

void CPrintDevice::EndDoc()
{
    if (m_drawing)
        FinishDocument();
}

void CPrintDevice::BeginLayoutPass()
{
    m_drawing = false;
    m_passX = m_x;
    m_passY = m_y;
    m_passPage = m_page;
}

int CPrintDevice::EndLayoutPass()
{
    const int pages = m_page - m_passPage + 1;
    m_drawing = true;
    m_x = m_passX;
    m_y = m_passY;
    m_page = m_passPage;
    return pages;
}
