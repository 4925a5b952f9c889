#pragma once

#include "core/settings/WindowSettings.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <array>
#include <vector>

class QMainWindow;
class QSplitter;
class QToolBar;
class QWidget;

// The parts of the main window's layout that are kept between sessions: the normal-state
// geometry, the toolbar bands (order, rows, widths) and the splitter between the actions pane
// and the step list. Watches the toolbars for drags along their row and settles them where the
// pointer shows.
class WindowLayout final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowLayout)

public:
    // The designed size and splitter position, and the pixels kept between the splitter and
    // either edge.
    static constexpr int kDesignedWidth = 860;
    static constexpr int kDesignedHeight = 620;
    static constexpr int kDesignedSplitter = 220;
    static constexpr int kSplitterLimit = 30;

    // bars: "tlbStandard", "tlbSteps", "tlbRun" in their designed order.
    WindowLayout(QMainWindow &window, QSplitter &splitter, QWidget &pane,
                 const std::array<QToolBar *, 3> &bars);

    // The current toolbar bands in position order.
    std::vector<ToolbarBand> Bands() const;
    // Puts the toolbars in the order and rows of bands (all three must be named); each shows
    // when barsVisible.
    void restoreBands(const std::vector<ToolbarBand> &bands, bool barsVisible);

    // Geometry, maximised state and splitter from settings.
    void restore(const WindowSettings &settings);
    // Geometry, state, splitter and bands into settings.
    void store(WindowSettings &settings) const;

    // Shows or hides the actions pane, keeping the splitter position for its return; force
    // applies it even when nothing seems to change.
    bool paneVisible() const { return m_paneVisible; }
    void setPaneVisible(bool on, bool force = false);

    // Called by the window's show event: the splitter knows its width only then.
    void windowShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applySplitter();
    void settleToolbars(QToolBar *moved, const QPoint &dropped);
    QToolBar *bar(const QString &name) const;

    QMainWindow &m_window;
    QSplitter &m_splitter;
    QWidget &m_pane;
    std::array<QToolBar *, 3> m_bars;
    bool m_paneVisible = true;
    bool m_shown = false;
    int m_lastSplitter = -1;
    QStringList m_bandOrder;
    // Geometry of every toolbar when one was pressed to be dragged.
    QHash<QToolBar *, QRect> m_barsBeforeDrag;
    QPointer<QToolBar> m_draggedBar;
    QPoint m_dragStart;
};
