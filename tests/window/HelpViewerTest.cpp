#include "window/HelpViewer.h"
#include "controls/CHTMLHelp.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

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
