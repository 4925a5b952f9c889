#include "gui/actiontree/ActionTree.h"
#include "core/document/CElements.h"
#include "gui/widgets/TitleBar.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Flow control: if, loop; Dialogs: msgbox, mystery (no icon of its own); if again in Flow
// control; ungrouped: an action without a folder.
void fillCatalogue(CElements &catalogue)
{
    auto add = [&catalogue](const char *name, const char *parent, const char *description,
                            const char *information) {
        auto element = catalogue.Add(QString::fromLatin1(name), QString::fromLatin1(description));
        ASSERT_TRUE(element);
        element->Parent = QString::fromLatin1(parent);
        element->Information = QString::fromLatin1(information);
    };
    add("if", "Flow control", "If", "Runs the following steps when a condition holds.");
    add("msgbox", "Dialogs", "Message box", "Shows a message.");
    add("mystery", "dialogs", "Mystery", "Has no icon of its own.");
    add("loop", "Flow control", "Loop", "Repeats steps.");
    add("loose", "", "Loose action", "Belongs to no folder.");
}

QImage image(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

// Colours compared premultiplied, channels within 2: pixmaps keep premultiplied colours, so
// the colour of a nearly transparent pixel loses precision.
bool nearlyEqual(QRgb a, QRgb b)
{
    const QRgb pa = qPremultiply(a);
    const QRgb pb = qPremultiply(b);
    return qAbs(qRed(pa) - qRed(pb)) <= 2 && qAbs(qGreen(pa) - qGreen(pb)) <= 2 &&
           qAbs(qBlue(pa) - qBlue(pb)) <= 2 && qAbs(qAlpha(pa) - qAlpha(pb)) <= 2;
}

::testing::AssertionResult sameImage(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!nearlyEqual(a.pixel(x, y), b.pixel(x, y)))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

class ActionTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillCatalogue(m_catalogue);
        m_tree.resize(260, 400);
        m_tree.Fill(m_catalogue);
        m_tree.Tree()->expandAll();
        m_tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_tree));
    }
    void TearDown() override { ActionTree::SetDragRunner({}); }

    QWidget *viewport() const { return m_tree.Tree()->viewport(); }
    QTreeWidgetItem *node(const char *name) const
    {
        return m_tree.ActionNode(QString::fromLatin1(name));
    }
    QTreeWidgetItem *folder(int index) const { return m_tree.Tree()->topLevelItem(index); }
    QPoint centre(QTreeWidgetItem *item) const
    {
        return m_tree.Tree()->visualItemRect(item).center();
    }
    // A pointer move over the tree with the given buttons held.
    void move(const QPoint &pos, Qt::MouseButtons buttons = Qt::NoButton) const
    {
        QMouseEvent event(QEvent::MouseMove, pos, viewport()->mapToGlobal(pos), Qt::NoButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
    }

    CElements m_catalogue;
    ActionTree m_tree;
};

} // namespace

TEST_F(ActionTreeTest, ListsFoldersInCatalogueOrderWithTheirActions)
{
    QTreeWidget *tv = m_tree.Tree();
    EXPECT_EQ(m_tree.titleBar()->Caption(), QStringLiteral("Actions"));
    ASSERT_EQ(tv->topLevelItemCount(), 3);
    EXPECT_EQ(folder(0)->text(0), QStringLiteral("Flow control"));
    EXPECT_EQ(folder(1)->text(0), QStringLiteral("Dialogs"));
    EXPECT_TRUE(ActionTree::IsFolder(folder(0)));
    EXPECT_EQ(ActionTree::KeyOf(folder(1)), QStringLiteral("Dialogs"));
    ASSERT_EQ(folder(0)->childCount(), 2);
    EXPECT_EQ(folder(0)->child(0)->text(0), QStringLiteral("If"));
    EXPECT_EQ(folder(0)->child(1)->text(0), QStringLiteral("Loop"));
    // Folder keys compare without regard to case: "dialogs" joins "Dialogs".
    ASSERT_EQ(folder(1)->childCount(), 2);
    EXPECT_EQ(ActionTree::KeyOf(folder(1)->child(1)), QStringLiteral("mystery"));
    EXPECT_FALSE(ActionTree::IsFolder(folder(1)->child(1)));
    // An action without a folder is still listed.
    EXPECT_EQ(ActionTree::KeyOf(folder(2)), QStringLiteral("loose"));
    EXPECT_FALSE(ActionTree::IsFolder(folder(2)));

    EXPECT_TRUE(sameImage(image(node("msgbox")->icon(0)),
                          resourceImage(QStringLiteral(":/icons/16/msgbox.png"))));
    EXPECT_TRUE(node("mystery")->icon(0).isNull());

    // Filling again replaces the content and selects the first node.
    m_tree.Fill(m_catalogue);
    EXPECT_EQ(tv->topLevelItemCount(), 3);
    EXPECT_EQ(m_tree.SelectedItem(), tv->topLevelItem(0));
}

