#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "controls/response_graph.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "support/temp_folder.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Report = SignalRecorder::Report;

namespace {

// The output page's graph at design size, initialised as the page does it.
class ResponseGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(1100, 600);
        graph = new ResponseGraph(&parent);
        graph->create(QRect(13, 199, 1051, 359));
        parent.listen(graph, &ResponseGraph::edited);
        graph->limits().highPassMin = 19.0;
        graph->limits().lowPassMin = 19.0;
        graph->initialise(8);
        graph->options().contextMenu = true;
        parent.show();
        processQueued();
    }

    QPointF marker(int slot) const {
        const ResponseGraphModel& m = graph->model();
        return QPointF(m.plot().left + m.slot(slot).markerX, m.zeroLine() + m.slot(slot).markerY);
    }

    SignalRecorder parent;
    ResponseGraph* graph = nullptr;
};

}  // namespace

TEST_F(ResponseGraphTest, DraggingABandToTheEdgesGivesExactLimits) {
    graph->setBandFrequency(2, 1000);
    QPointF at = marker(4);
    drag(graph, at, QPointF(at.x(), -30));
    EXPECT_EQ(graph->bandGain(2), 12.0);
    drag(graph, QPointF(at.x(), marker(4).y()), QPointF(at.x(), 2000));
    EXPECT_EQ(graph->bandGain(2), -24.0);
    ASSERT_FALSE(parent.reports.empty());
    EXPECT_EQ(parent.reports.back(), (Report{0, 2}));
    EXPECT_EQ(graph->model().draggedSlot(), -1);
}

TEST_F(ResponseGraphTest, DraggedFrequencySnapsToTheTableOnRelease) {
    QPointF at = marker(2);
    int to = graph->model().plot().left + graph->model().markerXOf(2000);
    drag(graph, at, QPointF(to + 2, at.y()));
    double f = graph->bandFrequency(0);
    EXPECT_GE(f, 2000);
    EXPECT_LE(f, 2060);
    EXPECT_EQ(graph->model().slot(2).markerX, graph->model().markerXOf(f));
}

TEST_F(ResponseGraphTest, ArrowKeysStepTheCrossoversAtTheirEnds) {
    graph->setCrossoverFrequency(0, 19.7);
    graph->setFocus();
    key(graph, Qt::Key_Up);
    EXPECT_EQ(graph->crossoverFrequency(0), 19.7);
    EXPECT_TRUE(parent.reports.empty());
    graph->setCrossoverFrequency(1, 20600);
    key(graph, Qt::Key_Up);
    EXPECT_EQ(graph->crossoverFrequency(1), 20200);
    EXPECT_EQ(parent.reports.back(), (Report{2, 0}));
    key(graph, Qt::Key_Down);
    EXPECT_EQ(graph->crossoverFrequency(1), 20600);
}

TEST_F(ResponseGraphTest, WheelStepsTheSelectedBandGain) {
    graph->setBandGain(5, -0.3);
    wheel(graph, QPointF(300, 100), 1);
    EXPECT_EQ(graph->bandGain(5), -0.2);
    wheel(graph, QPointF(300, 100), -2);
    EXPECT_EQ(graph->bandGain(5), -0.4);
    EXPECT_EQ(parent.reports.back(), (Report{0, 5}));
}

TEST_F(ResponseGraphTest, AGraphThatOnlyShowsTakesNoWheelNorKeys) {
    graph->setBandGain(5, -0.3);
    graph->options().interactive = false;
    click(graph, QPointF(300, 100));
    wheel(graph, QPointF(300, 100), 1);
    key(graph, Qt::Key_Up);
    EXPECT_EQ(graph->bandGain(5), -0.3);
    EXPECT_TRUE(parent.reports.empty());
}

TEST_F(ResponseGraphTest, ContextMenuCopyAndPaste) {
    click(graph, QPointF(600, 200), Qt::RightButton);
    EXPECT_EQ(graph->model().menuState(), ResponseGraphModel::MenuState::Copy);
    click(graph, QPointF(620, 210));
    EXPECT_EQ(parent.reports.back(), (Report{3, 0}));
    click(graph, QPointF(600, 200), Qt::RightButton);
    hover(graph, QPointF(620, 230));
    EXPECT_EQ(graph->model().menuState(), ResponseGraphModel::MenuState::Paste);
    click(graph, QPointF(620, 230));
    EXPECT_EQ(parent.reports.back(), (Report{4, 0}));
    EXPECT_EQ(graph->model().menuState(), ResponseGraphModel::MenuState::Hidden);
}

