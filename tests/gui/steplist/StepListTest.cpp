#include "support/WindowFixture.h"

#include "core/document/StepRowGeometry.h"
#include "core/host/HostLauncher.h"
#include "gui/actiontree/ActionTree.h"
#include "gui/editing/EditCommands.h"
#include "gui/mainwindow/frmAbout.h"
#include "gui/mainwindow/frmFileProp.h"
#include "gui/steplist/StepListView.h"
#include "gui/steplist/StepRowDelegate.h"
#include "gui/widgets/ElidedLabel.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace G = StepRowGeometry;

namespace {

class StepListTest : public WindowTest {
protected:
    frmEdit &openShown(const QStringList &body, QSize size = QSize(900, 600))
    {
        const QString path = writeScript("list.zml", body);
        frmEdit &w = open(path);
        w.resize(size);
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        settle();
        return w;
    }

    // Lets pending layouts run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(120);
        }
    }

    static int rowHeight(frmEdit &w, int row)
    {
        return w.List()->visualRect(w.Document()->Rows()->index(row, 0)).height();
    }

    // The height the rules give a row for its caption at the list's current width.
    static int expectedHeight(frmEdit &w, int row)
    {
        StepListView *list = w.List();
        const int width = list->rowDelegate()->textWidth(row, list->viewport()->width());
        const QString caption = list->rowDelegate()->caption(row);
        const QFontMetrics fm(list->rowDelegate()->captionFont());
        int flags = Qt::AlignLeft | Qt::AlignTop;
        if (list->WordWrap())
            flags |= Qt::TextWordWrap;
        const int text = fm.boundingRect(QRect(0, 0, width, 100000), flags, caption).height();
        return G::RowHeight(text, list->IconStyle());
    }

    void select(frmEdit &w, std::initializer_list<int> rows)
    {
        QItemSelection selection;
        for (int r : rows) {
            const QModelIndex i = w.Document()->Rows()->index(r, 0);
            selection.select(i, i);
        }
        w.List()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        w.List()->selectionModel()->setCurrentIndex(w.Document()->Rows()->index(*rows.begin(), 0),
                                                    QItemSelectionModel::NoUpdate);
    }

    // Replaces the handlers of the editing commands by ones that record their names.
    void recordEditCommands(frmEdit &w)
    {
        const std::pair<Command, const char *> commands[] = {
            {Command::EditCut, "cut"},         {Command::EditCopy, "copy"},
            {Command::EditDelete, "delete"},   {Command::EditGoto, "goto"},
            {Command::EditMoveUp, "up"},       {Command::EditMoveDown, "down"},
            {Command::EditDisable, "disable"}, {Command::EditEnable, "enable"},
            {Command::EditPaste, "paste"},     {Command::EditComment, "comment"}};
        for (const auto &[command, name] : commands)
            w.commandTable().setHandler(command, [this, name = name] { m_ran.append(name); });
    }

    QStringList m_ran;
};

const QString kLong = QStringLiteral("<msgbox title=\"A title\">%1</msgbox>")
                          .arg(QString("word ").repeated(400).trimmed());

TEST_F(StepListTest, RowHeightsFollowTheCaptionsIconsAndCap)
{
    frmEdit &w = openShown({"<bmclear />", "<var name=\"a\" value=\"1\" />", kLong});
    w.List()->rowDelegate()->setMeasureAll(true);
    for (int style : {0, 1, 2}) {
        w.setIconStyle(style);
        settle();
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(rowHeight(w, row), expectedHeight(w, row)) << "style " << style;
    }
    // Large icons: at least the icon cell plus padding; no icons: the text height plus 8.
    w.setIconStyle(2);
    settle();
    EXPECT_GE(rowHeight(w, 0), 38 + 8);
    w.setIconStyle(0);
    settle();
    const int oneLine = QFontMetrics(w.List()->rowDelegate()->captionFont()).height();
    EXPECT_LT(rowHeight(w, 0), oneLine + 8 + 4);
    // The long wrapped caption is capped at 210 pixels; without wrapping it is one line.
    EXPECT_EQ(rowHeight(w, 2), 210);
    w.setWordWrap(false);
    settle();
    EXPECT_EQ(rowHeight(w, 2), expectedHeight(w, 2));
    EXPECT_LT(rowHeight(w, 2), 210);
}

