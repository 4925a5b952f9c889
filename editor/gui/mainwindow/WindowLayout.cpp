#include "gui/mainwindow/WindowLayout.h"

#include "core/settings/WindowGeometry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace {

WindowGeometry::Screen screenOf(const QWidget &window)
{
    WindowGeometry::Screen s;
    QScreen *scr = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (scr != nullptr) {
        s.Available = scr->availableGeometry();
        s.DpiX = scr->logicalDotsPerInchX();
        s.DpiY = scr->logicalDotsPerInchY();
    }
    return s;
}

} // namespace

WindowLayout::WindowLayout(QMainWindow &window, QSplitter &splitter, QWidget &pane,
                           const std::array<QToolBar *, 3> &bars)
    : QObject(&window), m_window(window), m_splitter(splitter), m_pane(pane), m_bars(bars)
{
    for (QToolBar *b : m_bars) {
        m_bandOrder.push_back(b->objectName());
        b->installEventFilter(this);
    }
    connect(&m_splitter, &QSplitter::splitterMoved, this, [this](int pos) {
        if (m_paneVisible)
            m_lastSplitter = pos;
    });
}

QToolBar *WindowLayout::bar(const QString &name) const
{
    for (QToolBar *b : m_bars) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void WindowLayout::windowShown()
{
    if (!m_shown) {
        m_shown = true;
        applySplitter();
    }
}

void WindowLayout::applySplitter()
{
    if (m_lastSplitter <= 0 || !m_paneVisible)
        return;
    const int total = std::max(m_splitter.width(), 2 * kSplitterLimit + 1);
    const int left = std::clamp(m_lastSplitter, kSplitterLimit, total - kSplitterLimit);
    m_splitter.setSizes({left, std::max(total - left - m_splitter.handleWidth(), 1)});
}

void WindowLayout::setPaneVisible(bool on, bool force)
{
    if (!force && on == m_paneVisible && m_pane.isVisibleTo(&m_window) == on)
        return;
    if (!on && m_pane.isVisibleTo(&m_window))
        m_lastSplitter = m_splitter.sizes().value(0);
    m_paneVisible = on;
    m_pane.setVisible(on);
    if (on)
        applySplitter();
}

std::vector<ToolbarBand> WindowLayout::Bands() const
{
    std::vector<QToolBar *> bars(m_bars.begin(), m_bars.end());
    // Position order: by row, then from left to right, as laid out in the top area.
    const bool laidOut =
        std::any_of(bars.begin(), bars.end(), [](QToolBar *b) { return b->isVisible(); });
    if (laidOut) {
        std::stable_sort(bars.begin(), bars.end(), [](QToolBar *a, QToolBar *b) {
            if (a->y() != b->y())
                return a->y() < b->y();
            return a->x() < b->x();
        });
    } else {
        bars.clear();
        for (const QString &name : m_bandOrder)
            bars.push_back(bar(name));
    }
    std::vector<ToolbarBand> bands;
    int previousY = -1;
    for (QToolBar *b : bars) {
        ToolbarBand band;
        band.Name = b->objectName().mid(3); // without "tlb"
        band.Width = b->width();
        band.MinWidth = b->minimumSizeHint().width();
        band.NewRow = laidOut ? (previousY >= 0 && b->y() > previousY) : m_window.toolBarBreak(b);
        previousY = b->y();
        bands.push_back(band);
    }
    return bands;
}

void WindowLayout::restoreBands(const std::vector<ToolbarBand> &bands, bool barsVisible)
{
    m_window.setUpdatesEnabled(false);
    std::vector<QToolBar *> order;
    for (const ToolbarBand &band : bands) {
        if (QToolBar *b = bar(QStringLiteral("tlb") + band.Name))
            order.push_back(b);
    }
    if (order.size() == m_bars.size()) {
        for (QToolBar *b : order)
            m_window.removeToolBar(b);
        m_bandOrder.clear();
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (i > 0 && bands[i].NewRow)
                m_window.addToolBarBreak(Qt::TopToolBarArea);
            m_window.addToolBar(Qt::TopToolBarArea, order[i]);
            order[i]->setVisible(barsVisible);
            m_bandOrder.push_back(order[i]->objectName());
        }
    }
    m_window.setUpdatesEnabled(true);
}

