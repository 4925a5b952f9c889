#include "frmDD.h"

#include "fieldpane/EzButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace Fieldpane {

namespace {
constexpr int ButtonLeft = 3;
constexpr int TextLines = 6;
// Room beside an entry's text in the list: the item's own margins.
constexpr int EntryPadding = 12;

QString toDisplayText(const QString &text)
{
    QString display = text;
    display.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return display;
}
} // namespace

frmDD::frmDD(QWidget *parent) : QWidget(parent, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    if (parent)
        setFont(parent->font());

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lst"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameShape(QFrame::Box);
    m_list->setFrameShadow(QFrame::Plain);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(this);
    m_list->hide();

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txt"));
    m_text->setTabChangesFocus(true);
    m_text->installEventFilter(this);
    m_text->hide();

    m_button = new EzButton(this);
    m_button->setObjectName(QStringLiteral("btn"));
    m_button->setStyle(EzButton::Ellipsis);
    m_button->hide();
    connect(m_button, &EzButton::Click, this, &frmDD::pressButton);
}

frmDD::~frmDD() = default;

void frmDD::setAnchor(const QRect &globalRect)
{
    m_anchor = globalRect;
}

QString frmDD::text() const
{
    QString value = m_text->toPlainText();
    value.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return value;
}

void frmDD::ShowList(const QStringList &List, const QString &Selected)
{
    m_mode = Mode::List;
    m_list->clear();
    const int entryHeight = fontMetrics().height() + 2;
    int current = -1;
    for (int i = 0; i < List.size(); ++i) {
        auto *entry = new QListWidgetItem(List.at(i), m_list);
        entry->setSizeHint(QSize(0, entryHeight));
        if (List.at(i) == Selected)
            current = i;
    }
    if (current >= 0) {
        m_list->setCurrentRow(current);
    } else {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
    }
    const int visible = qBound(1, static_cast<int>(List.size()), MaxVisibleEntries);
    const int height = visible * entryHeight + 2 * m_list->frameWidth();
    // At least as wide as the longest entry (popUp keeps it on the screen).
    int longest = 0;
    for (const QString &entry : List)
        longest = qMax(longest, m_list->fontMetrics().horizontalAdvance(entry));
    const int scrollBar = List.size() > MaxVisibleEntries
                              ? m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                             m_list->verticalScrollBar())
                              : 0;
    const int needed = longest + 2 * m_list->frameWidth() + scrollBar + EntryPadding;
    if (needed > width())
        resize(needed, this->height());
    m_list->setGeometry(0, 0, width(), height);
    m_list->show();
    m_text->hide();
    m_button->hide();
    if (current >= 0)
        m_list->scrollToItem(m_list->item(current));
    popUp(height);
    setFocus(Qt::PopupFocusReason);
}

void frmDD::ShowText(const QString &sText, bool ShowBtn)
{
    m_mode = Mode::Text;
    m_text->setPlainText(toDisplayText(sText));
    const int textHeight =
        TextLines * m_text->fontMetrics().lineSpacing() + 2 * (m_text->frameWidth() + 4);
    m_text->setGeometry(0, 0, width(), textHeight);
    const int buttonHeight = ShowBtn ? m_button->sizeHint().height() + 2 : 0;
    const int height = textHeight + buttonHeight;
    m_button->setGeometry(ButtonLeft, height - buttonHeight + 1, width() - 2 * ButtonLeft,
                          qMax(0, buttonHeight - 2));
    m_button->setVisible(ShowBtn);
    m_list->hide();
    m_text->show();
    popUp(height);
    m_text->setFocus(Qt::PopupFocusReason);
    m_text->moveCursor(QTextCursor::End);
}

