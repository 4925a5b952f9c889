#include "PropertyListAccessible.h"

#include "PropertyListPrivate.h"

namespace Fieldpane {

namespace {

// One cell: its text is looked up in the grid whenever asked, so a cell stays right while
// rows change; a cell beyond the last line is invalid.
class CellAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CellAccessible(PropertyListAccessible *table, int line, int column)
        : m_table(table), m_line(line), m_column(column)
    {}

    bool isValid() const override { return m_table->isValid() && m_line < m_table->rowCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_table->window(); }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return m_table; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QRect rect() const override { return m_table->cellRect(m_line, m_column); }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return m_table->cellText(m_line, m_column);
        if (t == QAccessible::Description && m_column == 1)
            return m_table->cellText(m_line, 0);
        return QString();
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = s.selected && m_column == 1 && m_table->grid()->hasFocus();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override { return m_line == m_table->currentLine(); }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_line; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return m_table; }

private:
    PropertyListAccessible *m_table;
    int m_line;
    int m_column;
};

} // namespace

PropertyListAccessible::PropertyListAccessible(PropertyList *grid)
    : QAccessibleWidget(grid, QAccessible::Table)
{}

PropertyListAccessible::~PropertyListAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *PropertyListAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("Fieldpane::PropertyList"))
        return new PropertyListAccessible(static_cast<PropertyList *>(object));
    return nullptr;
}

void PropertyListAccessible::notifyCurrentLine(PropertyList *grid, int line)
{
    if (!QAccessible::isActive() || line < 0)
        return;
    QAccessibleEvent event(grid, QAccessible::Selection);
    event.setChild(line * 2 + 1);
    QAccessible::updateAccessibility(&event);
}

void *PropertyListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

PropertyList *PropertyListAccessible::grid() const
{
    return static_cast<PropertyList *>(widget());
}

int PropertyListAccessible::rowCount() const
{
    auto &d = PropertyListAccess::of(*grid());
    d.syncLayout();
    return d.lineCount();
}

int PropertyListAccessible::currentLine() const
{
    auto &d = PropertyListAccess::of(*grid());
    d.syncLayout();
    return d.currentLine();
}

QString PropertyListAccessible::cellText(int line, int column) const
{
    auto &d = PropertyListAccess::of(*grid());
    d.syncLayout();
    if (line < 0 || line >= d.lineCount())
        return QString();
    const RowLayout::Line &at = d.layout.at(line);
    if (at.isHeader())
        return column == 0 ? at.category : QString();
    const CListItem item = d.items->Item(at.row);
    return column == 0 ? item.Name() : valueText(item);
}

QRect PropertyListAccessible::cellRect(int line, int column) const
{
    const auto &d = PropertyListAccess::of(*grid());
    QRect cell = d.valueCell(line);
    if (column == 0)
        cell = QRect(grid()->contentsRect().left(), cell.top(), cell.left(), cell.height());
    return QRect(grid()->mapToGlobal(cell.topLeft()), cell.size());
}

int PropertyListAccessible::childCount() const
{
    return rowCount() * columnCount() + QAccessibleWidget::childCount();
}

QAccessibleInterface *PropertyListAccessible::child(int index) const
{
    const int cells = rowCount() * columnCount();
    if (index < 0)
        return nullptr;
    if (index >= cells)
        return QAccessibleWidget::child(index - cells);
    return cellAt(index / columnCount(), index % columnCount());
}

int PropertyListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (child == nullptr)
        return -1;
    if (child->role() == QAccessible::Cell && child->parent() == this) {
        auto *cell = const_cast<QAccessibleInterface *>(child)->tableCellInterface();
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    const int own = QAccessibleWidget::indexOfChild(child);
    return own < 0 ? -1 : own + rowCount() * columnCount();
}

QAccessibleInterface *PropertyListAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    const int key = row * columnCount() + column;
    if (const auto found = m_cells.constFind(key); found != m_cells.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new CellAccessible(const_cast<PropertyListAccessible *>(this), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QString PropertyListAccessible::columnDescription(int column) const
{
    return column == 0 ? PropertyList::tr("Name") : PropertyList::tr("Value");
}

QString PropertyListAccessible::rowDescription(int row) const
{
    return cellText(row, 0);
}

QList<QAccessibleInterface *> PropertyListAccessible::selectedCells() const
{
    const int line = currentLine();
    if (line < 0)
        return {};
    return {cellAt(line, 0), cellAt(line, 1)};
}

QList<int> PropertyListAccessible::selectedRows() const
{
    const int line = currentLine();
    return line < 0 ? QList<int>() : QList<int>{line};
}

bool PropertyListAccessible::selectRow(int row)
{
    auto &d = PropertyListAccess::of(*grid());
    d.syncLayout();
    if (row < 0 || row >= d.lineCount())
        return false;
    d.selectLine(row, true);
    return true;
}

} // namespace Fieldpane
