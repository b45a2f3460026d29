#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "filter/response_graph_model.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class RecordingHost : public ResponseGraphHost {
public:
    void notify(int code, int band) override { notes.emplace_back(code, band); }
    void invalidate() override { ++repaints; }
    void setCapture(bool on) override { captured = on; }
    void setHandCursor(bool hand) override { handCursor = hand; }
    void takeFocus() override { focused = true; }

    std::vector<std::pair<int, int>> notes;
    int repaints = 0;
    bool captured = false;
    bool handCursor = false;
    bool focused = false;
};

// The output page's graph at design size.
class ResponseGraphModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        model.setHost(&host);
        model.initialise(8, 1051, 359);
        model.layout(1051, 359);
        model.updateCurves();
    }

    // Client position of a slot's marker.
    std::pair<int, int> markerAt(int k) const {
        return {model.plot().left + model.slot(k).markerX,
                model.zeroLine() + model.slot(k).markerY};
    }

    void drag(int k, int x, int y) {
        auto [mx, my] = markerAt(k);
        model.mouseDown(mx, my);
        model.mouseMove(x, y);
        model.mouseUp(x, y);
    }

    double pixelsPerDb() const { return model.plot().height() / 36.0; }

    RecordingHost host;
    ResponseGraphModel model;
};

}  // namespace

TEST_F(ResponseGraphModelTest, GeometryOfTheOutputGraph) {
    EXPECT_EQ(model.plot(), (GraphRect{30, 10, 1033, 341}));
    EXPECT_EQ(model.columns(), 1003);
    EXPECT_EQ(model.zeroLine(), 10 + 331 / 3);
    EXPECT_EQ(model.slotCount(), 10);
    EXPECT_EQ(model.markerXOf(19), 0);
    EXPECT_EQ(model.markerXOf(20600), 1003);
    EXPECT_NEAR(model.frequencyOfX(model.markerXOf(1000)), 1000, 7);
    EXPECT_EQ(model.crossoverFrequency(0), 19);
    EXPECT_EQ(model.crossoverFrequency(1), 20600);
    EXPECT_EQ(model.slot(0).markerY, 80);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(model.bandGainDb(j), 0);
        EXPECT_EQ(model.bandQ(j), 1.5);
        EXPECT_EQ(model.bandType(j), 7);
    }
    // Everything starts flat: the high-pass at 19 Hz and the low-pass at 20600 Hz are off.
    for (int v : model.total()) ASSERT_EQ(v, 0);
}

TEST_F(ResponseGraphModelTest, BandSettersSnapAndClamp) {
    model.setBandQ(0, 1.1);
    EXPECT_EQ(model.bandQ(0), 1.12);
    model.setBandQ(0, 200);
    EXPECT_EQ(model.bandQ(0), 128);
    model.setBandQ(0, 0.1);
    EXPECT_EQ(model.bandQ(0), 0.4);
    model.setBandFrequency(1, 1005);
    EXPECT_EQ(model.bandFrequency(1), 1020);
    model.setBandFrequency(1, 5);
    EXPECT_EQ(model.bandFrequency(1), 10.5);  // the strip's bottom entry, left of the axis
    EXPECT_EQ(model.labelText().rfind("F:10.5 ", 0), 0u) << model.labelText();
    model.setBandFrequency(1, 1e9);
    EXPECT_EQ(model.bandFrequency(1), 20600);
    model.setBandGain(2, 99);
    EXPECT_EQ(model.bandGainDb(2), 12);
    model.setBandGain(2, -3.5);
    EXPECT_EQ(model.bandGainDb(2), -3.5);
    model.setBandType(2, 5.9);
    EXPECT_EQ(model.bandType(2), 5);
    EXPECT_EQ(model.selectedSlot(), 4);
    EXPECT_EQ(model.labelledSlot(), 4);
    EXPECT_TRUE(host.notes.empty()) << "setters are the owner's, they do not notify";
}

