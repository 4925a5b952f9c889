#pragma once

#include "printing/CHeaderFooter.h"

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>

class CPrinter;
class QPainter;
class CPreviewPageDevice;

// Lays a text out page by page as the print engine would, for showing on screen. The layout
// of the whole job is done at once (so the page count is exact) but only kept as positioned
// text; a page is painted into an image when it is shown.
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

    // Copies unit, margins, font and header and footer templates from the page settings.
    void ApplySettings(const CPrinter &printer);

    int ScaleMode() const;
    void SetScaleMode(int code);
    void SetFont(const QString &name, int pointSize);
    // Header and footer margins are taken only when they are 0 or more.
    void SetMargins(double left, double right, double top, double bottom, double header,
                    double footer);
    double MarginLeft() const { return m_marginLeft; }
    double MarginRight() const { return m_marginRight; }
    double MarginTop() const { return m_marginTop; }
    double MarginBottom() const { return m_marginBottom; }
    double MarginHeader() const { return m_marginHeader; }
    double MarginFooter() const { return m_marginFooter; }
    double WrapIndent() const { return m_wrapIndent; }
    void SetWrapIndent(double indent) { m_wrapIndent = indent; }
    QString HeaderText() const { return m_headerText; }
    void SetHeaderText(const QString &text) { m_headerText = text; }
    QString FooterText() const { return m_footerText; }
    void SetFooterText(const QString &text) { m_footerText = text; }
    // Full path of the document; empty when it was never saved.
    void SetDocumentPath(const QString &path) { m_macros.SetDocumentPath(path); }
    QString FileName() const { return m_macros.FileName(); }
    QString FileTitle() const { return m_macros.FileTitle(); }
    void SetLocale(const QLocale &locale) { m_macros.SetLocale(locale); }
    void InitDateTime() { m_macros.InitDateTime(); }

    double CurrentX() const;
    double CurrentY() const;
    void SetCurrentX(double x);
    void SetCurrentY(double y);
    double ScaleWidth() const;
    double ScaleHeight() const;
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;

    // The job: lays out text (lines separated by CR LF) from a first, empty page.
    void PrintText(const QString &text, bool lineNumbers);
    // Prints with word wrap at x, y (-1 keeps the current position on that axis), without a
    // final line break. When wrap is off, printing stops at the first word that does not fit.
    void PrintAt(const QString &text, double x, double y, bool wrap);
    // PrintAt, a line break, and the current x back at the left margin.
    void PrintLineAt(const QString &text, double x, double y, bool wrap);
    // Footer on the current page, a new page, header on it.
    void NewPage();

    int PageCount() const;
    // 1-based number of the page being drawn.
    int CurrentPage() const;
    // Estimated total page count of the last job.
    int TotalPages() const { return m_macros.PageCount(); }
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
    void PrintHeader();
    void PrintFooter();

    QPageLayout m_layout;
    double m_dpi;
    std::unique_ptr<CPreviewPageDevice> m_device;
    CHeaderFooter m_macros;
    double m_marginLeft = 48;
    double m_marginRight = 48;
    double m_marginTop = 77;
    double m_marginBottom = 77;
    double m_marginHeader = 38;
    double m_marginFooter = 38;
    double m_wrapIndent = 0;
    QString m_headerText;
    QString m_footerText;
};
