#pragma once

#include "printing/CHeaderFooter.h"

#include <QString>
#include <QVariant>

class CPrintDevice;

// The page settings and the print engine: lays a text out on a print device, one device line
// per source line, wrapped at word boundaries, with optional line numbers and a header and a
// footer on every page.
class CPrinter final {
public:
    // With Persistence::Settings the page settings are read from the settings store on
    // creation and written back at once, and written again when the object ends. A store that
    // refuses the writes is reported to the user.
    enum class Persistence { None, Settings };

    explicit CPrinter(Persistence persistence = Persistence::None);
    ~CPrinter();
    CPrinter(const CPrinter &other);
    CPrinter &operator=(const CPrinter &other);

    short ScaleMode() const { return m_scaleMode; }
    // Accepts only 3 (pixels), 5 (inches), 6 (millimetres) and 7 (centimetres).
    void SetScaleMode(short code);
    float MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(float value) { m_marginLeft = value; }
    float MarginRight() const { return m_marginRight; }
    void SetMarginRight(float value) { m_marginRight = value; }
    float MarginTop() const { return m_marginTop; }
    void SetMarginTop(float value) { m_marginTop = value; }
    float MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(float value) { m_marginBottom = value; }
    float MarginHeader() const { return m_marginHeader; }
    void SetMarginHeader(float value) { m_marginHeader = value; }
    float MarginFooter() const { return m_marginFooter; }
    void SetMarginFooter(float value) { m_marginFooter = value; }
    bool LineNumbers() const { return m_lineNumbers; }
    void SetLineNumbers(bool value) { m_lineNumbers = value; }
    QString FontName() const { return m_fontName; }
    void SetFontName(const QString &value) { m_fontName = value; }
    short FontSize() const { return m_fontSize; }
    void SetFontSize(short value) { m_fontSize = value; }
    QString HeaderText() const { return m_headerText; }
    void SetHeaderText(const QString &value) { m_headerText = value; }
    QString FooterText() const { return m_footerText; }
    void SetFooterText(const QString &value) { m_footerText = value; }

    // Job context: the document's full path (empty when never saved) and the macro locale.
    void SetDocumentPath(const QString &path) { m_macros.SetDocumentPath(path); }
    void SetLocale(const QLocale &locale) { m_macros.SetLocale(locale); }

    // Prints the text (lines separated by CR LF) as one document on the device.
    void PrintText(const QString &text, CPrintDevice &device);

    // State of the last job: the page number reached and the estimated page count.
    int PageNumber() const { return m_macros.PageNumber(); }
    int TotalPages() const { return m_macros.PageCount(); }

    // Estimated page count of a text on a device whose unit and font are set.
    int CountPages(const QString &text, const CPrintDevice &device) const;
    // The same estimate for given top and bottom margins.
    static int EstimatePages(const QString &text, const CPrintDevice &device, double marginTop,
                             double marginBottom);

private:
    void LoadSettings();
    void SaveSettings();
    void SaveRegValue(const QString &section, qint32 valueType, const QVariant &value,
                      const QString &valueName, bool currentUser);
    QVariant GetRegValue(const QString &section, qint32 valueType, const QVariant &defaultValue,
                         const QString &valueName, bool currentUser);
    void SaveReportingErrors();
    void CopySettings(const CPrinter &other);

    void PrintHeader(CPrintDevice &device);
    void PrintFooter(CPrintDevice &device);
    void StartNewPage(CPrintDevice &device);
    void PrintWrappedLine(CPrintDevice &device, const QString &line, double left);

    short m_scaleMode = 3;
    float m_marginLeft = 48;
    float m_marginRight = 48;
    float m_marginTop = 77;
    float m_marginBottom = 77;
    float m_marginHeader = 38;
    float m_marginFooter = 38;
    bool m_lineNumbers = false;
    QString m_fontName = QStringLiteral("Courier New");
    short m_fontSize = 10;
    QString m_headerText = QStringLiteral("$L$f$R$d");
    QString m_footerText = QStringLiteral("$CPage: $p");

    Persistence m_persistence = Persistence::None;
    CHeaderFooter m_macros;
    double m_lineHeight = 0; // height of "Xy" during a job
};
