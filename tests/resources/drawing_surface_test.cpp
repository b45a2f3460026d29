#include "resources/drawing_surface.h"

#include <gtest/gtest.h>

namespace {

QRgb opaque(QRgb c) {
    return c | 0xFF000000u;
}

TEST(DrawingSurface, LoadingTheMainSkinGivesItsExtent) {
    DrawingSurface surface;
    EXPECT_TRUE(surface.isEmpty());
    ASSERT_TRUE(surface.loadSkin(SkinId::MainWindow));
    EXPECT_TRUE(surface.selected());
    EXPECT_EQ(surface.left(), 0);
    EXPECT_EQ(surface.top(), 0);
    EXPECT_EQ(surface.right(), 1077);
    EXPECT_EQ(surface.bottom(), 681);
    EXPECT_EQ(surface.image().size(), QSize(1077, 681));
    surface.release();
    EXPECT_TRUE(surface.isEmpty());
    EXPECT_FALSE(surface.loadSkin(SkinId::None));
    EXPECT_TRUE(surface.isEmpty());
}

TEST(DrawingSurface, RecreateFillsLightGreyInsideABlackOutline) {
    DrawingSurface surface;
    surface.recreate(10, 20, 60, 50);
    ASSERT_TRUE(surface.selected());
    EXPECT_EQ(surface.image().size(), QSize(50, 30));
    EXPECT_EQ(surface.left(), 10);
    EXPECT_EQ(surface.bottom(), 50);
    EXPECT_EQ(opaque(surface.image().pixel(0, 0)), 0xFF000000u);
    EXPECT_EQ(opaque(surface.image().pixel(49, 15)), 0xFF000000u);
    EXPECT_EQ(opaque(surface.image().pixel(25, 29)), 0xFF000000u);
    EXPECT_EQ(surface.image().pixel(25, 15), DrawingSurface::kRecreateFill);

    // A width or height of 0 or less leaves the surface as it was.
    surface.recreate(0, 0, 0, 50);
    EXPECT_EQ(surface.image().size(), QSize(50, 30));
    surface.recreate(0, 0, 50, -3);
    EXPECT_EQ(surface.right(), 60);
}

TEST(DrawingSurface, CopyBeyondTheExtentRecreatesTheSurfaceFirst) {
    DrawingSurface skin(SkinId::MainWindow);
    DrawingSurface target(SkinId::MainWindow);
    // The source is only 1077 wide: columns 1077 to 1199 are not covered by the copy.
    target.copyFrom(0, 0, 1200, 681, skin, 0, 0);
    EXPECT_EQ(target.right(), 1200);
    EXPECT_EQ(target.image().width(), 1200);
    EXPECT_EQ(target.image().pixel(500, 300), skin.image().pixel(500, 300));
    EXPECT_EQ(target.image().pixel(1150, 300), DrawingSurface::kRecreateFill);
    EXPECT_EQ(opaque(target.image().pixel(1199, 300)), 0xFF000000u);
    EXPECT_EQ(opaque(target.image().pixel(1150, 680)), 0xFF000000u);

    // Within the extent nothing is recreated.
    DrawingSurface small(QRect(0, 0, 100, 100));
    small.fill(QRect(0, 0, 100, 100), Qt::red);
    small.copyFrom(10, 10, 20, 20, skin, 0, 0);
    EXPECT_EQ(small.image().pixel(50, 50), QColor(Qt::red).rgb());
    EXPECT_EQ(small.image().pixel(15, 15), skin.image().pixel(5, 5));
}

TEST(DrawingSurface, StretchOfASkinIsSharpAndCoversTheTarget) {
    DrawingSurface skin(SkinId::MainWindow);
    DrawingSurface background(SkinId::MainWindow);
    background.stretchFrom(0, 0, 2154, 1362, skin, 0, 0, 1077, 681);
    EXPECT_EQ(background.image().size(), QSize(2154, 1362));
    EXPECT_EQ(background.right(), 2154);
    // The same place of the picture at both scales.
    QColor a = skin.image().pixelColor(538, 400);
    QColor b = background.image().pixelColor(1076, 800);
    EXPECT_NEAR(a.red(), b.red(), 6);
    EXPECT_NEAR(a.blue(), b.blue(), 6);

    // A surface that has been drawn on is stretched as pixels.
    DrawingSurface drawn(QRect(0, 0, 10, 10));
    drawn.fill(QRect(0, 0, 10, 10), Qt::blue);
    DrawingSurface out(QRect(0, 0, 40, 40));
    out.stretchFrom(0, 0, 40, 40, drawn, 0, 0, 10, 10);
    EXPECT_EQ(out.image().pixel(20, 20), QColor(Qt::blue).rgb());
}

TEST(DrawingSurface, AtPixelRatioTwoCoordinatesStayLogicalAndPicturesHoldEveryDevicePixel) {
    DrawingSurface skin;
    skin.setPixelRatio(2);
    ASSERT_TRUE(skin.loadSkin(SkinId::MainWindow));
    EXPECT_EQ(skin.image().size(), QSize(2154, 1362));
    EXPECT_EQ(skin.width(), 1077);
    EXPECT_EQ(skin.right(), 1077);

    // A copy between surfaces of the same ratio moves device pixels unchanged.
    DrawingSurface piece(QRect(0, 0, 20, 10), 2);
    piece.copyFrom(0, 0, 20, 10, skin, 500, 300);
    EXPECT_EQ(piece.image().size(), QSize(40, 20));
    EXPECT_EQ(piece.width(), 20);
    for (QPoint at : {QPoint(0, 0), QPoint(1, 1), QPoint(39, 19), QPoint(17, 6)})
        EXPECT_EQ(piece.image().pixel(at), skin.image().pixel(at + QPoint(1000, 600))) << at.x();

    // A stretched skin is drawn afresh at the device size, a logical fill covers both pixels.
    DrawingSurface background(QRect(0, 0, 1, 1), 2);
    background.stretchFrom(0, 0, 1077, 681, skin, 0, 0, 1077, 681);
    EXPECT_EQ(background.image().size(), QSize(2154, 1362));
    background.fill(QRect(3, 3, 1, 1), Qt::red);
    EXPECT_EQ(background.image().pixel(7, 7), QColor(Qt::red).rgb());
    EXPECT_NE(background.image().pixel(8, 8), QColor(Qt::red).rgb());
}

TEST(DrawingSurface, FillWidensTheExtent) {
    DrawingSurface surface(QRect(0, 0, 20, 20));
    surface.fill(QRect(5, 5, 30, 30), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(surface.right(), 35);
    EXPECT_EQ(surface.bottom(), 35);
    EXPECT_EQ(surface.image().pixel(10, 10), 0xFFF0F0F0u);
    DrawingSurface empty;
    empty.fill(QRect(0, 0, 5, 5), Qt::red);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.dc(), nullptr);
}

}  // namespace