TEST_F(StepListTest, SourceModeRowsFollowTheirZmlLinesAndTheListWidth)
{
    frmEdit &w = openShown({"<bmclear />",
                            "<findmarkall text=\"%word% and a few more words to "
                            "wrap\" matchcase=\"False\" wholeword=\"True\" "
                            "count=\"marks\" />",
                            kLong},
                           QSize(520, 500));
    w.setShowZML(true);
    settle();
    EXPECT_EQ(w.List()->rowDelegate()->caption(0), "<bmclear />");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rowHeight(w, row), expectedHeight(w, row)) << row;
    const int narrow = rowHeight(w, 1);
    // A wider window re-wraps the rows at the new width.
    w.resize(1200, 500);
    settle();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rowHeight(w, row), expectedHeight(w, row)) << row;
    EXPECT_LT(rowHeight(w, 1), narrow);
}

TEST_F(StepListTest, RowsKeepTheirHeightsWhenTheScrollBarAppears)
{
    QStringList body;
    for (int i = 0; i < 40; ++i)
        body << "<outputaddtext newline=\"True\">Lines marked: %marks% in the active "
                "document</outputaddtext>";
    frmEdit &w = openShown(body, QSize(640, 400));
    w.List()->rowDelegate()->setMeasureAll(true);
    w.setShowZML(true);
    settle();
    ASSERT_TRUE(w.List()->verticalScrollBar()->isVisible());
    // Widths around the one at which the rows start to wrap.
    for (int width = 560; width <= 760; width += 40) {
        w.resize(width, 400);
        settle();
        for (int row = 0; row < 40; ++row)
            ASSERT_EQ(rowHeight(w, row), expectedHeight(w, row)) << row << " at " << width;
    }
}

TEST_F(StepListTest, ARowThatJustFailsToFitWraps)
{
    frmEdit &w = openShown({});
    const QFontMetricsF fm(w.List()->rowDelegate()->captionFont());
    // A caption whose width has a small fraction of a pixel beyond a whole number, so that
    // rounding the advance to whole pixels would take it for one that fits (platforms with
    // whole-pixel advances give none: any caption then checks the boundary).
    QString text;
    for (int n = 10; n < 400 && text.isEmpty(); ++n) {
        const QString candidate = QString("Mark lines %1 ").arg(n).repeated(4).trimmed();
        const qreal advance = fm.horizontalAdvance(candidate);
        const qreal fraction = advance - std::floor(advance);
        if (fraction > 0.05 && fraction < 0.45)
            text = candidate;
    }
    if (text.isEmpty())
        text = QString("Mark lines 10 ").repeated(4).trimmed();
    CElement comment;
    comment.IsComment = true;
    comment.Text = text;
    w.Document()->InsertStep(comment, -1);
    settle();
    const int needed = static_cast<int>(std::ceil(fm.horizontalAdvance(text)));
    const int extra =
        w.width() - w.List()->rowDelegate()->textWidth(0, w.List()->viewport()->width());
    for (int width = needed + extra - 2; width <= needed + extra + 2; ++width) {
        w.resize(width, 300);
        settle();
        ASSERT_EQ(rowHeight(w, 0), expectedHeight(w, 0)) << width;
    }
}

TEST_F(StepListTest, GutterWidthFollowsTheDigitsOfTheRowCount)
{
    QStringList nine;
    for (int i = 0; i < 9; ++i)
        nine << "<bmclear />";
    frmEdit &w = openShown(nine);
    const QFontMetrics fm(w.List()->rowDelegate()->captionFont());
    const int nineWidth = w.List()->gutterWidth();
    // The digits, after the strip of fold controls and problem markers.
    const int strip = StepListView::problemMarkerWidth();
    EXPECT_EQ(nineWidth, strip + fm.horizontalAdvance("000"));
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("BMCLEAR"), -1);
    EXPECT_EQ(w.List()->gutterWidth(), strip + fm.horizontalAdvance("0000"));
    EXPECT_GT(w.List()->gutterWidth(), nineWidth);
    // The width is kept between calls: a new caption font measures it again.
    SharedSettings larger = w.Settings();
    larger.FontSize *= 3;
    w.ApplySettings(larger);
    const QFontMetrics large(w.List()->rowDelegate()->captionFont());
    EXPECT_GT(large.horizontalAdvance("0000"), fm.horizontalAdvance("0000"));
    EXPECT_EQ(w.List()->gutterWidth(), strip + large.horizontalAdvance("0000"));
    w.setLineNumbers(false);
    EXPECT_EQ(w.List()->gutterWidth(), strip);
}

