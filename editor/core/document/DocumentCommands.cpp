#include "core/document/DocumentCommands.h"

#include "core/document/CDocument.h"
#include "core/document/CElement.h"
#include "core/document/CElements.h"

#include <algorithm>

namespace {

std::vector<int> sortedUnique(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

DocumentCommand::DocumentCommand(DocumentHistory &history, const QString &text)
    : QUndoCommand(text), m_history(history), m_before(history.selection())
{}

void DocumentCommand::undo()
{
    if (!m_afterKnown) {
        m_after = m_history.selection();
        m_afterKnown = true;
    }
    revert();
    m_history.applySelection(m_before);
}

void DocumentCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    apply();
    if (m_afterKnown)
        m_history.applySelection(m_after);
}

// ---------------------------------------------------------------------------------------------

InsertRowsCommand::InsertRowsCommand(DocumentHistory &history, const QString &text, int position,
                                     std::vector<std::shared_ptr<CElement>> steps,
                                     std::vector<int> depths)
    : DocumentCommand(history, text),
      m_position(position < 0 || position > history.document().RowCount()
                     ? history.document().RowCount()
                     : position),
      m_count(static_cast<int>(steps.size())), m_steps(std::move(steps)),
      m_depths(std::move(depths))
{
    m_depths.resize(m_steps.size(), -1);
}

InsertRowsCommand *InsertRowsCommand::forInserted(DocumentHistory &history, const QString &text,
                                                  int first, int count)
{
    auto *command = new InsertRowsCommand(history, text, first, {});
    command->m_count = count;
    command->markDone();
    return command;
}

void InsertRowsCommand::apply()
{
    std::vector<CDocument::NewStep> entries;
    entries.reserve(m_steps.size());
    for (std::size_t i = 0; i < m_steps.size(); ++i)
        entries.push_back(CDocument::NewStep{nullptr, m_depths[i], m_steps[i]});
    document().InsertSteps(entries, m_position);
    // The document holds the steps now.
    m_steps.clear();
    m_depths.clear();
}

void InsertRowsCommand::revert()
{
    CDocument &doc = document();
    std::vector<int> rows;
    rows.reserve(std::size_t(m_count));
    m_steps.clear();
    m_depths.clear();
    for (int row = m_position; row < m_position + m_count; ++row) {
        rows.push_back(row);
        m_steps.push_back(doc.Step(row));
        m_depths.push_back(doc.Rows()->depth(row));
    }
    doc.RemoveSteps(rows);
}

// ---------------------------------------------------------------------------------------------

RemoveRowsCommand::RemoveRowsCommand(DocumentHistory &history, const QString &text,
                                     std::vector<int> rows)
    : DocumentCommand(history, text), m_rows(sortedUnique(std::move(rows)))
{
    const int count = history.document().RowCount();
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [count](int r) { return r < 0 || r >= count; }),
                 m_rows.end());
}

void RemoveRowsCommand::apply()
{
    CDocument &doc = document();
    m_steps.clear();
    m_depths.clear();
    m_steps.reserve(m_rows.size());
    m_depths.reserve(m_rows.size());
    for (int row : m_rows) {
        m_steps.push_back(doc.Step(row));
        m_depths.push_back(doc.Rows()->depth(row));
    }
    doc.RemoveSteps(m_rows);
}

void RemoveRowsCommand::revert()
{
    // Runs of consecutive rows in ascending order: each lands at its old index.
    CDocument &doc = document();
    std::size_t begin = 0;
    while (begin < m_rows.size()) {
        std::size_t end = begin + 1;
        while (end < m_rows.size() && m_rows[end] == m_rows[end - 1] + 1)
            ++end;
        std::vector<CDocument::NewStep> entries;
        entries.reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i)
            entries.push_back(CDocument::NewStep{nullptr, m_depths[i], m_steps[i]});
        doc.InsertSteps(entries, m_rows[begin]);
        begin = end;
    }
    m_steps.clear();
    m_depths.clear();
}

// ---------------------------------------------------------------------------------------------