TEST_F(ResponseGraphModelTest, BadValuesAreRefused) {
    model.setBandGain(0, 3);
    model.setBandFrequency(0, 500);
    model.setBandFrequency(0, kNaN);
    model.setBandGain(0, kNaN);
    model.setBandQ(0, kNaN);
    model.setBandType(0, kNaN);
    model.setCrossoverFrequency(0, kNaN);
    EXPECT_EQ(model.bandFrequency(0), 500);
    EXPECT_EQ(model.bandGainDb(0), 3);
    EXPECT_EQ(model.bandQ(0), 1.5);
    EXPECT_EQ(model.bandType(0), 7);
    EXPECT_EQ(model.crossoverFrequency(0), 19);
    // Indices outside the graph change nothing and read as 0.
    model.setBandGain(8, 5);
    model.setBandGain(-1, 5);
    model.setCrossoverFrequency(2, 100);
    EXPECT_EQ(model.bandGainDb(8), 0);
    EXPECT_EQ(model.crossoverFrequency(2), 0);
}

TEST_F(ResponseGraphModelTest, CrossoverUserQAndTypes) {
    model.setCrossoverUserQ(2, 20);
    EXPECT_EQ(model.slot(0).q, 0.4);
    EXPECT_EQ(model.highPassType(), 36);
    model.setCrossoverUserQ(0, 15);
    EXPECT_EQ(model.slot(0).q, 1.5);
    EXPECT_EQ(model.highPassType(), 32);
    model.setCrossoverUserQ(3, 7);
    EXPECT_DOUBLE_EQ(model.slot(1).q, 0.7);
    EXPECT_EQ(model.lowPassType(), 37);
    model.setCrossoverUserQ(1, kNaN);
    EXPECT_EQ(model.slot(1).q, 0.4);
    EXPECT_EQ(model.lowPassType(), 33);

    model.setCrossoverType(24);
    model.setCrossoverType(25);
    model.setCrossoverType(33);
    EXPECT_EQ(model.lowPassType(), 25);
    model.setCrossoverType(21);
    EXPECT_EQ(model.lowPassType(), 21);
    model.setCrossoverType(40);
    EXPECT_EQ(model.highPassType(), 40);
    for (int ignored : {7, 32, 36, 39, 70, -2}) model.setCrossoverType(ignored);
    EXPECT_EQ(model.highPassType(), 40);
    EXPECT_EQ(model.lowPassType(), 21);
}

TEST_F(ResponseGraphModelTest, CrossoverCurvesFollowTheirFrequency) {
    model.setCrossoverType(24);
    model.setCrossoverFrequency(0, 19.0);
    for (int v : model.total()) ASSERT_EQ(v, 0);
    EXPECT_EQ(model.labelText(), "F:OFF");
    model.setCrossoverFrequency(0, 19.7);
    EXPECT_GT(model.total().front(), 0) << "19.7 Hz draws the filter";
    EXPECT_EQ(model.labelText(), "F:19.7");
    model.setCrossoverFrequency(0, 1);
    EXPECT_EQ(model.crossoverFrequency(0), 19);

    model.setCrossoverFrequency(1, 20600);
    EXPECT_EQ(model.labelText(), "F:OFF");
    model.setCrossoverFrequency(1, 5000);
    EXPECT_EQ(model.labelText(), "F:5000");
    EXPECT_GT(model.total().back(), 0);
    // The shaded area of a crossover runs down to twice the plot's bottom.
    auto outline = model.selectionOutline();
    ASSERT_GE(outline.size(), 4u);
    EXPECT_EQ(outline.front(), (GraphPoint{30, 2 * 341}));
    EXPECT_EQ(outline[1], (GraphPoint{30, model.zeroLine()}));
}

TEST_F(ResponseGraphModelTest, PeakingBandPeaksAtItsMarker) {
    model.setBandFrequency(3, 1000);
    model.setBandQ(3, 1.41);
    model.setBandGain(3, 6);
    const auto& total = model.total();
    int x = model.slot(5).markerX;
    int peak = *std::min_element(total.begin(), total.end());
    EXPECT_NEAR(-peak, 6 * pixelsPerDb(), 1.0);
    EXPECT_NEAR(total[size_t(x)], peak, 1);
    EXPECT_EQ(model.slot(5).markerY, -(331 * 60 / 360));
    EXPECT_EQ(model.labelText(), "F:1000 Q:1.50 G:6.0") << "1.41 snaps to the table's 1.5";
    // The selected band's own curve is the shaded one.
    EXPECT_EQ(model.selectedCurve(), total);
    // A band at 0 dB adds nothing.
    auto before = total;
    model.setBandGain(6, 0);
    model.setBandQ(6, 20);
    EXPECT_EQ(model.total(), before);
}

