#include "gui/steplist/StepListView.h"

#include "core/document/CDocument.h"
#include "core/document/ClipboardText.h"
#include "core/document/SelectionState.h"
#include "core/document/StepRowGeometry.h"
#include "gui/steplist/StepRowDelegate.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <utility>

const QString StepListView::kActionMimeType = QStringLiteral("application/x-stepsmith-action");
const QString StepListView::kRowsMimeType = QStringLiteral("application/x-stepsmith-rows");

namespace {

StepListView::DragRunner &dragRunner()
{
    static StepListView::DragRunner runner;
    return runner;
}

} // namespace

void StepListView::SetDragRunner(DragRunner runner)
{
    dragRunner() = std::move(runner);
}

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
    setDragDropMode(QAbstractItemView::DropOnly); // drags of rows start in mouseMoveEvent
    setAutoScroll(true);
    setSpacing(0);
    verticalScrollBar()->setSingleStep(16);

    const StepRowsModel *rows = document->Rows();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &StepListView::rowsChanged);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &StepListView::rowsChanged);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &StepListView::rowsChanged);
    connect(rows, &QAbstractItemModel::modelReset, this, &StepListView::rowsChanged);
    connect(rows, &QAbstractItemModel::dataChanged, this, &StepListView::rowsChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &StepListView::extendSelectionOverFolds);
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

void StepListView::setProblems(QHash<int, QString> problems)
{
    if (problems == m_problems)
        return;
    m_problems = std::move(problems);
    viewport()->update();
}