TEST_F(StepListTest, RowsAreMeasuredOnceWhenFirstPaintedAndNotOnRelayout)
{
    QStringList body;
    for (int i = 0; i < 300; ++i)
        body << "<var name=\"v\" value=\"1\" />";
    body << kLong;
    frmEdit &w = openShown(body);
    StepRowDelegate *d = w.List()->rowDelegate();
    // Only the rows on screen were measured.
    const int shown = d->measureCount();
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 60);
    // The last row, sized by its line count until now, gets its wrapped height once painted.
    const QModelIndex last = w.Document()->Rows()->index(300, 0);
    w.List()->scrollTo(last);
    settle();
    w.List()->scrollTo(last);
    settle();
    EXPECT_EQ(rowHeight(w, 300), 210);
    const int measured = d->measureCount();
    EXPECT_LT(measured, 150);
    // Selecting, scrolling back and a width that wraps nothing new measure no text.
    w.Commands()->SelectAll();
    w.List()->verticalScrollBar()->setValue(w.List()->verticalScrollBar()->value() - 200);
    settle();
    const int afterScroll = d->measureCount();
    w.resize(w.width() + 40, w.height());
    settle();
    EXPECT_LE(d->measureCount(), afterScroll + 1); // the wrapped row at its new width
    // A changed row is measured again, alone.
    const int before = d->measureCount();
    const int visible = w.List()->rowAt(QPoint(10, 10));
    ASSERT_GE(visible, 0);
    w.Document()->RefreshRow(visible);
    settle();
    EXPECT_EQ(d->measureCount(), before + 1);
}

TEST_F(StepListTest, SourceModeRowsNotYetPaintedAreSizedByTheirLineCount)
{
    QStringList body;
    for (int i = 0; i < 300; ++i)
        body << "<var name=\"v\" value=\"1\" />";
    body << "<!--"
         << "one"
         << "two"
         << "three"
         << "-->"
         << "<var name=\"multi\" value=\"a&#10;b&#10;c\" />";
    frmEdit &w = openShown(body);
    w.setShowZML(true);
    settle();
    StepRowDelegate *d = w.List()->rowDelegate();
    const int measured = d->measureCount();
    // Off screen: the comment takes its five lines, the encoded line breaks one line.
    EXPECT_EQ(rowHeight(w, 300), expectedHeight(w, 300));
    EXPECT_EQ(rowHeight(w, 301), rowHeight(w, 0));
    EXPECT_GT(rowHeight(w, 300), rowHeight(w, 0));
    EXPECT_EQ(d->measureCount(), measured);
    // Painted, they keep those heights.
    const QModelIndex last = w.Document()->Rows()->index(301, 0);
    w.List()->scrollTo(last);
    settle();
    EXPECT_GT(d->measureCount(), measured);
    EXPECT_EQ(rowHeight(w, 300), expectedHeight(w, 300));
    EXPECT_EQ(rowHeight(w, 301), expectedHeight(w, 301));
}

