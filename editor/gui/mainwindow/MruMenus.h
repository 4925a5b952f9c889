#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class CMru;
class QAction;
class QMenu;

// Shows a recent-files list in the File menu and in the drop-down of the Open button, and
// reports which file the user chose. The File menu entries ("&1 - title", ...) stand just
// before a given separator, which is shown only while the list has entries; the drop-down
// holds "1 - title", ... . Both are rebuilt whenever the list changes.
class MruMenus final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MruMenus)

public:
    // fileMenu must contain separator; openMenu may be null.
    MruMenus(CMru *mru, QMenu *fileMenu, QAction *separator, QMenu *openMenu,
             QObject *parent = nullptr);

    // The File menu entries, most recent first.
    const QList<QAction *> &fileActions() const { return m_fileActions; }
    // The drop-down items, most recent first.
    const QList<QAction *> &openActions() const { return m_openActions; }

    // Menu caption of entry i (0-based): "&<i+1> - <title>" in the File menu, "<i+1> -
    // <title>" in the drop-down; an "&" of the title stays visible.
    static QString FileMenuCaption(int index, const QString &title);
    static QString DropDownCaption(int index, const QString &title);

public slots:
    // Rebuilds both menus from the list.
    void Rebuild();

signals:
    // The user chose the entry of path.
    void openRequested(const QString &path);

private:
    QAction *makeEntry(QMenu *menu, int index, const QString &text);

    QPointer<CMru> m_mru;
    QPointer<QMenu> m_fileMenu;
    QPointer<QAction> m_separator;
    QPointer<QMenu> m_openMenu;
    QList<QAction *> m_fileActions;
    QList<QAction *> m_openActions;
};