TEST_F(ActionTreeTest, FolderImagesFollowCollapseAndExpand)
{
    QSignalSpy collapsed(&m_tree, &ActionTree::Collapse);
    QSignalSpy expanded(&m_tree, &ActionTree::Expand);
    const QImage open = resourceImage(QStringLiteral(":/icons/16/OpenFolder.png"));
    const QImage closed = resourceImage(QStringLiteral(":/icons/16/folder.png"));
    ASSERT_FALSE(sameImage(open, closed));
    EXPECT_TRUE(sameImage(image(folder(1)->icon(0)), open));

    m_tree.Tree()->collapseItem(folder(1));
    EXPECT_TRUE(sameImage(image(folder(1)->icon(0)), closed));
    ASSERT_EQ(collapsed.count(), 1);
    EXPECT_EQ(collapsed.at(0).at(0).value<QTreeWidgetItem *>(), folder(1));

    // The keyboard expands it again.
    m_tree.Tree()->setCurrentItem(folder(1));
    QTest::keyClick(m_tree.Tree(), Qt::Key_Right);
    EXPECT_TRUE(folder(1)->isExpanded());
    EXPECT_TRUE(sameImage(image(folder(1)->icon(0)), open));
    ASSERT_EQ(expanded.count(), 1);
    EXPECT_EQ(expanded.at(0).at(0).value<QTreeWidgetItem *>(), folder(1));
}

TEST_F(ActionTreeTest, AClickCountsOnlyWhenItEndsOnTheNodeItBeganOn)
{
    QSignalSpy clicks(&m_tree, &ActionTree::NodeClick);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, centre(node("if")));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centre(node("loop")));
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre(node("loop")));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<QTreeWidgetItem *>(), node("loop"));
    EXPECT_EQ(m_tree.SelectedItem(), node("loop"));

    // A click on a folder is reported too (the window ignores it).
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre(folder(1)));
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(1).at(0).value<QTreeWidgetItem *>(), folder(1));

    // Other buttons never click; a release without a press on a node does not either.
    QTest::mouseClick(viewport(), Qt::RightButton, {}, centre(node("if")));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centre(node("if")));
    const QPoint empty(10, viewport()->height() - 5);
    ASSERT_EQ(m_tree.Tree()->itemAt(empty), nullptr);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ActionTreeTest, ADoubleClickClicksOnce)
{
    QSignalSpy clicks(&m_tree, &ActionTree::NodeClick);
    // The events of a double click as the platform delivers them.
    const QPoint pos = centre(node("loop"));
    const QPoint global = viewport()->mapToGlobal(pos);
    auto send = [this, pos, global](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, pos, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<QTreeWidgetItem *>(), node("loop"));
}

TEST_F(ActionTreeTest, EnterOnTheSelectedNodeClicksIt)
{
    QSignalSpy clicks(&m_tree, &ActionTree::NodeClick);
    m_tree.Tree()->setFocus();
    m_tree.Tree()->setCurrentItem(node("msgbox"));
    QTest::keyClick(m_tree.Tree(), Qt::Key_Return);
    QTest::keyClick(m_tree.Tree(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).value<QTreeWidgetItem *>(), node("msgbox"));
    EXPECT_EQ(clicks.at(1).at(0).value<QTreeWidgetItem *>(), node("msgbox"));

    m_tree.Tree()->clearSelection();
    QTest::keyClick(m_tree.Tree(), Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 2);
    // Other keys keep their tree meaning.
    m_tree.Tree()->setCurrentItem(node("if"));
    QTest::keyClick(m_tree.Tree(), Qt::Key_Down);
    EXPECT_EQ(m_tree.SelectedItem(), node("loop"));
}

TEST_F(ActionTreeTest, DraggingAnActionCarriesItsNameAndDragIcon)
{
    std::optional<QByteArray> draggedName;
    QImage draggedPicture;
    QObject *source = nullptr;
    int runs = 0;
    ActionTree::SetDragRunner([&](QDrag *drag) {
        ++runs;
        draggedName = drag->mimeData()->data(ActionTree::kMimeType);
        draggedPicture = drag->pixmap().toImage();
        source = drag->source();
    });
    QSignalSpy starts(&m_tree, &ActionTree::StartDrag);
    QSignalSpy clicks(&m_tree, &ActionTree::NodeClick);

    const QPoint from = centre(node("msgbox"));
    QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
    // A jitter below the drag distance starts nothing.
    move(from + QPoint(1, 0), Qt::LeftButton);
    EXPECT_EQ(runs, 0);
    move(centre(node("mystery")), Qt::LeftButton);
    move(centre(node("if")), Qt::LeftButton);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, from);

    ASSERT_EQ(runs, 1);
    ASSERT_EQ(starts.count(), 1);
    EXPECT_EQ(starts.at(0).at(1).value<QTreeWidgetItem *>(), node("msgbox"));
    ASSERT_TRUE(draggedName.has_value());
    EXPECT_EQ(*draggedName, QByteArray("msgbox"));
    EXPECT_TRUE(sameImage(draggedPicture.convertToFormat(QImage::Format_ARGB32),
                          ActionTree::DragIcon(QStringLiteral("msgbox"))
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32)));
    EXPECT_EQ(source, &m_tree);
    EXPECT_EQ(m_tree.SelectedItem(), node("msgbox"));
    // The drag used up the press: releasing on the pressed node clicks nothing.
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ActionTreeTest, FoldersAndCancelledDragsStartNoDrag)
{
    int runs = 0;
    ActionTree::SetDragRunner([&runs](QDrag *) { ++runs; });
    QSignalSpy starts(&m_tree, &ActionTree::StartDrag);

    const QPoint onFolder = centre(folder(1));
    QTest::mousePress(viewport(), Qt::LeftButton, {}, onFolder);
    move(centre(node("msgbox")), Qt::LeftButton);
    move(centre(node("mystery")), Qt::LeftButton);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centre(node("mystery")));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(starts.count(), 0);

    QObject::connect(&m_tree, &ActionTree::StartDrag,
                     [](bool *cancel, QTreeWidgetItem *) { *cancel = true; });
    QTest::mousePress(viewport(), Qt::LeftButton, {}, centre(node("if")));
    move(centre(node("loop")), Qt::LeftButton);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centre(node("loop")));
    EXPECT_EQ(starts.count(), 1);
    EXPECT_EQ(runs, 0);

    // Moving off every node with the button held starts nothing either.
    QTest::mousePress(viewport(), Qt::LeftButton, {}, centre(node("loop")));
    move(QPoint(10, viewport()->height() - 5), Qt::LeftButton);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, QPoint(10, viewport()->height() - 5));
    EXPECT_EQ(starts.count(), 1);
}

