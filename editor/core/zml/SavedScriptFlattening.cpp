#include "core/zml/SavedScriptFlattening.h"

#include <QStringView>

namespace ZmlRecovery {

std::optional<FlatScript> flattenSavedScript(const QString &text)
{
    const QString commentStart = QStringLiteral("<!--");
    const QString commentEnd = QStringLiteral("-->");
    const QString kCrLf = QStringLiteral("\r\n");
    FlatScript flat;
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype at = 0;
    for (qsizetype open = text.indexOf(QLatin1Char('<')); open >= 0;
         open = text.indexOf(QLatin1Char('<'), at)) {
        out += QStringView(text).sliced(at, open - at);
        if (QStringView(text).sliced(open).startsWith(commentStart)) {
            // A comment step is "<!--", CR LF, its text, CR LF, "-->": its text may hold "-->".
            const qsizetype inside = open + commentStart.size();
            const qsizetype stepEnd = QStringView(text).sliced(inside).startsWith(kCrLf)
                                          ? text.indexOf(kCrLf + commentEnd, inside)
                                          : -1;
            const qsizetype close =
                stepEnd >= 0 ? stepEnd + kCrLf.size() : text.indexOf(commentEnd, inside);
            if (close < 0)
                return std::nullopt;
            out += QStringLiteral("<?%1 %2?>")
                       .arg(QLatin1String(kCommentTarget.data(), qsizetype(kCommentTarget.size())))
                       .arg(flat.comments.size());
            flat.comments.push_back(QStringView(text).sliced(inside, close - inside).toUtf8());
            at = close + commentEnd.size();
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            return std::nullopt;
        const QStringView tag = QStringView(text).sliced(open, close + 1 - open);
        const auto opens = [&tag](QLatin1String name) {
            return tag.startsWith(name) && tag.size() > name.size() &&
                   (tag[name.size()] == QLatin1Char(' ') || tag[name.size()] == QLatin1Char('>'));
        };
        if (tag == QLatin1String("</if>")) {
            out += QLatin1String("<endif />");
        } else if (tag == QLatin1String("</loop>")) {
            out += QLatin1String("<endloop />");
        } else if ((opens(QLatin1String("<if")) || opens(QLatin1String("<loop"))) &&
                   !tag.endsWith(QLatin1String("/>"))) {
            out += tag.chopped(1);
            out += QLatin1String(" />");
        } else {
            out += tag;
        }
        at = close + 1;
    }
    out += QStringView(text).sliced(at);
    flat.text = out.toUtf8();
    return flat;
}

} // namespace ZmlRecovery
