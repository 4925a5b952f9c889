#include "core/zml/ZmlText.h"

#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"

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

// Writes the encoded text in one pass: unchanged runs as they are, each character to replace
// as its reference. A line break (CR LF, CR or LF) becomes "&#10;"; spaces at the very start
// become "&#160;" each; in any later run of spaces every second one does.
template <typename Sink> void appendEncoded(Sink &out, QStringView text)
{
    const qsizetype size = text.size();
    qsizetype copied = 0; // text before this index is written
    bool leading = true;  // only spaces so far
    qsizetype run = 0;    // spaces just before the current character
    const auto replace = [&](qsizetype at, qsizetype length, QLatin1String by) {
        if (at > copied)
            out.add(text.mid(copied, at - copied));
        out.add(by);
        copied = at + length;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            ++run;
            if (leading || run % 2 == 0)
                replace(i, 1, QLatin1String("&#160;"));
            continue;
        }
        leading = false;
        run = 0;
        switch (c) {
        case u'\r':
            replace(i, i + 1 < size && text[i + 1] == u'\n' ? 2 : 1, QLatin1String("&#10;"));
            i = copied - 1;
            break;
        case u'\n':
            replace(i, 1, QLatin1String("&#10;"));
            break;
        case u'&':
            replace(i, 1, QLatin1String("&amp;"));
            break;
        case u'\t':
            replace(i, 1, QLatin1String("&#9;"));
            break;
        case u'<':
            replace(i, 1, QLatin1String("&lt;"));
            break;
        case u'>':
            replace(i, 1, QLatin1String("&gt;"));
            break;
        case u'"':
            replace(i, 1, QLatin1String("&quot;"));
            break;
        default:
            break;
        }
    }
    if (copied < size)
        out.add(text.mid(copied));
}

} // namespace

QString EncodeText(const QString &text)
{
    if (!needsEncoding(text))
        return text;
    QString s;
    s.reserve(text.size() + 16);
    TextSink sink(s);
    appendEncoded(sink, text);
    return s;
}

void AppendEncodedText(TextSink &out, QStringView text)
{
    appendEncoded(out, text);
}

void AppendEncodedText(Utf8Sink &out, QStringView text)
{
    appendEncoded(out, text);
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
