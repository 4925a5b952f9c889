#pragma once

#include "core/settings/SharedSettings.h"

#include <QString>

class QAbstractItemView;

// What the row painter reads of the list it paints for (StepListView): the view itself
// (palette, font, focus, model, viewport) and its display settings.
class StepRowView {
public:
    virtual ~StepRowView() = default;

    virtual QAbstractItemView *itemView() = 0;
    virtual bool PaintingSuspended() const = 0;
    virtual bool WordWrap() const = 0;
    virtual bool LineNumbers() const = 0;
    virtual bool ShowZML() const = 0;
    virtual int IconStyle() const = 0;
    virtual const SharedSettings &Settings() const = 0;
    // Width in pixels of the line-number gutter (0 when line numbers are off).
    virtual int gutterWidth() const = 0;
    // The row above which a dragged action would land; -1 when none.
    virtual int dropMarkerRow() const = 0;
    // The problems of a row as the marker's tooltip; empty when it has none.
    virtual QString problemAt(int row) const = 0;
    // Fold control of a row: none, an unfolded block's opener or a folded one.
    enum class Fold { None, Open, Folded };
    virtual Fold foldAt(int row) const = 0;
    // The note a folded opener shows ("12 rows folded"); empty for other rows.
    virtual QString foldNote(int row) const = 0;

protected:
    StepRowView() = default;
    StepRowView(const StepRowView &) = default;
    StepRowView &operator=(const StepRowView &) = default;
};
