#include "DialogAnswerer.h"
#include "GridTestSupport.h"
#include "QtPrinters.h"

#include <fieldpane/CCommonDialogs.h>

#include <QImage>
#include <QListWidget>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace Fieldpane;

namespace {

void addLetters(CListItems &rows, int count)
{
    for (int i = 0; i < count; ++i)
        rows.Add(QStringLiteral("Row %1").arg(i + 1), hlvString, QStringLiteral("v%1").arg(i + 1));
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(PropertyList, FreshGridAndItsMetaObjectFace)
{
    PropertyList grid;
    EXPECT_EQ(grid.TopIndex(), 1);
    EXPECT_EQ(selectedIndex(grid), 0);
    EXPECT_FALSE(grid.ButtonForString());
    EXPECT_EQ(grid.ListItems()->Count(), 0);

    // A late-binding host drives the grid by name.
    auto *list = qobject_cast<CListItems *>(grid.property("ListItems").value<QObject *>());
    ASSERT_EQ(list, grid.ListItems());
    EXPECT_EQ(grid.property("TopIndex").toInt(), 1);
    EXPECT_TRUE(grid.setProperty("ButtonForString", true));
    EXPECT_TRUE(grid.ButtonForString());
    EXPECT_TRUE(QMetaObject::invokeMethod(&grid, "Refresh"));
    const QMetaObject *meta = grid.metaObject();
    const int signal = meta->indexOfSignal("StringButton(QString&)");
    ASSERT_GE(signal, 0);
    EXPECT_EQ(meta->method(signal).methodType(), QMetaMethod::Signal);
    const QMetaProperty buttonForString = meta->property(meta->indexOfProperty("ButtonForString"));
    EXPECT_TRUE(buttonForString.isDesignable());
    EXPECT_TRUE(buttonForString.isStored());
    EXPECT_FALSE(meta->property(meta->indexOfProperty("TopIndex")).isWritable());
    EXPECT_FALSE(meta->property(meta->indexOfProperty("ListItems")).isWritable());
}

TEST(PropertyList, PressSelectsTheRowUnderThePointerOrTheLastRow)
{
    GridHost host;
    host.show();
    // An empty grid ignores presses.
    QTest::mouseClick(host.grid, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(selectedIndex(*host.grid), 0);

    addLetters(host.rows(), 3);
    host.clickRow(2);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    EXPECT_TRUE(host.editBoxInPlace());
    EXPECT_EQ(host.txt()->text(), QStringLiteral("v2"));
    EXPECT_EQ(host.txt()->selectedText(), QStringLiteral("v2"));
    EXPECT_TRUE(host.txt()->hasFocus());

    // Below the last row: the last row.
    QTest::mouseClick(host.grid, Qt::LeftButton, {},
                      QPoint(10, host.grid->contentsRect().bottom() - 2));
    EXPECT_EQ(selectedIndex(*host.grid), 3);
    // Other buttons are ignored.
    QTest::mouseClick(host.grid, Qt::RightButton, {}, host.nameCell(1));
    EXPECT_EQ(selectedIndex(*host.grid), 3);
}

TEST(PropertyList, ArrowKeysMoveRowsAlsoWhileTyping)
{
    GridHost host;
    host.show();
    addLetters(host.rows(), 3);
    host.clickRow(1);

    QTest::keyClick(host.txt(), Qt::Key_Up); // first row: nothing happens
    EXPECT_EQ(selectedIndex(*host.grid), 1);

    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    QTest::keyClick(host.txt(), Qt::Key_Right); // leaves the box: next row, text kept
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("typed")));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("v2"));

    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 3);
    QTest::keyClick(host.txt(), Qt::Key_Down); // last row: nothing happens
    EXPECT_EQ(selectedIndex(*host.grid), 3);
    QTest::keyClick(host.txt(), Qt::Key_Left);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    QTest::keyClick(host.txt(), Qt::Key_Up);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("typed"));
}

TEST(PropertyList, DownOnAGridWithoutSelectionSelectsTheFirstRow)
{
    GridHost host;
    host.show();
    addLetters(host.rows(), 2);
    host.grid->setFocus();
    QTest::keyClick(host.grid, Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 1);
    EXPECT_TRUE(host.txt()->hasFocus());
}

