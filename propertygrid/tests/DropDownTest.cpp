#include "QtPrinters.h"
#include "frmDD.h"

#include <fieldpane/EzButton.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using Fieldpane::frmDD;

namespace {

QStringList numbers(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("value %1").arg(i);
    return list;
}

// A pop-up placed on the screen with the given width, owned by `owner`.
frmDD *makePopup(QWidget *owner, int width = 200)
{
    auto *popup = new frmDD(owner);
    popup->move(20, 20);
    popup->resize(width, 1);
    return popup;
}

bool isGone(const QPointer<frmDD> &popup)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return popup.isNull();
}

QPoint entryCentre(frmDD *popup, int row)
{
    return popup->list()->visualItemRect(popup->list()->item(row)).center();
}

} // namespace

TEST(frmDDList, ShowsAtMostSixEntries)
{
    QWidget owner;
    QPointer<frmDD> many = makePopup(&owner);
    many->ShowList(numbers(10), QStringLiteral("value 9"));
    const int entry = many->list()->visualItemRect(many->list()->item(0)).height();
    EXPECT_EQ(many->list()->count(), 10);
    EXPECT_EQ(many->height(), many->list()->height());
    EXPECT_EQ(many->list()->viewport()->height(), 6 * entry);
    EXPECT_GT(many->list()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(many->list()->currentRow(), 9);
    EXPECT_EQ(many->width(), 200);
    many->close();

    QPointer<frmDD> two = makePopup(&owner);
    two->ShowList(numbers(2), QString());
    EXPECT_EQ(two->list()->viewport()->height(), 2 * entry);
    EXPECT_EQ(two->list()->verticalScrollBar()->maximum(), 0);
    two->close();
    EXPECT_TRUE(isGone(many));
    EXPECT_TRUE(isGone(two));
}

TEST(frmDDList, LastEqualEntryIsPreselected)
{
    QWidget owner;
    frmDD *popup = makePopup(&owner);
    popup->ShowList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")},
                    QStringLiteral("a"));
    EXPECT_EQ(popup->list()->currentRow(), 2);
    popup->close();
}