int StepListView::problemMarkerWidth()
{
    return 14;
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
    // A strip left of the line numbers holds the fold controls and problem markers.
    if (!m_lineNumbers)
        return problemMarkerWidth();
    const int digits = StepRowGeometry::GutterDigits(m_document->RowCount());
    const int generation = m_delegate->captionFontGeneration();
    if (digits != m_gutterDigits || generation != m_gutterFontGeneration) {
        const QFontMetrics fm(m_delegate->captionFont());
        m_gutterWidth =
            problemMarkerWidth() + fm.horizontalAdvance(QString(digits, QLatin1Char('0')));
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
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const int row = rowAt(pos);
        if (row >= 0 && foldAt(row) != Fold::None && foldControlRect(row).contains(pos)) {
            setFolded(row, foldAt(row) == Fold::Open);
            event->accept();
            return;
        }
        m_pressRow = row;
        m_pressPos = pos;
    }
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

void StepListView::mouseMoveEvent(QMouseEvent *event)
{
    // A press on a selected row followed by a move starts a drag of the selected rows; until
    // the button goes up after it, moves select nothing.
    if (m_dragEnded) {
        event->accept();
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (event->buttons().testFlag(Qt::LeftButton) && m_pressRow >= 0 &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance() &&
        selectionModel()->isRowSelected(m_pressRow, QModelIndex())) {
        m_pressRow = -1;
        m_dragEnded = true;
        startDrag(Qt::MoveAction | Qt::CopyAction);
        event->accept();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void StepListView::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressRow = -1;
    // After a drag the release selects nothing: the drop has set the selection.
    if (std::exchange(m_dragEnded, false)) {
        setState(NoState);
        event->accept();
        return;
    }
    QListView::mouseReleaseEvent(event);
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

bool StepListView::acceptsDrop(const QMimeData *mime) const
{
    if (mime->hasFormat(kActionMimeType) || mime->hasFormat(kRowsMimeType))
        return true;
    return mime->hasText() && mime->text().trimmed().startsWith(QLatin1Char('<'));
}

void StepListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        QListView::dragEnterEvent(event);
}

void StepListView::dragMoveEvent(QDragMoveEvent *event)
{
    QListView::dragMoveEvent(event); // scrolls near the edges
    const QMimeData *mime = event->mimeData();
    if (!acceptsDrop(mime))
        return;
    if (model()->rowCount() > 0) {
        const int row = rowAt(event->position().toPoint());
        setDropMarker(row >= 0 ? QString::number(row) : QString());
    }
    if (mime->hasFormat(kRowsMimeType) && m_draggingRows) {
        // Ctrl copies; otherwise the rows move.
        event->setDropAction(event->modifiers().testFlag(Qt::ControlModifier) ? Qt::CopyAction
                                                                              : Qt::MoveAction);
        event->accept();
        return;
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
    const QMimeData *mime = event->mimeData();
    const int row = rowAt(event->position().toPoint());
    if (mime->hasFormat(kActionMimeType)) {
        const QString name = QString::fromUtf8(mime->data(kActionMimeType));
        event->acceptProposedAction();
        emit actionDropped(name, row);
        return;
    }
    if (mime->hasFormat(kRowsMimeType) && m_draggingRows) {
        std::vector<int> rows;
        for (const QByteArray &part : mime->data(kRowsMimeType).split(','))
            rows.push_back(part.toInt());
        const bool copy = event->modifiers().testFlag(Qt::ControlModifier);
        // The list moves the rows itself: the drag's source deletes nothing.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        emit rowsDropped(rows, row, copy);
        return;
    }
    if (acceptsDrop(mime)) {
        event->acceptProposedAction();
        emit textDropped(mime->text(), row);
        return;
    }
    event->ignore();
    viewport()->update();
    emit foreignDropped();
}

void StepListView::startDrag(Qt::DropActions supportedActions)
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    auto *mime = new QMimeData;
    QByteArray list;
    for (int row : rows) {
        if (!list.isEmpty())
            list += ',';
        list += QByteArray::number(row);
    }
    mime->setData(kRowsMimeType, list);
    mime->setText(ClipboardText::CopyText(*m_document->Rows(), rows));
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    // Rows dropped while this flag is set are this list's own; rows of another window's list
    // arrive as their text.
    m_draggingRows = true;
    if (dragRunner())
        dragRunner()(drag);
    else
        drag->exec(supportedActions | Qt::CopyAction, Qt::MoveAction);
    m_draggingRows = false;
    drag->deleteLater();
    setDropMarker(QString());
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

bool StepListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int row = rowAt(help->pos());
        const QString text = row >= 0 ? problemAt(row) : QString();
        // The marker's tooltip covers the gutter.
        if (!text.isEmpty() && help->pos().x() < gutterWidth()) {
            QToolTip::showText(help->globalPos(), text, viewport(),
                               visualRect(model()->index(row, 0)));
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QListView::viewportEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Folding

const BlockFolds &StepListView::folds() const
{
    if (m_foldsStale) {
        m_folds.update(*m_document);
        m_foldsStale = false;
    }
    return m_folds;
}

StepRowView::Fold StepListView::foldAt(int row) const
{
    const BlockFolds &f = folds();
    if (!f.isOpener(row))
        return Fold::None;
    return f.isFolded(row) ? Fold::Folded : Fold::Open;
}

QString StepListView::foldNote(int row) const
{
    const int hidden = folds().hiddenCount(row);
    if (hidden == 0)
        return {};
    return hidden == 1 ? tr("1 row folded") : tr("%1 rows folded").arg(hidden);
}

QRect StepListView::foldControlRect(int row) const
{
    const QRect r = visualRect(model()->index(row, 0));
    constexpr int kSide = 11;
    return {r.left() + 1, r.top() + StepRowGeometry::kGutterTextTop + 1, kSide, kSide};
}

bool StepListView::setFolded(int row, bool folded)
{
    (void)folds();
    if (!m_folds.setFolded(row, folded))
        return false;
    applyFolds(row + 1, m_folds.closerOf(row)); // only the block's rows change
    return true;
}

void StepListView::foldAll()
{
    (void)folds();
    m_folds.foldAll();
    applyFolds();
}

void StepListView::unfoldAll()
{
    (void)folds();
    m_folds.unfoldAll();
    applyFolds();
}

bool StepListView::revealRow(int row)
{
    (void)folds();
    if (!m_folds.reveal(row))
        return false;
    applyFolds();
    return true;
}

void StepListView::rowsChanged()
{
    m_foldsStale = true;
    // Rows of a changed script may enter or leave folded blocks: settle them once the change
    // is complete. Without folds nothing is hidden and nothing needs doing.
    if (!m_folds.hasFolds() && !m_foldsQueued)
        return;
    if (m_foldsQueued)
        return;
    m_foldsQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_foldsQueued = false;
            applyFolds();
        },
        Qt::QueuedConnection);
}

void StepListView::applyFolds(int first, int last)
{
    const std::vector<bool> &hidden = folds().hiddenRows();
    const int count = std::min(model()->rowCount(), static_cast<int>(hidden.size()));
    last = last < 0 ? count - 1 : std::min(last, count - 1);
    for (int row = std::max(first, 0); row <= last; ++row) {
        const bool hide = hidden[static_cast<std::size_t>(row)];
        if (hide != isRowHidden(row))
            setRowHidden(row, hide);
    }
    extendSelectionOverFolds();
    viewport()->update();
}

void StepListView::extendSelectionOverFolds()
{
    if (m_extendingSelection || !m_folds.hasFolds())
        return;
    // A folded opener stands for its block: the hidden rows are selected exactly when it is.
    const BlockFolds &f = folds();
    QItemSelection add;
    QItemSelection remove;
    for (int row : f.visibleFoldedOpeners()) {
        const QItemSelectionRange block(model()->index(row + 1, 0),
                                        model()->index(f.closerOf(row), 0));
        const bool openerSelected = selectionModel()->isRowSelected(row, QModelIndex());
        (openerSelected ? add : remove).append(block);
    }
    if (add.isEmpty() && remove.isEmpty())
        return;
    m_extendingSelection = true;
    selectionModel()->select(remove, QItemSelectionModel::Deselect);
    selectionModel()->select(add, QItemSelectionModel::Select);
    m_extendingSelection = false;
}
