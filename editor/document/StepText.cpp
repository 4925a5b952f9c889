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

    // Appended piece by piece into one buffer: this runs for every row of a large script.
    QString line;
    line.reserve(64);
    line += QLatin1Char('<');
    line += step.ElementName;
    const CAttributes &attributes = step.Attributes();
    for (int i = 0, count = attributes.Count(); i < count; ++i) {
        line += QLatin1Char(' ');
        line += attributes.DefinitionAt(i).AttributeName;
        line += QLatin1String("=\"");
        line += EncodeText(attributes.ValueAt(i));
        line += QLatin1Char('"');
    }
    if (step.ContainsText && !step.Text.isEmpty()) {
        line += QLatin1Char('>');
        line += EncodeText(step.Text);
        line += QLatin1String("</");
        line += step.ElementName;
        line += QLatin1Char('>');
    } else {
        line += QLatin1String(" />");
    }

    if (step.Disabled)
        return QStringLiteral("<!-- ") + line + QStringLiteral(" -->");
    line.squeeze(); // the row keeps this text
    return line;
}

QString BuildStepInfo(const CElement &step)
{
    QString info;
    if (step.IsComment) {
        info = step.Text;
    } else {
        info = step.Description;
        const CAttributes &attributes = step.Attributes();
        for (int i = 0, count = attributes.Count(); i < count; ++i) {
            const QString &value = attributes.ValueAt(i);
            if (!value.isEmpty())
                info += kCrLf + QStringLiteral("    ") + attributes.DefinitionAt(i).Description +
                        QStringLiteral(": ") + value;
        }
    }
    if (step.ContainsText && !step.Text.isEmpty())
        info += kCrLf + QStringLiteral("Use the following ") + step.TextDescription.toLower() +
                QLatin1Char(':') + kCrLf + step.Text;
    return info;
}
