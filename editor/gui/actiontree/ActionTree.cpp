#include "gui/actiontree/ActionTree.h"

#include "core/document/CElements.h"
#include "gui/widgets/TitleBar.h"

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

QString iconPath(int size, const QString &name)
{
    return QStringLiteral(":/icons/%1/%2.png").arg(size).arg(name);
}

// The icon of an image key, or a null icon when the image list has none.
QIcon treeIcon(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QString path = iconPath(16, name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace

// The tree of the pane: reports its mouse and key events to the pane.
class ActionTreeView final : public QTreeWidget {
public:
    explicit ActionTreeView(ActionTree *pane) : QTreeWidget(pane), m_pane(pane) {}

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_pane->mousePressed(event);
        QTreeWidget::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QTreeWidget::mouseReleaseEvent(event);
        m_pane->mouseReleased(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        m_pane->mouseDoubleClicked();
        QTreeWidget::mouseDoubleClickEvent(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!m_pane->mouseMoved(event))
            QTreeWidget::mouseMoveEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!m_pane->keyPressed(event))
            QTreeWidget::keyPressEvent(event);
    }

private:
    ActionTree *m_pane;
};

namespace {

ActionTree::DragRunner &dragRunner()
{
    static ActionTree::DragRunner runner;
    return runner;
}

} // namespace

const QString ActionTree::kMimeType = QStringLiteral("application/x-stepsmith-action");

ActionTree::ActionTree(QWidget *parent)
    : QWidget(parent), m_tb(new TitleBar(this)), m_filter(new QLineEdit(this)),
      m_tv(new ActionTreeView(this))
{
    setObjectName(QStringLiteral("ActionTree"));
    qRegisterMetaType<QTreeWidgetItem *>();
    m_tb->setObjectName(QStringLiteral("tb"));
    m_tb->setCaption(tr("Actions"));
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setHeaderHidden(true);
    m_tv->setColumnCount(1);
    m_tv->setRootIsDecorated(true);
    m_tv->setUniformRowHeights(true);
    m_tv->setIconSize(QSize(16, 16));
    m_tv->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tv->setDragEnabled(false);
    m_tv->setMouseTracking(true);
    m_tv->viewport()->setMouseTracking(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tb);
    layout->addWidget(m_filter);
    layout->addWidget(m_tv, 1);
    setFocusProxy(m_tv);
    setUpFilter();

    connect(m_tb, &TitleBar::CloseClick, this, &ActionTree::CloseRequested);
    connect(m_tv, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        updateFolderIcon(node);
        emit Expand(node);
    });
    connect(m_tv, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *node) {
        updateFolderIcon(node);
        emit Collapse(node);
    });
}

void ActionTree::Fill(const CElements &catalogue)
{
    m_pressedNode = nullptr;
    m_holdingNode = false;
    m_tv->clear();
    QHash<QString, QTreeWidgetItem *> folders;
    const QIcon folderIcon = treeIcon(QStringLiteral("folder"));
    for (const std::shared_ptr<CElement> &element : catalogue) {
        QTreeWidgetItem *node = nullptr;
        if (element->Parent.isEmpty()) {
            // An action without a group is listed at the top level rather than dropped.
            node = new QTreeWidgetItem(m_tv);
        } else {
            const QString folded = element->Parent.toCaseFolded();
            QTreeWidgetItem *folder = folders.value(folded);
            if (folder == nullptr) {
                folder = new QTreeWidgetItem(m_tv, {element->Parent});
                folder->setData(0, KeyRole, element->Parent);
                folder->setData(0, IsFolderRole, true);
                folder->setIcon(0, folderIcon);
                folder->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
                folders.insert(folded, folder);
            }
            node = new QTreeWidgetItem(folder);
        }
        node->setText(0, element->Description);
        node->setData(0, KeyRole, element->ElementName);
        node->setData(0, IsFolderRole, false);
        node->setData(0, InformationRole, element->Information);
        node->setIcon(0, treeIcon(element->ElementName));
    }
    if (QTreeWidgetItem *first = m_tv->topLevelItem(0))
        m_tv->setCurrentItem(first);
}

