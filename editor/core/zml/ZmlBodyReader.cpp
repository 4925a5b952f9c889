#include "core/zml/ZmlBodyReader.h"

#include "core/document/StepText.h"
#include "core/zml/ZmlText.h"

#include <QString>

namespace ZmlBody {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

// Comment text with line breaks as CR LF; a leading CR LF is removed, and then one trailing
// CR LF too (the form the writer gives a comment step).
QString commentText(const QString &raw)
{
    QString text = raw;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    if (text.startsWith(kCrLf)) {
        text.remove(0, 2);
        if (text.endsWith(kCrLf))
            text.chop(2);
    }
    return text;
}

QString fromUtf8(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool is(std::string_view name, const char *literal)
{
    return name == std::string_view(literal);
}

// Text content as the step keeps it: the markup characters escaped again, then decoded like
// every ZML value.
QString stepText(std::string_view text)
{
    QString s = fromUtf8(text);
    s.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    s.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    s.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return DecodeText(s);
}

// A step of the action, every attribute with the action's loaded value.
std::shared_ptr<CElement> newStep(const Definition &definition)
{
    auto step = std::make_shared<CElement>();
    step->CopyActionFields(*definition.element);
    step->IsComment = definition.element->IsComment;
    step->Disabled = definition.element->Disabled;
    step->Attributes().AssignDefinitions(definition.attributes);
    return step;
}

std::string_view viewOf(const std::string &bytes, std::size_t offset, std::size_t size)
{
    return std::string_view(bytes).substr(offset, size);
}

// Builds pending steps and appends them to steps.
void buildSteps(PendingSteps &pending, StepBatch &steps)
{
    std::vector<QString> values;
    for (PendingSteps::Step &p : pending.steps) {
        if (!p.definition) {
            if (p.built) {
                steps.addElement(std::move(p.built), p.depth);
                continue;
            }
            const std::string_view text = viewOf(pending.bytes, p.textOffset, p.textSize);
            if (p.maybeDisabled && pending.disabled) {
                if (auto disabled = pending.disabled->read(text)) {
                    steps.addElement(std::move(disabled), p.depth);
                    continue;
                }
            }
            steps.addComment(commentText(fromUtf8(text)), p.depth);
            continue;
        }
        const Definition &definition = *p.definition;
        const CAttributeDefinitions *attributes = definition.attributes.get();
        // The values are kept only when one differs from the action's.
        bool differs = false;
        if (p.valueCount > 0) {
            values.clear();
            for (int i = 0, count = attributes->Count(); i < count; ++i)
                values.push_back(attributes->At(i).Value);
            for (std::size_t v = p.firstValue; v < p.firstValue + p.valueCount; ++v) {
                const PendingSteps::Value &value = pending.values[v];
                QString decoded =
                    DecodeText(fromUtf8(viewOf(pending.bytes, value.offset, value.size)));
                QString &slot = values[std::size_t(value.index)];
                if (decoded != slot) {
                    differs = true;
                    slot = std::move(decoded);
                }
            }
        }
        QString text;
        if (p.closer)
            text = definition.element->Text;
        else if (p.hasText)
            text = stepText(viewOf(pending.bytes, p.textOffset, p.textSize));
        steps.addStep(steps.action(definition.element, definition.attributes), p.depth, false,
                      std::move(text), differs ? &values : nullptr);
    }
}

// A publisher for BodyReader that builds each batch at once into steps.
std::function<void(PendingSteps &)> buildInto(StepBatch &steps)
{
    return [&steps](PendingSteps &pending) {
        buildSteps(pending, steps);
        pending.clear();
    };
}

std::shared_ptr<CElement> DisabledStepReader::read(std::string_view comment, std::string *name)
{
    if (comment.size() < 5 || comment.substr(0, 2) != " <" || comment.back() != ' ')
        return {};
    SingleElement &element = m_element;
    element.clear();
    if (!m_parser.parse(QByteArray(comment.data() + 1, qsizetype(comment.size()) - 2)))
        return {};
    auto found = m_cache.find(element.name);
    if (found == m_cache.end())
        found = m_cache.emplace(element.name, Definition::of(m_catalogue, element.name)).first;
    Definition &definition = found->second;
    if (!definition.element)
        return {};
    const QString &action = definition.element->ElementName;
    if (m_closers == CommentedClosers::Comments &&
        (action == QLatin1String("endif") || action == QLatin1String("endloop")))
        return {};
    auto step = newStep(definition);
    for (const auto &[attribute, value] : element.values) {
        const int index = definition.indexOf(attribute);
        if (index >= 0)
            step->Attributes().SetValueAt(index, DecodeText(fromUtf8(value)));
    }
    if (step->ContainsText && element.children == 1 && element.text)
        step->Text = stepText(*element.text);
    step->Disabled = true;
    // The comment keeps the "&#160;" that the step's values were written with, while the
    // values read back hold U+00A0 (the parser resolves the reference): both forms count
    // as the same text, or a step with a leading or doubled space would become a comment.
    const auto sameForm = [](QString text) {
        return text.replace(QLatin1String("&#160;"), QString(QChar(QChar::Nbsp)));
    };
    if (sameForm(BuildStepText(*step)) !=
        sameForm(QLatin1String("<!--") + fromUtf8(comment) + QLatin1String("-->")))
        return {};
    if (name)
        *name = element.name;
    return step;
}

bool mayHoldBlockStep(std::string_view comment)
{
    if (comment.size() < 2 || comment.substr(0, 2) != " <")
        return false;
    const std::string_view rest = comment.substr(2);
    const std::string_view name = rest.substr(0, rest.find_first_of(" \t\r\n/>"));
    return name == "if" || name == "loop" || name == "else" || name == "endif" || name == "endloop";
}

bool BodyReader::addDisabledStep(std::string_view comment, int depth)
{
    std::string name;
    auto step = m_disabled.read(comment, &name);
    if (!step)
        return false;
    // Block rows change the depths as their flat forms do.
    Frame &frame = m_frames.back();
    int row = depthOfRow(name, depth);
    if (is(name, "endif") || is(name, "endloop")) {
        frame.depth = lowered(frame.depth);
        row = frame.depth;
    }
    addBuilt(std::move(step), row);
    if (is(name, "if") || is(name, "loop"))
        ++frame.depth;
    return true;
}

} // namespace ZmlBody
