// Painting the grid's lines and the tooltips of cells too narrow for their text.
#include "PropertyListPrivate.h"

#include "fieldpane/SystemColors.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace Fieldpane {

namespace {
constexpr int ApplicationWorkspace = 12;
constexpr int ActiveCaption = 2;
constexpr int HighlightText = 9;
} // namespace

QRect PropertyList::Private::valueCell(int line) const
{
    const QRect inner = q->contentsRect();
    const int names = shownNameWidth();
    return {inner.left() + names + 1, inner.top() + lineTop(line), scrollLeft() - names - 1,
            rowHeight - 1};
}

QRect PropertyList::Private::checkIndicator(const QRect &cell) const
{
    QStyleOptionButton option;
    option.initFrom(q);
    option.rect = cell.adjusted(NamePadding, 0, 0, 0);
    return q->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, q);
}

QRect PropertyList::Private::colorSwatch(const QRect &cell) const
{
    const int side = qMax(4, cell.height() - 6);
    return {cell.left() + NamePadding, cell.top() + (cell.height() - side) / 2, side, side};
}

QString PropertyList::Private::toolTipAt(const QPoint &pos, QRect &cell) const
{
    const QPoint at = pos - q->contentsRect().topLeft();
    if (at.x() < 0 || at.y() < 0 || at.x() >= scrollLeft() || at.y() >= innerHeight())
        return {};
    const int line = at.y() / rowHeight + topRow;
    if (line >= lineCount() || layout.at(line).isHeader())
        return {};
    const CListItem item = items->Item(layout.at(line).row);
    if (item.isNull())
        return {};
    const int y = (line - topRow) * rowHeight + q->contentsRect().top();
    const int names = shownNameWidth();
    if (at.x() < names) {
        cell = QRect(q->contentsRect().left(), y, names, rowHeight);
        const int room = names - NamePadding - 2 - indentOf(item);
        const bool cut = QFontMetrics(nameFont(item)).horizontalAdvance(item.Name()) > room;
        return cut ? item.Name() : QString();
    }
    cell = QRect(q->contentsRect().left() + names + 1, y, scrollLeft() - names - 1, rowHeight);
    const QString full = valueText(item);
    QString shown = full;
    if (item.ValueType() == hlvTextArea) {
        shown = firstLine(full);
        if (shown != full) {
            QString lines = full;
            return lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        }
    }
    const int room = cell.width() - NamePadding - 2;
    return q->fontMetrics().horizontalAdvance(shown) > room ? shown : QString();
}

void PropertyList::Private::paint(QPainter &painter)
{
    ensureLayout();
    const QRect inner = q->contentsRect();
    const QPalette &pal = q->palette();
    painter.fillRect(inner, SystemColor(ApplicationWorkspace, pal));
    painter.translate(inner.topLeft());
    int y = 0;
    for (int line = topRow; line < lineCount() && y < innerHeight(); ++line, y += rowHeight) {
        const RowLayout::Line &shown = layout.at(line);
        if (shown.isHeader()) {
            const bool selected = headerSelected && shown.category == selectedCategory;
            paintHeader(painter, QRect(0, y, scrollLeft(), rowHeight - 1), shown.category,
                        selected);
        } else {
            paintRow(painter, y, items->Item(shown.row),
                     !headerSelected && shown.row == selectedRow);
        }
    }
    if (y < innerHeight())
        painter.fillRect(QRect(0, y, scrollLeft(), innerHeight() - y), pal.color(QPalette::Base));
}

void PropertyList::Private::paintHeader(QPainter &painter, const QRect &rect,
                                        const QString &category, bool selected)
{
    const QPalette &pal = q->palette();
    const QColor text =
        selected ? SystemColor(HighlightText, pal) : pal.color(QPalette::WindowText);
    // The names' face moved a little towards their text: darker in a light palette, lighter
    // in a dark one.
    const QColor face = pal.color(QPalette::Button);
    const QColor ink = pal.color(QPalette::ButtonText);
    const auto mix = [](int a, int b) {
        return (a * 82 + b * 18) / 100;
    };
    const QColor shade(mix(face.red(), ink.red()), mix(face.green(), ink.green()),
                       mix(face.blue(), ink.blue()));
    painter.fillRect(rect, selected ? SystemColor(ActiveCaption, pal) : shade);
    QStyleOption arrow;
    arrow.initFrom(q);
    arrow.rect = QRect(rect.left(), rect.top(), rowHeight, rect.height()).adjusted(3, 3, -3, -3);
    arrow.palette.setColor(QPalette::WindowText, text);
    arrow.palette.setColor(QPalette::ButtonText, text);
    const bool expanded = layout.isExpanded(category);
    q->style()->drawPrimitive(expanded ? QStyle::PE_IndicatorArrowDown
                                       : QStyle::PE_IndicatorArrowRight,
                              &arrow, &painter, q);
    QFont bold = q->font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    const QRect textRect = rect.adjusted(rowHeight + NamePadding, 0, -2, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(category, Qt::ElideRight, textRect.width()));
}

void PropertyList::Private::paintRow(QPainter &painter, int y, const CListItem &item, bool selected)
{
    const QPalette &pal = q->palette();
    const int names = shownNameWidth();
    const QRect nameRect(0, y, names, rowHeight - 1);
    painter.fillRect(nameRect,
                     selected ? SystemColor(ActiveCaption, pal) : pal.color(QPalette::Button));
    painter.setPen(selected ? SystemColor(HighlightText, pal) : pal.color(QPalette::ButtonText));
    painter.setFont(nameFont(item));
    const QRect nameText = nameRect.adjusted(NamePadding + indentOf(item), 0, -2, 0);
    painter.drawText(
        nameText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        painter.fontMetrics().elidedText(item.Name(), Qt::ElideRight, nameText.width()));
    paintValue(painter, QRect(names + 1, y, scrollLeft() - names - 1, rowHeight - 1), item);
}

void PropertyList::Private::paintValue(QPainter &painter, const QRect &rect, const CListItem &item)
{
    const QPalette &pal = q->palette();
    painter.fillRect(rect, pal.color(QPalette::Base));
    const QColor text =
        pal.color(q->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    painter.setPen(text);
    painter.setFont(q->font());
    QRect textRect = rect.adjusted(NamePadding, 0, -2, 0);
    const eValueTypes type = item.ValueType();
    if (type == hlvBoolean && checkBoxForBooleans) {
        QStyleOptionButton box;
        box.initFrom(q);
        box.rect = checkIndicator(rect);
        box.state |= ToBoolean(item.Value()).value_or(false) ? QStyle::State_On : QStyle::State_Off;
        q->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, q);
        return;
    }
    if (type == hlvColor) {
        const QRect swatch = colorSwatch(rect);
        const QColor color = item.Value().value<QColor>();
        if (color.isValid())
            painter.fillRect(swatch, color);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
        textRect.setLeft(swatch.right() + 1 + NamePadding);
    }
    QString shown = valueText(item);
    if (type == hlvTextArea)
        shown = firstLine(shown);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(shown, Qt::ElideRight, textRect.width()));
}

} // namespace Fieldpane
