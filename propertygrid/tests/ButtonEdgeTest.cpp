#include "EdgePixelRect.h"

#include <fieldpane/CEdge.h>
#include <fieldpane/EzButton.h>
#include <fieldpane/SystemColors.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using Fieldpane::CEdge;
using Fieldpane::EdgePixelRect;
using Fieldpane::EzButton;

namespace {

QPalette edgePalette()
{
    QPalette p;
    p.setColor(QPalette::Active, QPalette::Midlight, QColor(1, 0, 0)); // 3D light
    p.setColor(QPalette::Active, QPalette::Shadow, QColor(2, 0, 0));   // 3D dark shadow
    p.setColor(QPalette::Active, QPalette::Light, QColor(3, 0, 0));    // 3D highlight
    p.setColor(QPalette::Active, QPalette::Dark, QColor(4, 0, 0));     // 3D shadow
    return p;
}

QImage blankImage(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780); // 96 dpi: 15 twips per pixel
    image.setDotsPerMeterY(3780);
    return image;
}

} // namespace

TEST(CEdge, WithoutDeviceDrawsNothing)
{
    CEdge edge;
    edge.setRectangle(0, 0, 10, 10);
    EXPECT_EQ(edge.Device(), nullptr);
    edge.Draw(CEdge::Raised, false); // no painter: must simply return
    QImage image = blankImage(12);
    QPainter painter(&image);
    edge.setDevice(&painter);
    edge.setDevice(nullptr);
    edge.Draw(CEdge::Raised, false);
    painter.end();
    EXPECT_EQ(image, blankImage(12));
}

TEST(CEdge, RaisedAndSunkenRingsUseTheThreeDColours)
{
    QImage image = blankImage(12);
    {
        QPainter painter(&image);
        CEdge edge;
        edge.setPalette(edgePalette());
        edge.setDevice(&painter);
        edge.setRectangle(1, 1, 11, 11); // pixels, right and bottom exclusive
        edge.Draw(CEdge::Raised, false);
    }
    EXPECT_EQ(image.pixelColor(1, 1), QColor(1, 0, 0));   // outer top-left: 3D light
    EXPECT_EQ(image.pixelColor(10, 10), QColor(2, 0, 0)); // outer bottom-right: dark shadow
    EXPECT_EQ(image.pixelColor(2, 2), QColor(3, 0, 0));   // inner top-left: highlight
    EXPECT_EQ(image.pixelColor(9, 9), QColor(4, 0, 0));   // inner bottom-right: shadow
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(11, 11), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));

    QImage sunken = blankImage(12);
    {
        QPainter painter(&sunken);
        CEdge edge;
        edge.setPalette(edgePalette());
        edge.setDevice(&painter);
        edge.setRectangle(1, 1, 11, 11);
        edge.Draw(CEdge::Sunken, false);
    }
    EXPECT_EQ(sunken.pixelColor(1, 1), QColor(4, 0, 0));
    EXPECT_EQ(sunken.pixelColor(10, 10), QColor(3, 0, 0));
    EXPECT_EQ(sunken.pixelColor(2, 2), QColor(2, 0, 0));
    EXPECT_EQ(sunken.pixelColor(9, 9), QColor(1, 0, 0));
}

TEST(CEdge, ConvertsTwipsThroughTheDeviceResolution)
{
    QImage image = blankImage(20);
    QPainter painter(&image);
    CEdge edge;
    edge.setPalette(edgePalette());
    edge.setDevice(&painter);
    edge.setRectangle(15, 30, 150, 150); // 96 dpi: pixels 1, 2, 10, 10
    EXPECT_EQ(EdgePixelRect(edge, true), QRect(QPoint(1, 2), QPoint(9, 9)));
    EXPECT_EQ(EdgePixelRect(edge, false), QRect(QPoint(15, 30), QPoint(149, 149)));
    edge.Draw(CEdge::Raised, true);
    painter.end();
    EXPECT_EQ(image.pixelColor(1, 2), QColor(1, 0, 0));
    EXPECT_EQ(image.pixelColor(9, 9), QColor(2, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
}

TEST(EzButton, StyleChangesTheGlyphAtOnce)
{
    EzButton button;
    button.resize(17, 17);
    EXPECT_EQ(button.Style(), EzButton::Ellipsis);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    const QImage ellipsis = button.grab().toImage();
    QSignalSpy styleSpy(&button, &EzButton::StyleChanged);
    button.setStyle(EzButton::DropArrow);
    EXPECT_EQ(styleSpy.count(), 1);
    const QImage arrow = button.grab().toImage();
    button.setStyle(7);
    const QImage none = button.grab().toImage();
    EXPECT_NE(ellipsis, arrow);
    EXPECT_NE(arrow, none);
    EXPECT_NE(ellipsis, none);
    button.setStyle(7);
    EXPECT_EQ(styleSpy.count(), 2); // unchanged value: no signal
}

TEST(EzButton, MouseClickRaisesClick)
{
    EzButton button;
    button.resize(17, 17);
    button.show();
    QSignalSpy clickSpy(&button, &EzButton::Click);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(clickSpy.count(), 1);
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_EQ(clickSpy.count(), 1);
}