TEST(PropertyList, IntegerRowRefusesTextThatIsNotNumeric)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Count"), hlvInteger, 7);
    host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("x"));
    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("abc"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(7));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("7"));

    QTest::keyClicks(host.txt(), QStringLiteral("4.5"));
    QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(4));

    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("99999999999"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(4));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("4"));
}

TEST(PropertyList, EnterWritesBackAndDoesNotReachTheDefaultButton)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Pattern"), hlvString, QStringLiteral("1a"),
                    QStringLiteral("#*"));
    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("9 lives"));
    QTest::keyClick(host.txt(), Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("9 lives")));
    EXPECT_EQ(host.txt()->selectedText(), QStringLiteral("9 lives"));
    EXPECT_EQ(host.okClicks, 0);

    // A value that does not match the pattern is refused; the box shows the stored value.
    QTest::keyClicks(host.txt(), QStringLiteral("lives"));
    QTest::keyClick(host.txt(), Qt::Key_Enter);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("9 lives")));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("9 lives"));
}

TEST(PropertyList, ValueTypedAndConfirmedWithTheHostsOkButtonIsKept)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Name"), hlvString, QStringLiteral("old"));
    host.rows().Add(QStringLiteral("Count"), hlvInteger, 1);
    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("new"));
    QTest::mouseClick(host.ok, Qt::LeftButton);
    EXPECT_EQ(host.okClicks, 1);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("new")));

    host.clickRow(2);
    QTest::keyClicks(host.txt(), QStringLiteral("12"));
    host.grid->CommitEdit();
    EXPECT_EQ(host.rows().Item(2).Value(), QVariant(12));
}

TEST(PropertyList, EditorAndButtonFollowTheValueType)
{
    GridHost host;
    host.show();
    CListItems &rows = host.rows();
    rows.Add(QStringLiteral("String"), hlvString, QStringLiteral("s"));
    rows.Add(QStringLiteral("Text"), hlvTextArea, QStringLiteral("a\r\nb"));
    rows.Add(QStringLiteral("File"), hlvFilePath, QStringLiteral("/f"));
    rows.Add(QStringLiteral("Folder"), hlvBrowseForFolder, QStringLiteral("/d"));
    rows.Add(QStringLiteral("Integer"), hlvInteger, 5);
    rows.Add(QStringLiteral("Boolean"), hlvBoolean, true);
    rows.Add(QStringLiteral("Array"), hlvArray, QStringLiteral("x"),
             QStringList{QStringLiteral("x")});
    rows.Add(QStringLiteral("Variable"), hlvVariable, QStringLiteral("v"));
    struct Expect {
        bool editBox;
        bool button;
        int style;
    };
    const Expect expected[] = {
        {true, false, EzButton::DropArrow}, {false, true, EzButton::DropArrow},
        {true, true, EzButton::Ellipsis},   {true, true, EzButton::Ellipsis},
        {true, false, EzButton::DropArrow}, {false, true, EzButton::DropArrow},
        {false, true, EzButton::DropArrow}, {true, true, EzButton::DropArrow}};
    host.clickRow(1);
    for (int row = 1; row <= 8; ++row) {
        const Expect &e = expected[row - 1];
        EXPECT_EQ(selectedIndex(*host.grid), row);
        EXPECT_EQ(host.editBoxInPlace(), e.editBox) << row;
        EXPECT_EQ(host.btn()->isVisible(), e.button) << row;
        EXPECT_EQ(host.btn()->Style(), e.style) << row;
        // The focus stays in the (possibly hidden) box, so the keys keep working.
        EXPECT_TRUE(host.txt()->hasFocus()) << row;
        if (e.button) {
            const QRect b = host.btn()->geometry();
            EXPECT_EQ(b.right() + 1, host.scroll()->x()) << row;
        }
        if (e.editBox && e.button) {
            EXPECT_LE(host.txt()->geometry().right(), host.btn()->x()) << row;
        }
        QTest::keyClick(host.txt(), Qt::Key_Down);
    }
    // Rows without an edit box are not written back from the hidden box.
    EXPECT_EQ(rows.Item(2).Value(), QVariant(QStringLiteral("a\r\nb")));
    EXPECT_EQ(rows.Item(6).Value(), QVariant(QStringLiteral("true")));
    EXPECT_EQ(rows.Item(7).Value(), QVariant(QStringLiteral("x")));
}

