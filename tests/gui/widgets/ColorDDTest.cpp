#include "gui/widgets/ColorDD.h"
#include "core/settings/ColorPalette.h"
#include "gui/widgets/frmColorPopUp.h"

#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/EzButton.h>
#include <fieldpane/SystemColors.h>

#include <QLabel>
#include <QListWidget>
#include <QMetaProperty>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using Fieldpane::CCommonDialogs;

namespace {

// Answers the colour dialog and records what it was asked.
class ColorDialogAnswerer final {
public:
    explicit ColorDialogAnswerer(CCommonDialogs::Answer answer)
    {
        CCommonDialogs::SetDialogHook([this, answer](const CCommonDialogs::Request &request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~ColorDialogAnswerer() { CCommonDialogs::SetDialogHook({}); }
    ColorDialogAnswerer(const ColorDialogAnswerer &) = delete;
    ColorDialogAnswerer &operator=(const ColorDialogAnswerer &) = delete;

    std::vector<CCommonDialogs::Request> requests;
};

class ColorDDTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(host.get());
        dd = new ColorDD(host.get());
        layout->addWidget(dd);
        layout->addStretch(1);
        host->resize(260, 80);
        host->move(40, 40);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    // Opens the picker with a click on the drop-down button.
    frmColorPopUp *open()
    {
        auto *button = dd->findChild<Fieldpane::EzButton *>(QStringLiteral("btnDD"));
        QTest::mouseClick(button, Qt::LeftButton);
        return dd->frm();
    }

    template <typename T> static T *part(QWidget *popup, const char *name)
    {
        return popup->findChild<T *>(QString::fromLatin1(name));
    }

    std::unique_ptr<QWidget> host;
    ColorDD *dd = nullptr;
};

} // namespace

TEST_F(ColorDDTest, ColorShowsSwatchWithBoxAndName)
{
    EXPECT_EQ(dd->Color(), ColorDD::DefaultColor);
    EXPECT_EQ(dd->ColorText(), "Window Text");

    dd->setColor(0x000080);
    EXPECT_EQ(dd->ColorText(), "Maroon");
    EXPECT_EQ(dd->findChild<QLabel *>(QStringLiteral("lbl"))->text(), "Maroon");

    auto *swatch = dd->findChild<QWidget *>(QStringLiteral("picColor"));
    ASSERT_TRUE(swatch);
    const QImage image = swatch->grab().toImage();
    ASSERT_GE(image.width(), 4);
    ASSERT_GE(image.height(), 4);
    const QColor box = dd->palette().color(QPalette::WindowText);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(0x80, 0, 0));
    for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1),
                                QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1)})
        EXPECT_EQ(image.pixelColor(corner), box) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0x80, 0, 0));

    // A system colour is drawn in its current shade.
    dd->setColor(0x8000000F);
    EXPECT_EQ(dd->ColorText(), "3D Face");
    const QImage face = swatch->grab().toImage();
    EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2),
              Fieldpane::SystemColor(15, dd->palette()));
    dd->setColor(0x123456);
    EXPECT_EQ(dd->ColorText(), "0x123456");
}

TEST_F(ColorDDTest, ColorIsADesignablePropertyThatNotifiesChanges)
{
    const QMetaObject *meta = dd->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty("Color"));
    ASSERT_TRUE(property.isValid());
    EXPECT_TRUE(property.isDesignable());
    EXPECT_TRUE(property.isStored());
    EXPECT_TRUE(property.hasNotifySignal());

    QSignalSpy changed(dd, &ColorDD::ColorChanged);
    EXPECT_TRUE(dd->setProperty("Color", 0xFF0000u));
    EXPECT_EQ(dd->ColorText(), "Blue");
    EXPECT_EQ(dd->property("Color").toUInt(), 0xFF0000u);
    dd->setColor(0xFF0000u);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toUInt(), 0xFF0000u);
}

