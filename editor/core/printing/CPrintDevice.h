#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringView>

// A drawing surface with a printer's state: a unit (scale mode), a font, a current position,
// the printable area in the current unit, text measuring, printing at the current position and
// page handling. Positions are in the current unit and measured from the printable area's
// top-left corner. Concrete devices supply the few primitives below in their own pixels.
class CPrintDevice {
public:
    // Scale-mode codes: pixels of the device, inches, millimetres, centimetres.
    enum : int { Pixels = 3, Inches = 5, Millimeters = 6, Centimeters = 7 };

    virtual ~CPrintDevice();

    static bool IsValidScaleMode(int code);

    int ScaleMode() const { return m_scaleMode; }
    // Accepts only the four known codes; other values leave the unit unchanged.
    bool SetScaleMode(int code);

    void SetFont(const QString &name, int pointSize);
    QString FontName() const { return m_fontName; }
    int FontSize() const { return m_fontSize; }

    double CurrentX() const { return m_x; }
    double CurrentY() const { return m_y; }
    void SetCurrentX(double x) { m_x = x; }
    void SetCurrentY(double y) { m_y = y; }

    // Printable area in the current unit.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // Width of the widest line and height of all lines (lines end at LF) in the current unit.
    double TextWidth(QStringView text) const;
    double TextHeight(const QString &text) const;

    // Rounds a horizontal or vertical distance to a whole device pixel (halves to even).
    double RoundX(double x) const;
    double RoundY(double y) const;
    // Pixel conversions of the current unit.
    double UnitsToPixelsX(double x) const { return x * PixelsPerUnitX(); }
    double UnitsToPixelsY(double y) const { return y * PixelsPerUnitY(); }
    double PixelsToUnitsX(double px) const { return px / PixelsPerUnitX(); }
    double PixelsToUnitsY(double px) const { return px / PixelsPerUnitY(); }

    // Draws text at the current position and advances CurrentX by its width; with a line
    // break, then moves to the start of the next line (CurrentX 0, CurrentY one line lower).
    void Print(const QString &text, bool lineBreak = false);
    void NewPage();
    void EndDoc();
    // 1-based number of the page being drawn.
    int Page() const { return m_page; }

    // A layout pass: until it ends, printing, new pages and the end of the document draw
    // nothing; they only move the position and count the pages. Its end returns the number of
    // pages laid out and puts the position and the page number back where the pass began.
    void BeginLayoutPass();
    int EndLayoutPass();

protected:
    CPrintDevice() = default;

    virtual QSizeF PrintableSizePixels() const = 0;
    virtual QPointF DotsPerInch() const = 0;
    virtual void ApplyFont(const QString &name, int pointSize) = 0;
    // Width of one line of text and the height of one line, in device pixels.
    virtual double MeasureWidthPixels(QStringView line) const = 0;
    virtual double LineHeightPixels() const = 0;
    virtual void DrawText(const QPointF &topLeftPixels, const QString &text) = 0;
    virtual void BeginNewPage() = 0;
    virtual void FinishDocument() = 0;

private:
    double PixelsPerUnitX() const;
    double PixelsPerUnitY() const;
    static double UnitsPerInch(int code);

    int m_scaleMode = Pixels;
    QString m_fontName;
    int m_fontSize = 0;
    double m_x = 0;
    double m_y = 0;
    int m_page = 1;
    bool m_drawing = true;
    // Where the layout pass began.
    double m_passX = 0;
    double m_passY = 0;
    int m_passPage = 1;
};
