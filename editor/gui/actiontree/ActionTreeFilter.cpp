// The filter field of the actions pane: narrowing the tree to the actions that pass it, and
// the keys of the field.
#include "gui/actiontree/ActionTree.h"

#include "core/catalogue/ActionFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTreeWidget>

void ActionTree::setUpFilter()
{
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(tr("Filter actions"));
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    connect(m_filter, &QLineEdit::textChanged, this, &ActionTree::applyFilter);
    auto *focusFilter = new QShortcut(QKeySequence(QStringLiteral("Ctrl+E")), this);
    focusFilter->setContext(Qt::WindowShortcut);
    connect(focusFilter, &QShortcut::activated, this, [this] {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
    });
}

void ActionTree::applyFilter(const QString &text)
{
    const QStringList words = ActionFilter::Words(text);
    if (words.isEmpty()) {
        restoreUnfiltered();
        return;
    }
    if (!m_filtered) {
        m_expandedBefore.clear();
        for (int i = 0; i < m_tv->topLevelItemCount(); ++i) {
            if (m_tv->topLevelItem(i)->isExpanded())
                m_expandedBefore.insert(KeyOf(m_tv->topLevelItem(i)));
        }
        const QTreeWidgetItem *selected = SelectedItem();
        m_selectedBefore = selected ? KeyOf(selected) : QString();
        m_selectedWasFolder = selected && IsFolder(selected);
        m_filtered = true;
    }
    QTreeWidgetItem *firstMatch = nullptr;
    for (int i = 0; i < m_tv->topLevelItemCount(); ++i) {
        QTreeWidgetItem *folder = m_tv->topLevelItem(i);
        bool any = false;
        for (int c = 0; c < folder->childCount(); ++c) {
            QTreeWidgetItem *action = folder->child(c);
            const bool match = ActionFilter::Matches(words, KeyOf(action), action->text(0),
                                                     action->data(0, InformationRole).toString());
            action->setHidden(!match);
            if (match && firstMatch == nullptr)
                firstMatch = action;
            any = any || match;
        }
        folder->setHidden(!any);
        if (any)
            folder->setExpanded(true);
    }
    // The selection stays on a shown action, else moves to the first match.
    const QTreeWidgetItem *selected = SelectedItem();
    if (firstMatch != nullptr &&
        (selected == nullptr || selected->isHidden() || IsFolder(selected)))
        m_tv->setCurrentItem(firstMatch);
    if (QTreeWidgetItem *current = SelectedItem())
        m_tv->scrollToItem(current);
}

void ActionTree::restoreUnfiltered()
{
    if (!m_filtered)
        return;
    m_filtered = false;
    QTreeWidgetItem *selected = nullptr;
    for (int i = 0; i < m_tv->topLevelItemCount(); ++i) {
        QTreeWidgetItem *folder = m_tv->topLevelItem(i);
        folder->setHidden(false);
        for (int c = 0; c < folder->childCount(); ++c) {
            QTreeWidgetItem *action = folder->child(c);
            action->setHidden(false);
            if (!m_selectedWasFolder && KeyOf(action) == m_selectedBefore)
                selected = action;
        }
        folder->setExpanded(m_expandedBefore.contains(KeyOf(folder)));
        if (m_selectedWasFolder && KeyOf(folder) == m_selectedBefore)
            selected = folder;
    }
    if (selected != nullptr) {
        m_tv->setCurrentItem(selected);
        m_tv->scrollToItem(selected);
    } else {
        m_tv->clearSelection();
    }
}

bool ActionTree::filterKeyPressed(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Down:
        m_tv->setFocus(Qt::TabFocusReason);
        if (SelectedItem() == nullptr && m_tv->topLevelItemCount() > 0)
            m_tv->setCurrentItem(m_tv->topLevelItem(0));
        return true;
    case Qt::Key_Escape:
        m_filter->clear();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The selected action, as a click on it would.
        QTreeWidgetItem *node = SelectedItem();
        if (node != nullptr && !IsFolder(node) && !node->isHidden())
            emit NodeClick(node);
        return true;
    }
    default:
        return false;
    }
}

bool ActionTree::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_filter && event->type() == QEvent::KeyPress &&
        filterKeyPressed(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}
