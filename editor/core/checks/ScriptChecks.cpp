#include "core/checks/ScriptChecks.h"

#include "CatalogueModel.h"
#include "core/document/CDocument.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

namespace ScriptChecks {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ScriptChecks", text);
}

enum class Block { If, Loop };

struct OpenBlock {
    Block block;
    int row;
};

QString blockName(Block block)
{
    return block == Block::If ? tr("If") : tr("Loop");
}

QString closerName(Block block)
{
    return block == Block::If ? tr("End If") : tr("End Loop");
}

// Walks the rows once with a stack of the blocks open so far.
class Checker {
public:
    explicit Checker(const CDocument &doc) : m_doc(doc) {}

    std::vector<Problem> run()
    {
        for (int row = 0, count = m_doc.RowCount(); row < count; ++row) {
            const StepView step = m_doc.View(row);
            if (!step || step.IsComment())
                continue;
            checkBlock(row, step);
            if (!step.Disabled())
                checkValues(row, step);
        }
        for (const OpenBlock &open : m_open)
            add(open.row, ProblemKind::OpenerWithoutCloser,
                tr("%1 without %2").arg(blockName(open.block), closerName(open.block)));
        std::stable_sort(m_problems.begin(), m_problems.end(),
                         [](const Problem &a, const Problem &b) { return a.row < b.row; });
        return std::move(m_problems);
    }

private:
    void add(int row, ProblemKind kind, const QString &text)
    {
        m_problems.push_back({row, kind, text});
    }

    void checkBlock(int row, const StepView &step)
    {
        const QString &name = step.ElementName();
        if (name == QLatin1String("endif")) {
            close(row, Block::If);
        } else if (name == QLatin1String("endloop")) {
            close(row, Block::Loop);
        } else if (step.Disabled()) {
            return; // written inside a comment: opens nothing
        } else if (name == QLatin1String("if")) {
            m_open.push_back({Block::If, row});
        } else if (name == QLatin1String("loop")) {
            m_open.push_back({Block::Loop, row});
        } else if (name == QLatin1String("else") &&
                   (m_open.empty() || m_open.back().block != Block::If)) {
            add(row, ProblemKind::ElseOutsideIf, tr("Else outside an If"));
        }
    }

    // A closer ends the innermost open block of its kind; one of another kind in between
    // crosses it (reported once, at the closer, and left open for its own closer).
    void close(int row, Block block)
    {
        const auto match = std::find_if(m_open.rbegin(), m_open.rend(),
                                        [block](const OpenBlock &o) { return o.block == block; });
        if (match == m_open.rend()) {
            add(row, ProblemKind::CloserWithoutOpener,
                tr("%1 without %2").arg(closerName(block), blockName(block)));
            return;
        }
        if (match != m_open.rbegin()) {
            const OpenBlock inner = m_open.back();
            add(row, ProblemKind::CrossedBlocks,
                tr("%1 crosses the %2 of line %3")
                    .arg(closerName(block), blockName(inner.block))
                    .arg(inner.row + 1));
        }
        m_open.erase(std::next(match).base());
    }

    void checkValues(int row, const StepView &step)
    {
        if (!knownAction(step.ElementName())) {
            add(row, ProblemKind::UnknownAction,
                tr("The action \"%1\" is not in the catalogue").arg(step.ElementName()));
            return;
        }
        for (int i = 0, count = step.AttributeCount(); i < count; ++i) {
            const CAttribute &definition = step.DefinitionAt(i);
            // A yes/no value always holds one of its two answers in the properties dialog.
            if (!definition.Required || definition.DataType == stepsmith::catalogue::Boolean ||
                !step.ValueAt(i).isEmpty())
                continue;
            const QString &name = definition.Description.isEmpty() ? definition.AttributeName
                                                                   : definition.Description;
            add(row, ProblemKind::EmptyRequiredValue, requiresValue(name));
        }
        if (step.ContainsText() && step.TextRequired() && step.Text().isEmpty())
            add(row, ProblemKind::EmptyRequiredValue,
                requiresValue(step.TextDescription().isEmpty() ? tr("Text")
                                                               : step.TextDescription()));
    }

    static QString requiresValue(const QString &name)
    {
        return tr("\"%1\" requires a value").arg(name);
    }

    bool knownAction(const QString &elementName)
    {
        const auto cached = m_known.constFind(elementName);
        if (cached != m_known.constEnd())
            return *cached;
        const bool known = m_doc.Catalogue().Contains(elementName);
        m_known.insert(elementName, known);
        return known;
    }

    const CDocument &m_doc;
    std::vector<OpenBlock> m_open;
    std::vector<Problem> m_problems;
    QHash<QString, bool> m_known; // element names looked up in the catalogue
};

} // namespace

bool IsBlockProblem(ProblemKind kind)
{
    return kind == ProblemKind::CloserWithoutOpener || kind == ProblemKind::OpenerWithoutCloser ||
           kind == ProblemKind::CrossedBlocks;
}

std::vector<Problem> CheckDocument(const CDocument &doc)
{
    return Checker(doc).run();
}

int FirstBlockProblemRow(const std::vector<Problem> &problems)
{
    for (const Problem &problem : problems) {
        if (IsBlockProblem(problem.kind))
            return problem.row;
    }
    return -1;
}

} // namespace ScriptChecks
