#pragma once

#include "core/printing/CPrintDevice.h"
#include "core/printing/CTextMeasure.h"

#include <QFont>
#include <QPainter>

class QPagedPaintDevice;

// A print device that paints on a paged device (a printer or a PDF writer). The printable
// area is the device's paint area.
class CPainterDevice final : public CPrintDevice {
public:
    explicit CPainterDevice(QPagedPaintDevice &device);
    ~CPainterDevice() override;
    CPainterDevice(const CPainterDevice &) = delete;
    CPainterDevice &operator=(const CPainterDevice &) = delete;

    // False when painting could not start (the file or the printer cannot be opened).
    bool IsActive() const { return m_painter.isActive(); }

protected:
    QSizeF PrintableSizePixels() const override;
    QPointF DotsPerInch() const override;
    void ApplyFont(const QString &name, int pointSize) override;
    double MeasureWidthPixels(QStringView line) const override;
    double LineHeightPixels() const override;
    void DrawText(const QPointF &topLeftPixels, const QString &text) override;
    void BeginNewPage() override;
    void FinishDocument() override;

private:
    void Flush();

    QPagedPaintDevice &m_device;
    QPainter m_painter;
    QFont m_font;
    CTextMeasure m_measure;
    // Pieces printed one after the other on a line are drawn as one run.
    QPointF m_runPos;
    QString m_run;
    double m_runEnd = 0;
};

// A font for printing: the face name and point size, and a fixed pitch as the fallback.
QFont PrintFont(const QString &name, int pointSize);
// Tabs are printed as they are, one blank wide, never expanded to columns.
QString PrintableText(const QString &text);
