#include "core/printing/CPrintPreview.h"
#include "core/printing/CPrinter.h"
#include "gui/printing/CPrintCommand.h"
#include "gui/printing/frmPreview.h"
#include "support/MessageRecorder.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPageSize>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QString Lines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("<msgbox text=\"%1\" />").arg(i));
    return lines.join(QStringLiteral("\r\n"));
}

struct PreviewFixture {
    explicit PreviewFixture(int lines)
        : preview(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()))
    {
        preview.ApplySettings(CPrinter());
        preview.PrintText(Lines(lines), false);
        window.SetPreviewObject(&preview);
        window.resize(900, 700);
        window.show();
    }
    void Press(const char *key)
    {
        QAction *action = window.findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_NE(action, nullptr) << key;
        action->trigger();
    }
    QWidget *View() { return window.findChild<QWidget *>(QStringLiteral("picPage")); }

    CPrintPreview preview;
    frmPreview window;
};

} // namespace

TEST(PreviewWindow, OnePageStaysOnPageOne)
{
    PreviewFixture f(10);
    EXPECT_EQ(f.window.PageCounterText(), "Page:  1 / 1 ");
    for (const char *key : {"Next", "Last", "Prev", "First"}) {
        f.Press(key);
        EXPECT_EQ(f.window.Page(), 0) << key;
    }
    EXPECT_EQ(f.window.PageCounterText(), "Page:  1 / 1 ");
    EXPECT_EQ(f.window.findChild<QAction *>(QStringLiteral("Prev"))->toolTip(), "Previous Page");
    EXPECT_EQ(f.window.findChild<QAction *>(QStringLiteral("Last"))->toolTip(), "Last Page");
}

