#include "core/zml/BlockFault.h"

#include "core/document/BlockRules.h"
#include "core/document/CDocument.h"
#include "core/document/StepRowsModel.h"
#include "core/document/StepText.h"

#include <QString>

namespace {

// Line breaks as the XML parser counts them: CR LF, CR and LF are one each.
int lineBreaks(const QString &text)
{
    int breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' ||
            (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            ++breaks;
    }
    return breaks;
}

bool isBlockTag(const QString &name)
{
    return name == QLatin1String("if") || name == QLatin1String("loop") ||
           name == QLatin1String("endif") || name == QLatin1String("endloop");
}

// Lines the writer gives row: an enabled or disabled block tag is one line; other rows are as
// many as their text has.
int rowLines(const CDocument &doc, int row)
{
    const StepView step = doc.View(row);
    if (!step)
        return 1 + lineBreaks(doc.Rows()->rowText(row));
    if (!step.IsComment() && isBlockTag(step.ElementName()))
        return 1;
    return 1 + lineBreaks(BuildStepText(step));
}

// The row whose written text holds line, or -1.
int rowAtLine(const CDocument &doc, int line)
{
    // The root line, the header, then the body's start tag.
    int next = 1 + 1 + lineBreaks(BuildHeaderText(doc.Header())) + 1;
    for (int row = 0; row < doc.RowCount() && next <= line; ++row) {
        next += rowLines(doc, row);
        if (line < next)
            return row;
    }
    return -1;
}

// The first closer that closes no open block of its kind, or else the innermost opener left
// open; -1 when the blocks balance.
int unbalancedRow(const CDocument &doc)
{
    std::vector<int> open;
    for (int row = 0; row < doc.RowCount(); ++row) {
        const StepView step = doc.View(row);
        if (!step || step.IsComment() || step.Disabled())
            continue;
        const QString &name = step.ElementName();
        if (name == QLatin1String("if") || name == QLatin1String("loop")) {
            open.push_back(row);
        } else if (BlockRules::IsCloser(name) && name != QLatin1String("else")) {
            const bool closesIf = name == QLatin1String("endif");
            if (open.empty() ||
                doc.ElementName(open.back()) != QLatin1String(closesIf ? "if" : "loop"))
                return row;
            open.pop_back();
        }
    }
    return open.empty() ? -1 : open.back();
}

} // namespace

int BlockFaultRow(const CDocument &doc, const BlockCheck &check)
{
    if (check.Result == BlockCheckResult::Ok)
        return -1;
    if (check.Place.known()) {
        if (const int row = rowAtLine(doc, check.Place.Line); row >= 0)
            return row;
    }
    return unbalancedRow(doc);
}

TextPlace RowPlace(const std::vector<TextPlace> &rowPlaces, int row)
{
    return row >= 0 && std::size_t(row) < rowPlaces.size() ? rowPlaces[std::size_t(row)]
                                                           : TextPlace();
}
