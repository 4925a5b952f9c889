#include "fieldpane/EzButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace Fieldpane {

EzButton::EzButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, &EzButton::Click);
}

EzButton::~EzButton() = default;

int EzButton::Style() const
{
    return m_style;
}

void EzButton::setStyle(int style)
{
    if (style == m_style)
        return;
    m_style = style;
    update();
    Q_EMIT StyleChanged(style);
}

QSize EzButton::sizeHint() const
{
    const int side = fontMetrics().height() + 4;
    return {side, side};
}

QSize EzButton::minimumSizeHint() const
{
    return {8, 8};
}

void EzButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    painter.drawPrimitive(QStyle::PE_PanelButtonCommand, option);

    const QRect inner = rect();
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    if (m_style == Ellipsis) {
        QFont f = font();
        f.setBold(true);
        painter.setFont(f);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        painter.drawText(inner.translated(shift), Qt::AlignCenter, QStringLiteral("..."));
    } else if (m_style == DropArrow) {
        QStyleOption arrow;
        arrow.initFrom(this);
        const int side = qMax(5, qMin(inner.width(), inner.height()) / 2);
        arrow.rect = QRect(0, 0, side, side);
        arrow.rect.moveCenter(inner.center() + shift);
        painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
    }
}

} // namespace Fieldpane