TEST_F(StepListTest, SelectionDrivesStatusPanelsAndCommands)
{
    frmEdit &w = openShown({"<bmclear />", "<bmfirst />", "<bmlast />"});
    recordEditCommands(w);
    // Opening selects the first row.
    EXPECT_EQ(w.statusPanel("Line")->text(), "Line: 1 of 3");
    EXPECT_TRUE(w.action(Command::EditCut)->isEnabled());
    w.List()->selectionModel()->clear();
    EXPECT_EQ(w.statusPanel("Line")->text(), "Lines: 3");
    EXPECT_FALSE(w.action(Command::EditCut)->isEnabled());
    EXPECT_TRUE(w.action(Command::EditGoto)->isEnabled());
    EXPECT_TRUE(w.action(Command::EditSelectAll)->isEnabled());

    select(w, {1});
    EXPECT_EQ(w.statusPanel("Line")->text(), "Line: 2 of 3");
    EXPECT_EQ(w.statusPanel("Text")->text(),
              w.Document()->Step(1)->Information.replace("\r\n", " "));
    for (Command command :
         {Command::EditCut, Command::EditCopy, Command::EditDelete, Command::EditDisable,
          Command::EditEnable, Command::EditMoveUp, Command::EditMoveDown})
        EXPECT_TRUE(w.action(command)->isEnabled()) << static_cast<int>(command);
    for (Command command : {Command::EditCut, Command::EditDelete, Command::EditMoveUp})
        EXPECT_TRUE(w.button(command)->isEnabled()) << static_cast<int>(command);

    select(w, {0});
    EXPECT_FALSE(w.button(Command::EditMoveUp)->isEnabled());
    EXPECT_FALSE(w.action(Command::EditMoveUp)->isEnabled());
    EXPECT_TRUE(w.action(Command::EditMoveDown)->isEnabled());
    select(w, {2});
    EXPECT_FALSE(w.action(Command::EditMoveDown)->isEnabled());
    select(w, {0, 2});
    EXPECT_EQ(w.statusPanel("Text")->text(), "<Multiple selection>");
    w.action(Command::EditSelectAll)->trigger();
    EXPECT_FALSE(w.action(Command::EditSelectAll)->isEnabled());
    EXPECT_EQ(w.List()->selectedRows(), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(w.Commands()->FirstSelectedIndex(), 0);

    // "Add a comment" has no rule of its own: it is always on.
    EXPECT_TRUE(w.action(Command::EditComment)->isEnabled());
    EXPECT_TRUE(w.button(Command::EditComment)->isEnabled());

    // A command runs its handler from its menu item and its toolbar button alike.
    w.button(Command::EditDelete)->trigger();
    w.action(Command::EditDelete)->trigger();
    w.button(Command::EditComment)->trigger();
    EXPECT_EQ(m_ran, QStringList({"delete", "delete", "comment"}));

    // Removing every row disables Run and the moves and empties the panels.
    w.Document()->RemoveSteps({0, 1, 2});
    EXPECT_FALSE(w.action(Command::FileRun)->isEnabled());
    EXPECT_FALSE(w.button(Command::FileRun)->isEnabled());
    EXPECT_FALSE(w.action(Command::EditMoveDown)->isEnabled());
    EXPECT_EQ(w.statusPanel("Line")->text(), "");
    EXPECT_EQ(w.statusPanel("Text")->text(), "");
}

TEST_F(StepListTest, ALongStatusTextEndsWithAnEllipsisAndItsToolTipHoldsAllOfIt)
{
    frmEdit &w =
        openShown({"<range name=\"r\" from=\"Selection\" />", "<bmclear />"}, QSize(520, 400));
    auto *text = qobject_cast<ElidedLabel *>(w.statusPanel("Text"));
    ASSERT_NE(text, nullptr);
    const auto toolTip = [text] {
        QToolTip::hideText();
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        const QPoint at = text->rect().center();
        QHelpEvent help(QEvent::ToolTip, at, text->mapToGlobal(at));
        QApplication::sendEvent(text, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };

    select(w, {0});
    settle();
    const QString information = w.Document()->Step(0)->Information.replace("\r\n", " ");
    EXPECT_EQ(text->text(), information);
    const QString shown = text->shownText();
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(information.startsWith(shown.chopped(1)));
    EXPECT_LE(text->fontMetrics().horizontalAdvance(shown), text->contentsRect().width());
    EXPECT_LT(text->geometry().right(), w.statusPanel("Line")->geometry().left());
    EXPECT_EQ(toolTip(), information);

    // A text that fits is shown whole, without a tool tip.
    select(w, {1});
    settle();
    EXPECT_EQ(text->shownText(), text->text());
    EXPECT_EQ(toolTip(), QString());
    QToolTip::hideText();
}

TEST_F(StepListTest, RightClickSelectsTheRowOrTheLastOneAndPopsUpTheEditMenu)
{
    frmEdit &w = openShown({"<bmclear />", "<bmfirst />", "<bmlast />"});
    QMenu *edit = w.menu("mnuEdit");
    const QRect second = w.List()->visualRect(w.Document()->Rows()->index(1, 0));
    QTest::mouseClick(w.List()->viewport(), Qt::RightButton, {}, second.center());
    EXPECT_EQ(w.List()->selectedRows(), std::vector<int>({1}));
    EXPECT_TRUE(edit->isVisible());
    edit->hide();

    // A selected row stays selected with the others.
    select(w, {0, 1});
    QTest::mouseClick(w.List()->viewport(), Qt::RightButton, {}, second.center());
    EXPECT_EQ(w.List()->selectedRows(), std::vector<int>({0, 1}));
    edit->hide();

    // Below the last row with no selection: the last row.
    w.List()->clearSelection();
    QTest::mouseClick(w.List()->viewport(), Qt::RightButton, {},
                      QPoint(20, w.List()->viewport()->height() - 5));
    EXPECT_EQ(w.List()->selectedRows(), std::vector<int>({2}));
    edit->hide();
}

TEST_F(StepListTest, DraggedActionsMarkTheDropRowAndDropThere)
{
    frmEdit &w = openShown({"<bmclear />", "<bmfirst />", "<bmlast />"});
    QString droppedName;
    int droppedRow = -2;
    QObject::connect(w.List(), &StepListView::actionDropped, [&](const QString &name, int row) {
        droppedName = name;
        droppedRow = row;
    });
    QMimeData mime;
    mime.setData(StepListView::kActionMimeType, "msgbox");
    const QPoint onSecond = w.List()->visualRect(w.Document()->Rows()->index(1, 0)).center();
    QDragEnterEvent enter(onSecond, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(w.List()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(onSecond, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(w.List()->viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(w.List()->DropMarker(), "1");
    EXPECT_EQ(w.List()->property("DropMarker").toString(), "1");
    QDropEvent drop(QPointF(onSecond), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(w.List()->viewport(), &drop);
    EXPECT_EQ(droppedName, "msgbox");
    EXPECT_EQ(droppedRow, 1);
    EXPECT_EQ(w.List()->DropMarker(), "");

    // Text from elsewhere is not taken.
    QMimeData text;
    text.setText("hello");
    QDragEnterEvent foreign(onSecond, Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(w.List()->viewport(), &foreign);
    EXPECT_FALSE(foreign.isAccepted());

    // A pending marker is cleared by the next selection refresh.
    w.List()->setDropMarker("2");
    w.RefreshSelectionState();
    EXPECT_EQ(w.List()->DropMarker(), "");
}

TEST_F(StepListTest, IndentAndOutdentKeepTheirLimitsAndLeaveTheScriptUnchanged)
{
    frmEdit &w = openShown({"<bmclear />", "<bmfirst />"});
    select(w, {1});
    for (int i = 0; i < 50; ++i)
        w.button(Command::EditIndent)->trigger();
    EXPECT_EQ(w.Document()->Rows()->depth(1), G::kMaxIndent);
    EXPECT_FALSE(w.Dirty());
    for (int i = 0; i < 60; ++i)
        w.button(Command::EditOutdent)->trigger();
    EXPECT_EQ(w.Document()->Rows()->depth(1), 0);
    EXPECT_EQ(w.Document()->Rows()->depth(0), 0);
    EXPECT_FALSE(w.Dirty());
    EXPECT_TRUE(w.List()->hasFocus());
}

TEST_F(StepListTest, IconSizeButtonCyclesAndTheViewPairToggles)
{
    frmEdit &w = openShown({"<bmclear />"});
    EXPECT_EQ(w.IconStyle(), 2);
    w.button(Command::ViewIconSize)->trigger();
    EXPECT_EQ(w.IconStyle(), 0);
    EXPECT_TRUE(w.action(Command::ViewIconNone)->isChecked());
    w.button(Command::ViewIconSize)->trigger();
    EXPECT_EQ(w.IconStyle(), 1);
    // Choosing "Source" while in source mode goes back to the text view.
    w.action(Command::ViewSource)->trigger();
    EXPECT_TRUE(w.ShowZML());
    w.action(Command::ViewSource)->trigger();
    EXPECT_FALSE(w.ShowZML());
    EXPECT_TRUE(w.action(Command::ViewText)->isChecked());
    EXPECT_FALSE(w.button(Command::ViewSource)->isChecked());
}

TEST_F(StepListTest, FilePropertiesEditTheHeader)
{
    frmEdit &w = openShown({"<bmclear />"});
    SetModalRunner([](QDialog &dialog) {
        auto &props = dynamic_cast<frmFileProp &>(dialog);
        EXPECT_EQ(dialog.windowTitle(), "File Properties");
        EXPECT_EQ(props.txtAuthor()->text(), "A");
        EXPECT_TRUE(props.okEnabled());
        props.txtVersion()->setText("   ");
        EXPECT_FALSE(props.okEnabled());
        props.txtVersion()->setText("2.5");
        EXPECT_TRUE(props.okEnabled());
        props.txtAuthor()->setText("Jane");
        props.txtDescription()->setPlainText("two\nlines");
        return int(QDialog::Accepted);
    });
    w.button(Command::EditProperties)->trigger();
    EXPECT_EQ(w.Document()->Header().Author, "Jane");
    EXPECT_EQ(w.Document()->Header().Version, "2.5");
    EXPECT_EQ(w.Document()->Header().Description, "two lines");
    EXPECT_TRUE(w.Dirty());

    // Cancel changes nothing.
    w.Document()->SetDirty(false);
    SetModalRunner([](QDialog &dialog) {
        dynamic_cast<frmFileProp &>(dialog).txtAuthor()->setText("Other");
        return int(QDialog::Rejected);
    });
    w.action(Command::EditProperties)->trigger();
    EXPECT_EQ(w.Document()->Header().Author, "Jane");
    EXPECT_FALSE(w.Dirty());
}

TEST_F(StepListTest, AboutShowsTheProgramVersion)
{
    EXPECT_EQ(frmAbout::VersionText(1, 2, 3), "Version 1.2 rev 3");
    frmEdit &w = open();
    QString shown;
    SetModalRunner([&shown](QDialog &dialog) {
        shown = dynamic_cast<frmAbout &>(dialog).versionLabel()->text();
        return int(QDialog::Accepted);
    });
    w.action(Command::HelpAbout)->trigger();
    EXPECT_EQ(shown, "Version 1.0 rev 0");
}

TEST_F(StepListTest, HelpOpensAtTheSelectedStepFromF1AndAtTheStartFromTheMenu)
{
    frmEdit &w = openShown({"<bmclear />", "<msgbox title=\"x\">y</msgbox>"});
    // Without the help file: the message.
    if (!QFileInfo::exists(w.Help().FileName())) {
        w.HelpCommand(false);
        ASSERT_EQ(m_messages.messages().size(), 1);
        EXPECT_EQ(m_messages.messages()[0].text, "Can't find the help file. Make sure it is "
                                                 "placed in the application directory");
        EXPECT_EQ(m_messages.messages()[0].icon, MsgIcon::Exclamation);
    }
    w.Help().setFileName(QStringLiteral(STEPSMITH_HELP_HTML));
    QList<QUrl> opened;
    const auto previous = CHTMLHelp::SetViewer([&opened](const QUrl &url) { opened.append(url); });
    select(w, {1});
    w.List()->setFocus();
    w.HelpCommand(true);
    w.action(Command::HelpContents)->trigger();
    CHTMLHelp::SetViewer(previous);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].fragment(), "msgbox");
    EXPECT_TRUE(opened[1].fragment().isEmpty());
}

TEST_F(StepListTest, RunStartsTheSubstituteHostWithTheSavedScript)
{
    QTemporaryDir hostDir;
    ASSERT_TRUE(hostDir.isValid());
    const QString argsFile = hostDir.filePath("args.txt");
    {
        QFile host(hostDir.filePath(HostLauncher::ExecutableName()));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly));
        host.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.part'\nmv '%1.part' "
                                  "'%1'\n")
                       .arg(argsFile)
                       .toUtf8());
        host.close();
        host.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    {
        CRegistry reg;
        reg.SectionKey = QStringLiteral("Software\\Tessaro\\Paths");
        reg.ValueKey = QStringLiteral("AppPath");
        reg.ValueType = 1;
        reg.setValue(hostDir.path());
    }
    frmEdit &w = openShown({"<bmclear />"});
    const QString script = w.FileName();
    w.button(Command::FileRun)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(argsFile); }, 10000));
    QFile args(argsFile);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()).trimmed(), "-addin:" + script);
    EXPECT_TRUE(m_messages.texts().isEmpty());

    // An unnamed script asks to be saved first; No ends the command.
    m_messages.answerNext(MsgResult::No);
    w.NewDoc();
    w.Document()->InsertStep(*w.Document()->Catalogue().Item("BMCLEAR"), -1);
    m_messages.clear();
    m_messages.answerNext(MsgResult::No);
    w.RunFile();
    ASSERT_EQ(m_messages.messages().size(), 1);
    EXPECT_EQ(m_messages.messages()[0].text,
              "You have to save the file before you can run it.\r\nDo you want to save it now?");
}

TEST_F(StepListTest, EmptyListPaintsOnlyTheHint)
{
    frmEdit &w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage empty = w.List()->viewport()->grab().toImage();
    const QColor base = w.List()->palette().color(QPalette::Base);
    int inked = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            inked += empty.pixelColor(x, y) != base ? 1 : 0;
    EXPECT_GT(inked, 50); // the hint text
    // Nothing is drawn within 10 pixels of the edges.
    for (int x = 0; x < empty.width(); ++x)
        EXPECT_EQ(empty.pixelColor(x, 5), base);
    EXPECT_EQ(StepListView::EmptyHint(), "Click on or drag & drop the available actions to the "
                                         "left to begin building the file.");
}

} // namespace