// The menu takes the Escape that the window would take as a wish to exit.
TEST_F(ResponseGraphTest, EscapeClosesTheContextMenuWithoutAChoice) {
    click(graph, QPointF(600, 200), Qt::RightButton);
    QKeyEvent offer(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    offer.ignore();
    QApplication::sendEvent(graph, &offer);
    EXPECT_TRUE(offer.isAccepted());
    key(graph, Qt::Key_Escape);
    EXPECT_EQ(graph->model().menuState(), ResponseGraphModel::MenuState::Hidden);
    EXPECT_TRUE(parent.reports.empty());
}

TEST_F(ResponseGraphTest, OffCrossoversAreLabelledAndDrawFlat) {
    graph->setCrossoverType(24);
    graph->setCrossoverFrequency(0, 19.0);
    EXPECT_EQ(graph->model().labelText(), "F:OFF");
    graph->setCrossoverFrequency(1, 20600);
    EXPECT_EQ(graph->model().labelText(), "F:OFF");
    for (int v : graph->model().total()) ASSERT_EQ(v, 0);
}

TEST_F(ResponseGraphTest, ThePictureShowsThePeakWhereTheModelPutsIt) {
    graph->setBandFrequency(3, 1000);
    graph->setBandQ(3, 1.41);
    graph->setBandGain(3, 6);
    const QImage& picture = graph->renderPicture();
    const ResponseGraphModel& m = graph->model();
    int x = m.plot().left + m.slot(5).markerX + 40;  // beside the marker and its label
    int y = m.zeroLine() + m.total()[size_t(m.slot(5).markerX + 40)];
    bool curve = false;
    for (int dy = -2; dy <= 2; ++dy) {
        QColor c = picture.pixelColor(x, y + dy);
        if (c.red() > 150 && c.blue() > 150 && c.green() < 100) curve = true;
    }
    EXPECT_TRUE(curve) << "the magenta total curve runs through the model's point";
    EXPECT_EQ(picture.pixelColor(3, 3), QColor(0x15, 0x20, 0x30));
}

TEST_F(ResponseGraphTest, ASavedPictureIsTitledAndLeavesOutTheValueLabel) {
    graph->setBandGain(3, 6);
    const QImage screen = graph->renderPicture().copy();
    TempFolder temp;
    const QString path = QString::fromStdString(temp.path("graph.png"));
    ASSERT_TRUE(graph->savePicture(path, QStringLiteral("Front L")));
    const QImage saved = QImage(path).convertToFormat(screen.format());
    ASSERT_EQ(saved.size(), screen.size());
    const ResponseGraphModel& m = graph->model();
    auto whiteIn = [](const QImage& image, QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qGray(image.pixel(x, y)) > 230) ++n;
        return n;
    };
    GraphRect box = m.labelBox(100, 14);
    QRect label(box.left, box.top, 100, 14);
    EXPECT_GT(whiteIn(screen, label), 0);
    EXPECT_EQ(whiteIn(saved, label), 0);
    QRect title(m.plot().left + 6, m.plot().top + 4, 60, 14);
    EXPECT_GT(whiteIn(saved, title), whiteIn(screen, title));
}

TEST_F(ResponseGraphTest, EqPassShowsTheBannerWithoutChangingBands) {
    QImage before = graph->renderPicture().copy();
    graph->setEqEnabled(false);
    EXPECT_FALSE(graph->eqEnabled());
    EXPECT_NE(graph->renderPicture(), before);
    graph->setEqEnabled(true);
    EXPECT_EQ(graph->renderPicture(), before);
}

TEST_F(ResponseGraphTest, DrawToSurfaceCopiesThePictureAtItsPlace) {
    DrawingSurface target;
    target.recreate(0, 0, 1100, 600);
    graph->drawToSurface(target, true);
    QImage picture = graph->renderPicture();
    EXPECT_EQ(target.image().pixelColor(13 + 5, 199 + 5), picture.pixelColor(5, 5));
    EXPECT_EQ(target.image().pixelColor(5, 5), QColor(240, 240, 240));
}

