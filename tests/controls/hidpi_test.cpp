// Runs with QT_SCALE_FACTOR=2: every logical pixel is two device pixels each way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "controls/response_graph.h"
#include "controls/skin_label.h"
#include "support/qt_wait.h"

namespace {

constexpr QRgb kGrid = 0xFF3C3C3C;
constexpr QRgb kPlot = 0xFF152030;

}  // namespace

TEST(HiDpi, OneGridLineOfTheGraphIsTwoSharpDevicePixels) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    ResponseGraph graph;
    graph.create(QRect(0, 0, 1051, 359));
    graph.options().showSelection = false;  // its faint fill would tint the grid
    graph.initialise(8);
    processQueued();
    // Drawn at full resolution, not a 1x picture stretched on the way to the screen.
    EXPECT_EQ(graph.renderPicture().size(), QSize(2102, 718));
    QImage shot = graph.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(2102, 718));

    const ResponseGraphModel& m = graph.model();
    GraphRect plot = m.plot();
    // Inside the cell below the -12 dB line, away from the curve and the markers.
    int y = 2 * (plot.top + plot.height() * 9 / 12);
    int x = 2 * (plot.left + m.markerXOf(1000));
    // Across a line: plot, two device pixels of grid, plot; nothing blended.
    struct Across {
        int offset;
        QRgb colour;
    };
    const Across across[] = {{-1, kPlot}, {0, kGrid}, {1, kGrid}, {2, kPlot}};
    for (const Across& a : across)
        EXPECT_EQ(shot.pixel(x + a.offset, y), a.colour) << "device column " << x + a.offset;
    int line = 2 * (plot.top + 4 * plot.height() / 6);  // -12 dB
    int between = 2 * (plot.left + m.markerXOf(600)) + 6;
    for (const Across& a : across)
        EXPECT_EQ(shot.pixel(between, line + a.offset), a.colour)
            << "device row " << line + a.offset;
}

TEST(HiDpi, SkinnedControlsComposeEveryDevicePixel) {
    DrawingSurface skin;
    skin.setPixelRatio(2);
    ASSERT_TRUE(skin.loadSkin(SkinId::MainWindow));
    QWidget parent;
    parent.resize(300, 100);
    SkinLabel label(&parent);
    label.create(QRect(14, 0, 250, 26));
    label.setBackground(&skin);
    label.setText(QStringLiteral("QX7"));
    EXPECT_EQ(label.picture().size(), QSize(500, 52));
    EXPECT_EQ(label.picture().devicePixelRatio(), 2.0);
}
