#include "gui/steplist/StepListView.h"

#include "core/document/CDocument.h"
#include "core/document/SelectionState.h"
#include "core/document/StepRowGeometry.h"
#include "gui/steplist/StepRowDelegate.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

const QString StepListView::kActionMimeType = QStringLiteral("application/x-stepsmith-action");

QString StepListView::EmptyHint()
{
    return tr("Click on or drag & drop the available actions to the left to begin building the "
              "file.");
}

StepListView::StepListView(CDocument *document, QWidget *parent)
    : QListView(parent), m_document(document), m_delegate(new StepRowDelegate(this))
{
    setObjectName(QStringLiteral("odl"));
    setAccessibleName(tr("Steps"));
    setItemDelegate(m_delegate);
    setModel(document->Rows());
    m_delegate->watchModel(document->Rows());
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformItemSizes(false);
    setResizeMode(QListView::Adjust);
    setLayoutMode(QListView::SinglePass);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setAutoScroll(true);
    setSpacing(0);
    verticalScrollBar()->setSingleStep(16);
}

StepListView::~StepListView() = default;

void StepListView::setWordWrap(bool on)
{
    if (m_wordWrap == on)
        return;
    m_wordWrap = on;
    relayout();
}

void StepListView::setLineNumbers(bool on)
{
    if (m_lineNumbers == on)
        return;
    m_lineNumbers = on;
    relayout();
}

void StepListView::setShowZML(bool on)
{
    if (m_showZml == on)
        return;
    m_showZml = on;
    refreshAll();
}

void StepListView::setIconStyle(int style)
{
    style = std::clamp(style, StepRowGeometry::kIconNone, StepRowGeometry::kIconLarge);
    if (m_iconStyle == style)
        return;
    m_iconStyle = style;
    relayout();
}

void StepListView::setSettings(const SharedSettings &settings)
{
    m_settings = settings;
    refreshAll();
}

void StepListView::setDropMarker(const QString &marker)
{
    if (marker == m_dropMarker)
        return;
    m_dropMarker = marker;
    bool ok = false;
    const int row = marker.toInt(&ok);
    m_dropMarkerRow = ok ? row : -1;
    viewport()->update();
}

void StepListView::setPaintingSuspended(bool on)
{
    if (m_suspended == on)
        return;
    m_suspended = on;
    setUpdatesEnabled(!on);
    if (!on)
        viewport()->update();
}

std::vector<int> StepListView::selectedRows() const
{
    return SelectedRowsOf(selectionModel()->selection());
}

int StepListView::rowAt(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

void StepListView::refreshAll()
{
    m_delegate->invalidateAll();
    relayout();
}

void StepListView::relayout()
{
    // Wrapped heights are kept per width, so a new text width costs only the rows it wraps.
    scheduleDelayedItemsLayout();
    viewport()->update();
}

int StepListView::gutterWidth() const
{
    if (!m_lineNumbers)
        return 0;
    const int digits = StepRowGeometry::GutterDigits(m_document->RowCount());
    const int generation = m_delegate->captionFontGeneration();
    if (digits != m_gutterDigits || generation != m_gutterFontGeneration) {
        const QFontMetrics fm(m_delegate->captionFont());
        m_gutterWidth = fm.horizontalAdvance(QString(digits, QLatin1Char('0')));
        m_gutterDigits = digits;
        m_gutterFontGeneration = generation;
    }
    return m_gutterWidth;
}

void StepListView::paintEvent(QPaintEvent *event)
{
    if (m_suspended)
        return;
    if (model()->rowCount() == 0) {
        QPainter painter(viewport());
        const QRect area = viewport()->rect();
        painter.fillRect(area, palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        const QRect textRect(10, 10, area.width() - 20, area.height() - 4 - 10);
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, EmptyHint());
        return;
    }
    QListView::paintEvent(event);
}

void StepListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit editRequested();
        event->accept();
        return;
    }
    // The Menu key and Shift+F10 open the context menu at the current row.
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && !selectionModel()->hasSelection())
            selectionModel()->select(current, QItemSelectionModel::Select);
        const QRect row = current.isValid() ? visualRect(current) : QRect();
        const QPoint at =
            row.isValid() ? QPoint(row.left() + gutterWidth(), row.bottom()) : QPoint(0, 0);
        emit contextMenuRequested(viewport()->mapToGlobal(at));
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void StepListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        QListView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int count = model()->rowCount();
    if (count > 0) {
        const int row = rowAt(event->position().toPoint());
        if (row >= 0 && !selectionModel()->isRowSelected(row, QModelIndex())) {
            const QModelIndex index = model()->index(row, 0);
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        }
        if (!selectionModel()->hasSelection()) {
            const QModelIndex last = model()->index(count - 1, 0);
            selectionModel()->setCurrentIndex(last, QItemSelectionModel::ClearAndSelect);
        }
    }
    event->accept();
    emit contextMenuRequested(event->globalPosition().toPoint());
}

void StepListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        QListView::mouseDoubleClickEvent(event);
        emit editRequested();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void StepListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(kActionMimeType))
        event->acceptProposedAction();
    else
        QListView::dragEnterEvent(event);
}

void StepListView::dragMoveEvent(QDragMoveEvent *event)
{
    QListView::dragMoveEvent(event); // scrolls near the edges
    if (!event->mimeData()->hasFormat(kActionMimeType))
        return;
    if (model()->rowCount() > 0) {
        const int row = rowAt(event->position().toPoint());
        setDropMarker(row >= 0 ? QString::number(row) : QString());
    }
    event->acceptProposedAction();
}

void StepListView::dragLeaveEvent(QDragLeaveEvent *event)
{
    setDropMarker(QString());
    QListView::dragLeaveEvent(event);
}

void StepListView::dropEvent(QDropEvent *event)
{
    setDropMarker(QString());
    if (!event->mimeData()->hasFormat(kActionMimeType)) {
        event->ignore();
        viewport()->update();
        emit foreignDropped();
        return;
    }
    const QString name = QString::fromUtf8(event->mimeData()->data(kActionMimeType));
    event->acceptProposedAction();
    emit actionDropped(name, rowAt(event->position().toPoint()));
}

void StepListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    if (m_wordWrap)
        scheduleDelayedItemsLayout();
}

void StepListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    // A current row to show the focus on, without selecting it.
    if (!currentIndex().isValid() && model()->rowCount() > 0)
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
    viewport()->update();
}

void StepListView::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    viewport()->update();
}
