#include "resources/skin_art.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "resources/skin_ids.h"
#include "resources/skin_image.h"
#include "resources/skin_layout.h"

namespace {

struct Expected {
    int id;
    int width;
    int height;
};

// Every picture the windows and controls ask for, at the size their layout needs.
const Expected kPictures[] = {
    {132, 541, 161}, {133, 541, 161}, {134, 1077, 681}, {160, 640, 680}, {170, 104, 48},
    {171, 104, 48},  {172, 22, 48},   {136, 124, 22},   {137, 124, 22},  {138, 124, 22},
    {139, 284, 21},  {141, 114, 244}, {142, 170, 54},   {143, 338, 19},  {144, 680, 18},
    {145, 308, 18},  {147, 316, 23},  {150, 200, 19},   {153, 440, 22},  {156, 308, 18},
};

TEST(SkinArt, EveryNumberedPictureExistsAtItsSize) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.id);
        ASSERT_TRUE(SkinArt::exists(e.id));
        EXPECT_EQ(SkinArt::size(e.id), QSize(e.width, e.height));
        QImage image = SkinArt::image(e.id);
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
    }
    EXPECT_FALSE(SkinArt::exists(135));
    EXPECT_TRUE(SkinArt::image(135).isNull());
    EXPECT_TRUE(SkinArt::render(134, QRectF(0, 0, 1077, 681), QSize(0, 10)).isNull());
    EXPECT_TRUE(SkinArt::render(134, QRectF(0, 0, 1077, 681), QSize(100000, 10)).isNull());
}

TEST(SkinArt, ButtonStripsGiveTheirButtonsFourFrames) {
    // A button's frame count is the strip's width divided by the button's width.
    EXPECT_EQ(SkinArt::size(144).width() / 170, 4);  // output page "Mute", 170 wide
    EXPECT_EQ(SkinArt::size(145).width() / 77, 4);   // 77 x 18 buttons
    EXPECT_EQ(SkinArt::size(139).width() / 71, 4);   // navigation, 71 wide
    EXPECT_EQ(SkinArt::size(147).width() / 79, 4);   // status
    EXPECT_EQ(SkinArt::size(136).width() / 31, 4);   // window buttons
}

TEST(SkinArt, BitmapsAreOpaqueAndStripsHaveTransparency) {
    for (int id : {132, 133, 134, 160, 170, 171, 172})
        EXPECT_FALSE(SkinArt::image(id).hasAlphaChannel()) << id;
    // The window buttons are only a glyph on the caption band.
    QImage close = SkinArt::image(136);
    EXPECT_EQ(qAlpha(close.pixel(1, 1)), 0);
}

TEST(SkinArt, TheProgressFacesDifferOnlyInTheBar) {
    QImage empty = SkinArt::image(132);
    QImage full = SkinArt::image(133);
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
    QImage natural = SkinArt::image(139).copy(QRect(QPoint(frame.width(), 0), frame));
    QImage big = SkinArt::render(139, QRectF(QPointF(frame.width(), 0), QSizeF(frame)), frame * 3);
    ASSERT_EQ(big.size(), frame * 3);
    // The middle of the "on" frame has the same colour at both scales.
    QColor a = natural.pixelColor(frame.width() / 2, frame.height() / 2);
    QColor b = big.pixelColor(big.width() / 2, big.height() / 2);
    EXPECT_NEAR(a.red(), b.red(), 12);
    EXPECT_NEAR(a.green(), b.green(), 12);
    EXPECT_NEAR(a.blue(), b.blue(), 12);
}

TEST(SkinImage, DrawsARegionIntoTheTargetRectangle) {
    SkinImage strip = SkinImage::load(145);
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
    EXPECT_TRUE(SkinImage::load(9999).isNull());
}

}  // namespace