TEST_F(ColorDDTest, OpensFromButtonLabelAndKeys)
{
    frmColorPopUp *popup = open();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->isVisible());
    // Left-aligned under the control.
    const QPoint origin = dd->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(popup->frameGeometry().topLeft(), QPoint(origin.x(), origin.y() + dd->height()));
    popup->Cancel();
    EXPECT_FALSE(dd->frm());

    QTest::mouseClick(dd->findChild<QLabel *>(QStringLiteral("lbl")), Qt::LeftButton);
    ASSERT_TRUE(dd->frm());
    dd->frm()->Cancel();

    dd->setFocus();
    QTest::keyClick(dd, Qt::Key_F4);
    ASSERT_TRUE(dd->frm());
    dd->frm()->Cancel();

    QTest::keyClick(dd, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(dd->frm());
    dd->frm()->Cancel();

    // Other keys do not open it.
    QTest::keyClick(dd, Qt::Key_Down);
    QTest::keyClick(dd, Qt::Key_F3);
    EXPECT_FALSE(dd->frm());

    dd->setEnabled(false);
    dd->DropDown();
    EXPECT_FALSE(dd->frm());
}

TEST_F(ColorDDTest, OpensAboveTheControlNearTheBottomOfTheScreen)
{
    const QRect screen = host->screen()->availableGeometry();
    host->move(screen.left() + 20, screen.bottom() - host->frameGeometry().height() + 1);
    QTest::qWait(10);
    frmColorPopUp *popup = open();
    ASSERT_TRUE(popup);
    const QPoint origin = dd->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(popup->frameGeometry().bottom(), origin.y() - 1);
    EXPECT_EQ(popup->frameGeometry().left(), origin.x());
}

TEST_F(ColorDDTest, EscapeAndClicksOutsideCancelOnce)
{
    dd->setColor(0x123456);
    frmColorPopUp *popup = open();
    ASSERT_TRUE(popup);
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    QTest::keyClick(part<QWidget>(popup, "picColorPicker"), Qt::Key_Escape);
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(closing.at(0).at(0).toString(), QString());
    EXPECT_EQ(closing.at(0).at(1).toInt(), frmColorPopUp::NoColor);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(dd->Color(), 0x123456u);
    EXPECT_FALSE(dd->frm());
    QPointer<frmColorPopUp> gone(popup);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gone);

    // Escape on the system list as well.
    dd->setColor(0x80000005u);
    popup = open();
    QSignalSpy closing2(popup, &frmColorPopUp::Closing);
    QTest::keyClick(part<QListWidget>(popup, "odlSysColors"), Qt::Key_Escape);
    EXPECT_EQ(closing2.count(), 1);
    EXPECT_EQ(dd->Color(), 0x80000005u);

    // A press outside the pop-up.
    popup = open();
    QSignalSpy closing3(popup, &frmColorPopUp::Closing);
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(-20, popup->height() + 30));
    ASSERT_EQ(closing3.count(), 1);
    EXPECT_EQ(closing3.at(0).at(1).toInt(), frmColorPopUp::NoColor);
    EXPECT_FALSE(dd->frm());
    EXPECT_EQ(dd->Color(), 0x80000005u);

    // A press on its border, outside the pages.
    popup = open();
    QSignalSpy closing4(popup, &frmColorPopUp::Closing);
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(1, popup->height() - 2));
    EXPECT_EQ(closing4.count(), 1);
    EXPECT_FALSE(dd->frm());

    // Closed by the window system: still reported once.
    popup = open();
    QSignalSpy closing5(popup, &frmColorPopUp::Closing);
    popup->close();
    popup->close();
    EXPECT_EQ(closing5.count(), 1);
    EXPECT_FALSE(dd->frm());
}

TEST_F(ColorDDTest, PressesOnThePagesDoNotCancel)
{
    frmColorPopUp *popup = open();
    ASSERT_TRUE(popup);
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    auto *page = part<QWidget>(popup, "picPag0");
    QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(1, page->height() - 1));
    auto *tabs = part<QTabBar>(popup, "tbs");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(tabs->width() - 2, tabs->height() / 2));
    EXPECT_EQ(closing.count(), 0);
    EXPECT_TRUE(popup->isVisible());
}

