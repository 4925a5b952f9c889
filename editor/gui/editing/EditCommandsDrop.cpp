// Drops on the step list: rows dragged within it, and ZML text from other programs. Both are
// built on the document's removal and on paste, as cut and paste would do them.
#include "gui/editing/EditCommands.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/EditRules.h"

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
    if (!copy) {
        // Onto one of its own rows, a move goes nowhere.
        if (std::binary_search(rows.begin(), rows.end(), position))
            return 0;
        const auto above = std::lower_bound(rows.begin(), rows.end(), position) - rows.begin();
        m_document.RemoveSteps(rows);
        position -= static_cast<int>(above);
    }
    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(
        m_document, text, position < m_document.RowCount() ? position : -1);
    if (pasted.count <= 0)
        return 0;
    std::vector<int> dropped(static_cast<std::size_t>(pasted.count));
    for (int i = 0; i < pasted.count; ++i)
        dropped[static_cast<std::size_t>(i)] = pasted.first + i;
    selectRows(dropped, pasted.first);
    focusList();
    return pasted.count;
}

int EditCommands::DropText(const QString &text, int rowUnderPoint)
{
    const int position = EditRules::DropPosition(rowUnderPoint);
    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(
        m_document, text, position < m_document.RowCount() ? position : -1);
    if (pasted.count <= 0)
        return 0;
    std::vector<int> dropped(static_cast<std::size_t>(pasted.count));
    for (int i = 0; i < pasted.count; ++i)
        dropped[static_cast<std::size_t>(i)] = pasted.first + i;
    selectRows(dropped, pasted.first);
    focusList();
    return pasted.count;
}