TEST(frmDDList, EnterChoosesOnlyWhenAnEntryIsCurrent)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy clicks(popup.data(), &frmDD::ListClick);
    popup->ShowList(numbers(3), QStringLiteral("absent"));
    EXPECT_EQ(popup->list()->currentItem(), nullptr);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(popup->isVisible());

    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Enter);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), QStringLiteral("value 1"));
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDList, EscapeClosesWithoutAChoice)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy clicks(popup.data(), &frmDD::ListClick);
    popup->ShowList(numbers(3), QStringLiteral("value 1"));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDList, ReleaseOfTheOpeningClickIsIgnoredThenAClickChooses)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy clicks(popup.data(), &frmDD::ListClick);
    popup->ShowList(numbers(4), QStringLiteral("value 0"));
    QWidget *viewport = popup->list()->viewport();
    // The release that belongs to the click which opened the pop-up.
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, entryCentre(popup, 2));
    EXPECT_EQ(clicks.count(), 0);
    ASSERT_FALSE(popup.isNull());
    EXPECT_TRUE(popup->isVisible());

    QTest::mouseMove(viewport, entryCentre(popup, 3));
    EXPECT_EQ(popup->list()->currentRow(), 3);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, entryCentre(popup, 3));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), QStringLiteral("value 3"));
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDList, PressOrReleaseOutsideClosesWithoutAChoice)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy clicks(popup.data(), &frmDD::ListClick);
    popup->ShowList(numbers(4), QStringLiteral("value 0"));
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(popup->width() + 10, -10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(isGone(popup));

    // Dragged from the list and released outside it.
    popup = makePopup(&owner);
    QSignalSpy dragClicks(popup.data(), &frmDD::ListClick);
    popup->ShowList(numbers(4), QStringLiteral("value 0"));
    QWidget *viewport = popup->list()->viewport();
    QTest::mouseMove(viewport, entryCentre(popup, 1));
    QTest::mousePress(viewport, Qt::LeftButton, {}, entryCentre(popup, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, popup->height() + 40));
    EXPECT_EQ(dragClicks.count(), 0);
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDText, EnterConfirmsAndShiftEnterStartsANewLine)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy closes(popup.data(), &frmDD::TextClose);
    popup->ShowText(QStringLiteral("a\r\nb"), false);
    EXPECT_EQ(popup->textBox()->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_FALSE(popup->button()->isVisible());
    EXPECT_EQ(popup->height(), popup->textBox()->height());
    QTest::keyClick(popup->textBox(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(popup->textBox(), QStringLiteral("c"));
    EXPECT_EQ(closes.count(), 0);
    QTest::keyClick(popup->textBox(), Qt::Key_Return);
    ASSERT_EQ(closes.count(), 1);
    EXPECT_EQ(closes.at(0).at(0).toString(), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDText, EscapeDiscardsAndAClickOutsideKeepsTheText)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy closes(popup.data(), &frmDD::TextClose);
    popup->ShowText(QStringLiteral("x"), false);
    QTest::keyClicks(popup->textBox(), QStringLiteral("yz"));
    QTest::keyClick(popup->textBox(), Qt::Key_Escape);
    EXPECT_EQ(closes.count(), 0);
    EXPECT_TRUE(isGone(popup));

    popup = makePopup(&owner);
    QSignalSpy kept(popup.data(), &frmDD::TextClose);
    popup->ShowText(QStringLiteral("x"), false);
    QTest::keyClicks(popup->textBox(), QStringLiteral("yz"));
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(-5, -5));
    ASSERT_EQ(kept.count(), 1);
    EXPECT_EQ(kept.at(0).at(0).toString(), QStringLiteral("xyz"));
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDText, ClosedByTheSystemKeepsTheTextOnce)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner);
    QSignalSpy closes(popup.data(), &frmDD::TextClose);
    popup->ShowText(QStringLiteral("kept"), false);
    popup->close();
    ASSERT_EQ(closes.count(), 1);
    EXPECT_EQ(closes.at(0).at(0).toString(), QStringLiteral("kept"));
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDText, ButtonLetsTheReceiverChangeTheText)
{
    QWidget owner;
    QPointer<frmDD> popup = makePopup(&owner, 240);
    QSignalSpy closes(popup.data(), &frmDD::TextClose);
    QObject::connect(popup.data(), &frmDD::ButtonClick, &owner,
                     [](QString &text) { text = text.toUpper(); });
    popup->ShowText(QStringLiteral("abc"), true);
    Fieldpane::EzButton *button = popup->button();
    ASSERT_TRUE(button->isVisible());
    EXPECT_EQ(button->x(), 3);
    EXPECT_EQ(button->width(), 240 - 6);
    EXPECT_GE(button->y(), popup->textBox()->geometry().bottom());
    EXPECT_EQ(popup->height(), popup->textBox()->height() + button->height() + 2);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(closes.count(), 1);
    EXPECT_EQ(closes.at(0).at(0).toString(), QStringLiteral("ABC"));
    EXPECT_TRUE(isGone(popup));

    // A press in the pop-up right of the button's left edge counts as the button.
    popup = makePopup(&owner, 240);
    QSignalSpy buttonClicks(popup.data(), &frmDD::ButtonClick);
    popup->ShowText(QStringLiteral("q"), true);
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(100, popup->height() - 1));
    EXPECT_EQ(buttonClicks.count(), 1);
    EXPECT_TRUE(isGone(popup));
}

TEST(frmDDList, OpensAboveItsAnchorNearTheBottomOfTheScreen)
{
    QWidget owner;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect anchor(20, screen.bottom() - 30, 200, 20);
    frmDD *popup = makePopup(&owner);
    popup->move(anchor.left(), anchor.bottom());
    popup->setAnchor(anchor);
    popup->ShowList(numbers(6), QString());
    EXPECT_EQ(popup->geometry().bottom(), anchor.top() - 1);
    popup->close();

    frmDD *roomy = makePopup(&owner);
    const QRect high(20, screen.top() + 40, 200, 20);
    roomy->move(high.left(), high.bottom());
    roomy->setAnchor(high);
    roomy->ShowList(numbers(6), QString());
    EXPECT_EQ(roomy->geometry().top(), high.bottom());
    roomy->close();
}