TEST_F(ColorDDTest, PaletteClickPicksTheSwatchUnderThePointer)
{
    dd->setColor(0x123456);
    frmColorPopUp *popup = open();
    ASSERT_TRUE(popup);
    auto *picker = part<QWidget>(popup, "picColorPicker");
    ASSERT_TRUE(picker);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->size(), QSize(139, 105));
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    // Column 2, row 3: C04000.
    QTest::mouseClick(picker, Qt::LeftButton, {},
                      ColorPalette::SwatchRect({2, 3}).center().toPoint());
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(closing.at(0).at(0).toString(), "0x0040C0");
    EXPECT_EQ(closing.at(0).at(1).toInt(), 0x0040C0);
    EXPECT_EQ(dd->Color(), 0x0040C0u);
    EXPECT_EQ(dd->ColorText(), "0x0040C0");

    // The red swatch takes the standard colour's name in the field.
    popup = open();
    QTest::mouseClick(part<QWidget>(popup, "picColorPicker"), Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_EQ(dd->Color(), 0x0000FFu);
    EXPECT_EQ(dd->ColorText(), "Red");
}

TEST_F(ColorDDTest, PaletteBottomEdgePicksTheLastRow)
{
    frmColorPopUp *popup = open();
    auto *picker = part<QWidget>(popup, "picColorPicker");
    // Pressed inside, released on the image's bottom edge.
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(5, 100));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(5, picker->height()));
    EXPECT_EQ(dd->Color(), ColorPalette::SwatchColor({0, 5}));

    popup = open();
    picker = part<QWidget>(popup, "picColorPicker");
    QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 1, 104));
    EXPECT_EQ(dd->Color(), ColorPalette::SwatchColor({7, 5}));

    // Released well past the image: nothing is picked and the picker stays open.
    popup = open();
    picker = part<QWidget>(popup, "picColorPicker");
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(5, picker->height() + 10));
    EXPECT_EQ(closing.count(), 0);
    EXPECT_TRUE(dd->frm());
}

TEST_F(ColorDDTest, KeyboardPicksAPaletteSwatch)
{
    dd->setColor(0xFFFFFF);
    frmColorPopUp *popup = open();
    auto *picker = part<QWidget>(popup, "picColorPicker");
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_Down);
    QTest::keyClick(picker, Qt::Key_Down);
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(dd->Color(), ColorPalette::SwatchColor({1, 2}));
}

TEST_F(ColorDDTest, SelectionFrameMarksTheCurrentSwatch)
{
    dd->setColor(ColorPalette::SwatchColor({3, 4}));
    frmColorPopUp *popup = open();
    EXPECT_EQ(popup->SelectionRect(), ColorPalette::SwatchRect({3, 4}).toRect());
    auto *frame = part<QFrame>(popup, "shpSelection");
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isVisible());
    popup->Cancel();

    dd->setColor(0x123456);
    popup = open();
    EXPECT_TRUE(popup->SelectionRect().isEmpty());
    EXPECT_FALSE(part<QFrame>(popup, "shpSelection")->isVisible());
}

TEST_F(ColorDDTest, SystemColourOpensTheSystemTabOnItsRow)
{
    dd->setColor(0x8000000F);
    frmColorPopUp *popup = open();
    auto *tabs = part<QTabBar>(popup, "tbs");
    auto *list = part<QListWidget>(popup, "odlSysColors");
    ASSERT_TRUE(tabs && list);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Palette");
    EXPECT_EQ(tabs->tabText(1), "System");
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(part<QWidget>(popup, "picPag1")->isVisible());
    EXPECT_FALSE(part<QWidget>(popup, "picPag0")->isVisible());
    EXPECT_EQ(list->count(), 25);
    EXPECT_EQ(list->currentRow(), 15);
    EXPECT_EQ(list->currentItem()->text(), "3D Face");
    EXPECT_TRUE(popup->SelectionRect().isEmpty());

    // Each row shows the colour's current shade.
    const QImage icon = list->item(13)->icon().pixmap(list->iconSize()).toImage();
    EXPECT_EQ(icon.pixelColor(icon.width() / 2, icon.height() / 2), Fieldpane::SystemColor(13));

    // A click on a row picks it.
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    const QRect row = list->visualItemRect(list->item(13));
    list->scrollToItem(list->item(13));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(13)).center());
    Q_UNUSED(row)
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(closing.at(0).at(0).toString(), "Highlight");
    EXPECT_EQ(static_cast<quint32>(closing.at(0).at(1).toInt()), 0x8000000Du);
    EXPECT_EQ(dd->Color(), 0x8000000Du);
    EXPECT_EQ(dd->ColorText(), "Highlight");
}

