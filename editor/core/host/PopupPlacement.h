#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

/// Top-left corner of a pop-up of `size` that drops down from a control at `control`, both in
/// global pixels, on a screen whose usable area is `screen`: left-aligned with the control and
/// just below it, or with its bottom at the control's top when it would reach past the bottom
/// of the screen. It is moved left as far as needed to stay on the screen.
QPoint DropDownPosition(const QRect &control, const QSize &size, const QRect &screen);