void frmDD::popUp(int height)
{
    QRect geometry(pos(), QSize(width(), height));
    if (const QScreen *screen = QGuiApplication::screenAt(geometry.topLeft())) {
        const QRect available = screen->availableGeometry();
        // Never wider than the screen; a pop-up reaching past its right edge moves left.
        if (geometry.width() > available.width()) {
            geometry.setWidth(available.width());
            m_list->resize(geometry.width(), m_list->height());
        }
        if (geometry.right() > available.right())
            geometry.moveRight(available.right());
        if (geometry.left() < available.left())
            geometry.moveLeft(available.left());
        if (geometry.bottom() > available.bottom() && m_anchor.isValid() &&
            m_anchor.top() - height >= available.top())
            geometry.moveTop(m_anchor.top() - height);
    }
    setGeometry(geometry);
    m_tracking = false;
    m_finished = false;
    show();
    raise();
    activateWindow();
}

void frmDD::chooseCurrent()
{
    QListWidgetItem *current = m_list->currentItem();
    if (!current)
        return;
    m_finished = true;
    const QString chosen = current->text();
    close();
    Q_EMIT ListClick(chosen);
}

void frmDD::confirmText()
{
    if (m_finished)
        return;
    m_finished = true;
    const QString value = text();
    close();
    Q_EMIT TextClose(value);
}

void frmDD::pressButton()
{
    if (m_finished)
        return;
    QString value = text();
    const QString before = value;
    const QPointer<frmDD> alive(this);
    Q_EMIT ButtonClick(value);
    if (!alive)
        return;
    if (value != before)
        m_text->setPlainText(toDisplayText(value));
    confirmText();
}

void frmDD::moveCurrent(int delta)
{
    const int count = m_list->count();
    if (count == 0)
        return;
    int from = m_list->currentRow();
    if (from < 0)
        from = delta > 0 ? -1 : count;
    const int row = qBound(0, from + delta, count - 1);
    m_list->setCurrentRow(row);
}

bool frmDD::eventFilter(QObject *watched, QEvent *event)
{
    if (m_mode == Mode::List && watched == m_list->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (QListWidgetItem *under = m_list->itemAt(mouse->position().toPoint()))
                m_list->setCurrentItem(under);
            m_tracking = true;
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (QListWidgetItem *under = m_list->itemAt(mouse->position().toPoint()))
                m_list->setCurrentItem(under);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (!m_tracking) {
                // The release of the click that opened the list.
                m_tracking = true;
                return true;
            }
            const QPoint at = m_list->viewport()->mapTo(m_list, mouse->position().toPoint());
            if (m_list->rect().contains(at)) {
                if (m_list->currentItem())
                    chooseCurrent();
            } else {
                m_finished = true;
                close();
            }
            return true;
        }
        default:
            break;
        }
    }
    if (m_mode == Mode::Text && watched == m_text && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            m_finished = true;
            close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier) {
                m_text->insertPlainText(QStringLiteral("\n"));
                return true;
            }
            confirmText();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmDD::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_finished = true;
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_mode == Mode::List)
            chooseCurrent();
        else if (m_mode == Mode::Text)
            confirmText();
        return;
    default:
        break;
    }
    if (m_mode == Mode::List) {
        const int page = qMax(1, MaxVisibleEntries - 1);
        switch (event->key()) {
        case Qt::Key_Down:
            moveCurrent(1);
            return;
        case Qt::Key_Up:
            moveCurrent(-1);
            return;
        case Qt::Key_PageDown:
            moveCurrent(page);
            return;
        case Qt::Key_PageUp:
            moveCurrent(-page);
            return;
        case Qt::Key_Home:
            moveCurrent(-m_list->count());
            return;
        case Qt::Key_End:
            moveCurrent(m_list->count());
            return;
        default:
            break;
        }
    }
    event->accept();
}

void frmDD::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_mode == Mode::Text) {
        if (m_button->isVisible() && rect().contains(at) && at.x() >= m_button->x())
            pressButton();
        else
            confirmText();
        return;
    }
    // List mode: a press outside the list closes without a choice.
    m_finished = true;
    close();
}

void frmDD::closeEvent(QCloseEvent *event)
{
    // Closed from outside (another window took the focus): text mode keeps the edited text.
    if (!m_finished && m_mode == Mode::Text) {
        m_finished = true;
        const QString value = text();
        QWidget::closeEvent(event);
        Q_EMIT TextClose(value);
        return;
    }
    m_finished = true;
    QWidget::closeEvent(event);
}

} // namespace Fieldpane
