#include "document/ZmlText.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Turns every CR LF, lone CR and lone LF into CR LF.
void normaliseLineBreaks(QString &text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
}

// True when EncodeText would change text: a line break, tab, markup character, or a space
// that leads the text or follows another space.
bool needsEncoding(const QString &text)
{
    QChar previous = QLatin1Char(' ');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\r':
        case '\n':
        case '\t':
        case '&':
        case '<':
        case '>':
        case '"':
            return true;
        case ' ':
            if (previous == QLatin1Char(' '))
                return true;
            break;
        default:
            break;
        }
        previous = c;
    }
    return false;
}

// True when DecodeText would change text: it has a line break or an ampersand.
bool needsDecoding(const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('&') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

} // namespace

QString EncodeText(const QString &text)
{
    if (!needsEncoding(text))
        return text;
    QString s = text;
    normaliseLineBreaks(s);
    s.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    s.replace(kCrLf, QStringLiteral("&#10;"));

    qsizetype leading = 0;
    while (leading < s.size() && s.at(leading) == QLatin1Char(' '))
        ++leading;
    if (leading > 0)
        s = QStringLiteral("&#160;").repeated(leading) + s.mid(leading);

    s.replace(QStringLiteral("  "), QStringLiteral(" &#160;"));
    s.replace(QLatin1Char('\t'), QStringLiteral("&#9;"));
    s.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    s.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    s.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    return s;
}

QString DecodeText(const QString &text)
{
    if (!needsDecoding(text))
        return text;
    QString s = text;
    normaliseLineBreaks(s);
    s.replace(QStringLiteral("&#10;"), kCrLf);
    s.replace(QStringLiteral("&#9;"), QStringLiteral("\t"));
    s.replace(QStringLiteral("&#160;"), QStringLiteral(" "));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&ge;"), QStringLiteral(">="));
    s.replace(QStringLiteral("&le;"), QStringLiteral("<="));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}