TEST_F(ResponseGraphTest, AnimationRunsWhileShown) {
    graph->setAnimation(1);
    EXPECT_EQ(graph->model().selectedSlot(), 2);
    int frame = graph->model().animationFrame();
    EXPECT_TRUE(processUntil([&] { return graph->model().animationFrame() != frame; }));
    graph->setAnimation(0);
    frame = graph->model().animationFrame();
    processQueued();
    EXPECT_EQ(graph->model().animationFrame(), frame);
}

// A hidden graph lets its pictures go; shown again, it draws them afresh
// from the values, including those that changed while it was hidden.
TEST_F(ResponseGraphTest, AGraphShownAgainDrawsWhatItDrewBeforeItWasHidden) {
    graph->setBandGain(3, 4);
    const QImage before = graph->renderPicture().copy();
    parent.hide();
    graph->setBandGain(3, -8);
    parent.show();
    processQueued();
    EXPECT_NE(graph->renderPicture(), before);
    graph->setBandGain(3, 4);
    EXPECT_EQ(graph->renderPicture(), before);
}

TEST_F(ResponseGraphTest, TinyAndEmptySizesDrawWithoutFault) {
    graph->setBandGain(0, 6);
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(20, 10), QSize(49, 29)}) {
        graph->resize(size);
        processQueued();
        (void)graph->renderPicture();
        (void)graph->grab();
        press(graph, QPointF(0, 0));
        move(graph, QPointF(5, 5));
        release(graph, QPointF(5, 5));
    }
    graph->resize(1051, 359);
    processQueued();
    EXPECT_EQ(graph->bandGain(0), 6);
}

// Only what the last picture drew is put back from the grid between pictures;
// a twin graph that redraws its grid every time must look the same throughout.
TEST_F(ResponseGraphTest, PicturesDrawnInPiecesMatchWholeRedrawsThroughADrag) {
    SignalRecorder twin;
    twin.resize(parent.size());
    ResponseGraph whole(&twin);
    whole.create(graph->geometry());
    whole.limits() = graph->limits();
    whole.initialise(8);
    whole.options().contextMenu = true;
    twin.show();
    processQueued();
    for (ResponseGraph* g : {graph, &whole}) {
        for (int j = 0; j < 8; ++j) {
            g->setBandFrequency(j, 40 * std::pow(2.0, j * 1.2));
            g->setBandQ(j, 1.4 + j * 0.5);
            g->setBandGain(j, (j % 2 ? -1 : 1) * (3.0 + j));
        }
        g->setCrossoverType(24);
        g->setCrossoverFrequency(0, 60);
    }
    auto both = [&](auto&& input) {
        for (ResponseGraph* g : {graph, &whole}) input(g);
        whole.setBackgroundImage(QImage());
        const QImage &a = graph->renderPicture(), &b = whole.renderPicture();
        QRect differ;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) differ |= QRect(x, y, 1, 1);
        ASSERT_TRUE(differ.isEmpty()) << "pixels differ within " << differ.x() << "," << differ.y()
                                      << " " << differ.width() << "x" << differ.height();
    };
    QPointF at = marker(5);
    both([&](ResponseGraph* g) { press(g, at); });
    for (int k = 1; k <= 24; ++k)
        both([&](ResponseGraph* g) {
            move(g, at + QPointF(k * 17 % 300 - 120, (k * 37 % 200) - 100));
        });
    both([&](ResponseGraph* g) { release(g, at); });
    QPointF highPass = marker(0);  // its shading reaches the bottom
    both([&](ResponseGraph* g) { press(g, highPass); });
    for (int k = 1; k <= 6; ++k)
        both([&](ResponseGraph* g) { move(g, highPass + QPointF(k * 23, k % 3)); });
    both([&](ResponseGraph* g) { release(g, highPass); });
    both([&](ResponseGraph* g) { g->setEqEnabled(false); });
    both([&](ResponseGraph* g) { g->setEqEnabled(true); });
    both([&](ResponseGraph* g) { click(g, QPointF(600, 200), Qt::RightButton); });
    both([&](ResponseGraph* g) { hover(g, QPointF(620, 230)); });
    both([&](ResponseGraph* g) { click(g, QPointF(100, 100), Qt::LeftButton); });
}
