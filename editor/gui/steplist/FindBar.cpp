#include "gui/steplist/FindBar.h"

#include "core/document/CDocument.h"
#include "core/document/StepSearch.h"
#include "gui/steplist/StepListView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

FindBar::FindBar(CDocument &document, StepListView *list, QWidget *parent)
    : QWidget(parent), m_document(document), m_list(list), m_text(new QLineEdit(this)),
      m_previous(new QToolButton(this)), m_next(new QToolButton(this)),
      m_matchCase(new QCheckBox(tr("Match &case"), this)), m_note(new QLabel(this)),
      m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("findBar"));
    m_text->setObjectName(QStringLiteral("txtFind"));
    m_text->setPlaceholderText(tr("Find in the script"));
    m_text->setClearButtonEnabled(true);
    m_text->installEventFilter(this);
    m_previous->setObjectName(QStringLiteral("cmdFindPrevious"));
    m_previous->setArrowType(Qt::UpArrow);
    m_previous->setToolTip(tr("Find Previous (Shift+F3)"));
    m_next->setObjectName(QStringLiteral("cmdFindNext"));
    m_next->setArrowType(Qt::DownArrow);
    m_next->setToolTip(tr("Find Next (F3)"));
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_note->setObjectName(QStringLiteral("lblFindNote"));
    m_close->setObjectName(QStringLiteral("cmdFindClose"));
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setAutoRaise(true);
    m_close->setToolTip(tr("Close (Esc)"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(tr("Find:"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_note);
    layout->addStretch();
    layout->addWidget(m_close);

    connect(m_previous, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(m_next, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(m_close, &QToolButton::clicked, this, &FindBar::close);
    connect(m_matchCase, &QCheckBox::toggled, this, [this] { m_note->clear(); });
    // Find as you type, from the current row on.
    connect(m_text, &QLineEdit::textEdited, this, [this] {
        const QModelIndex current = m_list ? m_list->currentIndex() : QModelIndex();
        find(current.isValid() ? current.row() : 0, true);
    });
    hide();
}

void FindBar::open()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::close()
{
    hide();
    m_note->clear();
    if (m_list)
        m_list->setFocus(Qt::OtherFocusReason);
}

bool FindBar::findNext(bool forward)
{
    if (m_text->text().isEmpty()) {
        open();
        return false;
    }
    const QModelIndex current = m_list ? m_list->currentIndex() : QModelIndex();
    int start = forward ? 0 : m_document.RowCount() - 1;
    if (current.isValid())
        start = current.row() + (forward ? 1 : -1);
    return find(start, forward);
}

bool FindBar::find(int start, bool forward)
{
    m_note->clear();
    if (m_text->text().isEmpty() || !m_list)
        return false;
    StepSearch::Options options;
    options.matchCase = m_matchCase->isChecked();
    options.sourceMode = m_list->ShowZML();
    const StepSearch::Found found =
        StepSearch::Find(m_document, m_text->text(), start, forward, options);
    if (found.row < 0) {
        m_note->setText(tr("Not found"));
        return false;
    }
    // A match inside a folded block unfolds the blocks around it first.
    m_list->revealRow(found.row);
    const QModelIndex index = m_document.Rows()->index(found.row, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(index);
    if (found.wrapped)
        emit wrapped();
    return true;
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(!(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
