#include "support/EditWindowFixture.h"

#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/editing/IStepDialogs.h"
#include "gui/properties/frmActionProp.h"
#include "gui/steplist/StepListView.h"

#include <fieldpane/CListItems.h>
#include <fieldpane/PropertyList.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

TEST_F(EditWindowTest, TypicalEditFromDragToTheSavedFile)
{
    openShown({});
    // The real properties dialog, filled with real key and mouse events.
    bool dialogSeen = false;
    SetModalRunner([&](QDialog &dialog) {
        auto *props = qobject_cast<frmActionProp *>(&dialog);
        if (props == nullptr)
            return 0;
        dialogSeen = true;
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto *grid = dialog.findChild<Fieldpane::PropertyList *>(QStringLiteral("props"));
        Fieldpane::CListItems &rows = *grid->ListItems();
        EXPECT_EQ(rows.Item(QStringLiteral("title")).Value().toString(), QStringLiteral("Tessaro"));
        const auto clickRow = [grid](int row) {
            const int h = grid->RowHeight();
            QTest::mouseClick(
                grid, Qt::LeftButton, {},
                grid->contentsRect().topLeft() +
                    QPoint(grid->NameColumnWidth() / 2, (row - grid->TopIndex()) * h + h / 2));
        };
        auto *box = grid->findChild<QLineEdit *>(QStringLiteral("txt"));
        // The required message text: through the text pop-up.
        clickRow(rows.IndexOf(rows.Item(QStringLiteral("TEXT:"))));
        QTest::keyClick(box, Qt::Key_F4);
        // The pop-up is the application's open pop-up window.
        QWidget *opened = QApplication::activePopupWidget();
        auto *popupText = opened ? opened->findChild<QPlainTextEdit *>() : nullptr;
        EXPECT_NE(popupText, nullptr);
        if (popupText) {
            QTest::keyClicks(popupText, QStringLiteral("Hello & <welcome>"));
            QTest::keyClick(popupText, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(popupText, QStringLiteral("second line"));
            QTest::keyClick(popupText, Qt::Key_Return);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The title: typed into the edit box and confirmed directly with OK.
        clickRow(1);
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("Greeting"));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        return dialog.result();
    });

    dragToList("msgbox", QPoint(40, 40));
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(markerDuringDrag.isEmpty()); // an empty list has no row to mark
    ASSERT_EQ(names(), QStringList({"msgbox"}));
    EXPECT_EQ(doc().Step(0)->Text, QStringLiteral("Hello & <welcome>\r\nsecond line"));
    EXPECT_TRUE(w().Dirty());
    EXPECT_EQ(selected(), Rows({0}));
    EXPECT_EQ(w().focusWidget(), w().List());

    const QString path = m_files.filePath(QStringLiteral("typical.zml"));
    answerFileDialog(path);
    ASSERT_TRUE(w().SaveDoc(false));
    EXPECT_FALSE(w().Dirty());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.toStdString(),
              "<zml version=\"1.0\" edition=\"Tessaro\">\r\n"
              "    <zmlhead>\r\n"
              "        <author></author>\r\n"
              "        <company></company>\r\n"
              "        <web></web>\r\n"
              "        <email></email>\r\n"
              "        <version>1.0</version>\r\n"
              "        <description></description>\r\n"
              "    </zmlhead>\r\n"
              "    <zmlbody>\r\n"
              "        <msgbox title=\"Greeting\" buttons=\"OK\" icon=\"None\" result=\"\">Hello "
              "&amp; &lt;welcome&gt;&#10;second line</msgbox>\r\n"
              "    </zmlbody>\r\n"
              "</zml>\r\n");
}

