#include "gui/widgets/TitleBar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

TEST(TitleBarTest, CaptionDefaultsAndChanges)
{
    TitleBar bar;
    EXPECT_EQ(bar.Caption(), QStringLiteral("Label1"));
    QSignalSpy spy(&bar, &TitleBar::CaptionChanged);
    bar.setCaption(QStringLiteral("Actions"));
    bar.setCaption(QStringLiteral("Actions"));
    EXPECT_EQ(bar.Caption(), QStringLiteral("Actions"));
    EXPECT_EQ(bar.captionLabel()->text(), QStringLiteral("Actions"));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(bar.property("Caption").toString(), QStringLiteral("Actions"));
}

TEST(TitleBarTest, HeightStaysFixedAndTheCrossSitsAtTheRightEnd)
{
    QWidget host;
    auto *bar = new TitleBar(&host);
    bar->resize(200, 10);
    const int height = bar->height();
    EXPECT_EQ(height, TitleBar::BarHeight(bar));
    // 240 twips: 16 pixels at 96 dots per inch, never less than the font needs.
    EXPECT_GE(height, (240 * bar->logicalDpiY() + 720) / 1440);
    EXPECT_GE(height, bar->fontMetrics().height());

    bar->resize(200, 500);
    EXPECT_EQ(bar->height(), height);
    host.resize(300, 100);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    bar->resize(300, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->height(), height);

    const QRect cross = bar->closeButton()->geometry();
    EXPECT_GE(cross.right(), bar->width() - 3);
    EXPECT_LE(cross.height(), height);
    EXPECT_LT(bar->captionLabel()->geometry().right(), cross.left());
    EXPECT_EQ(bar->closeButton()->toolTip(), QStringLiteral("Close"));
    EXPECT_EQ(bar->closeButton()->focusPolicy(), Qt::NoFocus);
}

TEST(TitleBarTest, ClickingTheCrossRequestsClosing)
{
    TitleBar bar;
    bar.resize(200, 20);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy spy(&bar, &TitleBar::CloseClick);

    // A click on the caption does nothing; one on the cross closes.
    QTest::mouseClick(bar.captionLabel(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(bar.closeButton(), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);

    // Pressing on the cross and releasing elsewhere cancels.
    QTest::mousePress(bar.closeButton(), Qt::LeftButton);
    QTest::mouseRelease(bar.closeButton(), Qt::LeftButton, {}, QPoint(-50, 5));
    EXPECT_EQ(spy.count(), 1);
}
