#pragma once

#include "core/document/StepRow.h"
#include "core/document/StepRowStore.h"
#include "core/document/StepRowsRoles.h"

#include <QAbstractListModel>

#include <functional>
#include <vector>

class StepView;

// The rows of the step list in document order: step id, row text and block depth per row.
// Batch operations emit one signal per contiguous block and cost O(rows) overall, so scripts
// of 100 000 steps stay fast.
//
// Row text: a row's explicit text (StepRow::text, setRowText) when it is not null, otherwise
// the text the row text provider builds from the row's step id (empty without a provider).
// The document stores no text and installs a provider, so the text always follows the step;
// after editing a step, RefreshRow tells the views.
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
    // Calls fn(index, row) for every row in order (cheaper than reading them one by one).
    template <typename Fn> void forEachRow(Fn fn) const { m_rows.forEach(fn); }
    // Row text (the step's ZML line) of a row: its explicit text, or the provider's.
    QString rowText(int row) const;

    // Builds the row text of rows without explicit text from their step id.
    using RowTextProvider = std::function<QString(int stepId)>;
    void setRowTextProvider(RowTextProvider provider);
    // The step of a step id (null when there is none), for the roles that describe the step
    // (element name, comment, disabled, caption and line counts).
    using StepProvider = std::function<StepView(int stepId)>;
    void setStepProvider(StepProvider provider);
    // Tells the views that the text of a row changed (its provider's text follows a step that
    // was edited): emits dataChanged for the display and row text roles.
    void rowTextChanged(int row);

    // Takes rows over as the only rows, when there are none yet (false otherwise); depths
    // below 0 become 0, as on insertion.
    bool adoptRows(StepRowStore &&rows);
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
    // Sets the explicit row text of a row (a null text hands it back to the provider).
    void setRowText(int row, const QString &text);
    // Removes every row.
    void clear();

private:
    // Sorted, unique, in-range copy of rows.
    std::vector<int> normalised(std::vector<int> rows) const;

    StepRowStore m_rows;
    RowTextProvider m_textProvider;
    StepProvider m_stepProvider;
};
