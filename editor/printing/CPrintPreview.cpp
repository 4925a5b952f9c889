#include "printing/CPrintPreview.h"

#include "printing/CPainterDevice.h"
#include "printing/CPrintDevice.h"
#include "printing/CPrinter.h"
#include "printing/CTextMeasure.h"

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
    : m_layout(layout), m_dpi(dpi > 0 ? dpi : 96)
{
    const QRectF printable = m_layout.paintRect(QPageLayout::Inch);
    m_device = std::make_unique<CPreviewPageDevice>(printable.size() * m_dpi, m_dpi);
    SetFont(QStringLiteral("Courier New"), 10);
}

CPrintPreview::~CPrintPreview() = default;

void CPrintPreview::ApplySettings(const CPrinter &printer)
{
    SetScaleMode(printer.ScaleMode());
    SetMargins(printer.MarginLeft(), printer.MarginRight(), printer.MarginTop(),
               printer.MarginBottom(), printer.MarginHeader(), printer.MarginFooter());
    SetHeaderText(printer.HeaderText());
    SetFooterText(printer.FooterText());
    SetFont(printer.FontName(), printer.FontSize());
}

int CPrintPreview::ScaleMode() const
{
    return m_device->ScaleMode();
}

void CPrintPreview::SetScaleMode(int code)
{
    m_device->SetScaleMode(code);
}

void CPrintPreview::SetFont(const QString &name, int pointSize)
{
    m_device->SetFont(name, pointSize);
}

void CPrintPreview::SetMargins(double left, double right, double top, double bottom, double header,
                               double footer)
{
    m_marginLeft = left;
    m_marginRight = right;
    m_marginTop = top;
    m_marginBottom = bottom;
    if (header >= 0)
        m_marginHeader = header;
    if (footer >= 0)
        m_marginFooter = footer;
}

double CPrintPreview::CurrentX() const
{
    return m_device->CurrentX();
}

double CPrintPreview::CurrentY() const
{
    return m_device->CurrentY();
}

void CPrintPreview::SetCurrentX(double x)
{
    m_device->SetCurrentX(x);
}

void CPrintPreview::SetCurrentY(double y)
{
    m_device->SetCurrentY(y);
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

int CPrintPreview::CurrentPage() const
{
    return m_macros.PageNumber();
}

const QList<CPrintPreview::Item> &CPrintPreview::PageItems(int index) const
{
    static const QList<Item> none;
    const auto &pages = m_device->Pages();
    return index >= 0 && index < pages.size() ? pages.at(index) : none;
}

void CPrintPreview::PrintHeader()
{
    if (m_headerText.isEmpty())
        return;
    m_device->SetCurrentX(m_marginLeft);
    m_macros.PrintHeaderFooterLine(*m_device, m_headerText, m_marginHeader, m_marginLeft,
                                   m_marginRight);
}

void CPrintPreview::PrintFooter()
{
    if (m_footerText.isEmpty())
        return;
    m_device->SetCurrentX(m_marginLeft);
    const double y = ScaleHeight() - m_marginFooter - TextHeight(m_footerText);
    m_macros.PrintHeaderFooterLine(*m_device, m_footerText, y, m_marginLeft, m_marginRight);
}

void CPrintPreview::NewPage()
{
    PrintFooter();
    m_device->NewPage();
    m_macros.SetPageNumber(m_macros.PageNumber() + 1);
    PrintHeader();
    m_device->SetCurrentY(m_marginTop);
}

void CPrintPreview::PrintAt(const QString &text, double x, double y, bool wrap)
{
    if (x > -1)
        m_device->SetCurrentX(x);
    if (y > -1)
        m_device->SetCurrentY(y);
    const double rightLimit = m_device->RoundX(ScaleWidth() - m_marginRight);
    const double bottomLimit = ScaleHeight() - m_marginBottom;
    const double lineHeight = TextHeight(QStringLiteral("Xy"));
    // A blank appended to flush the last word is not printed itself.
    const bool flushBlank = !text.endsWith(u' ');
    const QString line = flushBlank ? text + u' ' : text;

    qsizetype wordStart = 0;
    bool placed = false; // something of this text stands on the current device line
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar ch = line.at(i);
        if (ch != u' ' && ch != u'\t')
            continue;
        const QStringView word = QStringView(line).mid(wordStart, i - wordStart);
        if (placed && m_device->CurrentX() + m_device->TextWidth(word) > rightLimit) {
            if (!wrap)
                return;
            m_device->Print(QString(), true);
            if (m_device->CurrentY() + lineHeight > bottomLimit)
                NewPage();
            m_device->SetCurrentX(m_marginLeft + m_wrapIndent);
        }
        const bool last = flushBlank && i == line.size() - 1;
        m_device->Print(line.mid(wordStart, i - wordStart + (last ? 0 : 1)));
        placed = true;
        wordStart = i + 1;
    }
}

void CPrintPreview::PrintLineAt(const QString &text, double x, double y, bool wrap)
{
    PrintAt(text, x, y, wrap);
    m_device->Print(QString(), true);
    m_device->SetCurrentX(m_marginLeft);
}

void CPrintPreview::PrintText(const QString &text, bool lineNumbers)
{
    // Every job starts from one empty page.
    const int scaleMode = m_device->ScaleMode();
    const QString fontName = m_device->FontName();
    const int fontSize = m_device->FontSize();
    m_device = std::make_unique<CPreviewPageDevice>(
        m_layout.paintRect(QPageLayout::Inch).size() * m_dpi, m_dpi);
    m_device->SetScaleMode(scaleMode);
    m_device->SetFont(fontName, fontSize);

    m_macros.SetPageNumber(1);
    InitDateTime();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    m_macros.SetPageCount(CPrinter::EstimatePages(text, *m_device, m_marginTop, m_marginBottom));
    PrintHeader();

    const QString padding(QString::number(lines.size()).size(), u'0');
    if (lineNumbers)
        m_wrapIndent = TextWidth(padding + QStringLiteral(": "));

    m_device->SetCurrentY(m_marginTop);
    m_device->SetCurrentX(m_marginLeft);
    const double lineHeight = TextHeight(QStringLiteral("Xy"));
    const double bottomLimit = ScaleHeight() - m_marginBottom;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (m_device->CurrentY() + lineHeight > bottomLimit)
            NewPage();
        if (lineNumbers)
            PrintAt((padding + QString::number(i + 1)).right(padding.size()) + u':', -1, -1, true);
        PrintLineAt(lines.at(i), -1, -1, true);
    }
    PrintFooter();
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
