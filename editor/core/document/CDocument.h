#pragma once

#include "core/document/CElements.h"
#include "core/document/CHeader.h"
#include "core/document/StepBatch.h"
#include "core/document/StepRowsModel.h"
#include "core/document/StepStore.h"
#include "core/document/StepView.h"

#include <QObject>

#include <memory>
#include <set>
#include <vector>

// Steps read for a document that does not take them yet (a file being read is not known to be a
// script until its end): stored as the document stores them, with ids from 1 in row order, so
// that the document takes them over at once (CDocument::AdoptSteps).
class StagedSteps final {
public:
    // Stores batch's steps after those staged before, with the depths given.
    void add(StepBatch &&batch);
    // Takes the steps of other over after those staged before, their depths moved by depthMove.
    void append(StagedSteps &&other, int depthMove);
    void clear();
    int count() const { return m_rows.size(); }
    // The step and the depth of a staged row (0 <= row < count()).
    StepView View(int row) const { return m_store.View(m_rows.at(row).id); }
    int Depth(int row) const { return m_rows.at(row).depth; }

private:
    friend class CDocument;
    StepStore m_store;
    // In the chunks the document keeps, so that it takes them over without moving a row.
    StepRowStore m_rows;
};

// The open script: the action catalogue, the steps (by id, in a StepStore), the header, the rows
// of the step list in document order, the file name and the changed flag. Every step enters the
// document through InsertStep or InsertSteps and leaves it through RemoveSteps or Clear.
class CDocument final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDocument)

public:
    // One step of a batch insert: the step to copy and its row depth (-1: by the block rules).
    struct NewStep {
        std::shared_ptr<const CElement> step;
        int depth = -1;
        // Set instead of step to hand a new element over: it is stored as is, not copied.
        std::shared_ptr<CElement> owned = {};
    };

    explicit CDocument(QObject *parent = nullptr);
    ~CDocument() override;

    // The action catalogue (filled by the catalogue loader).
    CElements &Catalogue() { return m_catalogue; }
    const CElements &Catalogue() const { return m_catalogue; }
    // Number of steps.
    int StepCount() const { return m_store.Count(); }
    // Non-empty "name" values of the "var" steps (or "range" steps when ranges is true), in row
    // order, duplicates kept; element names compare exactly.
    QStringList VariableNames(bool ranges) const;
    // The script header.
    CHeader &Header() { return m_header; }
    const CHeader &Header() const { return m_header; }
    // The rows of the step list (for views and for walking the script in order).
    StepRowsModel *Rows() const { return m_rows; }
    // Number of rows (steps).
    int RowCount() const { return m_rows->count(); }

    // Path of the script file ("" for a new document).
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName);
    // True when the script has changes not yet saved.
    bool Dirty() const { return m_dirty; }
    void SetDirty(bool dirty);

    // The id a new step gets: the smallest id from 1 that no step uses.
    int NewStepId() const;
    // The step of a row as an element, for editing (call RefreshRow after a change) or keeping:
    // edits through it are the step's. Null when the row is out of range. Readers that only
    // look use View, which copies nothing.
    std::shared_ptr<CElement> Step(int row) const;
    // A view of the step of a row (null when the row is out of range); valid until the
    // document changes.
    StepView View(int row) const;
    // Calls fn(row, step, depth) for every row in order, step a view of the row's step (null for
    // a row without one); reads nothing but the document (several threads may walk at once).
    template <typename Fn> void ForEachStep(Fn fn) const
    {
        m_rows->forEachRow(
            [this, &fn](int row, const StepRow &r) { fn(row, m_store.View(r.id), r.depth); });
    }
    // The element name of a row's step ("" when there is none).
    const QString &ElementName(int row) const;
    // Adds a copy of a row's step, with the row's depth, to batch (nothing for a row without one).
    void CopyStep(int row, StepBatch &batch) const;
    // Sets the Disabled flag of a row's step; does not set Dirty or refresh the row.
    void SetStepDisabled(int row, bool disabled);
    // Folds steps handed out by Step that nobody holds any more back into the lean store.
    void Settle() const { m_store.Settle(); }

    // Copies step into the document under a new id and inserts its row before position (-1 or
    // past the end appends), with its depth from the block rules; sets Dirty; returns the row.
    int InsertStep(const CElement &step, int position);
    // Inserts copies of steps as consecutive rows before position (-1 appends) in one block;
    // sets Dirty when any was inserted; returns the index of the first row.
    int InsertSteps(const std::vector<NewStep> &steps, int position);
    // Inserts the steps of batch (taking its strings and elements over) in the same way.
    int InsertSteps(StepBatch &&batch, int position);
    // Takes staged's steps over as the rows of a document without rows, as one block, as
    // InsertSteps would insert them.
    void AdoptSteps(StagedSteps &&staged);
    // Removes the given rows and their steps (their ids become free); sets Dirty when any row
    // was removed; returns the number removed.
    int RemoveSteps(const std::vector<int> &rows);
    // Moves the given rows one place up or down keeping their order; sets Dirty on success.
    bool MoveSteps(const std::vector<int> &rows, bool up);
    // Tells the views that a row's step was edited (its row text, built from the step, and its
    // height may have changed). Every change to a step's content is followed by this call.
    void RefreshRow(int row);
    // Sets the depth of a row (negative values become 0).
    void SetDepth(int row, int depth);
    // Adds one level to each given row below the largest depth; does not set Dirty.
    void Indent(const std::vector<int> &rows);
    // Removes one level from each given row above 0; does not set Dirty.
    void Outdent(const std::vector<int> &rows);
    // Starts a new document: no rows or steps, header reset, no file name, Dirty false.
    void Clear();

signals:
    // A single step was inserted at row (the window selects it alone and focuses the list).
    void stepInserted(int row);
    // count steps were inserted as one block starting at firstRow.
    void stepsInserted(int firstRow, int count);
    void fileNameChanged(const QString &fileName);
    void dirtyChanged(bool dirty);
    // The content may have changed (steps, rows, depths, a step's fields, or Dirty set).
    void documentChanged();
    // Reading a file replaces the rows: the list may hide and stop painting until finished.
    void loadingStarted();
    void loadingFinished();

private:
    int takeStepId();
    void releaseStepId(int id);
    // Inserts the rows of count entries before position: present(i) tells whether entry i is a
    // step, store(i, id) stores it under id and returns its depth (-1: by the block rules).
    template <typename Present, typename Store>
    int insertRows(std::size_t count, int position, Present present, Store store);

    CElements m_catalogue;
    // Detaching a step and settling change how a step is held, never what it holds.
    mutable StepStore m_store;
    CHeader m_header;
    StepRowsModel *m_rows;
    QString m_fileName;
    bool m_dirty = false;
    // Ids in use are 1..m_highestId except those in m_freeIds.
    int m_highestId = 0;
    std::set<int> m_freeIds;
};
