#pragma once

#include <QImage>
#include <QList>
#include <QLocale>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>

class CPrinter;
class QPainter;
class CPreviewPageDevice;

// Lays a text out page by page with the print engine, for showing on screen: the same layout
// as printing, on page images of the current printer's paper. The layout of the whole job is
// done at once but only kept as positioned text; a page is painted into an image when it is
// shown.
class CPrintPreview final {
public:
    // One positioned text of a page; positions in pixels of the page images, measured from
    // the printable area's top-left corner.
    struct Item {
        QPointF pos;
        QString text;
    };

    // The sheet and its printable area come from the page layout; dpi is the resolution of
    // the page images (that of the screen).
    explicit CPrintPreview(const QPageLayout &layout, double dpi = 96);
    ~CPrintPreview();
    CPrintPreview(const CPrintPreview &) = delete;
    CPrintPreview &operator=(const CPrintPreview &) = delete;

    // Takes unit, margins, font, line numbers and header and footer templates from the page
    // settings.
    void ApplySettings(const CPrinter &printer);
    const CPrinter &Settings() const { return *m_settings; }

    int ScaleMode() const;
    void SetScaleMode(int code);
    void SetFont(const QString &name, int pointSize);
    // Header and footer margins are taken only when they are 0 or more.
    void SetMargins(double left, double right, double top, double bottom, double header,
                    double footer);
    double MarginLeft() const;
    double MarginRight() const;
    double MarginTop() const;
    double MarginBottom() const;
    double MarginHeader() const;
    double MarginFooter() const;
    QString HeaderText() const;
    void SetHeaderText(const QString &text);
    QString FooterText() const;
    void SetFooterText(const QString &text);
    // Full path of the document; empty when it was never saved.
    void SetDocumentPath(const QString &path);
    QString FileName() const;  // full path or "Untitled"
    QString FileTitle() const; // name or "Untitled"
    void SetLocale(const QLocale &locale);

    // The printable area and text measures in the current unit and font.
    double ScaleWidth() const;
    double ScaleHeight() const;
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;

    // The job: lays out text (lines separated by CR LF) from a first, empty page, as
    // CPrinter::PrintText prints it.
    void PrintText(const QString &text, bool lineNumbers);

    int PageCount() const;
    // Total page count of the last job, as its headers and footers show it.
    int TotalPages() const;
    const QList<Item> &PageItems(int index) const;

    // The whole sheet in pixels of the page images, and the printable area's offset in it.
    QSizeF SheetSizePixels() const;
    QPointF PrintableOffsetPixels() const;
    double Dpi() const { return m_dpi; }
    // Paints page index (0-based) at zoom times the sheet's pixel size, on a white sheet
    // whose top-left corner is the painter's origin.
    void PaintPage(QPainter &painter, int index, double zoom) const;
    QImage RenderPage(int index, double zoom) const;

private:
    void ResetDevice();

    QPageLayout m_layout;
    double m_dpi;
    std::unique_ptr<CPrinter> m_settings;
    std::unique_ptr<CPreviewPageDevice> m_device;
};
