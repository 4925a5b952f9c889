#include "support/WindowFixture.h"

#include "core/host/RuntimeFiles.h"
#include "core/settings/CMru.h"
#include "core/settings/WindowSettings.h"
#include "core/zml/ZmlWriter.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/mainwindow/ProgramInfo.h"
#include "gui/steplist/StepListView.h"

#include <QAction>
#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString kUntitled = QStringLiteral("[Untitled] - Tessaro AddIn Editor");

QString panel(frmEdit &w, const char *key)
{
    return w.statusPanel(QString::fromLatin1(key))->text();
}

bool enabled(frmEdit &w, Command command)
{
    return w.action(command)->isEnabled();
}

bool enabledButton(frmEdit &w, Command command)
{
    return w.button(command)->isEnabled();
}

QStringList menuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

using FrmEditTest = WindowTest;

// The platform appends a display name that is set to every window title ending otherwise:
// "Properties" would read "Properties — Tessaro AddIn Editor" on X11.
TEST(ProgramIdentity, NoDisplayNameIsAppendedToTitles)
{
    const QString name = QCoreApplication::applicationName();
    SetUpApplication();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Stepsmith"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("stepsmith"));
    QCoreApplication::setApplicationName(name);
}

TEST_F(FrmEditTest, StartsWithAnEmptyScriptAndTheDocumentedMenus)
{
    frmEdit &w = open();
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(w.windowTitle(), kUntitled);
    EXPECT_GT(w.Tree()->Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(w.Document()->RowCount(), 0);

    EXPECT_EQ(
        menuTexts(w.menu("mnuFile")),
        QStringList({"&New", "&Open...", "-", "&Save", "Save &As...", "-", "&Print...",
                     "Page Set&up...", "Print Pre&view...", "-", "Run script", "-", "-", "&Exit"}));
    EXPECT_EQ(menuTexts(w.menu("mnuEdit")), QStringList({"&Undo",
                                                         "&Redo",
                                                         "-",
                                                         "&Cut",
                                                         "C&opy",
                                                         "&Paste",
                                                         "&Delete",
                                                         "-",
                                                         "&Go to step...",
                                                         "Move step &up",
                                                         "Move step &down",
                                                         "&Indent steps",
                                                         "Ou&tdent steps",
                                                         "Add a co&mment...",
                                                         "-",
                                                         "Select &all",
                                                         "-",
                                                         "Di&sable steps",
                                                         "&Enable steps",
                                                         "-",
                                                         "&Properties",
                                                         "Option&s",
                                                         "-",
                                                         "&Find...",
                                                         "Find &Next",
                                                         "Find &Previous"}));
    EXPECT_EQ(menuTexts(w.menu("mnuView")),
              QStringList({"&Toolbars", "&Statusbar", "&Actions", "&Icon size", "&Word wrap",
                           "&Line numbers", "-", "Te&xt", "So&urce", "-", "Problems", "&Fold All",
                           "U&nfold All"}));
    EXPECT_EQ(menuTexts(w.menu("mnuHelp")), QStringList({"&Help Contents\tF1", "&About"}));

    EXPECT_EQ(w.action(Command::FileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(w.action(Command::FileRun)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w.action(Command::EditDelete)->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(w.action(Command::EditMoveDown)->shortcut(), QKeySequence("Ctrl+D"));
    EXPECT_EQ(w.action(Command::EditComment)->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(w.action(Command::EditIndent)->shortcut(), QKeySequence("Ctrl+]"));
    EXPECT_EQ(w.action(Command::EditOutdent)->shortcut(), QKeySequence("Ctrl+["));

    // Initial enabling: nothing to run, move, select or go to in an empty script.
    for (Command command :
         {Command::FileRun, Command::EditMoveUp, Command::EditMoveDown, Command::EditSelectAll,
          Command::EditDisable, Command::EditEnable, Command::EditGoto, Command::EditCut})
        EXPECT_FALSE(enabled(w, command)) << static_cast<int>(command);
    EXPECT_FALSE(enabledButton(w, Command::FileRun));
    EXPECT_FALSE(enabledButton(w, Command::EditDelete));
    for (Command command :
         {Command::FileNew, Command::FileOpen, Command::FileSave, Command::EditProperties})
        EXPECT_TRUE(enabled(w, command)) << static_cast<int>(command);

    // View defaults.
    EXPECT_TRUE(w.action(Command::ViewWordWrap)->isChecked());
    EXPECT_TRUE(w.button(Command::ViewWordWrap)->isChecked());
    EXPECT_TRUE(w.action(Command::ViewLineNumbers)->isChecked());
    EXPECT_TRUE(w.action(Command::ViewIconLarge)->isChecked());
    EXPECT_TRUE(w.action(Command::ViewText)->isChecked());
    EXPECT_FALSE(w.action(Command::ViewSource)->isChecked());
    EXPECT_FALSE(w.button(Command::ViewSource)->isChecked());
    EXPECT_EQ(w.button(Command::ViewSource)->toolTip(), "View Source");
    EXPECT_EQ(w.button(Command::EditOutdent)->toolTip(), "Decrease Indent");
    EXPECT_EQ(w.button(Command::FileRun)->toolTip(), "Run script");
    EXPECT_EQ(w.Settings().FontName, "Arial");
    EXPECT_EQ(w.Settings().FontSizeZML, 10);
}

TEST_F(FrmEditTest, CommandLineOpensTheFileWithQuotesRemoved)
{
    const QString path = writeScript(
        "with blank.zml", {"<var name=\"a\" value=\"1\" />", "<msgbox title=\"t\">hi</msgbox>"});
    frmEdit &w = open(QLatin1Char('"') + path + QLatin1Char('"'));
    EXPECT_TRUE(m_messages.texts().isEmpty()) << m_messages.texts().join('|').toStdString();
    EXPECT_EQ(w.Document()->RowCount(), 2);
    EXPECT_EQ(w.windowTitle(), "[" + path + "] - Tessaro AddIn Editor");
    EXPECT_EQ(panel(w, "Line"), "Line: 1 of 2");
    EXPECT_TRUE(enabled(w, Command::FileRun));
    EXPECT_TRUE(enabledButton(w, Command::FileRun));
    EXPECT_EQ(w.Mru()->FileName(0), path);
}

TEST_F(FrmEditTest, CommandLineNamingAMissingFileWarnsAndDropsItFromRecentFiles)
{
    const QString missing = m_files.filePath("gone.zml");
    {
        CMru mru;
        mru.setListSize(9);
        mru.AddToMruList(missing);
        ASSERT_TRUE(mru.SaveMruList("TR AddIn Editor", "MRU List"));
    }
    frmEdit &w = open(missing);
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_EQ(m_messages.messages()[0].text, "Can't find the file:\r\n'" + missing + "'");
    EXPECT_EQ(m_messages.messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(w.windowTitle(), kUntitled);
    EXPECT_EQ(w.Mru()->ListCount(), 0);
}

TEST_F(FrmEditTest, NewDocHonoursTheThreeAnswersOfTheChangePrompt)
{
    const QString path = writeScript("a.zml", {"<var name=\"a\" value=\"1\" />"});
    frmEdit &w = open(path);
    ASSERT_EQ(w.Document()->RowCount(), 1);

    // Cancel: nothing changes.
    makeDirty();
    m_messages.answerNext(MsgResult::Cancel);
    w.NewDoc();
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_EQ(m_messages.messages()[0].text,
              "The script has been changed.\r\n\r\nDo you want to save the changes?");
    EXPECT_EQ(m_messages.messages()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(m_messages.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(w.Document()->RowCount(), 1);
    EXPECT_TRUE(w.Dirty());
    EXPECT_EQ(w.FileName(), path);

    // No: the changes are dropped.
    m_messages.answerNext(MsgResult::No);
    w.NewDoc();
    EXPECT_EQ(w.Document()->RowCount(), 0);
    EXPECT_FALSE(w.Dirty());
    EXPECT_EQ(w.windowTitle(), kUntitled);
    EXPECT_FALSE(enabled(w, Command::FileRun));
    EXPECT_EQ(w.Document()->Header().Version, "1.0");

    // Yes on an unnamed script: the save dialog, then the new script.
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("VAR"), -1);
    ASSERT_TRUE(w.Dirty());
    const QString saved = m_files.filePath("saved");
    answerFileDialog(saved);
    m_messages.answerNext(MsgResult::Yes);
    w.NewDoc();
    EXPECT_TRUE(QFile::exists(saved + ".zml"));
    EXPECT_EQ(w.Document()->RowCount(), 0);
    EXPECT_EQ(w.windowTitle(), kUntitled);

    // Yes where the save dialog is cancelled counts as Cancel.
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("VAR"), -1);
    answerFileDialog(QString());
    m_messages.answerNext(MsgResult::Yes);
    w.NewDoc();
    EXPECT_EQ(w.Document()->RowCount(), 1);
    EXPECT_TRUE(w.Dirty());
}

TEST_F(FrmEditTest, OpenAsksFirstAndRemembersTheFolder)
{
    const QString first = writeScript("first.zml", {"<var name=\"a\" value=\"1\" />"});
    const QString second = writeScript("second.zml", {"<bmclear />", "<bmfirst />"});
    frmEdit &w = open(first);

    // A changed script: No, then the dialog is cancelled: the old script stays, unchanged.
    makeDirty();
    m_messages.answerNext(MsgResult::No);
    answerFileDialog(QString());
    EXPECT_FALSE(w.OpenDoc());
    EXPECT_EQ(w.FileName(), first);
    EXPECT_FALSE(w.Dirty());
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].Kind, Dialogs::DialogKind::Open);
    EXPECT_EQ(m_requests[0].NameFilters, QStringList({"ZML Files (*.zml)", "All Files (*)"}));
    EXPECT_EQ(m_requests[0].DefExt, "zml");

    answerFileDialog(second);
    ASSERT_TRUE(w.OpenDoc());
    EXPECT_EQ(w.FileName(), second);
    EXPECT_EQ(w.Document()->RowCount(), 2);
    // The first row is selected, the commands on a selection are on, the actions have the keys.
    EXPECT_EQ(w.List()->selectedRows(), std::vector<int>{0});
    EXPECT_EQ(panel(w, "Line"), "Line: 1 of 2");
    for (Command command : {Command::EditCut, Command::EditDisable, Command::EditMoveDown})
        EXPECT_TRUE(enabled(w, command)) << static_cast<int>(command);
    EXPECT_FALSE(enabled(w, Command::EditMoveUp));
    ASSERT_NE(w.focusWidget(), nullptr);
    EXPECT_TRUE(w.Tree()->isAncestorOf(w.focusWidget()));
    EXPECT_EQ(ReadLastPath(), QFileInfo(second).absolutePath());

    // The next dialog starts in that folder.
    answerFileDialog(QString());
    w.OpenDoc();
    EXPECT_EQ(m_requests.back().Directory, QFileInfo(second).absolutePath());
}

TEST_F(FrmEditTest, SaveAsksForANameOnceAndUpdatesCaptionAndRecentFiles)
{
    frmEdit &w = open();
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("BMCLEAR"), -1);
    answerFileDialog(m_files.filePath("script"));
    ASSERT_TRUE(w.SaveDoc(false));
    const QString path = m_files.filePath("script.zml");
    EXPECT_EQ(w.FileName(), path);
    EXPECT_FALSE(w.Dirty());
    EXPECT_EQ(w.windowTitle(), "[" + path + "] - Tessaro AddIn Editor");
    EXPECT_EQ(w.Mru()->FileName(0), path);
    EXPECT_EQ(m_requests.back().Kind, Dialogs::DialogKind::Save);

    // A named script saves without a dialog.
    const auto requests = m_requests.size();
    makeDirty();
    ASSERT_TRUE(w.SaveDoc(false));
    EXPECT_EQ(m_requests.size(), requests);
    // Save As always asks.
    answerFileDialog(QString());
    EXPECT_FALSE(w.SaveDoc(true));
    EXPECT_EQ(m_requests.size(), requests + 1);
    EXPECT_EQ(w.FileName(), path);
}

TEST_F(FrmEditTest, SaveAsAsksBeforeReplacingTheFileTheNameRuleChooses)
{
    frmEdit &w = open();
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("BMCLEAR"), -1);
    const QString taken = m_files.filePath("notes.txt.zml");
    const auto contents = [&taken] {
        QFile file(taken);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    // The dialog asked about "notes.txt" only; the save would write "notes.txt.zml".
    answerFileDialog(m_files.filePath("notes.txt"));
    m_messages.answerNext(MsgResult::No);
    EXPECT_FALSE(w.SaveDoc(true));
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_EQ(m_messages.texts().at(0),
              "notes.txt.zml already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(m_messages.messages().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(contents(), "old");
    EXPECT_TRUE(w.Dirty());
    EXPECT_TRUE(w.FileName().isEmpty());

    answerFileDialog(m_files.filePath("notes.txt"));
    m_messages.answerNext(MsgResult::Yes);
    ASSERT_TRUE(w.SaveDoc(true));
    EXPECT_EQ(w.FileName(), taken);
    EXPECT_TRUE(contents().contains("<bmclear"));

    // A chosen name that is saved as it is was the dialog's own question.
    m_messages.clear();
    answerFileDialog(taken);
    ASSERT_TRUE(w.SaveDoc(true));
    EXPECT_TRUE(m_messages.texts().isEmpty());
}

TEST_F(FrmEditTest, StartupTellsWhatTheCatalogueLeftOut)
{
    // A catalogue whose action has an attribute name no script can hold: loaded without it.
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 1);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("beep"));
    map.insert(QStringLiteral("AttribCount1"), 1);
    map.insert(QStringLiteral("AttribName1_1"), QStringLiteral("a b"));
    const QString folder = m_files.filePath("program");
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        QFile file(folder + "/Actions.dat");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QCborValue(map).toCbor());
    }
    CElements catalogue;
    EXPECT_TRUE(LoadStartupCatalogue(catalogue, folder, QString()));
    EXPECT_EQ(catalogue.Item("beep")->Attributes().Count(), 0);
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_EQ(m_messages.messages().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(m_messages.texts().at(0).startsWith("The attribute 'a b' of the action 'beep'"));

    // A pipe in its place is not read: the program says so and ends.
    m_messages.clear();
    QFile::remove(folder + "/Actions.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/Actions.dat").constData(), 0600), 0);
    CElements none;
    EXPECT_FALSE(LoadStartupCatalogue(none, folder, QString()));
    EXPECT_EQ(m_messages.texts(),
              QStringList{"The catalogue '" + folder +
                          "/Actions.dat' is a device or a pipe, not a "
                          "file, and was not read.\r\nApplication execution aborted"});
}