TEST(ActionTreeDragIconTest, PaintsTheArrowOverTheActionIconOrTheDefaultIcon)
{
    const QImage arrow = resourceImage(QStringLiteral(":/icons/32/Arrow.png"));
    ASSERT_EQ(arrow.size(), QSize(32, 32));
    auto check = [&arrow](const QString &name, const QString &iconName) {
        const QImage picture =
            ActionTree::DragIcon(name).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage icon = resourceImage(QStringLiteral(":/icons/32/%1.png").arg(iconName));
        ASSERT_EQ(picture.size(), QSize(32, 32));
        int underArrow = 0;
        int iconOnly = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb a = arrow.pixel(x, y);
                if (qAlpha(a) == 255) {
                    EXPECT_TRUE(nearlyEqual(picture.pixel(x, y), a))
                        << name.toStdString() << " " << x << "," << y;
                    ++underArrow;
                } else if (qAlpha(a) == 0) {
                    EXPECT_TRUE(nearlyEqual(picture.pixel(x, y), icon.pixel(x, y)))
                        << name.toStdString() << " " << x << "," << y;
                    if (qAlpha(icon.pixel(x, y)) > 0)
                        ++iconOnly;
                }
            }
        }
        EXPECT_GT(underArrow, 0);
        EXPECT_GT(iconOnly, 0);
    };
    check(QStringLiteral("msgbox"), QStringLiteral("msgbox"));
    check(QStringLiteral("no-such-action"), QStringLiteral("Default_Icon"));
    check(QString(), QStringLiteral("Default_Icon"));
    EXPECT_FALSE(sameImage(ActionTree::DragIcon(QStringLiteral("msgbox")).toImage(),
                           ActionTree::DragIcon(QStringLiteral("no-such-action")).toImage()));
}

TEST_F(ActionTreeTest, PointingShowsTheActionsInformation)
{
    QSignalSpy texts(&m_tree, &ActionTree::StatusText);
    QSignalSpy overNode(&m_tree, &ActionTree::PointerOverNode);
    QSignalSpy overNothing(&m_tree, &ActionTree::PointerOverNoNode);

    move(centre(node("msgbox")));
    ASSERT_EQ(texts.count(), 1);
    EXPECT_EQ(texts.at(0).at(0).toString(), QStringLiteral("Shows a message."));
    ASSERT_EQ(overNode.count(), 1);
    EXPECT_EQ(overNode.at(0).at(0).value<QTreeWidgetItem *>(), node("msgbox"));

    move(centre(folder(0)));
    ASSERT_EQ(texts.count(), 2);
    EXPECT_EQ(texts.at(1).at(0).toString(), QString());
    EXPECT_EQ(overNode.count(), 2);

    move(centre(node("if")));
    move(QPoint(10, viewport()->height() - 5));
    ASSERT_EQ(texts.count(), 4);
    EXPECT_EQ(texts.at(2).at(0).toString(),
              QStringLiteral("Runs the following steps when a condition holds."));
    EXPECT_EQ(texts.at(3).at(0).toString(), QString());
    EXPECT_EQ(overNothing.count(), 1);

    // A drag in progress reports no pointer notifications.
    ActionTree::SetDragRunner([](QDrag *) {});
    QTest::mousePress(viewport(), Qt::LeftButton, {}, centre(node("if")));
    move(centre(node("loop")), Qt::LeftButton);
    EXPECT_EQ(overNode.count(), 3);
}

TEST_F(ActionTreeTest, TheTitleBarsCrossRequestsClosing)
{
    QSignalSpy closes(&m_tree, &ActionTree::CloseRequested);
    QTest::mouseClick(m_tree.titleBar()->closeButton(), Qt::LeftButton);
    EXPECT_EQ(closes.count(), 1);
}
