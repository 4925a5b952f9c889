#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <array>
#include <vector>

class StepRowView;
class QAbstractItemModel;

// Paints and sizes the rows of the step list: line-number gutter, icon cell, caption indented
// by block depth, comment colour, selection colours with and without focus, drop marker.
// Row measurements are kept per row (widest line and line count of the caption, and the
// wrapped height for the width last asked) so a relayout costs no text measuring; they are
// dropped only for rows whose text changes, or for all rows when fonts or the view mode do.
// A row is measured when it is first painted; until then its height is that of its lines.
class StepRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepRowDelegate)

public:
    explicit StepRowDelegate(StepRowView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Starts following a model's row changes (call whenever the view's model is set).
    void watchModel(QAbstractItemModel *model);
    // Drops every measurement (fonts, mode or icon style changed).
    void invalidateAll();

    // The caption of a row: its ZML line in source mode, else the step's visual caption.
    QString caption(int row) const;
    // The font captions are drawn with in the current mode.
    QFont captionFont() const;
    // Changes whenever the caption font does (a cache of a width measured in it compares it).
    int captionFontGeneration() const;
    // Height of a row for a caption area width in pixels (measured once, then kept).
    int rowHeight(int row, int textWidth) const;
    // Width of the caption area of a row whose viewport is viewportWidth pixels wide.
    int textWidth(int row, int viewportWidth) const;
    // The icon of an element at the current icon style (the default icon when it has none).
    QPixmap icon(const QString &elementName) const;

    // Number of text measurements made so far (for tests of the caching).
    int measureCount() const { return m_measureCount; }
    // Rows not painted yet are sized by their line count until they are painted; with
    // measureAll every row is measured when it is laid out.
    void setMeasureAll(bool on) { m_measureAll = on; }

private:
    struct Metrics {
        int naturalWidth = -1; // widest line of the caption; -1: not measured
        int lines = 0;         // 0: not counted
        int wrapWidth = -1;    // width the wrapped height was measured at
        int wrapHeight = 0;
    };
    // The colours of a row and of its line number.
    struct RowColours {
        QColor rowBrush, rowText, gutterBrush, gutterText;
    };
    RowColours coloursOf(const QModelIndex &index, bool selected) const;
    void paintIcon(QPainter *painter, const QModelIndex &index, const QRect &r,
                   int gutterRight) const;
    void paintCaption(QPainter *painter, const QModelIndex &index, const QRect &r, int gutterRight,
                      const QColor &colour) const;
    // The fold control of a block's opener, and the count of hidden rows when it is folded.
    void paintFold(QPainter *painter, int row, const QRect &r, const QColor &rowBrush,
                   const QColor &rowText) const;
    // The warning marker of a row with a problem, at the gutter's left edge.
    void paintProblemMarker(QPainter *painter, int row, const QRect &r) const;
    static constexpr int kProblemIconSize = 13;
    // The model's index of a row.
    QModelIndex indexOf(int row) const;
    Metrics &metrics(int row) const;
    int linesHeight(int lines) const;
    int estimatedLines(int row) const;
    int measuredHeight(int row, int width) const;
    static constexpr int kMaxCachedLines = 64;
    void fontChanged() const;

    StepRowView *m_view;
    mutable std::vector<Metrics> m_metrics;
    mutable QFont m_font;
    mutable bool m_fontValid = false;
    mutable int m_fontGeneration = 0;
    mutable int m_lineSpacing = 0;
    mutable std::array<int, kMaxCachedLines + 1> m_linesHeight{};
    mutable QHash<QString, QPixmap> m_icons;
    mutable int m_iconsStyle = -1;
    mutable int m_measureCount = 0;
    bool m_measureAll = false;
};