TEST_F(ResponseGraphModelTest, LabelFormats) {
    model.setBandFrequency(0, 50);
    model.setBandGain(0, -2.5);
    EXPECT_EQ(model.labelText(), "F:50.6 Q:1.50 G:-2.5");
    model.options().freeFrequencies = true;
    model.setBandFrequency(0, 50);
    EXPECT_EQ(model.labelText(), "F:50 Q:1.50 G:-2.5");
}

TEST_F(ResponseGraphModelTest, LabelStaysInsideThePlot) {
    model.setBandFrequency(7, 20600);
    model.setBandGain(7, -24);
    GraphRect box = model.labelBox(120, 14);
    EXPECT_EQ(box.right, model.plot().right - 12);
    EXPECT_LE(box.bottom, model.plot().bottom);
    model.setBandFrequency(0, 19.7);
    model.setBandGain(0, 0);
    box = model.labelBox(120, 14);
    EXPECT_EQ(box.left, model.plot().left + 12);
    EXPECT_EQ(box.top, model.zeroLine() + 12);
}

TEST_F(ResponseGraphModelTest, DraggingToTheEdgesGivesExactLimits) {
    auto [x, y] = markerAt(4);
    drag(4, x, model.plot().top - 40);
    EXPECT_EQ(model.bandGainDb(2), 12.0);
    EXPECT_EQ(model.draggedSlot(), -1);
    drag(4, x, model.plot().bottom + 200);
    EXPECT_EQ(model.bandGainDb(2), -24.0);
    drag(4, x, model.zeroLine());
    EXPECT_EQ(model.bandGainDb(2), 0.0);
    (void)y;
}

TEST_F(ResponseGraphModelTest, DraggingAMarkerSnapsAndNotifies) {
    auto [x, y] = markerAt(3);
    model.mouseDown(x, y);
    EXPECT_TRUE(host.focused);
    EXPECT_TRUE(host.captured);
    EXPECT_EQ(model.draggedSlot(), 3);
    EXPECT_EQ(model.selectedSlot(), 3);
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0], std::make_pair(0, 1));
    int to = model.plot().left + model.markerXOf(1000) + 3;
    model.mouseMove(to, y - 30);
    EXPECT_EQ(model.slot(3).markerX, to - model.plot().left);
    model.mouseUp(to, y - 30);
    EXPECT_FALSE(host.captured);
    double f = model.bandFrequency(1);
    EXPECT_GE(f, 1000);
    EXPECT_LE(f, 1040);
    EXPECT_EQ(model.slot(3).markerX, model.markerXOf(f))
        << "released markers sit on their frequency";
    EXPECT_GT(model.bandGainDb(1), 0);
    EXPECT_EQ(host.notes.back(), std::make_pair(0, 1));
}

TEST_F(ResponseGraphModelTest, CrossoverDragStaysInItsLimitsAndOrder) {
    model.options().keepCrossoversOrdered = true;
    model.setCrossoverFrequency(1, 1000);
    auto [x, y] = markerAt(0);
    model.mouseDown(x, y);
    model.mouseMove(model.plot().right + 50, 0);
    EXPECT_EQ(model.slot(0).markerY, 80);
    EXPECT_LE(model.crossoverFrequency(0), 1000);
    EXPECT_LE(model.slot(0).markerX, model.slot(1).markerX);
    EXPECT_EQ(host.notes.back(), std::make_pair(1, 0));
    model.mouseMove(-100, 0);
    EXPECT_EQ(model.crossoverFrequency(0), 19);
    model.mouseUp(-100, 0);
}

TEST_F(ResponseGraphModelTest, ShelvesCanBeKeptFromBoosting) {
    model.options().shelfBoostAllowed = false;
    model.setBandType(0, 5);
    auto [x, y] = markerAt(2);
    drag(2, x, model.plot().top);
    EXPECT_EQ(model.bandGainDb(0), 0);
    drag(2, x, model.plot().bottom);
    EXPECT_EQ(model.bandGainDb(0), -24);
    (void)y;
}

TEST_F(ResponseGraphModelTest, VerticalOnlyDragKeepsTheFrequency) {
    model.options().verticalOnly = true;
    model.setBandFrequency(0, 250);
    auto [x, y] = markerAt(2);
    drag(2, x + 200, y - 50);
    EXPECT_EQ(model.bandFrequency(0), 250);
    EXPECT_GT(model.bandGainDb(0), 0);
}

