#include <gtest/gtest.h>

#include "controls/graph_picture.h"

namespace {

// Topmost row holding the curve's colour; the image height when there is none.
int curveTop(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.blue() > 150 && c.green() < 100) return y;
        }
    return image.height();
}

PageCurve flat() {
    PageCurve curve;
    curve.bands.assign(8, EqBand{});
    return curve;
}

}  // namespace

TEST(GraphPicture, DrawsTheSummedCurveAtTheSizeAskedFor) {
    PageCurve boosted = flat();
    boosted.bands[3] = {7, 1000, 1.0, 12};
    for (QSize size : {QSize(1051, 359), QSize(640, 200), QSize(2000, 900)}) {
        QImage a = GraphPicture::render(flat(), size);
        QImage b = GraphPicture::render(boosted, size);
        ASSERT_EQ(a.size(), size);
        ASSERT_EQ(b.size(), size);
        int zero = curveTop(a);
        EXPECT_LT(zero, size.height());
        // +12 dB of a -24 ... +12 dB scale: about a third of the plot's height higher.
        EXPECT_LT(curveTop(b), zero - size.height() / 6) << size.width();
    }
}

TEST(GraphPicture, RefusesSizesItCannotDraw) {
    for (QSize size : {QSize(0, 100), QSize(100, -1), QSize(GraphPicture::kMaxSide + 1, 10)}) {
        EXPECT_TRUE(GraphPicture::render(flat(), size).isNull());
        EXPECT_FALSE(GraphPicture::savePng(flat(), size, "/nonexistent/x.png").isEmpty());
    }
}