void WindowLayout::restore(const WindowSettings &s)
{
    const WindowGeometry::Placement p = WindowGeometry::Place(
        s, screenOf(m_window),
        [] {
            QList<QRect> areas;
            for (QScreen *each : QGuiApplication::screens())
                areas.push_back(each->availableGeometry());
            return areas;
        }(),
        {QSize(kDesignedWidth, kDesignedHeight), kDesignedSplitter, kSplitterLimit});
    m_window.resize(p.Geometry.size());
    m_window.move(p.Geometry.topLeft());
    if (s.State == WindowSettings::kStateMaximized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
    m_lastSplitter = p.Splitter;
    applySplitter();
}

void WindowLayout::store(WindowSettings &s) const
{
    const Qt::WindowStates state = m_window.windowState();
    const bool normal =
        !(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    s.State = state.testFlag(Qt::WindowMaximized) ? WindowSettings::kStateMaximized
                                                  : WindowSettings::kStateNormal;
    const int splitter =
        m_paneVisible && m_pane.isVisible() ? m_splitter.sizes().value(0) : m_lastSplitter;
    WindowGeometry::Store(s, QRect(m_window.pos(), m_window.size()), normal, splitter,
                          screenOf(m_window));
    s.Bands = Bands();
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    auto *dragged = qobject_cast<QToolBar *>(watched);
    const bool press = event->type() == QEvent::MouseButtonPress;
    if ((press || event->type() == QEvent::MouseButtonRelease) && dragged != nullptr &&
        std::find(m_bars.begin(), m_bars.end(), dragged) != m_bars.end()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (press && mouse->button() == Qt::LeftButton) {
            m_barsBeforeDrag.clear();
            for (QToolBar *each : m_bars)
                m_barsBeforeDrag.insert(each, each->geometry());
            m_draggedBar = dragged;
            m_dragStart = m_window.mapFromGlobal(mouse->globalPosition().toPoint());
        } else if (!press && mouse->button() == Qt::LeftButton && m_draggedBar == dragged) {
            m_draggedBar = nullptr;
            const QPoint dropped = m_window.mapFromGlobal(mouse->globalPosition().toPoint());
            // After the toolbar has finished its own move.
            QMetaObject::invokeMethod(
                this,
                [this, moved = QPointer<QToolBar>(dragged), dropped] {
                    settleToolbars(moved, dropped);
                },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

// A toolbar dragged along its row squeezes its neighbours into chevrons and keeps its place
// among them. Once it is dropped, it takes the place the pointer shows among the others of
// that row (by their centres before the drag), and every toolbar gets its full width again.
// Moves to another row keep what the main window made of them.
void WindowLayout::settleToolbars(QToolBar *moved, const QPoint &dropped)
{
    const QHash<QToolBar *, QRect> before = std::exchange(m_barsBeforeDrag, {});
    if (moved == nullptr || !before.contains(moved))
        return;
    // Only drags along the row: a move to another row the main window has placed already.
    // The pointer tells the place (the first toolbar of a row does not move at all).
    const QRect start = before.value(moved);
    if (moved->geometry().top() != start.top() || dropped.y() < start.top() ||
        dropped.y() > start.bottom() ||
        qAbs(dropped.x() - m_dragStart.x()) <= QApplication::startDragDistance())
        return;

    // The rows as laid out now, each from left to right; the moved toolbar goes before the
    // first other one of its row whose centre was right of the pointer.
    std::vector<std::vector<QToolBar *>> rows;
    for (const ToolbarBand &band : Bands()) {
        if (rows.empty() || band.NewRow)
            rows.emplace_back();
        rows.back().push_back(bar(QStringLiteral("tlb") + band.Name));
    }
    std::vector<ToolbarBand> bands;
    for (auto &row : rows) {
        if (const auto at = std::find(row.begin(), row.end(), moved); at != row.end()) {
            row.erase(at);
            auto place = row.begin();
            while (place != row.end() && before.value(*place).center().x() < dropped.x())
                ++place;
            row.insert(place, moved);
        }
        for (std::size_t i = 0; i < row.size(); ++i) {
            ToolbarBand band;
            band.Name = row[i]->objectName().mid(3);
            band.NewRow = !bands.empty() && i == 0;
            bands.push_back(band);
        }
    }
    restoreBands(bands, moved->isVisible());
}