TEST(PropertyList, TextAreaShowsOnlyItsFirstLine)
{
    auto render = [](const QString &value) {
        PropertyList grid;
        grid.resize(300, 100);
        grid.ListItems()->Add(QStringLiteral("Text"), hlvTextArea, value);
        return grid.grab().toImage();
    };
    const QImage twoLines = render(QStringLiteral("First\r\nSecond"));
    EXPECT_EQ(twoLines, render(QStringLiteral("First\r\nOther")));
    EXPECT_EQ(twoLines, render(QStringLiteral("First")));
    EXPECT_NE(twoLines, render(QStringLiteral("Fir\r\nSecond")));
}

TEST(PropertyList, StringButtonOnlyWithButtonForString)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Name"), hlvString, QStringLiteral("before"));
    host.rows().Add(QStringLiteral("Other"), hlvString, QStringLiteral("o"));
    QSignalSpy spy(host.grid, &PropertyList::StringButton);
    host.clickRow(1);
    EXPECT_FALSE(host.btn()->isVisible());
    QTest::keyClick(host.txt(), Qt::Key_F4);
    EXPECT_EQ(spy.count(), 0);

    host.grid->setButtonForString(true);
    host.clickRow(1); // takes effect when a row is opened
    ASSERT_TRUE(host.btn()->isVisible());
    EXPECT_EQ(host.btn()->Style(), EzButton::Ellipsis);
    QString seen;
    QObject::connect(host.grid, &PropertyList::StringButton, host.grid, [&seen](QString &value) {
        seen = value;
        value = QStringLiteral("from host");
    });
    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    QTest::mouseClick(host.btn(), Qt::LeftButton);
    EXPECT_EQ(seen, QStringLiteral("typed"));
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("from host")));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("from host"));
    EXPECT_TRUE(host.txt()->hasFocus());
}

TEST(PropertyList, FileAndFolderDialogs)
{
    GridHost host;
    host.show();
    CListItem file =
        host.rows().Add(QStringLiteral("File"), hlvFilePath, QStringLiteral("/old.txt"));
    file.setFileFilter(QStringLiteral("Texts|*.txt"));
    host.rows().Add(QStringLiteral("Folder"), hlvBrowseForFolder, QStringLiteral("/start"));
    {
        DialogAnswerer cancel{CCommonDialogs::Answer{}};
        host.clickRow(1);
        QTest::mouseClick(host.btn(), Qt::LeftButton);
        ASSERT_EQ(cancel.requests.size(), 1u);
        EXPECT_EQ(cancel.requests[0].Kind, CCommonDialogs::DialogKind::Open);
        EXPECT_EQ(cancel.requests[0].NameFilters, QStringList{QStringLiteral("Texts (*.txt)")});
        EXPECT_EQ(cancel.requests[0].Owner, &host.dialog);
        // The dialog starts in the folder of the current value.
        EXPECT_EQ(cancel.requests[0].Directory, QStringLiteral("/"));
        EXPECT_EQ(cancel.requests[0].FileName, QStringLiteral("/old.txt"));
        EXPECT_EQ(file.Value(), QVariant(QStringLiteral("/old.txt")));
    }
    {
        CCommonDialogs::Answer chosen;
        chosen.Accepted = true;
        chosen.FileName = QStringLiteral("/new/file.txt");
        DialogAnswerer answer(chosen);
        QTest::keyClick(host.txt(), Qt::Key_F4);
        EXPECT_EQ(file.Value(), QVariant(QStringLiteral("/new/file.txt")));
        EXPECT_EQ(host.txt()->text(), QStringLiteral("/new/file.txt"));
    }
    {
        CCommonDialogs::Answer folder;
        folder.Accepted = true;
        folder.Folder = QStringLiteral("/chosen");
        DialogAnswerer answer(folder);
        host.clickRow(2);
        QTest::mouseDClick(host.grid, Qt::LeftButton, {}, host.nameCell(2));
        ASSERT_FALSE(answer.requests.empty());
        EXPECT_EQ(answer.requests[0].Kind, CCommonDialogs::DialogKind::Folder);
        EXPECT_EQ(answer.requests[0].Directory, QStringLiteral("/start"));
        EXPECT_EQ(answer.requests[0].Title, QStringLiteral("Select a folder"));
        EXPECT_EQ(host.rows().Item(2).Value(), QVariant(QStringLiteral("/chosen")));
    }
}

