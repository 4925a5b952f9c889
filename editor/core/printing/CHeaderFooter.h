#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

class CPrintDevice;

// The per-job values of the header and footer macros, their expansion and the drawing of one
// header or footer line. Print and preview jobs share it.
class CHeaderFooter final {
public:
    using Clock = std::function<QDateTime()>;

    struct Parts {
        QString left;
        QString centre;
        QString right;
    };

    // The clock gives "now" when a job starts (the system clock when empty); the locale gives
    // the date and time formats (the default locale unless set).
    static void SetClock(Clock clock);
    static QDateTime Now();

    void SetLocale(const QLocale &locale) { m_locale = locale; }

    // Full path of the document; empty for a document that was never saved.
    void SetDocumentPath(const QString &path);
    QString FileName() const;  // full path or "Untitled"
    QString FileTitle() const; // name with extension or "Untitled"

    // Captures the print date and time from the clock and reads the file's date and time.
    void InitDateTime();
    QString PrintDate() const { return m_printDate; }
    QString PrintTime() const { return m_printTime; }
    QString FileDate() const { return m_fileDate; }
    QString FileTime() const { return m_fileTime; }

    void SetPageNumber(int page) { m_page = page; }
    int PageNumber() const { return m_page; }
    void SetPageCount(int count) { m_pageCount = count; }
    int PageCount() const { return m_pageCount; }

    QString ExpandMacros(const QString &text) const;

    // Cuts a template into its left, centre and right parts (alignment codes removed,
    // other codes not yet expanded).
    static Parts CutTemplate(const QString &text);

    // Draws the template's three parts at y between the given margins.
    void PrintHeaderFooterLine(CPrintDevice &device, const QString &text, double y,
                               double marginLeft, double marginRight) const;

    // The general date form of a timestamp: short date, then a blank and the time unless the
    // time is exactly midnight.
    QString GeneralDate(const QDateTime &stamp) const;

private:
    QLocale m_locale; // the default locale: the system one unless a program sets another
    QString m_path;
    QString m_printDate;
    QString m_printTime;
    QString m_fileDate;
    QString m_fileTime;
    int m_page = 1;
    int m_pageCount = 1;
};