TEST_F(FrmEditTest, ClosingKeepsTheWindowWhenTheSaveFails)
{
    const QString path = writeScript("keep.zml", {"<bmclear />"});
    frmEdit &w = open(path);
    w.show();
    makeDirty();
    SetSaveCommitHook([](QSaveFile &) { return false; });
    m_messages.answerNext(MsgResult::Yes);
    EXPECT_FALSE(w.close());
    SetSaveCommitHook({});
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Dirty());

    // Cancel keeps it open too; No closes.
    m_messages.answerNext(MsgResult::Cancel);
    EXPECT_FALSE(w.close());
    m_messages.answerNext(MsgResult::No);
    EXPECT_TRUE(w.close());
}

TEST_F(FrmEditTest, RecentFilesFillTheFileMenuAndOpenFromIt)
{
    const QString a = writeScript("a.zml", {"<bmclear />"});
    const QString b = writeScript("b.zml", {"<bmfirst />", "<bmlast />"});
    frmEdit &w = open(a);
    w.OpenDoc(b);
    QStringList captions;
    QAction *entryA = nullptr;
    for (QAction *action : w.menu("mnuFile")->actions()) {
        if (action->text().startsWith('&') && action->text().contains(" - ")) {
            captions.append(action->text());
            if (action->text().endsWith("a.zml"))
                entryA = action;
        }
    }
    EXPECT_EQ(captions, QStringList({"&1 - b.zml", "&2 - a.zml"}));
    ASSERT_NE(entryA, nullptr);
    entryA->trigger();
    EXPECT_EQ(w.FileName(), a);
    EXPECT_EQ(w.Mru()->FileName(0), a);

    // The list survives a restart (saved when the window closes).
    w.show();
    EXPECT_TRUE(w.close());
    frmEdit &again = open();
    EXPECT_EQ(again.Mru()->ListCount(), 2);
    EXPECT_EQ(again.Mru()->FileName(0), a);
}

