#pragma once

#include "core/checks/BlockFolds.h"
#include "core/settings/SharedSettings.h"
#include "gui/steplist/StepRowView.h"

#include <QHash>
#include <QListView>
#include <QString>

#include <functional>
#include <vector>

class QDrag;
class QMimeData;

class CDocument;
class StepRowDelegate;

// The step list: one row per step of the document, painted by StepRowDelegate, with multiple
// selection. Shows a hint while empty, marks the row above which a dragged action would land
// (DropMarker), selects the clicked row on a right click before asking for the context menu,
// and reports Enter and double clicks as edit requests.
class StepListView final : public QListView, public StepRowView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepListView)
    Q_PROPERTY(QString DropMarker READ DropMarker WRITE setDropMarker)

public:
    // Mime type of an action dragged from the action tree; the data is its element name.
    static const QString kActionMimeType;
    // Mime type of rows dragged from the list; the data is their indexes, comma-separated. The
    // drag carries their clipboard text as plain text too, for other programs.
    static const QString kRowsMimeType;
    // Runs a drag of rows started by the mouse; replaceable for tests (empty: QDrag::exec).
    using DragRunner = std::function<void(QDrag *)>;
    static void SetDragRunner(DragRunner runner);
    // The text shown while the list is empty.
    static QString EmptyHint();

    explicit StepListView(CDocument *document, QWidget *parent = nullptr);
    ~StepListView() override;

    CDocument *document() const { return m_document; }
    StepRowDelegate *rowDelegate() const { return m_delegate; }

    bool WordWrap() const override { return m_wordWrap; }
    void setWordWrap(bool on);
    bool LineNumbers() const override { return m_lineNumbers; }
    void setLineNumbers(bool on);
    bool ShowZML() const override { return m_showZml; }
    void setShowZML(bool on);
    int IconStyle() const override { return m_iconStyle; }
    void setIconStyle(int style);
    const SharedSettings &Settings() const override { return m_settings; }
    // Applies new fonts and comment colour: every row is measured and painted again.
    void setSettings(const SharedSettings &settings);

    // Decimal index of the row above which a dragged action would be inserted; "" when none.
    QString DropMarker() const { return m_dropMarker; }
    void setDropMarker(const QString &marker);
    int dropMarkerRow() const override { return m_dropMarkerRow; }

    // Problems by row (each a line of text), marked in the gutter with the text as tooltip.
    void setProblems(QHash<int, QString> problems);
    QString problemAt(int row) const override { return m_problems.value(row); }
    // Width of the strip at the gutter's left that holds fold controls and problem markers.
    static int problemMarkerWidth();

    // Folding of if and loop blocks (the view only). A folded opener stands for its block:
    // selecting it selects the hidden rows too, so copying or moving it takes the whole block.
    Fold foldAt(int row) const override;
    QString foldNote(int row) const override;
    // Folds or unfolds the block that row opens; false when it opens none.
    bool setFolded(int row, bool folded);
    void foldAll();
    void unfoldAll();
    // Unfolds the blocks that hide row (for a find that lands there); true when any did.
    bool revealRow(int row);
    // The fold state, brought up to date with the rows.
    const BlockFolds &folds() const;
    // The fold control of a row in viewport coordinates (the gutter's left edge).
    QRect foldControlRect(int row) const;

    // While suspended (during loading) nothing is painted.
    bool PaintingSuspended() const override { return m_suspended; }
    void setPaintingSuspended(bool on);

    // Selected rows in ascending order.
    std::vector<int> selectedRows() const;
    // The row of a viewport point, -1 when none.
    int rowAt(const QPoint &pos) const;
    // Re-measures and repaints every row.
    void refreshAll();
    // Width in pixels of the line-number gutter (0 when line numbers are off).
    int gutterWidth() const override;
    QAbstractItemView *itemView() override { return this; }
    // Lays the rows out again (after indent or width changes) and repaints them.
    void relayout();

signals:
    // Enter or a double click on the list: the current step is to be edited.
    void editRequested();
    // The right button went down: the clicked row (or the last one) is selected; the Edit
    // menu is to pop up at globalPos.
    void contextMenuRequested(const QPoint &globalPos);
    // An action was dropped: insert it above row (-1: at the end).
    void actionDropped(const QString &elementName, int row);
    // Something other than an action was dropped.
    void foreignDropped();
    // Rows of this list were dropped above row (-1: at the end); copy when Ctrl was held.
    void rowsDropped(const std::vector<int> &rows, int row, bool copy);
    // Text from another program that looks like ZML was dropped above row (-1: at the end).
    void textDropped(const QString &text, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private slots:
    void rowsChanged();
    void extendSelectionOverFolds();

private:
    // True for the drags the list takes: actions, its own rows, text that looks like ZML.
    bool acceptsDrop(const QMimeData *mime) const;
    // Hides and shows the rows from first to last (-1: the end) as the folds say, touching
    // only rows that change.
    void applyFolds(int first = 0, int last = -1);

    CDocument *m_document;
    StepRowDelegate *m_delegate;
    SharedSettings m_settings;
    bool m_wordWrap = true;
    bool m_lineNumbers = true;
    bool m_showZml = false;
    int m_iconStyle = 2;
    bool m_suspended = false;
    QString m_dropMarker;
    int m_dropMarkerRow = -1;
    // The gutter width, measured again only when the digits or the caption font change: every
    // row's size hint asks for it.
    mutable int m_gutterWidth = 0;
    mutable int m_gutterDigits = -1;
    mutable int m_gutterFontGeneration = -1;
    QHash<int, QString> m_problems;
    mutable BlockFolds m_folds;
    mutable bool m_foldsStale = true;
    bool m_foldsQueued = false;
    int m_pressRow = -1; // the row a left press went down on, for starting a drag
    QPoint m_pressPos;
    bool m_dragEnded = false;
    bool m_draggingRows = false;
    bool m_extendingSelection = false;
};
