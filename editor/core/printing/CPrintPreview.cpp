#include "core/printing/CPrintPreview.h"

#include "core/printing/CPainterDevice.h"
#include "core/printing/CPrintDevice.h"
#include "core/printing/CPrinter.h"
#include "core/printing/CTextMeasure.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStringList>

#include <cmath>

// Records the positioned texts of every page. Pieces printed one after the other on the same
// line are joined into one item, which keeps a long job small.
class CPreviewPageDevice final : public CPrintDevice {
public:
    CPreviewPageDevice(const QSizeF &printablePixels, double dpi)
        : m_size(printablePixels), m_dpi(dpi), m_metricsImage(1, 1, QImage::Format_RGB32),
          m_measure(QFont(), &m_metricsImage)
    {
        const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
        m_metricsImage.setDotsPerMeterX(dotsPerMeter);
        m_metricsImage.setDotsPerMeterY(dotsPerMeter);
        m_pages.append(QList<CPrintPreview::Item>());
    }

    const QList<QList<CPrintPreview::Item>> &Pages() const { return m_pages; }
    const QFont &Font() const { return m_font; }
    double Ascent() const { return m_measure.Ascent(); }

protected:
    QSizeF PrintableSizePixels() const override { return m_size; }
    QPointF DotsPerInch() const override { return {m_dpi, m_dpi}; }
    void ApplyFont(const QString &name, int pointSize) override
    {
        m_font = PrintFont(name, pointSize);
        m_measure = CTextMeasure(m_font, &m_metricsImage);
    }
    double MeasureWidthPixels(QStringView line) const override { return m_measure.Width(line); }
    double LineHeightPixels() const override { return m_measure.Height(); }
    void DrawText(const QPointF &topLeftPixels, const QString &text) override
    {
        QList<CPrintPreview::Item> &items = m_pages.last();
        const double end = topLeftPixels.x() + MeasureWidthPixels(text);
        if (!items.isEmpty() && items.last().pos.y() == topLeftPixels.y() &&
            std::abs(m_lastEnd - topLeftPixels.x()) < 1e-6) {
            items.last().text += text;
        } else {
            items.append({topLeftPixels, text});
        }
        m_lastEnd = end;
    }
    void BeginNewPage() override { m_pages.append(QList<CPrintPreview::Item>()); }
    void FinishDocument() override {}

private:
    QSizeF m_size;
    double m_dpi;
    QImage m_metricsImage;
    QFont m_font;
    CTextMeasure m_measure;
    QList<QList<CPrintPreview::Item>> m_pages;
    double m_lastEnd = 0;
};

CPrintPreview::CPrintPreview(const QPageLayout &layout, double dpi)
    : m_layout(layout), m_dpi(dpi > 0 ? dpi : 96), m_settings(std::make_unique<CPrinter>())
{
    ResetDevice();
}

CPrintPreview::~CPrintPreview() = default;

// A device of one empty page in the settings' unit and font.
void CPrintPreview::ResetDevice()
{
    m_device = std::make_unique<CPreviewPageDevice>(
        m_layout.paintRect(QPageLayout::Inch).size() * m_dpi, m_dpi);
    m_device->SetScaleMode(m_settings->ScaleMode());
    m_device->SetFont(m_settings->FontName(), m_settings->FontSize());
}

void CPrintPreview::ApplySettings(const CPrinter &printer)
{
    *m_settings = printer;
    ResetDevice();
}

int CPrintPreview::ScaleMode() const
{
    return m_device->ScaleMode();
}

void CPrintPreview::SetScaleMode(int code)
{
    m_settings->SetScaleMode(static_cast<short>(code));
    m_device->SetScaleMode(m_settings->ScaleMode());
}

void CPrintPreview::SetFont(const QString &name, int pointSize)
{
    m_settings->SetFontName(name);
    m_settings->SetFontSize(static_cast<short>(pointSize));
    m_device->SetFont(name, pointSize);
}

