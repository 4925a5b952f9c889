#pragma once

// The grid as a table for assistive technology. Not part of the installed headers.
#include <QAccessibleWidget>
#include <QHash>

namespace Fieldpane {

class PropertyList;

/// One table row per line of the grid (a row, or a category's header) with a name and a value
/// column; the selected line is the current, selected row. The grid's own widgets (the editor
/// of the selected row, the scroll bar) follow the cells as further children.
class PropertyListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit PropertyListAccessible(PropertyList *grid);
    ~PropertyListAccessible() override;
    Q_DISABLE_COPY_MOVE(PropertyListAccessible)

    /// The factory QAccessible asks for every object; installed by the first grid.
    static QAccessibleInterface *create(const QString &className, QObject *object);
    /// Tells assistive technology that the selected line changed.
    static void notifyCurrentLine(PropertyList *grid, int line);

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int columnCount() const override { return 2; }
    int rowCount() const override;
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return currentLine() >= 0 ? 1 : 0; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return row >= 0 && row == currentLine(); }
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // For the cells.
    PropertyList *grid() const;
    int currentLine() const;
    QString cellText(int line, int column) const;
    QRect cellRect(int line, int column) const;

private:
    mutable QHash<int, QAccessible::Id> m_cells; // by line * 2 + column
};

} // namespace Fieldpane
