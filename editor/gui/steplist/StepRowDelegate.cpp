#include "gui/steplist/StepRowDelegate.h"

#include "core/document/StepRowGeometry.h"
#include "core/document/StepRowsRoles.h"
#include "gui/steplist/StepRowView.h"

#include <fieldpane/SystemColors.h>

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace G = StepRowGeometry;

namespace {
// System colour indexes of the row painter.
constexpr int kWindow = 5;
constexpr int kAppWorkspace = 12;
constexpr int kHighlight = 13;
constexpr int kHighlightText = 14;
constexpr int kButtonFace = 15;
constexpr int kButtonText = 18;
constexpr int kDarkShadow = 21;

} // namespace

StepRowDelegate::StepRowDelegate(StepRowView *view)
    : QStyledItemDelegate(view->itemView()), m_view(view)
{}

void StepRowDelegate::watchModel(QAbstractItemModel *model)
{
    m_metrics.assign(static_cast<std::size_t>(model ? model->rowCount() : 0), Metrics());
    if (model == nullptr)
        return;
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                const auto at = std::min(m_metrics.size(), static_cast<std::size_t>(first));
                m_metrics.insert(m_metrics.begin() + static_cast<std::ptrdiff_t>(at),
                                 static_cast<std::size_t>(last) - static_cast<std::size_t>(first) +
                                     1,
                                 Metrics());
            });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                const auto size = static_cast<int>(m_metrics.size());
                first = std::min(first, size);
                last = std::min(last + 1, size);
                m_metrics.erase(m_metrics.begin() + first, m_metrics.begin() + last);
            });
    connect(model, &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex &, int first, int last, const QModelIndex &, int dest) {
                const auto size = static_cast<int>(m_metrics.size());
                if (first < 0 || last >= size || dest < 0 || dest > size)
                    return;
                auto begin = m_metrics.begin();
                if (dest < first)
                    std::rotate(begin + dest, begin + first, begin + last + 1);
                else if (dest > last + 1)
                    std::rotate(begin + first, begin + last + 1, begin + dest);
            });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                   const QList<int> &roles) {
                if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole))
                    return; // depth only: the measurements stay valid
                const int last =
                    std::min(bottomRight.row(), static_cast<int>(m_metrics.size()) - 1);
                for (int r = std::max(topLeft.row(), 0); r <= last; ++r)
                    m_metrics[static_cast<std::size_t>(r)] = Metrics();
            });
    auto reset = [this, model] {
        m_metrics.assign(static_cast<std::size_t>(model->rowCount()), Metrics());
    };
    connect(model, &QAbstractItemModel::modelReset, this, reset);
    connect(model, &QAbstractItemModel::layoutChanged, this, reset);
}

void StepRowDelegate::invalidateAll()
{
    std::fill(m_metrics.begin(), m_metrics.end(), Metrics());
    m_fontValid = false;
    m_icons.clear();
}

QFont StepRowDelegate::captionFont() const
{
    if (!m_fontValid)
        fontChanged();
    return m_font;
}

int StepRowDelegate::captionFontGeneration() const
{
    if (!m_fontValid)
        fontChanged();
    return m_fontGeneration;
}

void StepRowDelegate::fontChanged() const
{
    const SharedSettings &s = m_view->Settings();
    QFont font = m_view->itemView()->font();
    if (m_view->ShowZML()) {
        font.setFamily(s.FontNameZML);
        font.setPointSize(std::max(s.FontSizeZML, 1));
        font.setStyleHint(QFont::TypeWriter);
    } else {
        font.setFamily(s.FontName);
        font.setPointSize(std::max(s.FontSize, 1));
    }
    m_font = font;
    m_lineSpacing = QFontMetrics(m_font).lineSpacing();
    m_linesHeight.fill(0);
    m_fontValid = true;
    ++m_fontGeneration;
}

QModelIndex StepRowDelegate::indexOf(int row) const
{
    return m_view->itemView()->model() ? m_view->itemView()->model()->index(row, 0) : QModelIndex();
}

