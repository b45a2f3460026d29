#include "resources/skin_art.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "resources/skin_ids.h"
#include "resources/skin_image.h"
#include "resources/skin_layout.h"

namespace {

struct Expected {
    SkinId id;
    int width;
    int height;
};

// Every picture the windows and controls ask for, at the size their layout needs.
const Expected kPictures[] = {
    {SkinId::ProgressEmpty, 541, 161},   {SkinId::ProgressFull, 541, 161},
    {SkinId::MainWindow, 1077, 681},     {SkinId::ChannelTest, 640, 680},
    {SkinId::RouteCell, 104, 48},        {SkinId::RouteCellOn, 104, 48},
    {SkinId::RouteCellNarrow, 22, 48},   {SkinId::CloseButton, 124, 22},
    {SkinId::MaximiseButton, 124, 22},   {SkinId::MinimiseButton, 124, 22},
    {SkinId::NavigationButton, 284, 21}, {SkinId::BandStrip, 114, 244},
    {SkinId::Slider, 170, 54},           {SkinId::PageCombo, 338, 19},
    {SkinId::WideButton, 680, 18},       {SkinId::Button, 308, 18},
    {SkinId::StatusButton, 316, 23},     {SkinId::HeaderCombo, 200, 19},
    {SkinId::DarkButton, 440, 22},       {SkinId::AmberButton, 308, 18},
};

TEST(SkinArt, EveryNamedPictureExistsAtItsSize) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(static_cast<int>(e.id));
        ASSERT_TRUE(SkinArt::exists(e.id));
        EXPECT_EQ(SkinArt::size(e.id), QSize(e.width, e.height));
        QImage image = SkinArt::image(e.id);
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
    }
    EXPECT_FALSE(SkinArt::exists(SkinId::None));
    EXPECT_TRUE(SkinArt::image(SkinId::None).isNull());
    EXPECT_TRUE(
        SkinArt::render(SkinId::MainWindow, QRectF(0, 0, 1077, 681), QSize(0, 10)).isNull());
    EXPECT_TRUE(
        SkinArt::render(SkinId::MainWindow, QRectF(0, 0, 1077, 681), QSize(100000, 10)).isNull());
}

TEST(SkinArt, ButtonStripsGiveTheirButtonsFourFrames) {
    // A button's frame count is the strip's width divided by the button's width.
    EXPECT_EQ(SkinArt::size(SkinId::WideButton).width() / 170, 4);  // output page "Mute", 170 wide
    EXPECT_EQ(SkinArt::size(SkinId::Button).width() / 77, 4);       // 77 x 18 buttons
    EXPECT_EQ(SkinArt::size(SkinId::NavigationButton).width() / 71, 4);  // navigation, 71 wide
    EXPECT_EQ(SkinArt::size(SkinId::StatusButton).width() / 79, 4);      // status
    EXPECT_EQ(SkinArt::size(SkinId::CloseButton).width() / 31, 4);       // window buttons
}

TEST(SkinArt, BitmapsAreOpaqueAndStripsHaveTransparency) {
    for (SkinId id :
         {SkinId::ProgressEmpty, SkinId::ProgressFull, SkinId::MainWindow, SkinId::ChannelTest,
          SkinId::RouteCell, SkinId::RouteCellOn, SkinId::RouteCellNarrow})
        EXPECT_FALSE(SkinArt::image(id).hasAlphaChannel()) << static_cast<int>(id);
    // The window buttons are only a glyph on the caption band.
    QImage close = SkinArt::image(SkinId::CloseButton);
    EXPECT_EQ(qAlpha(close.pixel(1, 1)), 0);
}

TEST(SkinArt, TheProgressFacesDifferOnlyInTheBar) {
    QImage empty = SkinArt::image(SkinId::ProgressEmpty);
    QImage full = SkinArt::image(SkinId::ProgressFull);
    // Left of x 27 and below the bar the two faces are the same, so that
    // copying columns of the full face onto the empty one grows the bar.
    for (int y = 0; y < 161; y += 3)
        for (int x = 0; x < 27; ++x)
            ASSERT_EQ(empty.pixel(x, y), full.pixel(x, y)) << x << "," << y;
    for (int x = 0; x < 541; x += 2)
        for (int y = 90; y < 161; ++y)
            ASSERT_EQ(empty.pixel(x, y), full.pixel(x, y)) << x << "," << y;
    EXPECT_NE(empty.pixel(270, 60), full.pixel(270, 60));
}

TEST(SkinArt, ARegionRendersAsItsStretchWouldButAtTheTargetsPixels) {
    QSize frame = SkinLayout::kNavigationFrame;
    QImage natural =
        SkinArt::image(SkinId::NavigationButton).copy(QRect(QPoint(frame.width(), 0), frame));
    QImage big = SkinArt::render(SkinId::NavigationButton,
                                 QRectF(QPointF(frame.width(), 0), QSizeF(frame)), frame * 3);
    ASSERT_EQ(big.size(), frame * 3);
    // The middle of the "on" frame has the same colour at both scales.
    QColor a = natural.pixelColor(frame.width() / 2, frame.height() / 2);
    QColor b = big.pixelColor(big.width() / 2, big.height() / 2);
    EXPECT_NEAR(a.red(), b.red(), 12);
    EXPECT_NEAR(a.green(), b.green(), 12);
    EXPECT_NEAR(a.blue(), b.blue(), 12);
}

TEST(SkinImage, DrawsARegionIntoTheTargetRectangle) {
    SkinImage strip = SkinImage::load(SkinId::Button);
    ASSERT_FALSE(strip.isNull());
    EXPECT_EQ(strip.width(), 308);
    EXPECT_EQ(strip.height(), 18);
    QImage target(200, 60, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter p(&target);
    strip.draw(p, QRectF(50, 10, 100, 40), QRectF(77, 0, 77, 18));
    p.end();
    EXPECT_EQ(qAlpha(target.pixel(20, 30)), 0);     // outside the target
    EXPECT_EQ(qAlpha(target.pixel(100, 30)), 255);  // the face of frame 1
    EXPECT_TRUE(SkinImage::load(SkinId::None).isNull());
}

}  // namespace