TEST_F(ColorDDTest, SystemColourOutsideTheListLeavesNoRowCurrent)
{
    dd->setColor(0x80000019u);
    frmColorPopUp *popup = open();
    EXPECT_EQ(part<QTabBar>(popup, "tbs")->currentIndex(), 1);
    EXPECT_EQ(part<QListWidget>(popup, "odlSysColors")->currentRow(), -1);
    // Enter with no row does nothing.
    QTest::keyClick(part<QListWidget>(popup, "odlSysColors"), Qt::Key_Return);
    EXPECT_TRUE(dd->frm());
}

TEST_F(ColorDDTest, TabsSwitchThePages)
{
    dd->setColor(0x123456);
    frmColorPopUp *popup = open();
    auto *tabs = part<QTabBar>(popup, "tbs");
    auto *palette = part<QWidget>(popup, "picPag0");
    auto *system = part<QWidget>(popup, "picPag1");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(palette->isVisible());
    EXPECT_FALSE(system->isVisible());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_FALSE(palette->isVisible());
    EXPECT_TRUE(system->isVisible());
    EXPECT_EQ(palette->geometry(), system->geometry());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_TRUE(palette->isVisible());
    EXPECT_FALSE(system->isVisible());
    EXPECT_TRUE(dd->frm());
}

TEST_F(ColorDDTest, CustomColourConfirmed)
{
    CCommonDialogs::Answer answer;
    answer.Accepted = true;
    answer.Color = QColor(1, 2, 3);
    ColorDialogAnswerer dialogs(answer);
    dd->setColor(0x8000000F);
    frmColorPopUp *popup = open();
    QTest::mouseClick(part<QTabBar>(popup, "tbs"), Qt::LeftButton, {},
                      part<QTabBar>(popup, "tbs")->tabRect(0).center());
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    QTest::mouseClick(part<QPushButton>(popup, "cmdCustom"), Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].Kind, CCommonDialogs::DialogKind::Color);
    // The dialog starts on the current shade of the system colour.
    EXPECT_EQ(dialogs.requests[0].Color, Fieldpane::SystemColor(15));
    EXPECT_EQ(dialogs.requests[0].Owner, host.get());
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(closing.at(0).at(0).toString(), "0x030201");
    EXPECT_EQ(dd->Color(), 0x030201u);
    EXPECT_EQ(dd->ColorText(), "0x030201");
    EXPECT_FALSE(dd->frm());
}

TEST_F(ColorDDTest, CustomColourCancelledKeepsThePickerOpen)
{
    ColorDialogAnswerer dialogs{CCommonDialogs::Answer{}};
    dd->setColor(0x0000FF);
    frmColorPopUp *popup = open();
    const QRect where = popup->geometry();
    QSignalSpy closing(popup, &frmColorPopUp::Closing);
    QTest::mouseClick(part<QPushButton>(popup, "cmdCustom"), Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].Color, QColor(0xFF, 0, 0));
    EXPECT_EQ(closing.count(), 0);
    ASSERT_EQ(dd->frm(), popup);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->geometry(), where);
    // Still usable afterwards.
    QTest::mouseClick(part<QWidget>(popup, "picColorPicker"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(dd->Color(), 0xFFFFFFu);
}

TEST_F(ColorDDTest, DestroyingTheControlTakesAnOpenPicker)
{
    QPointer<frmColorPopUp> popup(open());
    ASSERT_TRUE(popup);
    host.reset();
    EXPECT_FALSE(popup);
}
