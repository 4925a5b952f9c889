#include "core/host/PopupPlacement.h"

QPoint DropDownPosition(const QRect &control, const QSize &size, const QRect &screen)
{
    int x = control.left();
    int y = control.bottom() + 1;
    if (screen.isValid()) {
        if (y + size.height() - 1 > screen.bottom())
            y = control.top() - size.height();
        if (x + size.width() - 1 > screen.right())
            x = screen.right() - size.width() + 1;
        if (x < screen.left())
            x = screen.left();
    }
    return {x, y};
}
