#include "core/printing/CPainterDevice.h"

#include <QPagedPaintDevice>

#include <cmath>

QFont PrintFont(const QString &name, int pointSize)
{
    QFont font(name);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize > 0 ? pointSize : 10);
    return font;
}

QString PrintableText(const QString &text)
{
    if (!text.contains(u'\t'))
        return text;
    QString result = text;
    result.replace(u'\t', u' ');
    return result;
}

CPainterDevice::CPainterDevice(QPagedPaintDevice &device)
    : m_device(device), m_painter(&device), m_measure(m_font, &device)
{
    m_painter.setPen(Qt::black);
}

CPainterDevice::~CPainterDevice()
{
    Flush();
    if (m_painter.isActive())
        m_painter.end();
}

QSizeF CPainterDevice::PrintableSizePixels() const
{
    return {static_cast<double>(m_device.width()), static_cast<double>(m_device.height())};
}

QPointF CPainterDevice::DotsPerInch() const
{
    return {static_cast<double>(m_device.logicalDpiX()),
            static_cast<double>(m_device.logicalDpiY())};
}

void CPainterDevice::ApplyFont(const QString &name, int pointSize)
{
    Flush();
    m_font = PrintFont(name, pointSize);
    if (m_painter.isActive())
        m_painter.setFont(m_font);
    m_measure = CTextMeasure(m_font, &m_device);
}

double CPainterDevice::MeasureWidthPixels(QStringView line) const
{
    return m_measure.Width(line);
}

double CPainterDevice::LineHeightPixels() const
{
    return m_measure.Height();
}

void CPainterDevice::DrawText(const QPointF &topLeftPixels, const QString &text)
{
    if (m_run.isEmpty() || topLeftPixels.y() != m_runPos.y() ||
        std::abs(topLeftPixels.x() - m_runEnd) > 1e-6) {
        Flush();
        m_runPos = topLeftPixels;
    }
    m_run += text;
    m_runEnd = topLeftPixels.x() + m_measure.Width(text);
}

void CPainterDevice::Flush()
{
    if (!m_run.isEmpty() && m_painter.isActive())
        m_painter.drawText(m_runPos + QPointF(0, m_measure.Ascent()), PrintableText(m_run));
    m_run.clear();
}

void CPainterDevice::BeginNewPage()
{
    Flush();
    m_device.newPage();
}

void CPainterDevice::FinishDocument()
{
    Flush();
    if (m_painter.isActive())
        m_painter.end();
}
