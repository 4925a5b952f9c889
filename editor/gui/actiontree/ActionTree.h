#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <QSet>

#include <functional>

class CElements;
class QDrag;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QTreeWidget;
class QTreeWidgetItem;
class TitleBar;

// The actions pane: a title bar "Actions" with a close cross above a tree that lists the
// catalogue's actions grouped in folders. Clicking an action (or pressing Enter on it) asks
// for it to be inserted; dragging it starts a drag whose mime data carries its element name.
class ActionTree final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ActionTree)

public:
    // Mime type of a dragged action; the data is its element name in UTF-8.
    static const QString kMimeType;
    // Item data roles of the tree's nodes (column 0).
    enum Role {
        KeyRole = Qt::UserRole, // folder: its Parent text; action: its ElementName
        IsFolderRole,           // bool
        InformationRole,        // action: its Information
    };

    // Runs a prepared drag and returns when it ends. The default calls QDrag::exec with the
    // copy action; tests replace it.
    using DragRunner = std::function<void(QDrag *drag)>;

    explicit ActionTree(QWidget *parent = nullptr);

    // Lists the catalogue: one folder per distinct Parent in the order of its first action,
    // each action under its folder, then selects the first node. Replaces earlier content.
    void Fill(const CElements &catalogue);

    // The tree's selected node (null when none).
    QTreeWidgetItem *SelectedItem() const;
    // The tree itself.
    QTreeWidget *Tree() const { return m_tv; }
    TitleBar *titleBar() const { return m_tb; }
    // The filter field above the tree ("Filter actions"; Ctrl+E focuses it).
    QLineEdit *filterField() const { return m_filter; }

    // Node helpers: the node's key, whether it is a folder, and the action node of an element.
    static QString KeyOf(const QTreeWidgetItem *node);
    static bool IsFolder(const QTreeWidgetItem *node);
    QTreeWidgetItem *ActionNode(const QString &elementName) const;

    // The drag picture of an action: its 32x32 icon (or "Default_Icon" when it has none)
    // with the "Arrow" image painted over it.
    static QPixmap DragIcon(const QString &elementName);

    // Installs the drag runner (an empty one restores the default); returns the previous one.
    static DragRunner SetDragRunner(DragRunner runner);

signals:
    // The title bar's close cross was clicked.
    void CloseRequested();
    // A mouse click ended on the node it began on, or Enter was pressed on the selected node.
    void NodeClick(QTreeWidgetItem *node);
    void Collapse(QTreeWidgetItem *node);
    void Expand(QTreeWidgetItem *node);
    // The pointer moved over a node (no drag in progress).
    void PointerOverNode(QTreeWidgetItem *node);
    // A drag of node is about to start; setting *cancel keeps it from starting. Folders
    // never get here: they never start a drag.
    void StartDrag(bool *cancel, QTreeWidgetItem *node);
    // The pointer moved over an empty part of the tree (no drag in progress).
    void PointerOverNoNode();
    // The text for the status bar: an action's Information under the pointer, else empty.
    void StatusText(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class ActionTreeView;
    // Event handlers of the tree; true when the event is used up.
    bool keyPressed(QKeyEvent *key);
    void mousePressed(QMouseEvent *mouse);
    void mouseReleased(QMouseEvent *mouse);
    void mouseDoubleClicked();
    bool mouseMoved(QMouseEvent *mouse);
    void pointerMoved(const QPoint &pos);
    void beginDrag(QTreeWidgetItem *node);
    void updateFolderIcon(QTreeWidgetItem *node);
    // Shows only the actions that pass the filter text, their folders expanded; an empty text
    // restores the tree as it was before filtering (expanded folders, selection).
    void setUpFilter();
    void applyFilter(const QString &text);
    void restoreUnfiltered();
    bool filterKeyPressed(QKeyEvent *key);

    TitleBar *m_tb;
    QLineEdit *m_filter;
    QTreeWidget *m_tv;
    // The tree before filtering: the keys of its expanded folders and of its selected node.
    bool m_filtered = false;
    QSet<QString> m_expandedBefore;
    QString m_selectedBefore;
    bool m_selectedWasFolder = false;
    // The node under the pointer when the left button went down; none after a click was
    // delivered or a drag ran.
    QTreeWidgetItem *m_pressedNode = nullptr;
    QPoint m_pressPos;
    // The left button is held after going down on a node.
    bool m_holdingNode = false;
    bool m_dragTried = false;
};
