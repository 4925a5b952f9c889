#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class CDocument;
class QItemSelectionModel;
class QUndoStack;

// Selected rows (ascending) and the current row (-1 when none) of the step list.
struct RowSelection {
    std::vector<int> rows;
    int current = -1;
};

// The undo history of a document. Commands (DocumentCommands.h) change the document only
// through its own operations and restore the step list's selection through the selection
// model set here. The document's changed flag follows the history: it is set exactly while a
// command that changes the saved file lies between the current state and the clean state.
// Saving (the document's flag going false) marks the clean state; clear starts afresh, and
// so does reading a file into the document.
class DocumentHistory final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentHistory)

public:
    explicit DocumentHistory(CDocument &document, QObject *parent = nullptr);
    ~DocumentHistory() override;

    CDocument &document() const { return m_document; }
    QUndoStack *stack() const { return m_stack; }

    // The selection that commands save and restore (the step list's; may be null).
    void setSelectionModel(QItemSelectionModel *model);
    RowSelection selection() const;
    void applySelection(const RowSelection &selection) const;

    // Starts a fresh history whose clean state is the document as it is.
    void clear();
    // Starts a fresh history without a clean state: the document as it is differs from its
    // file (a recovered script), and stays changed however far it is undone.
    void clearUnsaved();

private:
    void updateDirty();
    bool changesFileBetween(int from, int to) const;

    CDocument &m_document;
    QUndoStack *m_stack;
    QPointer<QItemSelectionModel> m_selection;
    bool m_updating = false;
};
