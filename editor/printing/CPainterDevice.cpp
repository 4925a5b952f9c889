#include "printing/CPainterDevice.h"

#include <QPagedPaintDevice>

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
    : m_device(device), m_painter(&device), m_metrics(m_font, &device)
{
    m_painter.setPen(Qt::black);
}

CPainterDevice::~CPainterDevice()
{
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
    m_font = PrintFont(name, pointSize);
    if (m_painter.isActive())
        m_painter.setFont(m_font);
    m_metrics = QFontMetricsF(m_font, &m_device);
    m_widths.clear();
}

double CPainterDevice::MeasureWidthPixels(const QString &line) const
{
    auto it = m_widths.constFind(line);
    if (it != m_widths.constEnd())
        return *it;
    const double width = m_metrics.horizontalAdvance(PrintableText(line));
    m_widths.insert(line, width);
    return width;
}

double CPainterDevice::LineHeightPixels() const
{
    return m_metrics.height();
}

void CPainterDevice::DrawText(const QPointF &topLeftPixels, const QString &text)
{
    if (m_painter.isActive())
        m_painter.drawText(topLeftPixels + QPointF(0, m_metrics.ascent()), PrintableText(text));
}

void CPainterDevice::BeginNewPage()
{
    m_device.newPage();
}

void CPainterDevice::FinishDocument()
{
    if (m_painter.isActive())
        m_painter.end();
}