void CPrintPreview::SetMargins(double left, double right, double top, double bottom, double header,
                               double footer)
{
    m_settings->SetMarginLeft(static_cast<float>(left));
    m_settings->SetMarginRight(static_cast<float>(right));
    m_settings->SetMarginTop(static_cast<float>(top));
    m_settings->SetMarginBottom(static_cast<float>(bottom));
    if (header >= 0)
        m_settings->SetMarginHeader(static_cast<float>(header));
    if (footer >= 0)
        m_settings->SetMarginFooter(static_cast<float>(footer));
}

double CPrintPreview::MarginLeft() const
{
    return m_settings->MarginLeft();
}

double CPrintPreview::MarginRight() const
{
    return m_settings->MarginRight();
}

double CPrintPreview::MarginTop() const
{
    return m_settings->MarginTop();
}

double CPrintPreview::MarginBottom() const
{
    return m_settings->MarginBottom();
}

double CPrintPreview::MarginHeader() const
{
    return m_settings->MarginHeader();
}

double CPrintPreview::MarginFooter() const
{
    return m_settings->MarginFooter();
}

QString CPrintPreview::HeaderText() const
{
    return m_settings->HeaderText();
}

void CPrintPreview::SetHeaderText(const QString &text)
{
    m_settings->SetHeaderText(text);
}

QString CPrintPreview::FooterText() const
{
    return m_settings->FooterText();
}

void CPrintPreview::SetFooterText(const QString &text)
{
    m_settings->SetFooterText(text);
}

void CPrintPreview::SetDocumentPath(const QString &path)
{
    m_settings->SetDocumentPath(path);
}

QString CPrintPreview::FileName() const
{
    return m_settings->FileName();
}

QString CPrintPreview::FileTitle() const
{
    return m_settings->FileTitle();
}

void CPrintPreview::SetLocale(const QLocale &locale)
{
    m_settings->SetLocale(locale);
}

double CPrintPreview::ScaleWidth() const
{
    return m_device->ScaleWidth();
}

double CPrintPreview::ScaleHeight() const
{
    return m_device->ScaleHeight();
}

double CPrintPreview::TextWidth(const QString &text) const
{
    return m_device->TextWidth(text);
}

double CPrintPreview::TextHeight(const QString &text) const
{
    return m_device->TextHeight(text);
}

int CPrintPreview::PageCount() const
{
    return static_cast<int>(m_device->Pages().size());
}

int CPrintPreview::TotalPages() const
{
    return m_settings->TotalPages();
}

const QList<CPrintPreview::Item> &CPrintPreview::PageItems(int index) const
{
    static const QList<Item> none;
    const auto &pages = m_device->Pages();
    return index >= 0 && index < pages.size() ? pages.at(index) : none;
}

void CPrintPreview::PrintText(const QString &text, bool lineNumbers)
{
    m_settings->SetLineNumbers(lineNumbers);
    ResetDevice(); // every job starts from one empty page
    m_settings->PrintText(text, *m_device);
}

QSizeF CPrintPreview::SheetSizePixels() const
{
    return m_layout.fullRect(QPageLayout::Inch).size() * m_dpi;
}

QPointF CPrintPreview::PrintableOffsetPixels() const
{
    return m_layout.paintRect(QPageLayout::Inch).topLeft() * m_dpi;
}

void CPrintPreview::PaintPage(QPainter &painter, int index, double zoom) const
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(zoom, zoom);
    painter.fillRect(QRectF(QPointF(0, 0), SheetSizePixels()), Qt::white);
    painter.translate(PrintableOffsetPixels());
    // The font keeps the size it was measured with, whatever the target's resolution.
    QFont font = m_device->Font();
    const int targetDpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    if (targetDpi > 0)
        font.setPointSizeF(font.pointSizeF() * m_dpi / targetDpi);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double ascent = m_device->Ascent();
    for (const Item &item : PageItems(index))
        painter.drawText(item.pos + QPointF(0, ascent), PrintableText(item.text));
    painter.restore();
}

QImage CPrintPreview::RenderPage(int index, double zoom) const
{
    const QSizeF sheet = SheetSizePixels() * zoom;
    QImage image(std::max(1, qRound(sheet.width())), std::max(1, qRound(sheet.height())),
                 QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(m_dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, index, zoom);
    return image;
}
