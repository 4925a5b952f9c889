#pragma once

#include "core/document/CHeader.h"
#include "core/document/DocumentHistory.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

class CDocument;
class CElement;

// An undoable change of a document. undo and redo restore the rows, the steps, the depths and
// the selection of before and after: the selection before is taken when the command is made,
// the one after when it is first undone. A command made for a change already done (see
// markDone) skips its first redo.
class DocumentCommand : public QUndoCommand {
public:
    DocumentCommand(DocumentHistory &history, const QString &text);

    void undo() final;
    void redo() final;
    // Whether the change shows in the saved file (indenting does not).
    virtual bool changesFile() const { return true; }

    // The selection to restore on undo, when it is not the one at construction.
    void setSelectionBefore(RowSelection selection) { m_before = std::move(selection); }
    // The change is already in the document: the first redo does nothing.
    void markDone() { m_done = true; }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    CDocument &document() const { return m_history.document(); }

private:
    DocumentHistory &m_history;
    RowSelection m_before;
    RowSelection m_after;
    bool m_afterKnown = false;
    bool m_done = false;
};

// Steps inserted as consecutive rows from position (insert from the tree, drop, comment,
// paste). Between undo and redo the command holds the steps themselves and their depths.
class InsertRowsCommand final : public DocumentCommand {
public:
    // steps are handed over; depths -1 (or missing) follow the block rules.
    InsertRowsCommand(DocumentHistory &history, const QString &text, int position,
                      std::vector<std::shared_ptr<CElement>> steps, std::vector<int> depths = {});
    // For count rows from first that are already in the document (a paste).
    static InsertRowsCommand *forInserted(DocumentHistory &history, const QString &text, int first,
                                          int count);
    int firstRow() const { return m_position; }

protected:
    void apply() override;
    void revert() override;

private:
    int m_position;
    int m_count;
    std::vector<std::shared_ptr<CElement>> m_steps;
    std::vector<int> m_depths;
};

// The given rows removed (delete, cut); undo puts each step back at its row with its depth.
class RemoveRowsCommand final : public DocumentCommand {
public:
    RemoveRowsCommand(DocumentHistory &history, const QString &text, std::vector<int> rows);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<int> m_rows; // ascending, each once
    std::vector<std::shared_ptr<CElement>> m_steps;
    std::vector<int> m_depths;
};

// The given rows moved one place up or down.
class MoveRowsCommand final : public DocumentCommand {
public:
    MoveRowsCommand(DocumentHistory &history, const QString &text, std::vector<int> rows, bool up);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<int> m_rows;
    bool m_up;
};

// One level of indent added to or removed from the given rows.
class DepthCommand final : public DocumentCommand {
public:
    DepthCommand(DocumentHistory &history, const QString &text, std::vector<int> rows, bool indent);
    bool changesFile() const override { return false; }

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<int> m_rows;
    std::vector<int> m_depths; // before
    bool m_indent;
};

// The Disabled flag of the given rows' steps set to one value.
class DisableCommand final : public DocumentCommand {
public:
    DisableCommand(DocumentHistory &history, const QString &text, std::vector<int> rows,
                   bool disabled);

protected:
    void apply() override;
    void revert() override;

private:
    std::vector<int> m_rows;
    std::vector<char> m_before;
    bool m_disabled;
};

// A step's values (fields, text, flags, attribute values) replaced (properties, comment).
class EditStepCommand final : public DocumentCommand {
public:
    // after holds the new values; the step's current values are kept for undo.
    EditStepCommand(DocumentHistory &history, const QString &text, int row,
                    std::shared_ptr<const CElement> after);

protected:
    void apply() override;
    void revert() override;

private:
    void assign(const CElement &values);

    int m_row;
    std::shared_ptr<const CElement> m_before;
    std::shared_ptr<const CElement> m_after;
};

// The script header replaced (file properties).
class HeaderCommand final : public DocumentCommand {
public:
    HeaderCommand(DocumentHistory &history, const QString &text, const CHeader &after);

protected:
    void apply() override;
    void revert() override;

private:
    CHeader m_before;
    CHeader m_after;
};
