#include "document/StepText.h"

#include "document/CElement.h"
#include "document/ZmlText.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString BuildStepText(const CElement &step)
{
    if (step.IsComment)
        return QStringLiteral("<!--") + kCrLf + step.Text + kCrLf + QStringLiteral("-->");

    QString line = QLatin1Char('<') + step.ElementName;
    for (const auto &attribute : step.Attributes()) {
        line += QLatin1Char(' ') + attribute->AttributeName + QStringLiteral("=\"") +
                EncodeText(attribute->Value) + QLatin1Char('"');
    }
    if (step.ContainsText && !step.Text.isEmpty())
        line += QLatin1Char('>') + EncodeText(step.Text) + QStringLiteral("</") + step.ElementName +
                QLatin1Char('>');
    else
        line += QStringLiteral(" />");

    if (step.Disabled)
        return QStringLiteral("<!-- ") + line + QStringLiteral(" -->");
    return line;
}

QString BuildStepInfo(const CElement &step)
{
    QString info;
    if (step.IsComment) {
        info = step.Text;
    } else {
        info = step.Description;
        for (const auto &attribute : step.Attributes()) {
            if (!attribute->Value.isEmpty())
                info += kCrLf + QStringLiteral("    ") + attribute->Description +
                        QStringLiteral(": ") + attribute->Value;
        }
    }
    if (step.ContainsText && !step.Text.isEmpty())
        info += kCrLf + QStringLiteral("Use the following ") + step.TextDescription.toLower() +
                QLatin1Char(':') + kCrLf + step.Text;
    return info;
}
