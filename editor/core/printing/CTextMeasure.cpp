#include "core/printing/CTextMeasure.h"

#include <QFontInfo>
#include <QRawFont>

CTextMeasure::CTextMeasure(const QFont &font, const QPaintDevice *device)
    : m_metrics(font, device), m_fixedPitch(QFontInfo(font).fixedPitch())
{
    m_advances.fill(-1);
}

double CTextMeasure::Width(QStringView text) const
{
    if (m_fixedPitch) {
        double width = 0;
        bool simple = true;
        for (const QChar ch : text) {
            const char16_t code = ch.unicode();
            if (code >= kSimpleLimit || (code < 0x20 && code != u'\t') ||
                (code >= 0x7f && code < 0xa0)) {
                simple = false;
                break;
            }
            double &advance = m_advances[code];
            if (advance < 0) // a tab is printed one blank wide
                advance = m_metrics.horizontalAdvance(code == u'\t' ? QChar(u' ') : ch);
            width += advance;
        }
        if (simple)
            return width;
    }
    const QString key = text.toString();
    auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return *it;
    QString printable = key;
    printable.replace(u'\t', u' ');
    const double width = m_metrics.horizontalAdvance(printable);
    m_cache.insert(key, width);
    return width;
}