QString StepRowDelegate::caption(int row) const
{
    QString text = indexOf(row).data(m_view->ShowZML() ? RowTextRole : CaptionRole).toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

StepRowDelegate::Metrics &StepRowDelegate::metrics(int row) const
{
    if (static_cast<std::size_t>(row) >= m_metrics.size())
        m_metrics.resize(static_cast<std::size_t>(row) + 1);
    return m_metrics[static_cast<std::size_t>(row)];
}

int StepRowDelegate::textWidth(int row, int viewportWidth) const
{
    const int depth = indexOf(row).data(DepthRole).toInt();
    const int left = G::TextLeft(m_view->gutterWidth(), m_view->IconStyle(), depth);
    return std::max(viewportWidth - G::kTextRightGap - left, 1);
}

int StepRowDelegate::estimatedLines(int row) const
{
    const QVariant lines =
        indexOf(row).data(m_view->ShowZML() ? RowTextLinesRole : CaptionLinesRole);
    return lines.isValid() ? lines.toInt() : 1;
}

int StepRowDelegate::rowHeight(int row, int width) const
{
    if (!m_fontValid)
        fontChanged();
    Metrics &m = metrics(row);
    if (m.naturalWidth < 0 && !m_measureAll) {
        // Not painted yet: the height of its lines, unwrapped, until it is painted.
        if (m.lines <= 0)
            m.lines = estimatedLines(row);
        return G::RowHeight(linesHeight(m.lines), m_view->IconStyle());
    }
    return measuredHeight(row, width);
}

int StepRowDelegate::measuredHeight(int row, int width) const
{
    Metrics &m = metrics(row);
    QString text;
    if (m.naturalWidth < 0) {
        text = caption(row);
        // Fractional advances, rounded up: a line wraps as soon as it is wider than the
        // rectangle by any fraction of a pixel.
        const QFontMetricsF fm(m_font);
        int widest = 0;
        int lines = 0;
        for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
            const qreal advance = fm.horizontalAdvance(line.toString());
            widest = std::max(widest, static_cast<int>(std::ceil(advance)));
            ++lines;
        }
        m.naturalWidth = widest;
        m.lines = std::max(lines, 1);
        m.wrapWidth = -1;
        ++m_measureCount;
    }
    int height = linesHeight(m.lines);
    if (m_view->WordWrap() && m.naturalWidth > width) {
        if (m.wrapWidth != width) {
            if (text.isNull())
                text = caption(row);
            const QFontMetrics fm(m_font);
            m.wrapHeight = fm.boundingRect(QRect(0, 0, width, G::kMaxTextHeight * 64),
                                           Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text)
                               .height();
            m.wrapWidth = width;
            ++m_measureCount;
        }
        height = m.wrapHeight;
    }
    return G::RowHeight(height, m_view->IconStyle());
}

int StepRowDelegate::linesHeight(int lines) const
{
    // The height text of n lines takes as laid out for painting, measured once per count.
    lines = std::max(lines, 1);
    if (lines > kMaxCachedLines)
        return lines * m_lineSpacing;
    auto &cached = m_linesHeight[static_cast<std::size_t>(lines)];
    if (cached == 0) {
        QString sample = QStringLiteral("Xg");
        for (int i = 1; i < lines; ++i)
            sample += QStringLiteral("\nXg");
        cached =
            QFontMetrics(m_font)
                .boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, sample)
                .height();
    }
    return cached;
}

QSize StepRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int viewportWidth = m_view->itemView()->viewport()->width();
    return {viewportWidth, rowHeight(index.row(), textWidth(index.row(), viewportWidth))};
}

QPixmap StepRowDelegate::icon(const QString &elementName) const
{
    const int style = m_view->IconStyle();
    if (style != m_iconsStyle) {
        m_icons.clear();
        m_iconsStyle = style;
    }
    if (style == G::kIconNone)
        return {};
    const auto cached = m_icons.constFind(elementName);
    if (cached != m_icons.constEnd())
        return *cached;
    const QString folder = style == G::kIconLarge ? QStringLiteral("32") : QStringLiteral("16");
    QPixmap pixmap(QStringLiteral(":/icons/%1/%2.png").arg(folder, elementName));
    if (pixmap.isNull())
        pixmap.load(QStringLiteral(":/icons/%1/Default_Icon.png").arg(folder));
    m_icons.insert(elementName, pixmap);
    return pixmap;
}

