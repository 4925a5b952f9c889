// Drops on the step list: rows dragged within it, and ZML text from other programs. Both are
// built on the document's removal and on paste, as cut and paste would do them.
#include "gui/editing/EditCommands.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/DocumentCommands.h"
#include "core/document/DocumentHistory.h"
#include "core/document/EditRules.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>

int EditCommands::DropRows(const std::vector<int> &dragged, int rowUnderPoint, bool copy)
{
    std::vector<int> rows = dragged;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const int count = m_document.RowCount();
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
        rows.end());
    if (rows.empty())
        return 0;
    int position = EditRules::DropPosition(rowUnderPoint);
    if (position < 0 || position > count)
        position = count;
    const QString text = ClipboardText::CopyText(*m_document.Rows(), rows);
    // Onto one of its own rows, a move goes nowhere.
    if (!copy && std::binary_search(rows.begin(), rows.end(), position))
        return 0;
    if (copy)
        return pasteDropped(text, position, tr("Drop"));

    // A move is the removal and the paste of the removed text, undone as one step.
    QUndoStack *stack = m_history->stack();
    stack->beginMacro(tr("Move"));
    const auto above = std::lower_bound(rows.begin(), rows.end(), position) - rows.begin();
    auto *remove = new RemoveRowsCommand(*m_history, tr("Move"), rows);
    // Clearing the selection first keeps the removal of many rows cheap for the view.
    if (m_list && m_list->selectionModel())
        m_list->selectionModel()->clearSelection();
    stack->push(remove);
    const int dropped = pasteDropped(text, position - static_cast<int>(above), tr("Move"));
    stack->endMacro();
    if (dropped == 0) {
        // The text of the rows did not paste back: the removal is undone and forgotten.
        if (QUndoCommand *move = const_cast<QUndoCommand *>(stack->command(stack->index() - 1))) {
            move->setObsolete(true);
            stack->undo();
        }
    }
    return dropped;
}

int EditCommands::pasteDropped(const QString &text, int position, const QString &undoText)
{
    const RowSelection before = m_history->selection();
    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(
        m_document, text, position >= 0 && position < m_document.RowCount() ? position : -1);
    if (pasted.count <= 0)
        return 0;
    // The reader inserted the steps; the history records them as one step.
    auto *command =
        InsertRowsCommand::forInserted(*m_history, undoText, pasted.first, pasted.count);
    command->setSelectionBefore(before);
    m_history->stack()->push(command);
    std::vector<int> dropped(static_cast<std::size_t>(pasted.count));
    for (int i = 0; i < pasted.count; ++i)
        dropped[static_cast<std::size_t>(i)] = pasted.first + i;
    selectRows(dropped, pasted.first);
    focusList();
    return pasted.count;
}

int EditCommands::DropText(const QString &text, int rowUnderPoint)
{
    return pasteDropped(text, EditRules::DropPosition(rowUnderPoint), tr("Drop"));
}