TEST_F(FrmEditTest, ToolbarsDraggedAlongTheirRowReorderAndKeepTheirFullWidth)
{
    frmEdit &w = open();
    w.resize(1000, 500);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto names = [&w] {
        QStringList order;
        for (const ToolbarBand &band : w.Bands())
            order.append(band.Name + (band.NewRow ? "/" : ""));
        return order;
    };
    ASSERT_EQ(names(), QStringList({"Standard", "Steps", "Run"}));
    // Drags a toolbar by its handle (at its left end) along the row to x in the window.
    const auto drag = [&w](const char *name, int x) {
        QToolBar *bar = w.toolBar(QString::fromLatin1(name));
        const QPoint handle(8, bar->height() / 2);
        const QPoint target = bar->mapFrom(&w, QPoint(x, bar->mapTo(&w, handle).y()));
        const auto send = [bar](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, bar->mapToGlobal(at),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(bar, &event);
        };
        send(QEvent::MouseButtonPress, handle, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step)
            send(QEvent::MouseMove, handle + (target - handle) * step / 10, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, target, Qt::NoButton);
        QCoreApplication::processEvents();
    };
    const auto fullWidths = [&w] {
        for (QToolBar *bar : w.findChildren<QToolBar *>()) {
            auto *chevron = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
            if (chevron != nullptr && chevron->isVisible())
                return false;
        }
        return true;
    };

    const int stepsCentre = w.toolBar("tlbSteps")->geometry().center().x();
    drag("tlbRun", stepsCentre - 10);
    EXPECT_EQ(names(), QStringList({"Standard", "Run", "Steps"}));
    EXPECT_TRUE(fullWidths());

    drag("tlbStandard", w.width() - 20);
    EXPECT_EQ(names(), QStringList({"Run", "Steps", "Standard"}));
    EXPECT_TRUE(fullWidths());
}