TEST(PropertyList, ScrollBarEnablingAndScrolling)
{
    GridHost host(160);
    host.show();
    addLetters(host.rows(), 2);
    EXPECT_FALSE(host.scroll()->isEnabled());
    EXPECT_EQ(host.grid->TopIndex(), 1);

    addLetters(host.rows(), 30);
    ASSERT_TRUE(host.scroll()->isEnabled());
    const int visible = host.grid->contentsRect().height() / host.grid->RowHeight();
    // The last row can be scrolled fully into view, and no further.
    EXPECT_EQ(host.scroll()->maximum(),
              (32 * host.grid->RowHeight() - host.grid->contentsRect().height() +
               host.grid->RowHeight() - 1) /
                  host.grid->RowHeight());
    EXPECT_GE(host.scroll()->maximum(), 32 - visible);

    host.clickRow(2);
    ASSERT_TRUE(host.editBoxInPlace());
    QTest::mouseClick(host.scroll(), Qt::LeftButton, {},
                      QPoint(host.scroll()->width() / 2, host.scroll()->height() - 4));
    EXPECT_EQ(host.grid->TopIndex(), 2);
    EXPECT_FALSE(host.editBoxInPlace());
    EXPECT_FALSE(host.btn()->isVisible());
    EXPECT_EQ(selectedIndex(*host.grid), 2);

    // Rows under the pointer count from the top row.
    host.clickRow(5);
    EXPECT_EQ(selectedIndex(*host.grid), 5);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("v3")); // the second batch restarts at v1

    // Removing rows until all fit disables the bar and returns to the first row.
    while (host.rows().Count() > 2)
        host.rows().Remove(host.rows().Count());
    EXPECT_FALSE(host.scroll()->isEnabled());
    EXPECT_EQ(host.grid->TopIndex(), 1);
}

TEST(PropertyList, KeyboardSelectionBelowTheVisibleRowsScrollsIntoView)
{
    GridHost host(160);
    host.show();
    addLetters(host.rows(), 30);
    host.clickRow(1);
    const int visible = host.grid->contentsRect().height() / host.grid->RowHeight();
    for (int i = 1; i < visible + 2; ++i)
        QTest::keyClick(host.txt(), Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), visible + 2);
    EXPECT_GT(host.grid->TopIndex(), 1);
    EXPECT_TRUE(host.editBoxInPlace());
    EXPECT_LE(host.txt()->geometry().bottom(), host.grid->contentsRect().bottom());
}

TEST(PropertyList, WheelScrollsWhenTheBarIsEnabled)
{
    GridHost host(160);
    host.show();
    addLetters(host.rows(), 30);
    const QPoint at = host.nameCell(1);
    QWheelEvent wheel(at, host.grid->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(host.grid, &wheel);
    EXPECT_GT(host.grid->TopIndex(), 1);
}

TEST(PropertyList, NameColumnWidensButNeverNarrows)
{
    PropertyList grid;
    grid.resize(400, 200);
    grid.show();
    const int half = grid.NameColumnWidth();
    EXPECT_GT(half, 0);
    EXPECT_LT(half, grid.contentsRect().width() / 2);
    grid.ListItems()->Add(QStringLiteral("x"), hlvString);
    EXPECT_EQ(grid.NameColumnWidth(), half);
    grid.ListItems()->Add(QString(18, u'W'), hlvString);
    const int wide = grid.NameColumnWidth();
    EXPECT_GT(wide, half);
    grid.ListItems()->Remove(2);
    EXPECT_EQ(grid.NameColumnWidth(), wide);
    grid.resize(420, 200); // not empty: no reset (the half-width limit grows with the grid)
    EXPECT_GE(grid.NameColumnWidth(), wide);
    grid.ListItems()->Clear();
    grid.resize(400, 200); // empty: half the width again
    EXPECT_EQ(grid.NameColumnWidth(), half);
}

TEST(PropertyList, ArrayOrVariableWithoutAListOpensNothing)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Array"), hlvArray, QStringLiteral("a"), QStringLiteral("a|b"));
    host.rows().Add(QStringLiteral("Variable"), hlvVariable, QStringLiteral("v"));
    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    EXPECT_EQ(openPopup(*host.grid), nullptr);
    host.clickRow(2);
    QTest::mouseClick(host.btn(), Qt::LeftButton);
    EXPECT_EQ(openPopup(*host.grid), nullptr);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("a")));
    EXPECT_EQ(host.rows().Item(2).Value(), QVariant(QStringLiteral("v")));
}

