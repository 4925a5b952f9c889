#include "core/document/DocumentHistory.h"

#include "core/document/CDocument.h"
#include "core/document/DocumentCommands.h"
#include "core/document/SelectionState.h"

#include <QItemSelectionModel>
#include <QUndoStack>

#include <algorithm>

DocumentHistory::DocumentHistory(CDocument &document, QObject *parent)
    : QObject(parent), m_document(document), m_stack(new QUndoStack(this))
{
    connect(m_stack, &QUndoStack::indexChanged, this, &DocumentHistory::updateDirty);
    connect(m_stack, &QUndoStack::cleanChanged, this, &DocumentHistory::updateDirty);
    // A save (or a read) clears the flag: that state is the clean one from now on.
    connect(&m_document, &CDocument::dirtyChanged, this, [this](bool dirty) {
        if (!dirty && !m_updating)
            m_stack->setClean();
    });
    // Reading a file replaces every row: the history of the rows before ends there.
    connect(&m_document, &CDocument::loadingStarted, this, &DocumentHistory::clear);
}

DocumentHistory::~DocumentHistory()
{
    // The stack clears itself when deleted; nobody may hear of it (the document and the
    // window may be gone).
    m_stack->blockSignals(true);
}

void DocumentHistory::setSelectionModel(QItemSelectionModel *model)
{
    m_selection = model;
}

RowSelection DocumentHistory::selection() const
{
    RowSelection result;
    if (!m_selection)
        return result;
    result.rows = SelectedRowsOf(m_selection->selection());
    const QModelIndex current = m_selection->currentIndex();
    result.current = current.isValid() ? current.row() : -1;
    return result;
}

void DocumentHistory::applySelection(const RowSelection &selection) const
{
    if (!m_selection || !m_selection->model())
        return;
    const QAbstractItemModel *model = m_selection->model();
    const int count = model->rowCount();
    const std::vector<int> &rows = selection.rows;
    QItemSelection ranges;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        if (rows[i] >= 0 && rows[j] < count)
            ranges.select(model->index(rows[i], 0), model->index(rows[j], 0));
        i = j + 1;
    }
    if (selection.current >= 0 && selection.current < count)
        m_selection->setCurrentIndex(model->index(selection.current, 0),
                                     QItemSelectionModel::NoUpdate);
    else
        m_selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_selection->select(ranges, QItemSelectionModel::ClearAndSelect);
}

void DocumentHistory::clear()
{
    m_stack->clear();
    updateDirty();
}

void DocumentHistory::clearUnsaved()
{
    m_stack->clear();
    m_stack->resetClean();
    updateDirty();
}

bool DocumentHistory::changesFileBetween(int from, int to) const
{
    for (int i = std::min(from, to); i < std::max(from, to); ++i) {
        const auto *command = dynamic_cast<const DocumentCommand *>(m_stack->command(i));
        if (command == nullptr || command->changesFile())
            return true;
    }
    return false;
}

void DocumentHistory::updateDirty()
{
    const int clean = m_stack->cleanIndex();
    const bool dirty = clean < 0 || changesFileBetween(clean, m_stack->index());
    m_updating = true;
    m_document.SetDirty(dirty);
    m_updating = false;
}