TEST_F(EditWindowTest, DroppingOnARowInsertsAboveItAndAnOpenerLeavesItsCloserSelected)
{
    openShown({"<bmclear />", "<bmfirst />", "<bmlast />"});
    w().setStepDialogs(&fake);
    dragToList("if", rowCentre(1));
    EXPECT_EQ(markerDuringDrag, QStringLiteral("1"));
    EXPECT_EQ(w().List()->DropMarker(), QString());
    EXPECT_EQ(names(), QStringList({"bmclear", "if", "endif", "bmfirst", "bmlast"}));
    ASSERT_EQ(fake.propertiesCalls.size(), 1U);
    EXPECT_TRUE(fake.propertiesCalls[0].useDefaults);
    EXPECT_EQ(selected(), Rows({2}));
    EXPECT_TRUE(w().Dirty());

    // Below the last row: at the end. A cancelled dialog inserts nothing.
    fake.properties.push_back([](CElement &) { return false; });
    dragToList("msgbox", QPoint(40, listViewport()->height() - 5));
    EXPECT_EQ(doc().RowCount(), 5);
    dragToList("msgbox", QPoint(40, listViewport()->height() - 5));
    EXPECT_EQ(names().last(), QStringLiteral("msgbox"));
    EXPECT_EQ(selected(), Rows({5}));
}

TEST_F(EditWindowTest, TreeClickAndEnterInsertAfterTheFirstSelectedRow)
{
    openShown(
        {"<bmclear />", "<bmfirst />", "<bmlast />", "<bmclear />", "<bmclear />", "<bmclear />"});
    w().setStepDialogs(&fake);
    clickRows({2, 5});
    clickNode("if");
    EXPECT_EQ(names().mid(2, 4), QStringList({"bmlast", "if", "endif", "bmclear"}));
    EXPECT_EQ(selected(), Rows({3}));
    EXPECT_TRUE(w().List()->hasFocus());
    EXPECT_TRUE(w().Dirty());

    // Enter on the selected node inserts the same way; a folder click inserts nothing.
    QTreeWidgetItem *node = w().Tree()->ActionNode(QStringLiteral("msgbox"));
    w().Tree()->Tree()->setCurrentItem(node);
    w().Tree()->Tree()->setFocus();
    QTest::keyClick(w().Tree()->Tree(), Qt::Key_Return);
    EXPECT_EQ(names().at(4), QStringLiteral("msgbox"));
    const int rows = doc().RowCount();
    QTreeWidgetItem *folder = node->parent();
    QTest::mouseClick(treeViewport(), Qt::LeftButton, {},
                      w().Tree()->Tree()->visualItemRect(folder).center());
    EXPECT_EQ(doc().RowCount(), rows);
    EXPECT_EQ(fake.propertiesCalls.size(), 2U);
}

TEST_F(EditWindowTest, ShortcutsReachTheCommandsWithTheirDirtyRules)
{
    openShown({"<bmclear />", "<bmfirst />", "<bmlast />", "<saveall />"});
    w().setStepDialogs(&fake);
    QGuiApplication::clipboard()->clear();
    settle();
    EXPECT_FALSE(enabled(Command::EditPaste));
    EXPECT_TRUE(enabled(Command::EditCut)); // opening selected the first row
    EXPECT_TRUE(enabled(Command::EditComment));
    EXPECT_TRUE(enabledButton(Command::EditComment));

    clickRows({1, 2});
    EXPECT_TRUE(enabled(Command::EditCut));
    EXPECT_TRUE(enabledButton(Command::EditCopy));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("<bmfirst />\r\n<bmlast />\r\n"));
    EXPECT_TRUE(enabled(Command::EditPaste));
    EXPECT_TRUE(enabledButton(Command::EditPaste));
    EXPECT_FALSE(w().Dirty());

    // Move down and up keep the pair selected and mark the script changed.
    key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(names(), QStringList({"bmclear", "saveall", "bmfirst", "bmlast"}));
    EXPECT_EQ(selected(), Rows({2, 3}));
    EXPECT_FALSE(enabled(Command::EditMoveDown));
    EXPECT_TRUE(w().Dirty());
    key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(names(), QStringList({"bmclear", "bmfirst", "bmlast", "saveall"}));

    // Paste before the first selected row.
    w().Document()->SetDirty(false);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(names(),
              QStringList({"bmclear", "bmfirst", "bmlast", "bmfirst", "bmlast", "saveall"}));
    EXPECT_TRUE(w().Dirty());
    EXPECT_TRUE(w().Tree()->Tree()->hasFocus());

    // Delete asks; No keeps everything.
    clickRows({0});
    m_messages.answerNext(MsgResult::No);
    key(Qt::Key_Delete);
    EXPECT_EQ(doc().RowCount(), 6);
    m_messages.answerNext(MsgResult::Yes);
    key(Qt::Key_Delete);
    EXPECT_EQ(doc().RowCount(), 5);
    EXPECT_EQ(m_messages.texts().count(
                  QStringLiteral("Are you sure you want to delete the selected items?")),
              2);

    // Cut asks nothing.
    clickRows({0});
    const int messagesBefore = static_cast<int>(m_messages.messages().size());
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(doc().RowCount(), 4);
    EXPECT_EQ(m_messages.messages().size(), messagesBefore);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("<bmfirst />\r\n"));

    // Comment after the first selected row; go to line; select all.
    clickRows({1});
    fake.comments.push_back({QStringLiteral("note"), false});
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(names().at(2), QStringLiteral("#note"));
    fake.gotoAnswer = 4;
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(selected(), Rows({3}));
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected().size(), static_cast<std::size_t>(doc().RowCount()));
    EXPECT_FALSE(enabled(Command::EditSelectAll));
}