TEST(PropertyList, BooleanDropDownPreselectsAndEnterChooses)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Flag"), hlvBoolean, QStringLiteral("TRUE"));
    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    frmDD *popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->list()->count(), 2);
    EXPECT_EQ(popup->list()->currentItem()->text(), QStringLiteral("true"));
    // Under the button, as wide as the value column.
    const QRect button(host.grid->mapToGlobal(host.btn()->geometry().topLeft()),
                       host.btn()->size());
    EXPECT_EQ(popup->geometry().right(), button.right() + 1);
    EXPECT_EQ(popup->geometry().top(), button.bottom());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("false")));
    flushDeletes();
    EXPECT_EQ(openPopup(*host.grid), nullptr);
}

TEST(PropertyList, ArrayDropDownClickChoosesAndClickOutsideKeeps)
{
    GridHost host;
    host.show();
    const QStringList choices{QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("All")};
    host.rows().Add(QStringLiteral("Direction"), hlvArray, QStringLiteral("Down"), choices);
    host.rows().Add(QStringLiteral("Variable"), hlvVariable, QStringLiteral("x"), choices);
    host.clickRow(1);
    QTest::mouseClick(host.btn(), Qt::LeftButton);
    frmDD *popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    QWidget *viewport = popup->list()->viewport();
    const QPoint upEntry = popup->list()->visualItemRect(popup->list()->item(0)).center();
    QTest::mouseMove(viewport, upEntry);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, upEntry);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("Up")));
    flushDeletes();

    QTest::keyClick(host.txt(), Qt::Key_F4);
    popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(-30, popup->height() + 30));
    flushDeletes();
    EXPECT_EQ(openPopup(*host.grid), nullptr);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("Up")));

    // A variable row also takes the chosen text into its edit box.
    host.clickRow(2);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->list()->currentItem(), nullptr); // "x" is not offered
    QTest::keyClick(popup, Qt::Key_Return);           // nothing current: nothing happens
    EXPECT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_End);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(2).Value(), QVariant(QStringLiteral("All")));
    EXPECT_EQ(host.txt()->text(), QStringLiteral("All"));
    flushDeletes();
}

TEST(PropertyList, TextAreaPopUpKeepsConfirmedTextAndRelaysItsButton)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("Message"), hlvTextArea, QStringLiteral("one\r\ntwo"));
    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    frmDD *popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->button()->isVisible());
    EXPECT_EQ(popup->textBox()->toPlainText(), QStringLiteral("one\ntwo"));
    QTest::keyClicks(popup->textBox(), QStringLiteral("!"));
    QTest::keyClick(popup->textBox(), Qt::Key_Escape);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("one\r\ntwo")));
    flushDeletes();

    QTest::keyClick(host.txt(), Qt::Key_F4);
    popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->textBox(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(popup->textBox(), QStringLiteral("three"));
    QTest::keyClick(popup->textBox(), Qt::Key_Return);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("one\r\ntwo\r\nthree")));
    flushDeletes();

    host.grid->setButtonForString(true);
    QObject::connect(host.grid, &PropertyList::StringButton, host.grid,
                     [](QString &value) { value += QStringLiteral("\r\nfour"); });
    QTest::keyClick(host.txt(), Qt::Key_F4);
    popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->button()->isVisible());
    QTest::mouseClick(popup->button(), Qt::LeftButton);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("one\r\ntwo\r\nthree\r\nfour")));
    flushDeletes();
}

