#include "gui/mainwindow/HelpViewer.h"
#include "core/host/CHTMLHelp.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextFragment>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

const QString kHelpFile = QStringLiteral(STEPSMITH_HELP_HTML);

// The text of the first line shown at the top of the browser.
QString topLine(const QTextBrowser *browser)
{
    return browser->cursorForPosition(QPoint(10, 4)).block().text();
}

int helpWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<HelpViewer *>(widget) != nullptr && widget->isVisible() ? 1 : 0;
    return count;
}

// Centre of the first link shown in the browser's viewport; (-1, -1) when none is.
QPoint visibleLink(const QTextBrowser *browser)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref().isEmpty())
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + 1);
            const QPoint at = browser->cursorRect(cursor).center();
            if (browser->viewport()->rect().contains(at))
                return at;
        }
    }
    return {-1, -1};
}

} // namespace

TEST(HelpViewerTest, ShowsTheTopicOfAKeywordOrTheIndex)
{
    HelpViewer viewer;
    viewer.resize(700, 500);
    viewer.Install();
    CHTMLHelp help;
    help.setFileName(kHelpFile);
    ASSERT_EQ(help.FileName(), kHelpFile);
    QTextBrowser *browser = viewer.browser();

    ASSERT_TRUE(help.ShowContent(QStringLiteral("msgbox")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("msgbox"));
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
    EXPECT_EQ(topLine(browser), QStringLiteral("Message box"));
    EXPECT_FALSE(viewer.backAction()->isEnabled());

    // The keyword is matched without regard to case; an unknown one shows the index.
    ASSERT_TRUE(help.ShowContent(QStringLiteral("no such action")));
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("index"));
    EXPECT_EQ(topLine(browser), QStringLiteral("Index of actions"));
    EXPECT_TRUE(viewer.backAction()->isEnabled());

    // Back returns to the topic; Home goes to the start of the page.
    viewer.backAction()->trigger();
    EXPECT_EQ(topLine(browser), QStringLiteral("Message box"));
    EXPECT_TRUE(viewer.forwardAction()->isEnabled());
    viewer.homeAction()->trigger();
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(browser->source().hasFragment());

    // The same window serves every request, even after the user closed it.
    viewer.close();
    ASSERT_TRUE(help.ShowContent(QStringLiteral("MSGBOX")));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(topLine(browser), QStringLiteral("Message box"));
    EXPECT_EQ(helpWindows(), 1);

    // Scrolling away and asking for the same topic again brings it back.
    browser->verticalScrollBar()->setValue(0);
    ASSERT_TRUE(help.ShowContent(QStringLiteral("msgbox")));
    EXPECT_EQ(topLine(browser), QStringLiteral("Message box"));

    ASSERT_TRUE(help.Display());
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
}

TEST(HelpViewerTest, ADestroyedViewerIsNoLongerUsed)
{
    CHTMLHelp help;
    help.setFileName(kHelpFile);
    {
        HelpViewer viewer;
        viewer.Install();
        EXPECT_TRUE(help.Display());
    }
    EXPECT_FALSE(help.Display());

    // A viewer that was replaced does not remove its successor.
    auto first = std::make_unique<HelpViewer>();
    first->Install();
    HelpViewer second;
    second.Install();
    first.reset();
    EXPECT_TRUE(help.Display());
    EXPECT_TRUE(second.isVisible());
}

// Keys and clicks reach the help window through the window system, where a modal dialog
// blocks the windows that are not its own.
TEST(HelpViewerTest, StaysUsableWhileADialogIsOpen)
{
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    HelpViewer viewer(&owner);
    viewer.resize(700, 500);
    viewer.Install();
    CHTMLHelp help;
    help.setFileName(kHelpFile);
    QTextBrowser *browser = viewer.browser();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "help opened from the dialog" : "help open before");
        QDialog dialog(&owner);
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ASSERT_TRUE(help.ShowContent(QStringLiteral("no such action"))); // the index
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
        browser->setFocus();

        const int top = browser->verticalScrollBar()->value();
        QTest::keyClick(viewer.windowHandle(), Qt::Key_PageDown);
        EXPECT_GT(browser->verticalScrollBar()->value(), top);

        const QPoint link = visibleLink(browser);
        ASSERT_NE(link, QPoint(-1, -1));
        const QUrl before = browser->source();
        QTest::mouseClick(viewer.windowHandle(), Qt::LeftButton, {},
                          browser->viewport()->mapTo(&viewer, link));
        EXPECT_NE(browser->source(), before);
        dialog.close();
    }
}