QTreeWidgetItem *ActionTree::SelectedItem() const
{
    const QList<QTreeWidgetItem *> selected = m_tv->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString ActionTree::KeyOf(const QTreeWidgetItem *node)
{
    return node != nullptr ? node->data(0, KeyRole).toString() : QString();
}

bool ActionTree::IsFolder(const QTreeWidgetItem *node)
{
    return node != nullptr && node->data(0, IsFolderRole).toBool();
}

QTreeWidgetItem *ActionTree::ActionNode(const QString &elementName) const
{
    for (QTreeWidgetItemIterator it(m_tv); *it != nullptr; ++it) {
        if (!IsFolder(*it) && KeyOf(*it).compare(elementName, Qt::CaseInsensitive) == 0)
            return *it;
    }
    return nullptr;
}

QPixmap ActionTree::DragIcon(const QString &elementName)
{
    QString path = elementName.isEmpty() ? QString() : iconPath(32, elementName);
    if (path.isEmpty() || !QFile::exists(path))
        path = iconPath(32, QStringLiteral("Default_Icon"));
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(picture.rect(), QPixmap(path));
    painter.drawPixmap(picture.rect(), QPixmap(iconPath(32, QStringLiteral("Arrow"))));
    return picture;
}

ActionTree::DragRunner ActionTree::SetDragRunner(DragRunner runner)
{
    DragRunner previous = std::move(dragRunner());
    dragRunner() = std::move(runner);
    return previous;
}

bool ActionTree::keyPressed(QKeyEvent *key)
{
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (QTreeWidgetItem *node = SelectedItem())
        emit NodeClick(node);
    return true;
}

void ActionTree::mousePressed(QMouseEvent *mouse)
{
    if (mouse->button() != Qt::LeftButton)
        return;
    m_pressPos = mouse->position().toPoint();
    m_pressedNode = m_tv->itemAt(m_pressPos);
    m_holdingNode = m_pressedNode != nullptr;
    m_dragTried = false;
}

void ActionTree::mouseDoubleClicked()
{
    // The second click of a double click is no click of its own.
    m_pressedNode = nullptr;
}

void ActionTree::mouseReleased(QMouseEvent *mouse)
{
    if (mouse->button() != Qt::LeftButton)
        return;
    QTreeWidgetItem *pressed = m_pressedNode;
    m_pressedNode = nullptr;
    m_holdingNode = false;
    if (pressed != nullptr && m_tv->itemAt(mouse->position().toPoint()) == pressed)
        emit NodeClick(pressed);
}

bool ActionTree::mouseMoved(QMouseEvent *mouse)
{
    const QPoint pos = mouse->position().toPoint();
    if (!(mouse->buttons() & Qt::LeftButton) || !m_holdingNode) {
        m_holdingNode = false;
        pointerMoved(pos);
        return false;
    }
    if (!m_dragTried && m_pressedNode != nullptr &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance() &&
        m_tv->itemAt(pos) != nullptr) {
        m_dragTried = true;
        QTreeWidgetItem *node = m_pressedNode;
        if (!IsFolder(node)) {
            bool cancel = false;
            emit StartDrag(&cancel, node);
            if (!cancel && m_pressedNode == node)
                beginDrag(node);
        }
    }
    // While the button is held after a press on a node (and after a drag started from it)
    // the tree does not drag its selection around.
    return true;
}

void ActionTree::pointerMoved(const QPoint &pos)
{
    QTreeWidgetItem *node = m_tv->itemAt(pos);
    if (node == nullptr) {
        emit PointerOverNoNode();
        emit StatusText(QString());
        return;
    }
    emit PointerOverNode(node);
    emit StatusText(IsFolder(node) ? QString() : node->data(0, InformationRole).toString());
}

void ActionTree::beginDrag(QTreeWidgetItem *node)
{
    m_tv->setCurrentItem(node);
    const QString name = KeyOf(node);
    auto *mime = new QMimeData;
    mime->setData(kMimeType, name.toUtf8());
    QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap picture = DragIcon(name);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    // The drag owns the rest of this press: no click follows it.
    m_pressedNode = nullptr;
    if (dragRunner())
        dragRunner()(drag);
    else
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    if (drag)
        drag->deleteLater();
}

void ActionTree::updateFolderIcon(QTreeWidgetItem *node)
{
    if (IsFolder(node))
        node->setIcon(0, treeIcon(node->isExpanded() ? QStringLiteral("OpenFolder")
                                                     : QStringLiteral("folder")));
}
