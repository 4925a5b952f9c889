#include "support/ShownWindowFixture.h"

#include <QClipboard>
#include <QDrag>
#include <QMimeData>

#include <gtest/gtest.h>

namespace {

class DragTest : public ShownWindowTest {
protected:
    void TearDown() override
    {
        StepListView::SetDragRunner({});
        ShownWindowTest::TearDown();
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

    QString dragText;
    QString markerDuringDrag;
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

} // namespace
