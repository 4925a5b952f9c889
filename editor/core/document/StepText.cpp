#include "core/document/StepText.h"

#include "core/document/CElement.h"
#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"
#include "core/zml/ZmlText.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The one implementation of the step form, written into any sink (TextSink, Utf8Sink).
template <typename Sink> void appendStep(Sink &line, const CElement &step, StepForm form)
{
    if (step.IsComment) {
        line += QLatin1String("<!--\r\n");
        line += step.Text;
        line += QLatin1String("\r\n-->");
        return;
    }
    if (step.Disabled)
        line += QLatin1String("<!-- ");
    line += QLatin1Char('<');
    line += step.ElementName;
    const CAttributes &attributes = step.Attributes();
    for (int i = 0, count = attributes.Count(); i < count; ++i) {
        line += QLatin1Char(' ');
        line += attributes.DefinitionAt(i).AttributeName;
        line += QLatin1String("=\"");
        AppendEncodedText(line, attributes.ValueAt(i));
        line += QLatin1Char('"');
    }
    if (step.ContainsText && !step.Text.isEmpty()) {
        line += QLatin1Char('>');
        AppendEncodedText(line, step.Text);
        line += QLatin1String("</");
        line += step.ElementName;
        line += QLatin1Char('>');
    } else {
        line += form == StepForm::Opening ? QLatin1String(">") : QLatin1String(" />");
    }
    if (step.Disabled)
        line += QLatin1String(" -->");
}

} // namespace

QString BuildStepText(const CElement &step)
{
    QString text;
    text.reserve(64);
    TextSink sink(text);
    appendStep(sink, step, StepForm::Line);
    return text;
}

void AppendStepText(TextSink &out, const CElement &step, StepForm form)
{
    appendStep(out, step, form);
}

void AppendStepText(Utf8Sink &out, const CElement &step, StepForm form)
{
    appendStep(out, step, form);
}

QString BuildStepInfo(const CElement &step)
{
    QString info;
    AppendStepInfo(info, step);
    return info;
}

void AppendStepInfo(QString &info, const CElement &step)
{
    if (step.IsComment) {
        info += step.Text;
    } else {
        info += step.Description;
        const CAttributes &attributes = step.Attributes();
        for (int i = 0, count = attributes.Count(); i < count; ++i) {
            const QString &value = attributes.ValueAt(i);
            if (value.isEmpty())
                continue;
            info += kCrLf;
            info += QLatin1String("    ");
            info += attributes.DefinitionAt(i).Description;
            info += QLatin1String(": ");
            info += value;
        }
    }
    if (step.ContainsText && !step.Text.isEmpty())
        info += kCrLf + QStringLiteral("Use the following ") + step.TextDescription.toLower() +
                QLatin1Char(':') + kCrLf + step.Text;
}