TEST_F(EditWindowTest, MovingSeveralRowsKeepsTheFocusOnTheClickedStep)
{
    openShown({"<bmclear />", "<bmfirst />", "<bmlast />", "<saveall />"});
    w().setStepDialogs(&fake);
    struct Case {
        int anchor, focus; // rows clicked, then Shift+clicked
        Qt::Key key;       // Ctrl+U moves up, Ctrl+D down
    };
    for (const Case c : {Case{1, 2, Qt::Key_U}, Case{2, 1, Qt::Key_U}, Case{1, 2, Qt::Key_D},
                         Case{2, 1, Qt::Key_D}}) {
        SCOPED_TRACE(testing::Message() << c.anchor << "->" << c.focus << " " << c.key);
        const QString focused = names().at(c.focus);
        QTest::mouseClick(listViewport(), Qt::LeftButton, {}, rowCentre(c.anchor));
        QTest::mouseClick(listViewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(c.focus));
        key(c.key, Qt::ControlModifier);
        const int moved = c.focus + (c.key == Qt::Key_U ? -1 : 1);
        EXPECT_EQ(names().at(moved), focused);
        EXPECT_EQ(w().statusPanel(QStringLiteral("Line"))->text(),
                  QStringLiteral("Line: %1 of 4").arg(moved + 1));
        fake.propertiesCalls.clear();
        key(Qt::Key_Return);
        ASSERT_EQ(fake.propertiesCalls.size(), 1u);
        EXPECT_EQ(fake.propertiesCalls[0].elementName, focused);
        // Back to the first order for the next case.
        key(c.key == Qt::Key_U ? Qt::Key_D : Qt::Key_U, Qt::ControlModifier);
        ASSERT_EQ(names(), QStringList({"bmclear", "bmfirst", "bmlast", "saveall"}));
    }
}