TEST_F(FrmEditTest, ViewSettingsAndLayoutSurviveARestart)
{
    frmEdit &w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.action(Command::ViewWordWrap)->trigger();
    w.action(Command::ViewLineNumbers)->trigger();
    w.action(Command::ViewSource)->trigger();
    w.action(Command::ViewIconSmall)->trigger();
    w.action(Command::ViewStatusbar)->trigger();
    w.action(Command::ViewActions)->trigger();
    EXPECT_FALSE(w.WordWrap());
    EXPECT_FALSE(w.LineNumbers());
    EXPECT_TRUE(w.ShowZML());
    EXPECT_TRUE(w.button(Command::ViewSource)->isChecked());
    EXPECT_EQ(w.IconStyle(), 1);
    EXPECT_FALSE(w.Tree()->isVisible());
    SharedSettings fonts = w.Settings();
    fonts.FontName = "DejaVu Serif";
    fonts.CommentColor = 0x0000FF;
    w.ApplySettings(fonts);
    // Move the Run band to the front on a row of its own.
    QToolBar *run = w.toolBar("tlbRun");
    w.removeToolBar(run);
    w.insertToolBar(w.toolBar("tlbStandard"), run);
    w.insertToolBarBreak(w.toolBar("tlbStandard"));
    run->show();
    QCoreApplication::processEvents();
    const std::vector<ToolbarBand> bands = w.Bands();
    ASSERT_EQ(bands.size(), 3u);
    ASSERT_EQ(bands[0].Name, "Run");
    ASSERT_TRUE(bands[1].NewRow);
    w.resize(700, 500);
    ASSERT_TRUE(w.close());

    frmEdit &again = open();
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_FALSE(again.WordWrap());
    EXPECT_FALSE(again.action(Command::ViewWordWrap)->isChecked());
    EXPECT_FALSE(again.LineNumbers());
    EXPECT_TRUE(again.ShowZML());
    EXPECT_TRUE(again.action(Command::ViewSource)->isChecked());
    EXPECT_EQ(again.IconStyle(), 1);
    EXPECT_TRUE(again.action(Command::ViewIconSmall)->isChecked());
    EXPECT_FALSE(again.statusBar()->isVisible());
    EXPECT_FALSE(again.Tree()->isVisible());
    EXPECT_FALSE(again.action(Command::ViewActions)->isChecked());
    EXPECT_EQ(again.Settings().FontName, "DejaVu Serif");
    EXPECT_EQ(again.Settings().CommentColor, 0x0000FFu);
    EXPECT_EQ(again.size(), QSize(700, 500));
    const std::vector<ToolbarBand> restored = again.Bands();
    ASSERT_EQ(restored.size(), 3u);
    EXPECT_EQ(restored[0].Name, "Run");
    EXPECT_TRUE(restored[1].NewRow);
    EXPECT_EQ(restored[1].Name, "Standard");
}

