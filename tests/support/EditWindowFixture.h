#pragma once

#include "support/FakeDialogs.h"
#include "support/WindowFixture.h"

#include "core/document/CDocument.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/steplist/StepListView.h"

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

// The main window shown and active, with real mouse and key events on its list, tree and
// toolbars, and fake step dialogs.
class EditWindowTest : public WindowTest {
protected:
    void TearDown() override
    {
        ActionTree::SetDragRunner({});
        WindowTest::TearDown();
    }

    frmEdit &openShown(const QStringList &body, const char *fileName = "edit.zml")
    {
        frmEdit &w = body.isEmpty() ? open() : open(writeScript(fileName, body));
        w.resize(900, 600);
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        settle();
        return w;
    }

    // Lets pending layouts and queued calls run.
    static void settle()
    {
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(50);
        }
    }

    frmEdit &w() { return *m_window; }
    CDocument &doc() { return *m_window->Document(); }
    StepListView &list() { return *m_window->List(); }
    QWidget *listViewport() { return m_window->List()->viewport(); }
    QWidget *treeViewport() { return m_window->Tree()->Tree()->viewport(); }

    // Element names of the rows, "#text" for comments, "-name" for disabled steps.
    QStringList names()
    {
        QStringList result;
        for (int r = 0; r < doc().RowCount(); ++r) {
            const auto step = doc().Step(r);
            const QString name =
                step->IsComment ? QLatin1Char('#') + step->Text : step->ElementName;
            result.append(step->Disabled ? QLatin1Char('-') + name : name);
        }
        return result;
    }
    std::vector<int> depths()
    {
        std::vector<int> result;
        for (int r = 0; r < doc().RowCount(); ++r)
            result.push_back(doc().Rows()->depth(r));
        return result;
    }
    std::vector<int> selected() { return m_window->Commands()->SelectedRows(); }
    QString statusPanelText() { return m_window->statusPanel(QStringLiteral("Text"))->text(); }
    bool enabled(Command command) { return m_window->action(command)->isEnabled(); }
    bool enabledButton(Command command) { return m_window->button(command)->isEnabled(); }

    QRect rowRect(int row) { return list().visualRect(doc().Rows()->index(row, 0)); }
    QPoint rowCentre(int row) { return rowRect(row).center(); }
    // Real clicks on rows of the list, scrolled into view (Ctrl adds to the selection).
    void clickRows(std::initializer_list<int> rows)
    {
        bool first = true;
        for (int r : rows) {
            list().scrollTo(doc().Rows()->index(r, 0));
            QTest::mouseClick(listViewport(), Qt::LeftButton,
                              first ? Qt::NoModifier : Qt::ControlModifier, rowCentre(r));
            first = false;
        }
    }
    QPoint nodeCentre(const char *element)
    {
        return m_window->Tree()
            ->Tree()
            ->visualItemRect(m_window->Tree()->ActionNode(QString::fromLatin1(element)))
            .center();
    }
    void clickNode(const char *element)
    {
        QTreeWidgetItem *node = m_window->Tree()->ActionNode(QString::fromLatin1(element));
        m_window->Tree()->Tree()->scrollToItem(node);
        QTest::mouseClick(treeViewport(), Qt::LeftButton, {}, nodeCentre(element));
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window->List(), static_cast<Qt::Key>(k), modifiers);
    }
    void clickButton(Command command)
    {
        QWidget *button = nullptr;
        for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
            if (QWidget *w = bar->widgetForAction(m_window->button(command)))
                button = w;
        }
        ASSERT_NE(button, nullptr) << static_cast<int>(command);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Drags an action from the tree with real mouse events; the drag itself (modal and
    // platform-driven) is replaced by drag events sent to the list at dropAt.
    void dragToList(const char *element, QPoint dropAt)
    {
        ActionTree::SetDragRunner([this, dropAt](QDrag *drag) {
            QMimeData *mime = drag->mimeData();
            QDragEnterEvent enter(dropAt, Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &enter);
            QDragMoveEvent move(dropAt, Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &move);
            markerDuringDrag = m_window->List()->DropMarker();
            QDropEvent drop(QPointF(dropAt), Qt::CopyAction, mime, Qt::LeftButton, {});
            QApplication::sendEvent(listViewport(), &drop);
        });
        QTreeWidgetItem *node = m_window->Tree()->ActionNode(QString::fromLatin1(element));
        m_window->Tree()->Tree()->scrollToItem(node);
        const QPoint from = nodeCentre(element);
        QTest::mousePress(treeViewport(), Qt::LeftButton, {}, from);
        for (const QPoint &to : {from + QPoint(0, 12), from + QPoint(0, 30)}) {
            QMouseEvent moveEvent(QEvent::MouseMove, to, treeViewport()->mapToGlobal(to),
                                  Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(treeViewport(), &moveEvent);
        }
        QTest::mouseRelease(treeViewport(), Qt::LeftButton, {}, from + QPoint(0, 30));
        ActionTree::SetDragRunner({});
    }

    FakeDialogs fake;
    QString markerDuringDrag;
};

using Rows = std::vector<int>;

inline QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