TEST_F(EditWindowTest, ToolbarButtonsAndMenuItemsReachTheCommands)
{
    openShown({"<bmclear />", "<bmfirst />", "<bmlast />"});
    w().setStepDialogs(&fake);
    clickRows({1});
    clickButton(Command::EditMoveUp);
    EXPECT_EQ(names(), QStringList({"bmfirst", "bmclear", "bmlast"}));
    EXPECT_TRUE(w().List()->hasFocus());
    clickButton(Command::EditMoveDown);
    EXPECT_EQ(names(), QStringList({"bmclear", "bmfirst", "bmlast"}));

    fake.comments.push_back({QStringLiteral("at the end"), true});
    clickButton(Command::EditComment);
    EXPECT_EQ(names().last(), QStringLiteral("#at the end"));
    EXPECT_FALSE(fake.commentCalls.back().second);
    EXPECT_TRUE(w().List()->hasFocus());

    clickRows({0});
    clickButton(Command::EditCopy);
    clickButton(Command::EditPaste);
    EXPECT_EQ(names().mid(0, 2), QStringList({"bmclear", "bmclear"}));
    clickRows({0});
    clickButton(Command::EditCut);
    EXPECT_EQ(doc().RowCount(), 4);
    clickRows({0});
    m_messages.answerNext(MsgResult::Yes);
    clickButton(Command::EditDelete);
    EXPECT_EQ(names(), QStringList({"bmfirst", "bmlast", "#at the end"}));

    // Disabling and enabling from the menu rebuild the row text.
    clickRows({0});
    w().Document()->SetDirty(false);
    w().action(Command::EditDisable)->trigger();
    EXPECT_EQ(doc().Rows()->rowText(0), QStringLiteral("<!-- <bmfirst /> -->"));
    EXPECT_TRUE(w().Dirty());
    w().action(Command::EditEnable)->trigger();
    EXPECT_EQ(doc().Rows()->rowText(0), QStringLiteral("<bmfirst />"));

    // Indent and outdent change the depth only.
    w().Document()->SetDirty(false);
    clickButton(Command::EditIndent);
    EXPECT_EQ(doc().Rows()->depth(0), 1);
    clickButton(Command::EditOutdent);
    EXPECT_EQ(doc().Rows()->depth(0), 0);
    EXPECT_FALSE(w().Dirty());
}

TEST_F(EditWindowTest, DoubleClickAndEnterEditTheCurrentStep)
{
    openShown({"<!--\r\nold\r\n-->", "<bmclear />"});
    w().setStepDialogs(&fake);
    settle();
    fake.comments.push_back({QStringLiteral("new"), false});
    QTest::mouseDClick(listViewport(), Qt::LeftButton, {}, rowCentre(0));
    ASSERT_EQ(fake.commentCalls.size(), 1U);
    EXPECT_EQ(fake.commentCalls[0], std::make_pair(QStringLiteral("old"), true));
    EXPECT_EQ(doc().Step(0)->Text, QStringLiteral("new"));
    EXPECT_TRUE(w().Dirty());

    w().Document()->SetDirty(false);
    clickRows({1});
    fake.properties.push_back([](CElement &) { return false; });
    key(Qt::Key_Return);
    ASSERT_EQ(fake.propertiesCalls.size(), 1U);
    EXPECT_EQ(fake.propertiesCalls[0].elementName, QStringLiteral("bmclear"));
    EXPECT_FALSE(fake.propertiesCalls[0].useDefaults);
    EXPECT_FALSE(w().Dirty());
}

TEST_F(EditWindowTest, CopiedBlocksPasteBackAndSaveTheSame)
{
    openShown({"<loop count=\"2\">", "<if cond=\"a &lt; b\">", "<saveall />", "</if>", "</loop>"});
    const QString first = m_files.filePath(QStringLiteral("first.zml"));
    answerFileDialog(first);
    ASSERT_TRUE(w().SaveDoc(true));
    const QString original = readFile(first);

    w().Commands()->SelectAll();
    ASSERT_TRUE(w().Commands()->CopySelection());
    m_messages.answerNext(MsgResult::No);
    w().NewDoc();
    ASSERT_EQ(doc().RowCount(), 0);
    EXPECT_TRUE(w().Commands()->PasteText());
    EXPECT_EQ(names(), QStringList({"loop", "if", "saveall", "endif", "endloop"}));
    const QString second = m_files.filePath(QStringLiteral("second.zml"));
    answerFileDialog(second);
    ASSERT_TRUE(w().SaveDoc(true));
    const auto body = [](const QString &text) {
        return text.mid(text.indexOf(QStringLiteral("<zmlbody>")));
    };
    EXPECT_EQ(body(readFile(second)), body(original));
    EXPECT_TRUE(original.contains(QStringLiteral("<if ")));
}