TEST_F(ResponseGraphModelTest, QHandlesSetQFromTheTable) {
    model.setBandFrequency(4, 1000);
    GraphRect right = model.handleSquare(true);
    int cx = (right.left + right.right) / 2, cy = (right.top + right.bottom) / 2;
    model.mouseDown(cx, cy);
    EXPECT_TRUE(model.rightHandleDragged());
    EXPECT_EQ(model.draggedSlot(), -1);
    host.notes.clear();
    model.mouseMove(cx + 300, cy);
    EXPECT_EQ(model.bandQ(4), 0.4);
    model.mouseMove(cx - 300, cy);
    EXPECT_EQ(model.bandQ(4), 128);
    model.mouseUp(cx - 300, cy);
    EXPECT_FALSE(model.rightHandleDragged());
    EXPECT_EQ(host.notes.size(), 3u);
    EXPECT_EQ(host.notes.back(), std::make_pair(0, 4));
    // Narrow bands pull the handles in.
    EXPECT_LT(model.handleSquare(true).left - model.handleSquare(false).left, 2 * 60);
}

TEST_F(ResponseGraphModelTest, WheelAndArrowsStepTheSelectedSlot) {
    model.setBandGain(0, -0.3);
    model.arrowKey(true);
    EXPECT_EQ(model.bandGainDb(0), -0.2);
    model.wheel(-3);
    EXPECT_EQ(model.bandGainDb(0), -0.5);
    model.setBandGain(0, 12);
    model.arrowKey(true);
    EXPECT_EQ(model.bandGainDb(0), 12);
    EXPECT_EQ(host.notes.size(), 5u);

    model.setCrossoverFrequency(0, 19.7);
    host.notes.clear();
    model.arrowKey(true);
    EXPECT_EQ(model.crossoverFrequency(0), 19.7);
    EXPECT_TRUE(host.notes.empty());
    model.arrowKey(false);
    EXPECT_EQ(model.crossoverFrequency(0), 20.1);
    EXPECT_EQ(host.notes.back(), std::make_pair(1, 0));

    model.setCrossoverFrequency(1, 20600);
    model.arrowKey(true);
    EXPECT_EQ(model.crossoverFrequency(1), 20200);
    model.arrowKey(false);
    model.arrowKey(false);
    EXPECT_EQ(model.crossoverFrequency(1), 20600);
    EXPECT_EQ(host.notes.back(), std::make_pair(2, 0));
}

TEST_F(ResponseGraphModelTest, ContextMenuCopyAndPaste) {
    model.rightButtonUp(500, 300);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Hidden)
        << "the menu is the owner's choice";
    model.options().contextMenu = true;
    model.rightButtonUp(500, 300);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Copy);
    model.mouseMove(510, 325);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Paste);
    model.mouseMove(549 + 5, 303);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Paste)
        << "inside the margin nothing changes";
    model.mouseDown(510, 305);
    EXPECT_EQ(host.notes.back(), std::make_pair(3, 0));
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Hidden);
    model.rightButtonUp(500, 300);
    model.mouseDown(520, 330);
    EXPECT_EQ(host.notes.back(), std::make_pair(4, 0));
    model.rightButtonUp(500, 300);
    model.mouseMove(700, 300);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Hidden);
}

TEST_F(ResponseGraphModelTest, ExtraMenuItemsNotifyTheirNumberAndStayInside) {
    model.options().contextMenu = true;
    model.setMenuExtras(2, 120);
    model.rightButtonUp(1040, 350);
    GraphRect last = model.menuItem(3);
    EXPECT_LE(last.right, 1051);
    EXPECT_LE(last.bottom, 359);
    EXPECT_EQ(model.menuItem(0).width(), 120) << "one width for every item";
    model.mouseMove(last.left + 5, last.top + 5);
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Extra);
    EXPECT_EQ(model.highlightedItem(), 3);
    model.mouseDown(last.left + 5, last.top + 5);
    EXPECT_EQ(host.notes.back(), std::make_pair(6, 0));
    EXPECT_EQ(model.menuState(), ResponseGraphModel::MenuState::Hidden);

    model.setMenuExtras(2, 120, false);  // the extras alone
    model.rightButtonUp(100, 100);
    EXPECT_EQ(model.menuItemCount(), 2);
    model.mouseDown(105, 105);
    EXPECT_EQ(host.notes.back(), std::make_pair(5, 0));
}

