#include "core/document/StepText.h"

#include "core/document/StepView.h"
#include "core/zml/TextSink.h"
#include "core/zml/Utf8Sink.h"
#include "core/zml/ZmlText.h"

#include <QCoreApplication>

#include <type_traits>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The one implementation of the step form, written into any sink (TextSink, Utf8Sink).
template <typename Sink>
void appendStep(Sink &line, const StepView &step, StepForm form, StepTagPieces *pieces = nullptr)
{
    if (step.IsComment()) {
        line += QLatin1String("<!--\r\n");
        line += step.Text();
        line += QLatin1String("\r\n-->");
        return;
    }
    if (step.Disabled())
        line += QLatin1String("<!-- ");
    const StepTagPieces::Tag *tag = nullptr;
    if constexpr (std::is_same_v<Sink, Utf8Sink>) {
        if (pieces) {
            tag = &pieces->of(step);
            line.addUtf8(tag->open);
        }
    }
    if (!tag) {
        line += QLatin1Char('<');
        line += step.ElementName();
    }
    for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
        if constexpr (std::is_same_v<Sink, Utf8Sink>) {
            if (tag)
                line.addUtf8(tag->attributes[std::size_t(i)]);
        }
        if (!tag) {
            line += QLatin1Char(' ');
            line += step.DefinitionAt(i).AttributeName;
            line += QLatin1String("=\"");
        }
        AppendEncodedText(line, step.ValueAt(i));
        line += QLatin1Char('"');
    }
    if (step.ContainsText() && !step.Text().isEmpty()) {
        line += QLatin1Char('>');
        AppendEncodedText(line, step.Text());
        line += QLatin1String("</");
        line += step.ElementName();
        line += QLatin1Char('>');
    } else {
        line += form == StepForm::Opening ? QLatin1String(">") : QLatin1String(" />");
    }
    if (step.Disabled())
        line += QLatin1String(" -->");
}

} // namespace

const StepTagPieces::Tag &StepTagPieces::of(const StepView &step)
{
    const auto found = m_tags.find(step.ActionKey());
    if (found != m_tags.end())
        return found->second;
    // Encoded as the sink encodes the pieces one by one.
    const auto utf8 = [](QLatin1String before, const QString &name, QLatin1String after) {
        Utf8Sink sink(before.size() + 3 * name.size() + after.size());
        sink += before;
        sink += name;
        sink += after;
        return sink.take();
    };
    Tag &tag = m_tags[step.ActionKey()];
    tag.open = utf8(QLatin1String("<"), step.ElementName(), QLatin1String(""));
    for (int i = 0, count = step.AttributeCount(); i < count; ++i)
        tag.attributes.push_back(
            utf8(QLatin1String(" "), step.DefinitionAt(i).AttributeName, QLatin1String("=\"")));
    return tag;
}

void AppendStepText(Utf8Sink &out, const StepView &step, StepForm form, StepTagPieces &pieces)
{
    appendStep(out, step, form, &pieces);
}

QString BuildStepText(const StepView &step)
{
    QString text;
    text.reserve(64);
    TextSink sink(text);
    appendStep(sink, step, StepForm::Line);
    return text;
}

void AppendStepText(TextSink &out, const StepView &step, StepForm form)
{
    appendStep(out, step, form);
}

void AppendStepText(Utf8Sink &out, const StepView &step, StepForm form)
{
    appendStep(out, step, form);
}

QString BuildStepInfo(const StepView &step)
{
    QString info;
    AppendStepInfo(info, step);
    return info;
}

void AppendStepInfo(QString &info, const StepView &step)
{
    if (step.IsComment()) {
        info += step.Text();
    } else {
        info += step.Description();
        for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
            const QString &value = step.ValueAt(i);
            if (value.isEmpty())
                continue;
            info += kCrLf;
            info += QLatin1String("    ");
            info += step.DefinitionAt(i).Description;
            info += QLatin1String(": ");
            info += value;
        }
    }
    if (step.ContainsText() && !step.Text().isEmpty())
        info += kCrLf + QCoreApplication::translate("StepText", "Use the following %1:\r\n%2")
                            .arg(step.TextDescription().toLower(), step.Text());
}
