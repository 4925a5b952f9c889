#include "RowLayout.h"

#include "ValueConversion.h"

namespace Fieldpane {

void RowLayout::rebuild(const CListItems &items)
{
    m_lines.clear();
    m_headers.clear();
    m_categories.clear();
    m_rowLines.assign(static_cast<size_t>(items.Count()) + 1, -1);
    // Rows of each category in list order; the rows without one go straight in.
    QHash<QString, std::vector<int>> shownRows;
    int row = 0;
    for (const CListItem &item : items) {
        ++row;
        const QString category = item.Category();
        if (!category.isEmpty() && !shownRows.contains(category)) {
            m_categories << category;
            shownRows.insert(category, {});
        }
        if (!matches(item))
            continue;
        if (category.isEmpty())
            addRow(row);
        else
            shownRows[category].push_back(row);
    }
    for (const QString &category : std::as_const(m_categories)) {
        const std::vector<int> &rows = shownRows[category];
        if (rows.empty())
            continue;
        addHeader(category);
        if (isExpanded(category)) {
            for (const int shown : rows)
                addRow(shown);
        }
    }
}

bool RowLayout::append(const CListItems &items, int row)
{
    if (row != static_cast<int>(m_rowLines.size()))
        return false;
    const CListItem item = items.Item(row);
    const QString category = item.Category();
    // Rows go in at the end only when they belong to the last group of lines.
    if (category.isEmpty() ? hasCategories()
                           : m_categories.contains(category) && m_categories.last() != category)
        return false;
    m_rowLines.push_back(-1);
    if (!category.isEmpty() && !m_categories.contains(category))
        m_categories << category;
    if (!matches(item))
        return true;
    if (!category.isEmpty() && !m_headers.contains(category))
        addHeader(category);
    if (category.isEmpty() || isExpanded(category))
        addRow(row);
    return true;
}

int RowLayout::lineOfRow(int row) const
{
    if (row < 1 || row >= static_cast<int>(m_rowLines.size()))
        return -1;
    return m_rowLines[static_cast<size_t>(row)];
}

void RowLayout::setExpanded(const QString &category, bool expanded)
{
    if (expanded)
        m_collapsed.remove(category);
    else
        m_collapsed.insert(category);
}

bool RowLayout::matches(const CListItem &item) const
{
    if (m_filter.isEmpty())
        return true;
    return item.Name().contains(m_filter, Qt::CaseInsensitive) ||
           valueText(item).contains(m_filter, Qt::CaseInsensitive);
}

void RowLayout::addHeader(const QString &category)
{
    m_headers.insert(category, count());
    m_lines.push_back({0, category});
}

void RowLayout::addRow(int row)
{
    m_rowLines[static_cast<size_t>(row)] = count();
    m_lines.push_back({row, QString()});
}

} // namespace Fieldpane
