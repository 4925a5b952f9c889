#include "core/zml/ZmlText.h"

#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"

namespace {

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
    // One pass: no reference's replacement can start another reference, and "&amp;" gives an
    // ampersand that is not read again.
    struct Reference {
        QLatin1String name;
        QLatin1String by;
    };
    static const Reference kReferences[] = {{QLatin1String("&#10;"), QLatin1String("\r\n")},
                                            {QLatin1String("&#9;"), QLatin1String("\t")},
                                            {QLatin1String("&#160;"), QLatin1String(" ")},
                                            {QLatin1String("&quot;"), QLatin1String("\"")},
                                            {QLatin1String("&gt;"), QLatin1String(">")},
                                            {QLatin1String("&lt;"), QLatin1String("<")},
                                            {QLatin1String("&ge;"), QLatin1String(">=")},
                                            {QLatin1String("&le;"), QLatin1String("<=")},
                                            {QLatin1String("&amp;"), QLatin1String("&")}};
    const QStringView in(text);
    const qsizetype size = in.size();
    QString out;
    out.reserve(size + size / 8);
    qsizetype copied = 0; // text before this index is in out
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i].unicode();
        qsizetype length = 0;
        QLatin1String by;
        if (c == u'\r' || c == u'\n') { // CR LF, CR or LF
            length = c == u'\r' && i + 1 < size && in[i + 1] == u'\n' ? 2 : 1;
            by = QLatin1String("\r\n");
        } else if (c == u'&') {
            for (const Reference &r : kReferences) {
                if (in.mid(i).startsWith(r.name)) {
                    length = r.name.size();
                    by = r.by;
                    break;
                }
            }
        }
        if (length == 0)
            continue;
        out += in.mid(copied, i - copied);
        out += by;
        copied = i + length;
        i = copied - 1;
    }
    out += in.mid(copied);
    return out;
}