StepRowDelegate::RowColours StepRowDelegate::coloursOf(const QModelIndex &index,
                                                       bool selected) const
{
    const QPalette &pal = m_view->itemView()->palette();
    const auto sys = [&pal](int i) {
        return Fieldpane::SystemColor(i, pal);
    };
    RowColours c;
    if (selected && m_view->itemView()->hasFocus()) {
        c.rowBrush = c.gutterBrush = sys(kHighlight);
        c.rowText = c.gutterText = sys(kHighlightText);
    } else if (selected) {
        c.rowBrush = c.gutterBrush = sys(kButtonFace);
        c.rowText = c.gutterText = sys(kButtonText);
    } else {
        c.gutterBrush = sys(kAppWorkspace);
        c.gutterText = sys(kHighlightText);
        c.rowBrush = sys(kWindow);
        const bool dim = index.data(CommentRole).toBool() || index.data(DisabledRole).toBool();
        c.rowText =
            dim ? Fieldpane::FromOleColor(m_view->Settings().CommentColor, pal) : sys(kButtonText);
    }
    return c;
}

void StepRowDelegate::paintIcon(QPainter *painter, const QModelIndex &index, const QRect &r,
                                int gutterRight) const
{
    const int style = m_view->IconStyle();
    if (style == G::kIconNone || index.data(CommentRole).toBool())
        return;
    const QPixmap pixmap = icon(index.data(ElementNameRole).toString());
    if (pixmap.isNull())
        return;
    const int cell = G::IconCellSize(style);
    const int side = G::IconSize(style);
    const QRect cellRect(G::IconLeft(gutterRight, style, index.data(DepthRole).toInt()),
                         r.top() + 1, cell, cell);
    const QRect target(cellRect.left() + (cell - side) / 2, cellRect.top() + (cell - side) / 2,
                       side, side);
    painter->drawPixmap(target, pixmap);
}

void StepRowDelegate::paintCaption(QPainter *painter, const QModelIndex &index, const QRect &r,
                                   int gutterRight, const QColor &colour) const
{
    const int row = index.row();
    const int left = G::TextLeft(gutterRight, m_view->IconStyle(), index.data(DepthRole).toInt());
    const int width = textWidth(row, r.right() + 1 - r.left());
    // A row painted for the first time is measured; when its height differs from the
    // estimate the view lays the rows out again.
    if (metrics(row).naturalWidth < 0) {
        const int exact = measuredHeight(row, width);
        if (exact != r.height())
            QMetaObject::invokeMethod(
                const_cast<StepRowDelegate *>(this),
                [self = const_cast<StepRowDelegate *>(this), index = QPersistentModelIndex(index)] {
                    if (index.isValid())
                        emit self->sizeHintChanged(index);
                },
                Qt::QueuedConnection);
    }
    const QRect textRect(left, r.top() + G::kTextTop, width,
                         r.height() - G::kTextTop - G::kRowPadding / 2 + 2);
    int flags = Qt::AlignLeft | Qt::AlignTop;
    if (m_view->WordWrap())
        flags |= Qt::TextWordWrap;
    painter->setPen(colour);
    painter->setClipRect(textRect.intersected(r));
    painter->drawText(textRect, flags, caption(row));
    painter->setClipRect(r);
}

