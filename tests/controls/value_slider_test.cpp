#include <gtest/gtest.h>

#include "controls/value_slider.h"
#include "resources/drawing_surface.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Report = SignalRecorder::Report;

namespace {

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(400, 200);
        slider = new ValueSlider(&parent);
        slider->create(QRect(20, 20, 170, 33));
        parent.listen(slider, &ValueSlider::valueChanged);
        slider->setLabelMode(true);
        slider->setSkin(nullptr);
        parent.show();
        processQueued();
    }

    QPointF thumb() const { return slider->thumbRect().center(); }
    QPointF farRight() const { return QPointF(1000, thumb().y()); }
    QPointF farLeft() const { return QPointF(-1000, thumb().y()); }
    Report last() const { return parent.reports.back(); }

    SignalRecorder parent;
    ValueSlider* slider = nullptr;
};

}  // namespace

TEST_F(SliderTest, WholeStepsWithThresholdZero) {
    wheel(slider, thumb(), 1);
    EXPECT_EQ(slider->valueWithToggle(), 1);
    wheel(slider, thumb(), -1);
    wheel(slider, thumb(), -1);
    EXPECT_EQ(slider->valueWithToggle(), 0) << "step down from 0 stays";
    drag(slider, thumb(), farRight());
    EXPECT_EQ(slider->valueWithToggle(), 100);
    wheel(slider, thumb(), 1);
    EXPECT_EQ(slider->valueWithToggle(), 100);
    EXPECT_EQ(last(), (Report{100}));
}

TEST_F(SliderTest, FineStepsBelowTheThreshold) {
    slider->setRange(0, 48);
    slider->setFineSteps(100, 0.1);
    wheel(slider, thumb(), 1);
    EXPECT_DOUBLE_EQ(slider->valueWithToggle(), 0.1);
    slider->setValue(0);
    double x = slider->trackStart() + (slider->trackEnd() - slider->trackStart()) * 12.34 / 48;
    drag(slider, thumb(), QPointF(x, thumb().y()));
    EXPECT_DOUBLE_EQ(slider->valueWithToggle(), 12.3);
    EXPECT_EQ(last(), (Report{12}));
}

TEST_F(SliderTest, DraggingReachesBothEndsOfTheRange) {
    slider->setRange(1, 362);
    slider->setValue(362);
    drag(slider, thumb(), farLeft());
    EXPECT_EQ(slider->valueWithToggle(), 1);
    drag(slider, thumb(), farRight());
    EXPECT_EQ(slider->valueWithToggle(), 362);
}

TEST_F(SliderTest, ClicksBesideTheThumbStep) {
    slider->setValue(50);
    click(slider, QPointF(thumb().x() + 30, thumb().y()));
    EXPECT_EQ(slider->valueWithToggle(), 51);
    click(slider, QPointF(thumb().x() - 30, thumb().y()));
    click(slider, QPointF(thumb().x() - 30, thumb().y()));
    EXPECT_EQ(slider->valueWithToggle(), 49);
    EXPECT_TRUE(slider->focusedLook());
    click(slider, QPointF(thumb().x() + 30, 2));  // in the label band
    EXPECT_EQ(slider->valueWithToggle(), 49);
}

TEST_F(SliderTest, MuteToggleAddsItsOffset) {
    slider->setTogglePresent(true);
    slider->setSkin(nullptr);
    EXPECT_TRUE(slider->toggleOn()) << "the toggle starts on after setSkin";
    slider->setValue(537);
    EXPECT_EQ(slider->value(), 37);
    EXPECT_TRUE(slider->toggleOn());
    EXPECT_EQ(slider->valueWithToggle(), 537);
    click(slider, slider->toggleRect().center());
    EXPECT_FALSE(slider->toggleOn());
    EXPECT_EQ(slider->valueWithToggle(), 37);
    EXPECT_EQ(last(), (Report{37}));
    click(slider, slider->toggleRect().center());
    EXPECT_EQ(slider->valueWithToggle(), 537);
    EXPECT_EQ(last(), (Report{37}));
    slider->setValue(20);
    EXPECT_FALSE(slider->toggleOn());
}

