#include "core/checks/BlockFolds.h"

#include "core/document/CDocument.h"

#include <algorithm>

namespace {

enum class Kind { None, If, Loop, EndIf, EndLoop };

Kind kindOf(const StepView &step)
{
    const QString &name = step.ElementName();
    if (step.IsComment())
        return Kind::None;
    if (name == QLatin1String("endif"))
        return Kind::EndIf;
    if (name == QLatin1String("endloop"))
        return Kind::EndLoop;
    if (step.Disabled()) // written inside a comment: opens nothing
        return Kind::None;
    if (name == QLatin1String("if"))
        return Kind::If;
    return name == QLatin1String("loop") ? Kind::Loop : Kind::None;
}

} // namespace

std::vector<int> BlockFolds::Closers(const CDocument &doc)
{
    const int count = doc.RowCount();
    std::vector<int> closers(static_cast<std::size_t>(count), -1);
    std::vector<std::pair<Kind, int>> open;
    for (int row = 0; row < count; ++row) {
        const StepView step = doc.View(row);
        const Kind kind = step ? kindOf(step) : Kind::None;
        if (kind == Kind::If || kind == Kind::Loop) {
            open.emplace_back(kind, row);
        } else if (kind == Kind::EndIf || kind == Kind::EndLoop) {
            const Kind opener = kind == Kind::EndIf ? Kind::If : Kind::Loop;
            // The innermost open block of the closer's kind ends; blocks opened inside it and
            // still open are crossed, and stay unpaired.
            const auto match = std::find_if(open.rbegin(), open.rend(),
                                            [opener](const auto &o) { return o.first == opener; });
            if (match == open.rend())
                continue;
            if (match == open.rbegin())
                closers[static_cast<std::size_t>(match->second)] = row;
            open.erase(std::next(match).base());
        }
    }
    return closers;
}

void BlockFolds::update(const CDocument &doc)
{
    m_closers = Closers(doc);
    const int count = doc.RowCount();
    m_ids.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        m_ids[static_cast<std::size_t>(row)] = doc.Rows()->stepId(row);
    // Folds of blocks that no longer exist are dropped.
    QSet<int> kept;
    for (int row = 0; row < count; ++row) {
        if (isOpener(row) && m_folded.contains(m_ids[static_cast<std::size_t>(row)]))
            kept.insert(m_ids[static_cast<std::size_t>(row)]);
    }
    m_folded = std::move(kept);
    computeHidden();
}

bool BlockFolds::isOpener(int row) const
{
    return closerOf(row) >= 0;
}

int BlockFolds::closerOf(int row) const
{
    return row >= 0 && row < static_cast<int>(m_closers.size())
               ? m_closers[static_cast<std::size_t>(row)]
               : -1;
}

bool BlockFolds::isFolded(int row) const
{
    return isOpener(row) && m_folded.contains(m_ids[static_cast<std::size_t>(row)]);
}

bool BlockFolds::setFolded(int row, bool folded)
{
    if (!isOpener(row) || isFolded(row) == folded)
        return false;
    const int id = m_ids[static_cast<std::size_t>(row)];
    if (folded)
        m_folded.insert(id);
    else
        m_folded.remove(id);
    computeHidden();
    return true;
}

void BlockFolds::foldAll()
{
    for (int row = 0, count = static_cast<int>(m_closers.size()); row < count; ++row) {
        if (isOpener(row))
            m_folded.insert(m_ids[static_cast<std::size_t>(row)]);
    }
    computeHidden();
}

void BlockFolds::unfoldAll()
{
    m_folded.clear();
    computeHidden();
}

bool BlockFolds::reveal(int row)
{
    if (row < 0 || row >= static_cast<int>(m_hidden.size()) ||
        !m_hidden[static_cast<std::size_t>(row)])
        return false;
    for (int opener = 0; opener < row; ++opener) {
        if (isFolded(opener) && closerOf(opener) >= row)
            m_folded.remove(m_ids[static_cast<std::size_t>(opener)]);
    }
    computeHidden();
    return true;
}

int BlockFolds::hiddenCount(int row) const
{
    if (!isFolded(row) || m_hidden[static_cast<std::size_t>(row)])
        return 0;
    return closerOf(row) - row;
}

void BlockFolds::computeHidden()
{
    const std::size_t count = m_closers.size();
    m_hidden.assign(count, false);
    m_visibleFolded.clear();
    // Blocks nest, so a sweep that remembers the end of the outermost fold covers them all.
    int hideUntil = -1;
    for (std::size_t row = 0; row < count; ++row) {
        const int r = static_cast<int>(row);
        if (r <= hideUntil) {
            m_hidden[row] = true;
            continue;
        }
        if (isFolded(r)) {
            hideUntil = m_closers[row];
            m_visibleFolded.push_back(r);
        }
    }
}