void StepRowDelegate::paintFold(QPainter *painter, int row, const QRect &r, const QColor &rowBrush,
                                const QColor &rowText) const
{
    const StepRowView::Fold fold = m_view->foldAt(row);
    if (fold == StepRowView::Fold::None)
        return;
    // A box with a minus (open) or plus (folded) in the palette's text and base colours.
    const QPalette &pal = m_view->itemView()->palette();
    const QRect box(r.left() + 1, r.top() + G::kGutterTextTop + 1, 10, 10);
    painter->save();
    painter->setPen(pal.color(QPalette::Text));
    painter->setBrush(pal.color(QPalette::Base));
    painter->drawRect(box);
    const QPoint c = box.center();
    painter->drawLine(c.x() - 2, c.y(), c.x() + 3, c.y());
    if (fold == StepRowView::Fold::Folded)
        painter->drawLine(c.x(), c.y() - 2, c.x(), c.y() + 3);
    painter->restore();

    const QString note = m_view->foldNote(row);
    if (note.isEmpty())
        return;
    // The count of hidden rows, framed at the right end of the row's first line.
    const QFontMetrics fm(m_font);
    const int width = fm.horizontalAdvance(note) + 8;
    const QRect noteRect(r.right() - width - G::kTextRightGap, r.top() + G::kTextTop - 1, width,
                         fm.height() + 2);
    painter->save();
    painter->setPen(rowText);
    painter->setBrush(rowBrush);
    painter->drawRect(noteRect.adjusted(0, 0, -1, -1));
    painter->drawText(noteRect, Qt::AlignCenter | Qt::TextSingleLine, note);
    painter->restore();
}

void StepRowDelegate::paintProblemMarker(QPainter *painter, int row, const QRect &r) const
{
    if (m_view->problemAt(row).isEmpty())
        return;
    // A standard warning icon on a disc of the palette's base colour, ringed in its text
    // colour, so that it stands out on light and dark gutters and on the selection alike.
    const QWidget *widget = m_view->itemView();
    const int side = kProblemIconSize;
    // Beside the fold control when the row has one.
    const int left = r.left() + 1 + (m_view->foldAt(row) != StepRowView::Fold::None ? 13 : 0);
    const QRect cell(left, r.top() + G::kGutterTextTop, side, side);
    const QPalette &pal = widget->palette();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(pal.color(QPalette::Text), 1));
    painter->setBrush(pal.color(QPalette::Base));
    painter->drawEllipse(QRectF(cell).adjusted(-0.5, -0.5, 0.5, 0.5));
    const QIcon icon = widget->style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, widget);
    icon.paint(painter, cell.adjusted(1, 1, -1, -1));
    painter->restore();
}

void StepRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    if (m_view->PaintingSuspended() || !index.isValid())
        return;
    if (!m_fontValid)
        fontChanged();
    const int row = index.row();
    const RowColours colours = coloursOf(index, option.state.testFlag(QStyle::State_Selected));
    const QRect r = option.rect;
    const int gutterRight = r.left() + m_view->gutterWidth();

    painter->save();
    painter->setClipRect(r);
    painter->setFont(m_font);
    if (m_view->LineNumbers()) {
        const QRect gutter(r.left(), r.top(), gutterRight - r.left() - 1, r.height());
        painter->fillRect(gutter, colours.gutterBrush);
        painter->setPen(colours.gutterText);
        const QRect numberRect = gutter.adjusted(0, G::kGutterTextTop, -G::kGutterTextRight, 0);
        painter->drawText(numberRect, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                          QString::number(row + 1));
    }
    painter->fillRect(QRect(QPoint(gutterRight, r.top()), r.bottomRight()), colours.rowBrush);
    paintIcon(painter, index, r, gutterRight);
    paintCaption(painter, index, r, gutterRight, colours.rowText);
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        // The current row shows the focus even while nothing is selected.
        QStyleOptionFocusRect focus;
        focus.initFrom(m_view->itemView());
        focus.rect = QRect(QPoint(gutterRight, r.top()), r.bottomRight());
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = colours.rowBrush;
        m_view->itemView()->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                                   m_view->itemView());
    }
    paintFold(painter, row, r, colours.rowBrush, colours.rowText);
    paintProblemMarker(painter, row, r);
    if (m_view->dropMarkerRow() == row) {
        QPen pen(Fieldpane::SystemColor(kDarkShadow, m_view->itemView()->palette()));
        pen.setStyle(Qt::DotLine);
        pen.setWidth(1);
        painter->setPen(pen);
        painter->drawLine(QPoint(gutterRight, r.top()), QPoint(r.right(), r.top()));
    }
    painter->restore();
}
