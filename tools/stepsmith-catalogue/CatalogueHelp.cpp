#include "CatalogueHelp.h"

#include <QRegularExpression>

namespace stepsmith::catalogue {

namespace {

// QTextBrowser understands this subset of CSS: no flexbox, grid or positioning.
const char kStyle[] = R"(body { font-family: sans-serif; font-size: 10pt; color: #1d1d1d; }
h1 { font-size: 17pt; color: #204a87; margin-bottom: 6px; }
h2 { font-size: 13pt; color: #204a87; margin-top: 18px; margin-bottom: 4px; }
h3 { font-size: 11pt; color: #3465a4; margin-top: 12px; margin-bottom: 4px; }
p { margin-top: 4px; margin-bottom: 6px; }
table.attributes { border-collapse: collapse; margin-top: 4px; margin-bottom: 6px; }
table.attributes th { background-color: #dce6f2; text-align: left; padding: 3px 6px; }
table.attributes td { padding: 3px 6px; vertical-align: top; border-bottom: 1px solid #d3d7cf; }
.tag { font-family: monospace; color: #5c3566; }
.note { color: #555753; }
.folder { font-weight: bold; margin-top: 8px; }
.top { font-size: 8pt; }
kbd { font-family: monospace; background-color: #eeeeec; }
)";

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// Folders in the order of their first action, each with its actions in catalogue order.
QVector<QPair<QString, QVector<const Action *>>> folders(const Catalogue &catalogue)
{
    QVector<QPair<QString, QVector<const Action *>>> result;
    for (const Action &action : catalogue.actions) {
        auto it = std::find_if(result.begin(), result.end(),
                               [&](const auto &folder) { return folder.first == action.parent; });
        if (it == result.end()) {
            result.append({action.parent, {}});
            it = result.end() - 1;
        }
        it->second.append(&action);
    }
    return result;
}

QString introBody(const QString &introHtml)
{
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = body.match(introHtml);
    return match.hasMatch() ? match.captured(1) : introHtml;
}

QString multiLine(const QString &text)
{
    QString escaped = esc(text);
    escaped.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return escaped;
}

QString allowedValues(const Attribute &a)
{
    if (a.dataType == Variable)
        return QStringLiteral("a variable declared by a <span class=\"tag\">var</span> step");
    if (a.dataType == Range)
        return QStringLiteral("a range declared by a <span class=\"tag\">range</span> step");
    const QStringList values = a.arrayValueList();
    if (values.isEmpty())
        return QString();
    QStringList parts;
    for (const QString &v : values)
        parts << QStringLiteral("<span class=\"tag\">%1</span>").arg(esc(v));
    return parts.join(QStringLiteral(", "));
}

void writeAction(QString &out, const Action &action)
{
    const QString name = esc(action.elementName);
    out +=
        QStringLiteral("<h2 id=\"%1\"><a name=\"%1\"></a>%2</h2>\n")
            .arg(name, esc(action.description.isEmpty() ? action.elementName : action.description));
    out += QStringLiteral("<p class=\"note\">Element <span class=\"tag\">&lt;%1&gt;</span> "
                          "&middot; folder %2</p>\n")
               .arg(name, esc(action.parent));
    if (!action.information.isEmpty())
        out += QStringLiteral("<p>%1</p>\n").arg(multiLine(action.information));

    if (action.attributes.isEmpty()) {
        out += QStringLiteral("<p class=\"note\">This action has no attributes.</p>\n");
    } else {
        out += QStringLiteral("<table class=\"attributes\" cellspacing=\"0\" width=\"99%\">\n"
                              "<tr><th>Attribute</th><th>Meaning</th><th>Type</th><th>Required</th>"
                              "<th>Default</th><th>Allowed values</th></tr>\n");
        for (const Attribute &a : action.attributes) {
            out += QStringLiteral("<tr><td><span class=\"tag\">%1</span></td><td>%2</td>"
                                  "<td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>\n")
                       .arg(esc(a.name), esc(a.description), esc(dataTypeName(a.dataType)),
                            a.required ? QStringLiteral("yes") : QStringLiteral("no"),
                            esc(defaultValueText(a.defaultValue)), allowedValues(a));
        }
        out += QStringLiteral("</table>\n");
    }
    if (action.containsText) {
        QStringList notes;
        notes << (action.textMultiLine ? QStringLiteral("several lines allowed")
                                       : QStringLiteral("one line"));
        notes << (action.textRequired ? QStringLiteral("required") : QStringLiteral("optional"));
        out += QStringLiteral("<p><b>Text:</b> %1 <span class=\"note\">(%2)</span></p>\n")
                   .arg(esc(action.textDescription), notes.join(QStringLiteral(", ")));
        if (!action.text.isEmpty())
            out += QStringLiteral("<p class=\"note\">Initial text: %1</p>\n")
                       .arg(multiLine(action.text));
    }
    out += QStringLiteral("<p class=\"top\"><a href=\"#index\">Back to the index</a></p>\n");
}

} // namespace

QString helpHtml(const Catalogue &catalogue, const QString &introHtml)
{
    QString out;
    out += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>Stepsmith Help</title>\n<style type=\"text/css\">\n");
    out += QLatin1String(kStyle);
    out += QStringLiteral("</style>\n</head>\n<body>\n");
    out += introBody(introHtml);

    const auto groups = folders(catalogue);
    out += QStringLiteral("\n<h1 id=\"index\"><a name=\"index\"></a>Index of actions</h1>\n");
    for (const auto &folder : groups) {
        out += QStringLiteral("<p class=\"folder\">%1</p>\n<ul>\n").arg(esc(folder.first));
        for (const Action *action : folder.second) {
            out += QStringLiteral("<li><a href=\"#%1\">%2</a> <span class=\"tag\">%1</span>"
                                  "</li>\n")
                       .arg(esc(action->elementName), esc(action->description));
        }
        out += QStringLiteral("</ul>\n");
    }
    for (const auto &folder : groups) {
        out += QStringLiteral("<h1>%1</h1>\n").arg(esc(folder.first));
        for (const Action *action : folder.second)
            writeAction(out, *action);
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out;
}

} // namespace stepsmith::catalogue
