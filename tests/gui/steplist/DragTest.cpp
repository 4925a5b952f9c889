#include "support/EditWindowFixture.h"

#include "core/zml/ZmlWriter.h"

#include <QAction>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>

#include <gtest/gtest.h>

namespace {

class DragTest : public EditWindowTest {
protected:
    void TearDown() override
    {
        StepListView::SetDragRunner({});
        EditWindowTest::TearDown();
    }

    // bmclear, bmfirst, if { bmlast }, endif, bmclear
    frmEdit &openRows()
    {
        return openShown({"<bmclear />", "<bmfirst />", "<if var=\"a\" operator=\"=\">",
                          "<bmlast />", "</if>", "<bmclear />"},
                         "drag.zml");
    }

    // Drags the selection with real mouse events from row `from`; the drag itself (modal and
    // platform-driven) is replaced by drag events sent to the list over row `to`, with the
    // given keys held at the drop.
    void dragRows(int from, int to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        StepListView::SetDragRunner([this, to, keys](QDrag *drag) {
            dragText = drag->mimeData()->text();
            const QPoint at = rowCentre(to);
            QMimeData *mime = drag->mimeData();
            QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, keys);
            QApplication::sendEvent(listViewport(), &enter);
            QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, keys);
            QApplication::sendEvent(listViewport(), &move);
            markerDuringDrag = list().DropMarker();
            actionDuringDrag = move.dropAction();
            QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton,
                            keys);
            QApplication::sendEvent(listViewport(), &drop);
        });
        const QPoint start = rowCentre(from);
        QTest::mousePress(listViewport(), Qt::LeftButton, {}, start);
        for (const QPoint &step : {start + QPoint(0, 10), start + QPoint(0, 40)}) {
            QMouseEvent move(QEvent::MouseMove, step, listViewport()->mapToGlobal(step),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(listViewport(), &move);
        }
        QTest::mouseRelease(listViewport(), Qt::LeftButton, {}, start + QPoint(0, 40));
        settle();
    }

    // The saved bytes, the depths and the selection: what undo and redo must give back.
    struct State {
        QString bytes;
        std::vector<int> depths;
        std::vector<int> selected;
        bool operator==(const State &o) const
        {
            return bytes == o.bytes && depths == o.depths && selected == o.selected;
        }
    };
    State state() { return {QString::fromUtf8(BuildDocumentUtf8(doc())), depths(), selected()}; }
    // Ctrl+Z gives back before, Ctrl+Y after, twice over.
    void expectOneUndoStep(const State &before, const State &after)
    {
        for (int round = 0; round < 2; ++round) {
            key(Qt::Key_Z, Qt::ControlModifier);
            EXPECT_TRUE(state() == before) << "undone, round " << round;
            EXPECT_EQ(selected(), before.selected);
            key(Qt::Key_Y, Qt::ControlModifier);
            EXPECT_TRUE(state() == after) << "redone, round " << round;
            EXPECT_EQ(selected(), after.selected);
        }
    }

    QString dragText;
    Qt::DropAction actionDuringDrag = Qt::IgnoreAction;
};

TEST_F(DragTest, ASelectionMovesAcrossABlockAsAPasteThereAndStaysSelected)
{
    openRows();
    clickRows({0});
    QTest::mouseClick(listViewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(1));
    key(Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();

    dragRows(1, 3); // onto the bmlast inside the if
    EXPECT_EQ(markerDuringDrag, "3");
    EXPECT_EQ(actionDuringDrag, Qt::MoveAction);
    EXPECT_EQ(dragText, copied); // what another program receives
    EXPECT_EQ(names(), (QStringList{"if", "bmclear", "bmfirst", "bmlast", "endif", "bmclear"}));
    // Depths as a paste there gives them: flat rows of the dropped text start at 0.
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(selected(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(doc().Dirty());
    EXPECT_EQ(list().DropMarker(), "");

    // Back out of the block, below the End If.
    dragRows(2, 5);
    EXPECT_EQ(names(), (QStringList{"if", "bmlast", "endif", "bmclear", "bmfirst", "bmclear"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(list().DropMarker(), "");
    EXPECT_EQ(selected(), (std::vector<int>{3, 4}));

    // Onto one of its own rows: nothing moves.
    dragRows(3, 4);
    EXPECT_EQ(names(), (QStringList{"if", "bmlast", "endif", "bmclear", "bmfirst", "bmclear"}));
}

TEST_F(DragTest, CtrlAtTheDropCopies)
{
    openRows();
    clickRows({3});
    dragRows(3, 0, Qt::ControlModifier);
    EXPECT_EQ(actionDuringDrag, Qt::CopyAction);
    EXPECT_EQ(names(),
              (QStringList{"bmlast", "bmclear", "bmfirst", "if", "bmlast", "endif", "bmclear"}));
    EXPECT_EQ(depths(), (std::vector<int>{0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(selected(), std::vector<int>{0});
}

TEST_F(DragTest, ZmlTextFromAnotherProgramIsPastedWhereItDrops)
{
    openRows();
    QMimeData text;
    text.setText(QStringLiteral("<bmfirst />\r\n<bmlast />"));
    const QPoint at = rowCentre(1);
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(listViewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(listViewport(), &drop);
    EXPECT_EQ(names(), (QStringList{"bmclear", "bmfirst", "bmlast", "bmfirst", "if", "bmlast",
                                    "endif", "bmclear"}));
    EXPECT_EQ(selected(), (std::vector<int>{1, 2}));
}

TEST_F(DragTest, EachDropIsOneUndoStepThatRestoresRowsDepthsAndSelection)
{
    openRows();
    const State opened = state();
    // A move of two rows into the if block.
    clickRows({0, 1});
    const State moveBefore = state();
    dragRows(1, 3);
    const State moved = state();
    ASSERT_EQ(names(), (QStringList{"if", "bmclear", "bmfirst", "bmlast", "endif", "bmclear"}));
    ASSERT_EQ(moved.depths, (std::vector<int>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(w().action(Command::EditUndo)->text(), "&Undo Move");
    {
        SCOPED_TRACE("move");
        expectOneUndoStep(moveBefore, moved);
    }
    // A copy with Ctrl out of the block to the top.
    clickRows({2});
    const State copyBefore = state();
    dragRows(2, 0, Qt::ControlModifier);
    const State copied = state();
    ASSERT_EQ(doc().RowCount(), 7);
    {
        SCOPED_TRACE("copy");
        expectOneUndoStep(copyBefore, copied);
    }
    // Text from another program.
    QMimeData text;
    text.setText(QStringLiteral("<bmfirst />"));
    QDragEnterEvent enter(rowCentre(6), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(listViewport(), &enter);
    QDropEvent drop(QPointF(rowCentre(6)), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(listViewport(), &drop);
    settle();
    ASSERT_EQ(doc().RowCount(), 8);
    {
        SCOPED_TRACE("text");
        expectOneUndoStep(copied, state());
    }
    // Back to the file as read, and to its unchanged flag.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state().bytes, opened.bytes);
    EXPECT_EQ(depths(), opened.depths);
    EXPECT_FALSE(doc().Dirty());
}

} // namespace
