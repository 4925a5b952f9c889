#include "core/document/StepSearch.h"

#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "core/document/StepView.h"
#include "core/zml/TextSink.h"

#include <QStringMatcher>

namespace StepSearch {

namespace {

// Matches rows against one text, reusing its matcher and its buffer for the visible text.
class RowMatcher {
public:
    RowMatcher(const QString &text, const Options &options)
        : m_matcher(text, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
          m_sourceMode(options.sourceMode)
    {}
    bool matches(const StepView &step)
    {
        if (in(step.Text()))
            return true;
        for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
            if (in(step.ValueAt(i)))
                return true;
        }
        m_visible.clear();
        if (m_sourceMode) {
            TextSink sink(m_visible);
            AppendStepText(sink, step);
        } else {
            AppendStepInfo(m_visible, step);
        }
        return in(m_visible);
    }

private:
    bool in(QStringView text) const { return m_matcher.indexIn(text) >= 0; }

    QStringMatcher m_matcher;
    bool m_sourceMode;
    QString m_visible;
};

} // namespace

bool Matches(const StepView &step, const QString &text, const Options &options)
{
    return !text.isEmpty() && RowMatcher(text, options).matches(step);
}

Found Find(const CDocument &doc, const QString &text, int start, bool forward,
           const Options &options)
{
    Found found;
    const int count = doc.RowCount();
    if (count == 0 || text.isEmpty())
        return found;
    // Starting past the end (or before the start, backwards) wraps at once.
    bool passedEnd = false;
    if (start < 0 || start >= count) {
        passedEnd = forward ? start >= count : start < 0;
        start = forward ? 0 : count - 1;
    }
    const int step = forward ? 1 : -1;
    RowMatcher matcher(text, options);
    int row = start;
    for (int visited = 0; visited < count; ++visited) {
        const StepView element = doc.View(row);
        if (element && matcher.matches(element)) {
            found.row = row;
            found.wrapped = passedEnd || (forward ? row < start : row > start);
            return found;
        }
        row += step;
        if (row == count)
            row = 0;
        else if (row < 0)
            row = count - 1;
    }
    return found;
}

} // namespace StepSearch
