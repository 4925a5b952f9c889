#include "cli/Diagnostics.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdio>

namespace {

const char *severityOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return "error";
    case MsgIcon::Exclamation:
        return "warning";
    case MsgIcon::Information:
    case MsgIcon::Question:
    case MsgIcon::None:
        break;
    }
    return "info";
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QByteArray textLine(const QString &file, const Notice &notice)
{
    QString line = file.isEmpty() ? QStringLiteral("stepsmith") : file;
    if (!file.isEmpty() && notice.Place.known())
        line += QStringLiteral(":%1:%2").arg(notice.Place.Line).arg(notice.Place.Column);
    line += QStringLiteral(": ") + QLatin1String(severityOf(notice.Icon)) + QStringLiteral(": ") +
            oneLine(notice.Text);
    return line.toLocal8Bit() + '\n';
}

QByteArray jsonLine(const QString &file, const Notice &notice)
{
    const bool located = !file.isEmpty() && notice.Place.known();
    const QJsonObject object{
        {QStringLiteral("file"), file.isEmpty() ? QJsonValue() : QJsonValue(file)},
        {QStringLiteral("line"), located ? QJsonValue(notice.Place.Line) : QJsonValue()},
        {QStringLiteral("column"), located ? QJsonValue(notice.Place.Column) : QJsonValue()},
        {QStringLiteral("severity"), QLatin1String(severityOf(notice.Icon))},
        {QStringLiteral("text"), oneLine(notice.Text)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

QByteArray FormatDiagnostics(DiagnosticFormat format, const QString &file,
                             const QList<Notice> &notices)
{
    QByteArray lines;
    for (const Notice &notice : notices)
        lines += format == DiagnosticFormat::Json ? jsonLine(file, notice) : textLine(file, notice);
    return lines;
}

void PrintDiagnostics(const QByteArray &lines)
{
    std::fwrite(lines.constData(), 1, std::size_t(lines.size()), stderr);
    std::fflush(stderr);
}