TEST(PreviewWindow, ToolbarPagesThroughTheJob)
{
    PreviewFixture f(200);
    const int pages = f.preview.PageCount();
    ASSERT_GE(pages, 3);
    f.Press("Next");
    EXPECT_EQ(f.window.Page(), 1);
    EXPECT_EQ(f.window.PageCounterText(), QStringLiteral("Page:  2 / %1 ").arg(pages));
    f.Press("Last");
    EXPECT_EQ(f.window.Page(), pages - 1);
    f.Press("Next");
    EXPECT_EQ(f.window.Page(), pages - 1);
    f.Press("Prev");
    EXPECT_EQ(f.window.Page(), pages - 2);
    f.Press("First");
    EXPECT_EQ(f.window.Page(), 0);
    f.window.SetPage(pages); // out of range: ignored
    EXPECT_EQ(f.window.Page(), 0);

    QTest::keyClick(&f.window, Qt::Key_PageDown);
    EXPECT_EQ(f.window.Page(), 1);
    QTest::keyClick(&f.window, Qt::Key_End);
    EXPECT_EQ(f.window.Page(), pages - 1);
    QTest::keyClick(&f.window, Qt::Key_PageDown);
    EXPECT_EQ(f.window.Page(), pages - 1);
    QTest::keyClick(&f.window, Qt::Key_PageUp);
    EXPECT_EQ(f.window.Page(), pages - 2);
    QTest::keyClick(&f.window, Qt::Key_Home);
    EXPECT_EQ(f.window.Page(), 0);
    QSignalSpy closed(&f.window, &frmPreview::CloseMe);
    QTest::keyClick(&f.window, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(f.window.isVisible());
}

TEST(PreviewWindow, ClicksStepTheZoomBetween25And400)
{
    PreviewFixture f(10);
    EXPECT_EQ(f.window.ViewStyle(), frmPreview::WholePage);
    EXPECT_EQ(f.window.Percentage(), 50);
    const int expectedUp[] = {100, 200, 400, 400};
    for (int expected : expectedUp) {
        QTest::mouseClick(f.View(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(f.window.Percentage(), expected);
        EXPECT_EQ(f.window.ViewStyle(), frmPreview::Percent);
    }
    const int expectedDown[] = {200, 100, 50, 25, 25};
    for (int expected : expectedDown) {
        QTest::mouseClick(f.View(), Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(f.window.Percentage(), expected);
    }
    // From 75 the steps stay inside the range.
    f.window.findChild<QAction *>(QStringLiteral("P75"))->trigger();
    QTest::mouseClick(f.View(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(f.View(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(f.View(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.window.Percentage(), 400);
}

TEST(PreviewWindow, ZoomMenuSetsStyleAndSize)
{
    PreviewFixture f(10);
    auto *menu = f.window.findChild<QMenu *>(QStringLiteral("mnuZoom"));
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction *action : menu->actions())
        captions.append(action->text());
    EXPECT_EQ(captions, (QStringList{"Whole page", "Page width", "", "25%", "50%", "75%", "100%",
                                     "200%", "400%"}));

    f.window.findChild<QAction *>(QStringLiteral("P75"))->trigger();
    EXPECT_EQ(f.window.ViewStyle(), frmPreview::Percent);
    EXPECT_EQ(f.window.Percentage(), 75);
    const QSizeF sheet = f.preview.SheetSizePixels();
    EXPECT_NEAR(f.window.PageRect().width(), sheet.width() * 0.75, 1);
    EXPECT_NEAR(f.window.PageRect().height(), sheet.height() * 0.75, 1);

    f.window.findChild<QAction *>(QStringLiteral("Page"))->trigger();
    EXPECT_EQ(f.window.ViewStyle(), frmPreview::PageWidth);
    const int vsbWidth = f.window.VerticalScrollBar()->width();
    EXPECT_NEAR(f.window.PageRect().width(), 900 - 40 - vsbWidth, 1);

    f.window.findChild<QAction *>(QStringLiteral("Window"))->trigger();
    EXPECT_EQ(f.window.ViewStyle(), frmPreview::WholePage);
    const QRect whole = f.window.PageRect();
    EXPECT_LE(whole.bottom(), f.window.HorizontalScrollBar()->y());
    EXPECT_NEAR(static_cast<double>(whole.height()) / whole.width(), sheet.height() / sheet.width(),
                0.01);
}

TEST(PreviewWindow, VerticalBarPagesInWholePageViewAndScrollsOtherwise)
{
    PreviewFixture f(200);
    QScrollBar *vsb = f.window.VerticalScrollBar();
    EXPECT_EQ(vsb->maximum(), f.preview.PageCount() - 1);
    EXPECT_TRUE(vsb->isEnabled());
    vsb->setValue(2);
    EXPECT_EQ(f.window.Page(), 2);
    f.Press("Next");
    EXPECT_EQ(vsb->value(), 3);

    f.window.findChild<QAction *>(QStringLiteral("Page"))->trigger();
    EXPECT_EQ(f.window.Page(), 3);
    ASSERT_GT(vsb->maximum(), 1);
    const int top = f.window.PageRect().top();
    vsb->setValue(10);
    EXPECT_EQ(f.window.Page(), 3);
    EXPECT_EQ(f.window.PageRect().top(), top - 10 * 20);

    // At 25% everything fits: the bars are off.
    f.window.findChild<QAction *>(QStringLiteral("P25"))->trigger();
    EXPECT_FALSE(vsb->isEnabled());
    EXPECT_FALSE(f.window.HorizontalScrollBar()->isEnabled());
    f.window.findChild<QAction *>(QStringLiteral("P400"))->trigger();
    EXPECT_TRUE(f.window.HorizontalScrollBar()->isEnabled());
}

TEST(PreviewWindow, ToolbarStaysOnTopOfAScrolledPage)
{
    PreviewFixture f(200);
    QToolBar *toolbar = f.window.findChild<QToolBar *>(QStringLiteral("tlbPreview"));
    ASSERT_NE(toolbar, nullptr);
    QWidget *close =
        toolbar->widgetForAction(f.window.findChild<QAction *>(QStringLiteral("Close")));
    ASSERT_NE(close, nullptr);
    const QPoint onClose = close->mapTo(&f.window, close->rect().center());
    for (const char *zoom : {"Page", "P200"}) {
        f.window.findChild<QAction *>(QString::fromLatin1(zoom))->trigger();
        QScrollBar *vsb = f.window.VerticalScrollBar();
        vsb->setValue(vsb->maximum() / 2);
        // The page runs under the toolbar, which still gets the clicks.
        ASSERT_TRUE(f.window.PageRect().contains(onClose)) << zoom;
        EXPECT_EQ(f.window.childAt(onClose), close) << zoom;
    }
    const int percentage = f.window.Percentage();
    QSignalSpy closed(&f.window, &frmPreview::CloseMe);
    // A click at that place of the window reaches the button, not the page.
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {}, onClose);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(f.window.Percentage(), percentage);
}

TEST(PreviewWindow, PrintAsksToPrintAndCloses)
{
    PreviewFixture f(10);
    QSignalSpy print(&f.window, &frmPreview::PrintMe);
    QSignalSpy closed(&f.window, &frmPreview::CloseMe);
    f.Press("Print");
    EXPECT_EQ(print.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(f.window.isVisible());
}

TEST(PreviewWindow, ShowPreviewDisablesTheOwnerWhileOpen)
{
    CPrintCommand::SetInstalledPrinters([] { return QStringList(); });
    QMainWindow owner;
    owner.setWindowTitle(QStringLiteral("demo.zml - Tessaro AddIn Editor"));
    owner.resize(700, 500);
    owner.show();
    CPrinter settings;
    settings.SetLineNumbers(true);
    settings.SetHeaderText(QStringLiteral("$p of $P"));
    int printed = 0;
    bool ownerEnabledWhileOpen = true;
    int pages = 0;
    frmPreview::SetExecHook([&](frmPreview &window) {
        ownerEnabledWhileOpen = owner.isEnabled();
        pages = window.PageCount();
        EXPECT_EQ(window.windowTitle(), owner.windowTitle());
        EXPECT_EQ(window.PreviewObject()->FileTitle(), "demo.zml");
        // The counter and the header agree on the number of pages.
        EXPECT_EQ(window.PageCounterText(), QStringLiteral("Page:  1 / %1 ").arg(pages));
        EXPECT_EQ(window.PreviewObject()->PageItems(pages - 1).value(0).text,
                  QStringLiteral("%1 of %1").arg(pages));
        window.findChild<QAction *>(QStringLiteral("Print"))->trigger();
    });
    // Lines that wrap, which a count by height alone would miss.
    const QString text =
        Lines(120) + QStringLiteral("\r\n") +
        QStringList(80, QStringLiteral("wrap me ").repeated(30)).join(QStringLiteral("\r\n"));
    EXPECT_TRUE(frmPreview::ShowPreview(&owner, settings, text, QStringLiteral("/x/demo.zml"),
                                        [&printed] { ++printed; }));
    frmPreview::SetExecHook({});
    CPrintCommand::SetInstalledPrinters({});
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(printed, 1);
    EXPECT_GE(pages, 2);
}

TEST(PreviewWindow, AFailureIsReportedAndTheOwnerComesBack)
{
    MessageRecorder messages;
    QMainWindow owner;
    owner.show();
    frmPreview::SetExecHook([](frmPreview &) { throw std::runtime_error("out of pages"); });
    EXPECT_FALSE(frmPreview::ShowPreview(&owner, CPrinter(), QStringLiteral("x"), QString(), {}));
    frmPreview::SetExecHook({});
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("out of pages"),
                                             QStringLiteral("Can't create Print Preview Window")}));
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages().at(1).icon, MsgIcon::Information);
    EXPECT_TRUE(owner.isEnabled());
}
