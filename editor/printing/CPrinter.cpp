#include "printing/CPrinter.h"

#include "printing/CPrintDevice.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

void CPrinter::SetScaleMode(short code)
{
    if (CPrintDevice::IsValidScaleMode(code))
        m_scaleMode = code;
}

int CPrinter::CountPages(const QString &text, const CPrintDevice &device) const
{
    return EstimatePages(text, device, m_marginTop, m_marginBottom);
}

int CPrinter::EstimatePages(const QString &text, const CPrintDevice &device, double marginTop,
                            double marginBottom)
{
    const double usable = device.ScaleHeight() - marginTop - marginBottom;
    const double height = device.TextHeight(text);
    if (usable <= 0) // not even one line fits: every line gets a page of its own
        return static_cast<int>(std::min<qsizetype>(text.count(u'\n') + 1, INT32_MAX));
    const double ratio = height / usable;
    // A ratio that is whole up to rounding noise stays as it is.
    const double whole = std::ceil(ratio - 1e-9);
    return static_cast<int>(std::clamp(whole, 1.0, 2147483647.0));
}

void CPrinter::PrintHeader(CPrintDevice &device)
{
    if (m_headerText.isEmpty())
        return;
    device.SetCurrentX(m_marginLeft);
    m_macros.PrintHeaderFooterLine(device, m_headerText, m_marginHeader, m_marginLeft,
                                   m_marginRight);
}

void CPrinter::PrintFooter(CPrintDevice &device)
{
    if (m_footerText.isEmpty())
        return;
    device.SetCurrentX(m_marginLeft);
    const double y = device.ScaleHeight() - m_marginFooter - device.TextHeight(m_footerText);
    device.SetCurrentY(y);
    m_macros.PrintHeaderFooterLine(device, m_footerText, y, m_marginLeft, m_marginRight);
}

void CPrinter::StartNewPage(CPrintDevice &device)
{
    PrintFooter(device);
    device.NewPage();
    m_macros.SetPageNumber(m_macros.PageNumber() + 1);
    PrintHeader(device);
    device.SetCurrentY(m_marginTop);
}

void CPrinter::PrintWrappedLine(CPrintDevice &device, const QString &line, double left)
{
    device.SetCurrentX(left);
    const double rightLimit = device.RoundX(device.ScaleWidth() - m_marginRight);
    const double bottomLimit = device.ScaleHeight() - m_marginBottom;
    const QString text = line.endsWith(u' ') ? line : line + u' ';

    qsizetype wordStart = 0;
    bool placed = false; // something stands on the current device line
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch != u' ' && ch != u'\t')
            continue;
        const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
        // Only a word that follows others wraps; a word wider than the line stays where the
        // line starts and runs past the right margin.
        if (placed && device.CurrentX() + device.TextWidth(word) > rightLimit) {
            device.Print(QString(), true);
            if (device.CurrentY() + m_lineHeight > bottomLimit)
                StartNewPage(device);
            device.SetCurrentX(left);
        }
        device.Print(text.mid(wordStart, i - wordStart + 1)); // the word and its separator
        placed = true;
        wordStart = i + 1;
    }
    device.Print(QString(), true);
}

void CPrinter::PrintText(const QString &text, CPrintDevice &device)
{
    m_macros.SetPageNumber(1);
    m_macros.InitDateTime();
    const QStringList lines = text.split(QStringLiteral("\r\n"));

    device.SetScaleMode(m_scaleMode);
    device.SetFont(m_fontName, m_fontSize);
    m_lineHeight = device.TextHeight(QStringLiteral("Xy"));
    m_macros.SetPageCount(CountPages(text, device));

    PrintHeader(device);

    const QString padding(QString::number(lines.size()).size(), u'0');
    double left = m_marginLeft;
    if (m_lineNumbers)
        left += device.TextWidth(padding + QStringLiteral(": "));

    device.SetCurrentY(m_marginTop);
    const double bottomLimit = device.ScaleHeight() - m_marginBottom;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (device.CurrentY() + m_lineHeight > bottomLimit)
            StartNewPage(device);
        if (m_lineNumbers) {
            device.SetCurrentX(m_marginLeft);
            device.Print((padding + QString::number(i + 1)).right(padding.size()) + u':');
        }
        PrintWrappedLine(device, lines.at(i), left);
    }
    PrintFooter(device);
    device.EndDoc();
}
