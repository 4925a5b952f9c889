#pragma once

#include "core/printing/CHeaderFooter.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

class CPrintDevice;

// The page settings and the print engine: lays a text out on a print device, one device line
// per source line, wrapped at word boundaries, with optional line numbers and a header and a
// footer on every page.
class CPrinter final {
public:
    // With Persistence::Settings the page settings are read from the settings store on
    // creation and written by Save (the program's own object). Persistence::ReadOnly reads them
    // on creation and never writes them (for tools that only print).
    enum class Persistence { None, Settings, ReadOnly };

    // What writing the page settings came to: the store's reason when it refused them.
    struct SaveResult {
        bool Saved = true;
        QString Problem;
    };

    explicit CPrinter(Persistence persistence = Persistence::None);
    ~CPrinter();
    // Why the settings could not be read on creation ("" when they were, or none were read).
    QString LoadProblem() const { return m_loadProblem; }
    // Writes the page settings in one batch (Persistence::Settings only; other objects and
    // copies write nothing and report success).
    SaveResult Save();
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

    // The margin that leaves no room for text on a page of width x height (in the settings'
    // unit) with lines lineHeight high and characters at least charWidth wide: less than one
    // line between header and footer, a header or footer over the text, or not one character
    // between the left and right margins. None when every margin leaves room.
    enum class Margin { None, Top, Bottom, Left, Right, Header, Footer };
    Margin CrampedMargin(double width, double height, double lineHeight, double charWidth) const;

    // Job context: the document's full path (empty when never saved) and the macro locale.
    void SetDocumentPath(const QString &path) { m_macros.SetDocumentPath(path); }
    QString FileName() const { return m_macros.FileName(); }   // full path or "Untitled"
    QString FileTitle() const { return m_macros.FileTitle(); } // name or "Untitled"
    void SetLocale(const QLocale &locale) { m_macros.SetLocale(locale); }

    // Prints the text (lines separated by CR LF) as one document on the device. The text is
    // laid out once without drawing first, so that the page count of the headers and footers
    // is that of the pages printed.
    void PrintText(const QString &text, CPrintDevice &device);

    // State of the last job: the page number reached and the page count.
    int PageNumber() const { return m_macros.PageNumber(); }
    int TotalPages() const { return m_macros.PageCount(); }

    // The number of pages PrintText would print the text on, on the device; sets the device's
    // unit and font.
    int CountPages(const QString &text, CPrintDevice &device);

private:
    void LoadSettings();
    void SaveSettings();
    void SaveRegValue(const QString &section, qint32 valueType, const QVariant &value,
                      const QString &valueName, bool currentUser);
    QVariant GetRegValue(const QString &section, qint32 valueType, const QVariant &defaultValue,
                         const QString &valueName, bool currentUser);
    void CopySettings(const CPrinter &other);

    void PrepareDevice(CPrintDevice &device);
    int LayOutPass(const QStringList &lines, CPrintDevice &device);
    void LayOut(const QStringList &lines, CPrintDevice &device);
    void PrintHeader(CPrintDevice &device);
    void PrintFooter(CPrintDevice &device);
    void StartNewPage(CPrintDevice &device);
    void BreakLine(CPrintDevice &device, double left);
    void PrintWrappedLine(CPrintDevice &device, const QString &line, double left);
    // Prints the head of a word too wide for the line: the characters that fit before the right
    // margin, a line break, and so on while the rest does not fit (at least one character a
    // line). Returns the number of UTF-16 units printed.
    qsizetype PrintLongWordHead(CPrintDevice &device, QStringView word, double left,
                                double rightLimit);

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
    QString m_loadProblem;
    CHeaderFooter m_macros;
    double m_lineHeight = 0;   // height of "Xy" during a job
    bool m_lineOnPage = false; // a text line stands on the page being laid out
};
