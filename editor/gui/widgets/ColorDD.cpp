#include "gui/widgets/ColorDD.h"

#include "core/host/PopupPlacement.h"
#include "core/settings/ColorNames.h"
#include "gui/widgets/frmColorPopUp.h"

#include <fieldpane/EzButton.h>
#include <fieldpane/SystemColors.h>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

ColorDD::ColorDD(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("ColorDD"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_picColor = new QWidget(this);
    m_picColor->setObjectName(QStringLiteral("picColor"));
    m_picColor->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_picColor->installEventFilter(this);

    m_lbl = new QLabel(this);
    m_lbl->setObjectName(QStringLiteral("lbl"));
    m_lbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lbl->setAutoFillBackground(true);
    m_lbl->setBackgroundRole(QPalette::Base);
    m_lbl->setForegroundRole(QPalette::Text);
    m_lbl->setContentsMargins(2, 0, 2, 0);

    m_btnDD = new Fieldpane::EzButton(this);
    m_btnDD->setObjectName(QStringLiteral("btnDD"));
    m_btnDD->setStyle(Fieldpane::EzButton::DropArrow);
    m_btnDD->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(m_btnDD, &Fieldpane::EzButton::Click, this, &ColorDD::DropDown);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 1, 1);
    layout->setSpacing(3);
    layout->addWidget(m_picColor);
    layout->addWidget(m_lbl, 1);
    layout->addWidget(m_btnDD);
    refresh();
}

ColorDD::~ColorDD()
{
    // An open picker goes with the control, without reporting to it.
    if (m_frm) {
        disconnect(m_frm, nullptr, this, nullptr);
        delete m_frm;
    }
}

void ColorDD::setColor(quint32 color)
{
    const bool changed = color != m_color;
    m_color = color;
    refresh();
    if (changed)
        Q_EMIT ColorChanged(color);
}

QString ColorDD::ColorText() const
{
    return m_lbl->text();
}

QSize ColorDD::sizeHint() const
{
    const int text = fontMetrics().height();
    const int height = qMax(text + 6, m_btnDD->sizeHint().height()) + 2 * frameWidth();
    return {fontMetrics().horizontalAdvance(ColorNames::SystemColorName(12)) + 3 * height, height};
}

QSize ColorDD::minimumSizeHint() const
{
    return {sizeHint().height() * 3, sizeHint().height()};
}

void ColorDD::refresh()
{
    const int side = qMax(8, fontMetrics().height());
    m_picColor->setFixedSize(side * 3 / 2, side - 2);
    m_btnDD->setFixedWidth(qMax(14, fontMetrics().height() + 2));
    m_lbl->setText(ColorNames::ColorName(m_color));
    m_picColor->update();
}

void ColorDD::paintSwatch()
{
    QPainter painter(m_picColor);
    painter.fillRect(m_picColor->rect(), Fieldpane::FromOleColor(m_color, palette()));
    // The one-pixel box along the swatch's edges.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, m_picColor->width() - 1, m_picColor->height() - 1);
}

bool ColorDD::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picColor && event->type() == QEvent::Paint) {
        paintSwatch();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void ColorDD::DropDown()
{
    if (m_frm || !isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    m_frm = new frmColorPopUp(this);
    connect(m_frm, &frmColorPopUp::Closing, this, &ColorDD::frm_Closing);
    m_frm->adjustSize();
    const QRect control(mapToGlobal(QPoint(0, 0)), size());
    const QScreen *where = screen();
    const QRect available = where ? where->availableGeometry() : QRect();
    m_frm->move(DropDownPosition(control, m_frm->size(), available));
    m_frm->ShowMe(m_color);
}

void ColorDD::frm_Closing(const QString &name, qint32 color)
{
    Q_UNUSED(name)
    m_frm = nullptr;
    if (color != frmColorPopUp::NoColor)
        setColor(static_cast<quint32>(color));
    setFocus(Qt::PopupFocusReason);
}

void ColorDD::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = (event->modifiers() & Qt::AltModifier) &&
                         (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up);
    if (event->key() == Qt::Key_F4 || altDown) {
        DropDown();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ColorDD::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void ColorDD::mouseReleaseEvent(QMouseEvent *event)
{
    // A click that began on the control; a press that only closed the picker does not count.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        DropDown();
    else
        QFrame::mouseReleaseEvent(event);
}

void ColorDD::focusInEvent(QFocusEvent *event)
{
    m_lbl->setBackgroundRole(QPalette::Highlight);
    m_lbl->setForegroundRole(QPalette::HighlightedText);
    QFrame::focusInEvent(event);
}

void ColorDD::focusOutEvent(QFocusEvent *event)
{
    // The picker keeps the field marked while it is open.
    if (!m_frm) {
        m_lbl->setBackgroundRole(QPalette::Base);
        m_lbl->setForegroundRole(QPalette::Text);
    }
    QFrame::focusOutEvent(event);
}

void ColorDD::changeEvent(QEvent *event)
{
    if (m_btnDD &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)) {
        refresh();
        updateGeometry();
    }
    QFrame::changeEvent(event);
}