TEST_F(FrmEditTest, ActionsPaneClosesAndReopensAtTheSplitterPosition)
{
    frmEdit &w = open();
    w.resize(900, 600);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.splitter()->setSizes({260, 640});
    QCoreApplication::processEvents();
    const int before = w.splitter()->sizes().value(0);
    emit w.Tree()->CloseRequested();
    EXPECT_FALSE(w.Tree()->isVisible());
    EXPECT_FALSE(w.action(Command::ViewActions)->isChecked());
    QCoreApplication::processEvents();
    EXPECT_GE(w.List()->width(), 880);
    w.action(Command::ViewActions)->trigger();
    EXPECT_TRUE(w.Tree()->isVisible());
    EXPECT_EQ(w.splitter()->sizes().value(0), before);
    // The splitter keeps 30 pixels from either edge.
    w.splitter()->setSizes({5, 895});
    EXPECT_GE(w.splitter()->sizes().value(0), 30);
    w.splitter()->setSizes({895, 5});
    EXPECT_GE(w.splitter()->sizes().value(1), 30);
}

TEST_F(FrmEditTest, MaximisedWindowKeepsItsNormalGeometry)
{
    WindowSettings stored;
    stored.Left = PixelsToTwips(40, 96);
    stored.Top = PixelsToTwips(30, 96);
    stored.Width = PixelsToTwips(640, 96);
    stored.Height = PixelsToTwips(480, 96);
    stored.State = WindowSettings::kStateMaximized;
    ASSERT_TRUE(SaveWindowSettings(stored, true));
    frmEdit &w = open();
    EXPECT_TRUE(w.windowState().testFlag(Qt::WindowMaximized));
    w.show();
    ASSERT_TRUE(w.close());
    const WindowSettings read = ReadWindowSettings(w.Bands());
    EXPECT_EQ(read.State, WindowSettings::kStateMaximized);
    EXPECT_EQ(read.Width, stored.Width);
    EXPECT_EQ(read.Left, stored.Left);
}

} // namespace