TEST(PropertyList, ClearHidesTheEditorAndStaleTextNeverReachesANewRow)
{
    GridHost host;
    host.show();
    addLetters(host.rows(), 3);
    QSignalSpy cleared(&host.rows(), &CListItems::ListCleared);
    host.clickRow(2);
    QTest::keyClicks(host.txt(), QStringLiteral("stale"));
    host.rows().Clear();
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_FALSE(host.editBoxInPlace());
    EXPECT_FALSE(host.btn()->isVisible());

    // The host refills the grid; the selection number carries on, the old text does not.
    addLetters(host.rows(), 3);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    host.clickRow(1);
    EXPECT_EQ(host.rows().Item(2).Value(), QVariant(QStringLiteral("v2")));
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("v1")));
}

TEST(PropertyList, RemovingTheEditedRowHidesTheEditor)
{
    GridHost host;
    host.show();
    addLetters(host.rows(), 3);
    host.clickRow(3);
    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    const CListItem removed = host.rows().Item(3);
    host.rows().Remove(3);
    EXPECT_FALSE(host.editBoxInPlace());
    host.clickRow(1);
    EXPECT_EQ(removed.Value(), QVariant(QStringLiteral("v3")));
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("v1")));
}

TEST(PropertyList, ToolTipShowsWhatACellCannotShow)
{
    GridHost host;
    host.show();
    const QString longValue = QStringLiteral("a rather long value ").repeated(8);
    host.rows().Add(QStringLiteral("Long"), hlvString, longValue);
    host.rows().Add(QStringLiteral("Short"), hlvString, QStringLiteral("s"));
    host.rows().Add(QStringLiteral("Lines"), hlvTextArea, QStringLiteral("one\r\ntwo"));
    auto tipAt = [&host](int row) {
        QToolTip::hideText();
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        const QPoint at = host.nameCell(row) + QPoint(host.grid->NameColumnWidth(), 0);
        QHelpEvent help(QEvent::ToolTip, at, host.grid->mapToGlobal(at));
        QApplication::sendEvent(host.grid, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(1), longValue);
    EXPECT_TRUE(tipAt(2).isEmpty());
    EXPECT_EQ(tipAt(3), QStringLiteral("one\ntwo"));
    QToolTip::hideText();
}

TEST(PropertyList, TextTypedBeforeScrollingIsKeptWhenTheHostConfirms)
{
    GridHost host(160);
    host.show();
    addLetters(host.rows(), 30);
    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    host.scroll()->setValue(3);
    EXPECT_FALSE(host.editBoxInPlace());
    QTest::mouseClick(host.ok, Qt::LeftButton);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("typed")));
}

TEST(PropertyList, NameColumnTakesAtMostHalfAndItsBoundaryCanBeDragged)
{
    GridHost host;
    host.show();
    host.rows().Add(QStringLiteral("A name far too long for half of the grid to show it"),
                    hlvString, QStringLiteral("value"));
    host.rows().Add(QStringLiteral("Short"), hlvString, QStringLiteral("v"));
    PropertyList &grid = *host.grid;
    const int left = grid.contentsRect().left();
    const int rowsWidth = host.scroll()->x() - left;
    EXPECT_EQ(grid.NameColumnWidth(), rowsWidth / 2);

    // A press on the boundary drags it and selects no row; the editor follows it.
    const auto drag = [&](int from, int to) {
        const int y = host.nameCell(2).y();
        QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(left + from, y));
        QTest::mouseMove(&grid, QPoint(left + to, y));
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(left + to, y));
    };
    const int half = grid.NameColumnWidth();
    drag(half + 1, half - 60);
    EXPECT_EQ(grid.NameColumnWidth(), half - 60);
    EXPECT_EQ(selectedIndex(grid), 0);
    host.clickRow(1);
    EXPECT_EQ(host.txt()->x(), left + half - 60 + 2);
    drag(half - 60, rowsWidth);
    EXPECT_EQ(grid.NameColumnWidth(), rowsWidth - 3 * grid.RowHeight());
    EXPECT_EQ(host.txt()->x(), left + grid.NameColumnWidth() + 2);

    // The host may set the width; a negative one follows the names again.
    grid.setNameColumnWidth(50);
    EXPECT_EQ(grid.NameColumnWidth(), 50);
    grid.setNameColumnWidth(-1);
    EXPECT_EQ(grid.NameColumnWidth(), rowsWidth / 2);
}

