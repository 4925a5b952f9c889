#include "gui/mainwindow/MruMenus.h"

#include "core/settings/CMru.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

QString escapeAmpersands(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

MruMenus::MruMenus(CMru *mru, QMenu *fileMenu, QAction *separator, QMenu *openMenu, QObject *parent)
    : QObject(parent), m_mru(mru), m_fileMenu(fileMenu), m_separator(separator),
      m_openMenu(openMenu)
{
    if (m_mru)
        connect(m_mru, &CMru::MruListChanged, this, &MruMenus::Rebuild);
    Rebuild();
}

QString MruMenus::FileMenuCaption(int index, const QString &title)
{
    return QStringLiteral("&%1 - %2").arg(index + 1).arg(escapeAmpersands(title));
}

QString MruMenus::DropDownCaption(int index, const QString &title)
{
    return QStringLiteral("%1 - %2").arg(index + 1).arg(escapeAmpersands(title));
}

void MruMenus::Rebuild()
{
    // The old entries may be the ones being triggered right now: delete them later.
    for (QAction *action : std::as_const(m_fileActions)) {
        if (m_fileMenu)
            m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_fileActions.clear();
    for (QAction *action : std::as_const(m_openActions)) {
        if (m_openMenu)
            m_openMenu->removeAction(action);
        action->deleteLater();
    }
    m_openActions.clear();

    const int count = m_mru ? m_mru->ListCount() : 0;
    if (m_fileMenu && m_separator) {
        for (int i = 0; i < count; ++i) {
            QAction *entry = makeEntry(m_fileMenu, i, FileMenuCaption(i, m_mru->FileTitle(i)));
            m_fileMenu->insertAction(m_separator, entry);
            m_fileActions.append(entry);
        }
    }
    if (m_separator)
        m_separator->setVisible(count > 0);
    if (m_openMenu) {
        for (int i = 0; i < count; ++i) {
            QAction *entry = makeEntry(m_openMenu, i, DropDownCaption(i, m_mru->FileTitle(i)));
            m_openMenu->addAction(entry);
            m_openActions.append(entry);
        }
    }
}

QAction *MruMenus::makeEntry(QMenu *menu, int index, const QString &text)
{
    auto *action = new QAction(text, menu);
    const QString path = m_mru->FileName(index);
    action->setStatusTip(QDir::toNativeSeparators(path));
    action->setToolTip(QDir::toNativeSeparators(path));
    connect(action, &QAction::triggered, this, [this, index] {
        if (m_mru)
            emit openRequested(m_mru->FileName(index));
    });
    return action;
}
