#pragma once

#include "document/StepRow.h"
#include "document/StepRowStore.h"
#include "document/StepRowsRoles.h"

#include <QAbstractListModel>

#include <vector>

// The rows of the step list in document order: step id, row text and block depth per row.
// Batch operations emit one signal per contiguous block and cost O(rows) overall, so scripts
// of 100 000 steps stay fast.
class StepRowsModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepRowsModel)

public:
    explicit StepRowsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Number of rows.
    int count() const { return m_rows.size(); }
    // The row at index row (0 <= row < count()).
    const StepRow &row(int row) const { return m_rows.at(row); }
    // Step id of a row.
    int stepId(int row) const { return m_rows.at(row).id; }
    // Block depth of a row.
    int depth(int row) const { return m_rows.at(row).depth; }
    // Row text (the step's ZML line) of a row.
    const QString &rowText(int row) const { return m_rows.at(row).text; }

    // Inserts one row before position (-1 or past the end appends); returns its index.
    int insertStepRow(int position, StepRow row);
    // Inserts rows as one block before position (-1 or past the end appends); returns the
    // index of the first one.
    int insertStepRows(int position, std::vector<StepRow> rows);
    // Removes the given rows (any order; duplicates and out-of-range indexes are ignored).
    void removeStepRows(std::vector<int> rows);
    // Moves each given row one place up or down, keeping their order; refused (false, nothing
    // moved) when a row is already first (up) or last (down), or the set is empty.
    bool moveStepRows(std::vector<int> rows, bool up);
    // Sets the depth of a row (negative values become 0).
    void setDepth(int row, int depth);
    // Sets the row text of a row.
    void setRowText(int row, const QString &text);
    // Removes every row.
    void clear();

private:
    // Sorted, unique, in-range copy of rows.
    std::vector<int> normalised(std::vector<int> rows) const;

    StepRowStore m_rows;
};