TEST(PropertyList, ScrollingHidesTheEditorAndKeysNoLongerReachIt)
{
    GridHost host(160);
    host.show();
    addLetters(host.rows(), 30);
    host.clickRow(1);
    ASSERT_TRUE(host.txt()->hasFocus());
    const QPoint at = host.nameCell(1);
    QWheelEvent wheel(at, host.grid->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(host.grid, &wheel);
    ASSERT_GT(host.grid->TopIndex(), 1);
    EXPECT_FALSE(host.txt()->isVisible());
    EXPECT_FALSE(host.btn()->isVisible());
    EXPECT_TRUE(host.grid->hasFocus());

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    QTest::mouseClick(host.ok, Qt::LeftButton);
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("v1")));

    // The arrow keys still move the selection, which brings the editor back.
    host.grid->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(selectedIndex(*host.grid), 2);
    EXPECT_TRUE(host.editBoxInPlace());
    EXPECT_TRUE(host.txt()->hasFocus());
}

TEST(PropertyList, TabAndShiftTabMoveIntoAndOutOfTheGrid)
{
    GridHost host;
    // Focus order: grid, OK, other, and round again to the grid.
    auto *other = new QLineEdit(&host.dialog);
    host.dialog.layout()->addWidget(other);
    host.show();
    addLetters(host.rows(), 3);
    host.clickRow(2);
    const auto press = [](Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key,
                        key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(press(Qt::Key_Tab), host.ok);
    EXPECT_EQ(press(Qt::Key_Tab), other);
    EXPECT_EQ(press(Qt::Key_Tab), host.txt());
    EXPECT_EQ(press(Qt::Key_Backtab), other);
    EXPECT_EQ(press(Qt::Key_Backtab), host.ok);
    EXPECT_EQ(press(Qt::Key_Backtab), host.txt());
    EXPECT_EQ(selectedIndex(*host.grid), 2);
}

TEST(PropertyList, EscapeFirstUndoesTheTypingThenReachesTheDialog)
{
    GridHost host;
    host.show();
    addLetters(host.rows(), 2);
    host.rows().Add(QStringLiteral("Number"), hlvInteger, 7);
    host.clickRow(1);
    QTest::keyClicks(host.txt(), QStringLiteral("typed"));
    QTest::keyClick(host.txt(), Qt::Key_Escape);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("v1"));
    EXPECT_TRUE(host.dialog.isVisible());

    host.clickRow(3);
    QTest::keyClicks(host.txt(), QStringLiteral("12"));
    QTest::keyClick(host.txt(), Qt::Key_Escape);
    EXPECT_EQ(host.txt()->text(), QStringLiteral("7"));
    QTest::keyClick(host.txt(), Qt::Key_Escape);
    EXPECT_FALSE(host.dialog.isVisible());
    EXPECT_EQ(host.rows().Item(1).Value(), QVariant(QStringLiteral("v1")));
    EXPECT_EQ(host.rows().Item(3).Value().toInt(), 7);
}

TEST(PropertyList, DropDownIsAsWideAsItsLongestEntryWithinTheScreen)
{
    GridHost host;
    host.show();
    const QString longEntry = QStringLiteral("Choose this rather long entry of the list");
    host.rows().Add(QStringLiteral("A name that takes half"), hlvArray, QStringLiteral("a"),
                    QStringList{QStringLiteral("a"), longEntry});
    const QString huge = QStringLiteral("endless ").repeated(400);
    host.rows().Add(QStringLiteral("Huge"), hlvArray, QStringLiteral("b"),
                    QStringList{QStringLiteral("b"), huge});
    const QRect screen = host.grid->screen()->availableGeometry();

    host.clickRow(1);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    frmDD *popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    const int longest = popup->list()->fontMetrics().horizontalAdvance(longEntry);
    EXPECT_GE(popup->list()->viewport()->width(), longest);
    EXPECT_TRUE(screen.contains(popup->geometry()));
    popup->close();
    flushDeletes();

    host.clickRow(2);
    QTest::keyClick(host.txt(), Qt::Key_F4);
    popup = openPopup(*host.grid);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(screen.contains(popup->geometry()));
    EXPECT_EQ(popup->list()->width(), popup->width());
    popup->close();
    flushDeletes();
}