MoveRowsCommand::MoveRowsCommand(DocumentHistory &history, const QString &text,
                                 std::vector<int> rows, bool up)
    : DocumentCommand(history, text), m_rows(sortedUnique(std::move(rows))), m_up(up)
{}

void MoveRowsCommand::apply()
{
    document().MoveSteps(m_rows, m_up);
}

void MoveRowsCommand::revert()
{
    std::vector<int> moved(m_rows);
    for (int &r : moved)
        r += m_up ? -1 : 1;
    // Rows carry their depth along, so moving back restores them exactly.
    document().MoveSteps(moved, !m_up);
}

// ---------------------------------------------------------------------------------------------

DepthCommand::DepthCommand(DocumentHistory &history, const QString &text, std::vector<int> rows,
                           bool indent)
    : DocumentCommand(history, text), m_rows(sortedUnique(std::move(rows))), m_indent(indent)
{
    const CDocument &doc = history.document();
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [&doc](int r) { return r < 0 || r >= doc.RowCount(); }),
                 m_rows.end());
    m_depths.reserve(m_rows.size());
    for (int row : m_rows)
        m_depths.push_back(doc.Rows()->depth(row));
}

void DepthCommand::apply()
{
    if (m_indent)
        document().Indent(m_rows);
    else
        document().Outdent(m_rows);
}

void DepthCommand::revert()
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        document().SetDepth(m_rows[i], m_depths[i]);
}

// ---------------------------------------------------------------------------------------------

DisableCommand::DisableCommand(DocumentHistory &history, const QString &text, std::vector<int> rows,
                               bool disabled)
    : DocumentCommand(history, text), m_rows(sortedUnique(std::move(rows))), m_disabled(disabled)
{
    const CDocument &doc = history.document();
    m_rows.erase(
        std::remove_if(m_rows.begin(), m_rows.end(), [&doc](int r) { return !doc.View(r); }),
        m_rows.end());
    m_before.reserve(m_rows.size());
    for (int row : m_rows)
        m_before.push_back(doc.View(row).Disabled() ? 1 : 0);
}

void DisableCommand::apply()
{
    CDocument &doc = document();
    for (int row : m_rows) {
        doc.SetStepDisabled(row, m_disabled);
        doc.RefreshRow(row);
    }
    doc.SetDirty(true);
}

void DisableCommand::revert()
{
    CDocument &doc = document();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        doc.SetStepDisabled(m_rows[i], m_before[i] != 0);
        doc.RefreshRow(m_rows[i]);
    }
}

// ---------------------------------------------------------------------------------------------

EditStepCommand::EditStepCommand(DocumentHistory &history, const QString &text, int row,
                                 std::shared_ptr<const CElement> after)
    : DocumentCommand(history, text), m_row(row), m_after(std::move(after))
{
    if (const auto step = history.document().Step(row))
        m_before = CElements::Copy(*step);
}

void EditStepCommand::assign(const CElement &values)
{
    const auto step = document().Step(m_row);
    if (!step)
        return;
    step->ElementName = values.ElementName;
    step->Description = values.Description;
    step->ContainsText = values.ContainsText;
    step->TextRequired = values.TextRequired;
    step->TextAllowMultiLine = values.TextAllowMultiLine;
    step->Parent = values.Parent;
    step->Text = values.Text;
    step->TextDescription = values.TextDescription;
    step->Information = values.Information;
    step->IsComment = values.IsComment;
    step->Disabled = values.Disabled;
    step->Attributes().CopyFrom(values.Attributes());
    document().RefreshRow(m_row);
    document().SetDirty(true);
}

void EditStepCommand::apply()
{
    if (m_after)
        assign(*m_after);
}

void EditStepCommand::revert()
{
    if (m_before)
        assign(*m_before);
}

// ---------------------------------------------------------------------------------------------

HeaderCommand::HeaderCommand(DocumentHistory &history, const QString &text, const CHeader &after)
    : DocumentCommand(history, text), m_before(history.document().Header()), m_after(after)
{}

void HeaderCommand::apply()
{
    document().Header() = m_after;
    document().SetDirty(true);
}

void HeaderCommand::revert()
{
    document().Header() = m_before;
}
