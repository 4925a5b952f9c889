#include "gui/widgets/ElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QRect ElidedLabel::textRect() const
{
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString ElidedLabel::shownText() const
{
    QString line = text();
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return fontMetrics().elidedText(line, Qt::ElideRight, textRect().width());
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QSize full = QLabel::minimumSizeHint();
    const QMargins frame = contentsMargins();
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("W\u2026")) + frame.left() +
                      frame.right() + 2 * margin();
    return {qMin(full.width(), width), full.height()};
}

bool ElidedLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this, rect());
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()) |
                              Qt::TextSingleLine,
                          palette(), isEnabled(), shownText(), foregroundRole());
}