TEST_F(ResponseGraphModelTest, NonInteractiveGraphIgnoresTheMouse) {
    model.setBandGain(0, 1);
    model.options().interactive = false;
    auto [x, y] = markerAt(2);
    model.mouseDown(x, y);
    model.mouseMove(x, 0);
    model.wheel(1);
    EXPECT_EQ(model.draggedSlot(), -1);
    EXPECT_TRUE(host.notes.empty());
    model.arrowKey(true);
    EXPECT_FALSE(host.notes.empty()) << "keys still step the selected slot";
}

TEST_F(ResponseGraphModelTest, ShowingSelectsTheFirstBandAndAnimates) {
    EXPECT_TRUE(model.show(1));
    EXPECT_EQ(model.selectedSlot(), 2);
    EXPECT_FALSE(model.show(0));
    for (int i = 0; i < 6; ++i) model.animationTick();
    EXPECT_EQ(model.animationFrame(), 1);
    model.animationTick();
    EXPECT_EQ(model.animationFrame(), 2);
}

TEST_F(ResponseGraphModelTest, ResizingKeepsBandsAndTinySizesAreHarmless) {
    model.setBandGain(1, 7.5);
    model.setBandFrequency(1, 2000);
    model.setCrossoverType(25);
    model.setCrossoverFrequency(1, 3000);
    int peak = model.total()[size_t(model.slot(3).markerX)];
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {40, 20}}) model.layout(w, h);
    model.layout(1051, 359);
    model.updateCurves();
    EXPECT_EQ(model.bandGainDb(1), 7.5);
    EXPECT_EQ(model.total()[size_t(model.slot(3).markerX)], peak);
    EXPECT_EQ(model.crossoverFrequency(1), 3000);

    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {40, 20}, {-5, -5}, {3000, 2000}}) {
        model.layout(w, h);
        model.updateCurves();
        auto [x, y] = markerAt(3);
        model.mouseDown(x, y);
        model.mouseMove(x + 5, y - 5);
        model.mouseUp(x + 5, y - 5);
        model.wheel(1);
        model.wheel(-1);
        (void)model.selectionOutline();
        (void)model.labelBox(50, 10);
        (void)model.handleDistance();
    }
    model.layout(1051, 359);
    model.updateCurves();
    EXPECT_EQ(model.slot(3).markerY, -(331 * model.slot(3).gain / 360));
}

TEST(ResponseGraphModelEmpty, OperationsBeforeInitialiseDoNothing) {
    ResponseGraphModel model;
    model.layout(100, 100);
    model.setBandGain(0, 3);
    model.setCrossoverType(24);
    model.setCrossoverUserQ(0, 10);
    model.setCrossoverFrequency(0, 100);
    model.mouseDown(10, 10);
    model.mouseMove(20, 20);
    model.mouseUp(20, 20);
    model.arrowKey(true);
    model.updateCurves();
    EXPECT_EQ(model.labelText(), "");
    EXPECT_TRUE(model.selectionOutline().empty() || model.slotCount() == 0);
}

TEST_F(ResponseGraphModelTest, MarkersAndMarginsGrowWithTheWindowButNeverShrink) {
    struct Case {
        double scale;
        int width, height;
        int plotLeft, markerHalf;
    };
    for (Case c :
         {Case{0.5, 1051, 359, 30, 12}, Case{1, 1051, 359, 30, 12}, Case{2, 2102, 718, 60, 24}}) {
        model.setScale(c.scale);
        model.layout(c.width, c.height);
        EXPECT_EQ(model.plot().left, c.plotLeft) << c.scale;
        EXPECT_EQ(model.markerHalf(), c.markerHalf) << c.scale;
        auto [x, y] = markerAt(ResponseGraphModel::kFirstBand + 3);
        model.mouseDown(x + c.markerHalf - 1, y);
        model.mouseUp(x + c.markerHalf - 1, y);
        EXPECT_EQ(model.selectedSlot(), ResponseGraphModel::kFirstBand + 3) << c.scale;
        auto [fx, fy] = markerAt(ResponseGraphModel::kFirstBand);  // the next case starts elsewhere
        model.mouseDown(fx, fy);
        model.mouseUp(fx, fy);
    }
}
