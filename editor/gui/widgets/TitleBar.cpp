#include "gui/widgets/TitleBar.h"

#include "core/host/Twips.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

namespace {

constexpr int kHeightTwips = 240;

} // namespace

TitleBarCloseButton::TitleBarCloseButton(QWidget *parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("lblClose"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setToolTip(tr("Close"));
    setAccessibleName(tr("Close"));
    setAttribute(Qt::WA_Hover);
}

QSize TitleBarCloseButton::sizeHint() const
{
    const int side = TitleBar::BarHeight(this) - 2;
    return {side, side};
}

void TitleBarCloseButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else if (underMouse())
        option.state |= QStyle::State_Raised;
    if (isDown() || underMouse()) {
        qDrawShadePanel(&painter, rect(), palette(), isDown(), 1);
    }
    // The cross itself, centred in a square as large as the style draws it.
    const int extent = std::min(
        {width(), height(), style()->pixelMetric(QStyle::PM_SmallIconSize, &option, this)});
    option.rect = QRect(0, 0, extent, extent);
    option.rect.moveCenter(rect().center());
    if (isDown())
        option.rect.translate(1, 1);
    style()->drawPrimitive(QStyle::PE_IndicatorTabClose, &option, &painter, this);
}

void TitleBarCloseButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void TitleBarCloseButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    update();
}

TitleBar::TitleBar(QWidget *parent)
    : QWidget(parent), m_lblCaption(new QLabel(QStringLiteral("Label1"), this)),
      m_lblClose(new TitleBarCloseButton(this))
{
    setObjectName(QStringLiteral("TitleBar"));
    m_lblCaption->setObjectName(QStringLiteral("lblCaption"));
    // The caption never keeps the pane from shrinking; it is clipped instead.
    m_lblCaption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_lblCaption->setTextFormat(Qt::PlainText);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 1, 1, 1);
    layout->setSpacing(2);
    layout->addWidget(m_lblCaption, 1);
    layout->addWidget(m_lblClose, 0, Qt::AlignRight | Qt::AlignVCenter);

    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_lblClose, &QAbstractButton::clicked, this, &TitleBar::CloseClick);
    updateHeight();
}

QString TitleBar::Caption() const
{
    return m_lblCaption->text();
}

void TitleBar::setCaption(const QString &caption)
{
    if (caption == m_lblCaption->text())
        return;
    m_lblCaption->setText(caption);
    emit CaptionChanged(caption);
}

int TitleBar::BarHeight(const QWidget *widget)
{
    const int fromTwips =
        (kHeightTwips * widget->logicalDpiY() + kTwipsPerInch / 2) / kTwipsPerInch;
    return std::max(fromTwips, widget->fontMetrics().height() + 2);
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 1, &palette().brush(QPalette::Button));
}

void TitleBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateHeight();
}

void TitleBar::updateHeight()
{
    const int height = BarHeight(this);
    setFixedHeight(height);
    m_lblClose->setFixedSize(height - 2, height - 2);
}
