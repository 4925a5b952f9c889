#pragma once

#include "fieldpane/CListItems.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <vector>

namespace Fieldpane {

/// The lines a grid shows for its rows: the rows without a category first, then for each
/// category, in the order of its first row, a header line followed by the category's rows
/// unless it is collapsed. With a filter, only rows whose name or value contains its text (in
/// any letter case) are shown, and a category none of whose rows is shown is left out.
class RowLayout final {
public:
    /// One line: a row (its 1-based position in the list) or a category's header (row 0).
    struct Line {
        int row = 0;
        QString category;
        bool isHeader() const { return row == 0; }
    };

    /// Lays the lines out anew from the rows.
    void rebuild(const CListItems &items);
    /// Adds the line of `row`, the row just appended to `items`, when that needs no new
    /// layout; false when it does.
    bool append(const CListItems &items, int row);

    int count() const { return static_cast<int>(m_lines.size()); }
    const Line &at(int line) const { return m_lines[static_cast<size_t>(line)]; }
    /// Line of a row, or of a category's header; -1 when it is not shown.
    int lineOfRow(int row) const;
    int lineOfHeader(const QString &category) const { return m_headers.value(category, -1); }

    /// Categories of the rows, in the order they are shown (filtered out ones too).
    QStringList categories() const { return m_categories; }
    bool hasCategories() const { return !m_categories.isEmpty(); }
    bool isExpanded(const QString &category) const { return !m_collapsed.contains(category); }
    /// Takes effect at the next rebuild.
    void setExpanded(const QString &category, bool expanded);

    QString filter() const { return m_filter; }
    /// Takes effect at the next rebuild.
    void setFilter(const QString &text) { m_filter = text; }
    bool matches(const CListItem &item) const;

private:
    void addHeader(const QString &category);
    void addRow(int row);

    std::vector<Line> m_lines;
    std::vector<int> m_rowLines{-1}; // by row (index 0 unused): its line, -1: not shown
    QHash<QString, int> m_headers;
    QStringList m_categories;
    QSet<QString> m_collapsed;
    QString m_filter;
};

} // namespace Fieldpane
