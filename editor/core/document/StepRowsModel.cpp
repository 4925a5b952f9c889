#include "core/document/StepRowsModel.h"

#include "core/document/StepAccessibility.h"
#include "core/document/StepRowGeometry.h"
#include "core/document/StepView.h"

#include <algorithm>

StepRowsModel::StepRowsModel(QObject *parent) : QAbstractListModel(parent) {}

int StepRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant StepRowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const StepRow &r = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case RowTextRole:
        return rowText(index.row());
    case StepIdRole:
        return r.id;
    case DepthRole:
        return r.depth;
    default:
        break;
    }
    const StepView step = m_stepProvider ? m_stepProvider(r.id) : StepView();
    if (!step)
        return {};
    switch (role) {
    case ElementNameRole:
        return step.ElementName();
    case CommentRole:
        return step.IsComment();
    case DisabledRole:
        return step.Disabled();
    case CaptionRole:
        return VisualCaption(step);
    case CaptionLinesRole:
        return CaptionLines(step);
    case RowTextLinesRole:
        return RowTextLines(step);
    case Qt::AccessibleTextRole:
        return StepAccessibleName(step);
    case Qt::AccessibleDescriptionRole:
        return StepAccessibleDescription(step, index.row() + 1, r.depth);
    default:
        return {};
    }
}

void StepRowsModel::setStepProvider(StepProvider provider)
{
    m_stepProvider = std::move(provider);
}

QHash<int, QByteArray> StepRowsModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(StepIdRole, "stepId");
    names.insert(DepthRole, "depth");
    names.insert(RowTextRole, "rowText");
    names.insert(ElementNameRole, "elementName");
    names.insert(CommentRole, "comment");
    names.insert(DisabledRole, "disabled");
    names.insert(CaptionRole, "caption");
    names.insert(CaptionLinesRole, "captionLines");
    names.insert(RowTextLinesRole, "rowTextLines");
    return names;
}

QString StepRowsModel::rowText(int row) const
{
    const StepRow &r = m_rows.at(row);
    return !r.text.isNull() || !m_textProvider ? r.text : m_textProvider(r.id);
}

void StepRowsModel::setRowTextProvider(RowTextProvider provider)
{
    m_textProvider = std::move(provider);
    if (m_rows.size() > 0)
        emit dataChanged(index(0), index(m_rows.size() - 1),
                         {Qt::DisplayRole, RowTextRole, ElementNameRole, CommentRole, DisabledRole,
                          CaptionRole, CaptionLinesRole, RowTextLinesRole});
}

void StepRowsModel::rowTextChanged(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const QModelIndex i = index(row);
    emit dataChanged(i, i,
                     {Qt::DisplayRole, RowTextRole, ElementNameRole, CommentRole, DisabledRole,
                      CaptionRole, CaptionLinesRole, RowTextLinesRole});
}

int StepRowsModel::insertStepRow(int position, StepRow row)
{
    std::vector<StepRow> rows;
    rows.push_back(std::move(row));
    return insertStepRows(position, std::move(rows));
}

bool StepRowsModel::adoptRows(StepRowStore &&rows)
{
    if (m_rows.size() > 0)
        return false;
    if (rows.size() == 0)
        return true;
    rows.update([](StepRow &r) { r.depth = std::max(r.depth, 0); });
    beginInsertRows(QModelIndex(), 0, rows.size() - 1);
    m_rows = std::move(rows);
    endInsertRows();
    return true;
}

int StepRowsModel::insertStepRows(int position, std::vector<StepRow> rows)
{
    if (position < 0 || position > m_rows.size())
        position = m_rows.size();
    if (rows.empty())
        return position;
    for (StepRow &r : rows)
        r.depth = std::max(r.depth, 0);
    const int last = position + static_cast<int>(rows.size()) - 1;
    beginInsertRows(QModelIndex(), position, last);
    m_rows.insert(position, std::move(rows));
    endInsertRows();
    return position;
}

std::vector<int> StepRowsModel::normalised(std::vector<int> rows) const
{
    const int size = m_rows.size();
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [size](int r) { return r < 0 || r >= size; }),
        rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void StepRowsModel::removeStepRows(std::vector<int> rows)
{
    rows = normalised(std::move(rows));
    // Contiguous runs from the last to the first, so earlier indexes stay valid.
    auto end = rows.size();
    while (end > 0) {
        auto begin = end - 1;
        while (begin > 0 && rows[begin - 1] == rows[begin] - 1)
            --begin;
        const int first = rows[begin];
        const int last = rows[end - 1];
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        end = begin;
    }
}

bool StepRowsModel::moveStepRows(std::vector<int> rows, bool up)
{
    rows = normalised(std::move(rows));
    if (rows.empty())
        return false;
    if (up ? rows.front() == 0 : rows.back() == m_rows.size() - 1)
        return false;
    // Each run of selected rows swaps places with the one unselected row next to it.
    std::size_t begin = 0;
    while (begin < rows.size()) {
        std::size_t end = begin + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1)
            ++end;
        const int first = rows[begin];
        const int last = rows[end - 1];
        const int from = up ? first - 1 : last + 1;
        const int to = up ? last + 1 : first; // destination in Qt's "before row" terms
        beginMoveRows(QModelIndex(), from, from, QModelIndex(), to);
        std::vector<StepRow> moved;
        moved.push_back(std::move(m_rows.at(from)));
        m_rows.remove(from, 1);
        m_rows.insert(up ? last : first, std::move(moved));
        endMoveRows();
        begin = end;
    }
    return true;
}

void StepRowsModel::setDepth(int row, int depth)
{
    if (row < 0 || row >= m_rows.size())
        return;
    depth = std::max(depth, 0);
    if (m_rows.at(row).depth == depth)
        return;
    m_rows.at(row).depth = depth;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {DepthRole});
}

void StepRowsModel::setRowText(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows.at(row).text = text;
    rowTextChanged(row);
}

void StepRowsModel::clear()
{
    if (m_rows.size() == 0)
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