TEST_F(SliderTest, ClicksAtTheToggleEdgeDoNotStep) {
    slider->setTogglePresent(true);
    slider->setSkin(nullptr);
    slider->setValue(10);
    size_t before = parent.reports.size();
    click(slider, QPointF(slider->toggleRect().left() + 0.5, thumb().y()));
    EXPECT_EQ(slider->value(), 10);
    click(slider, QPointF(slider->toggleRect().left() - 0.5, slider->toggleRect().top() - 1));
    EXPECT_GE(parent.reports.size(), before);
}

TEST_F(SliderTest, ArrowKeys) {
    slider->setValue(5);
    key(slider, Qt::Key_Right);
    EXPECT_EQ(slider->valueWithToggle(), 6);
    key(slider, Qt::Key_Left);
    key(slider, Qt::Key_Left);
    EXPECT_EQ(slider->valueWithToggle(), 4);
    size_t count = parent.reports.size();
    key(slider, Qt::Key_Up);
    key(slider, Qt::Key_Down);
    EXPECT_EQ(parent.reports.size(), count) << "up and down are swallowed";
    EXPECT_EQ(slider->valueWithToggle(), 4);
}

TEST_F(SliderTest, DisabledOrHiddenIgnoresInput) {
    slider->setValue(5);
    slider->setInputEnabled(false);
    EXPECT_FALSE(slider->focusedLook());
    key(slider, Qt::Key_Right);
    wheel(slider, thumb(), 1);
    slider->setInputEnabled(true);
    slider->setShown(false);
    click(slider, QPointF(thumb().x() + 30, thumb().y()));
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_EQ(slider->valueWithToggle(), 5);
}

TEST_F(SliderTest, TheHandCursorLastsOnlyAsLongAsTheDrag) {
    press(slider, thumb());
    EXPECT_EQ(slider->cursor().shape(), Qt::PointingHandCursor);
    release(slider, thumb());
    EXPECT_FALSE(slider->testAttribute(Qt::WA_SetCursor));
    press(slider, thumb());
    slider->setInputEnabled(false);  // disabled in the middle of a drag
    EXPECT_FALSE(slider->testAttribute(Qt::WA_SetCursor));
}

TEST_F(SliderTest, SetValueIsNotClampedUntilTheNextStep) {
    slider->setValue(150);
    EXPECT_EQ(slider->valueWithToggle(), 150);
    EXPECT_EQ(slider->thumbRect().center().x(), slider->trackEnd());
    key(slider, Qt::Key_Left);
    EXPECT_EQ(slider->valueWithToggle(), 100);
}

TEST_F(SliderTest, LabelSplitsAtTheColon) {
    slider->setLabelColour(0xFFFF0000);
    slider->setLabelFormat(QString::fromUtf8("Mic Dir Vol:   %3d%%"));
    slider->setValue(45);
    EXPECT_EQ(slider->labelText(), "Mic Dir Vol:    45%");
    const QImage& picture = slider->renderPicture();
    auto redIn = [&](int x0, int x1) {
        for (int x = x0; x < x1; ++x) {
            for (int y = 0; y < 14; ++y) {
                QColor c = picture.pixelColor(x, y);
                if (c.red() > 120 && c.green() < 80 && c.blue() < 80) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(redIn(0, 20)) << "the caption starts at the left";
    EXPECT_TRUE(redIn(150, 170)) << "the number ends at the right";
    EXPECT_FALSE(redIn(95, 125)) << "the gap between them stays empty";
}

TEST_F(SliderTest, TinySizesAndEmptyRangesAreHarmless) {
    slider->setRange(5, 5);
    slider->setValue(5);
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 2)}) {
        slider->resize(size);
        processQueued();
        (void)slider->grab();
        click(slider, QPointF(0, 0));
        wheel(slider, QPointF(0, 0), 1);
    }
    EXPECT_EQ(slider->valueWithToggle(), 5);
}

TEST_F(SliderTest, DrawToSurfaceUsesTheSkinUnderIt) {
    DrawingSurface skin;
    skin.recreate(0, 0, 400, 200);
    skin.fill(QRect(0, 0, 400, 200), QColor(10, 20, 30));
    slider->setSkin(&skin);
    slider->setShown(false);
    DrawingSurface target;
    target.recreate(0, 0, 400, 200);
    slider->drawToSurface(target, true);
    EXPECT_EQ(target.image().pixelColor(25, 25), QColor(10, 20, 30));
}
