#include <gtest/gtest.h>

#include <functional>

#include "controls/integer_slider.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Report = SignalRecorder::Report;

namespace {

class IntegerSliderTest : public ::testing::Test {
public:
    void SetUp() override {
        parent.resize(300, 300);
        slider = new IntegerSlider(&parent);
        slider->create(QRect(10, 10, 192, 42));  // twice the picture's size
        parent.listen(slider, &IntegerSlider::valueChanged);
        slider->setRange(0, 100);
        slider->setSetValueScale(1);
        slider->setSkin(nullptr);
        slider->setScaledValue(50);
        parent.show();
        processQueued();
    }

    QPointF thumb() const { return slider->thumbRect().center(); }
    Report last() const { return parent.reports.back(); }

    SignalRecorder parent;
    IntegerSlider* slider = nullptr;
};

}  // namespace

TEST_F(IntegerSliderTest, DragWheelAndKeysReportClampedValuesWithTheIndex) {
    struct Case {
        const char* what;
        int start;
        std::function<void(IntegerSliderTest&)> act;
        int reported;
    };
    const Case cases[] = {
        {"drag past the maximum", 50,
         [](IntegerSliderTest& t) { drag(t.slider, t.thumb(), QPointF(1000, t.thumb().y())); },
         100},
        {"drag past the minimum", 50,
         [](IntegerSliderTest& t) { drag(t.slider, t.thumb(), QPointF(-1000, t.thumb().y())); }, 0},
        {"drag to the middle", 0,
         [](IntegerSliderTest& t) {
             double x =
                 t.slider->trackStart() + (t.slider->trackEnd() - t.slider->trackStart()) / 2;
             drag(t.slider, t.thumb(), QPointF(x + 0.5, t.thumb().y()));
         },
         50},
        {"wheel forward at the maximum", 100,
         [](IntegerSliderTest& t) { wheel(t.slider, t.thumb(), 1); }, 100},
        {"wheel backward at 0", 0, [](IntegerSliderTest& t) { wheel(t.slider, t.thumb(), -1); }, 0},
        {"up arrow", 41, [](IntegerSliderTest& t) { key(t.slider, Qt::Key_Up); }, 42},
        {"down arrow", 41, [](IntegerSliderTest& t) { key(t.slider, Qt::Key_Down); }, 40},
    };
    for (const Case& c : cases) {
        slider->setScaledValue(c.start);
        slider->setFocus();
        parent.reports.clear();
        c.act(*this);
        ASSERT_FALSE(parent.reports.empty()) << c.what;
        EXPECT_EQ(last(), (Report{c.reported})) << c.what;
        EXPECT_EQ(slider->value(), c.reported) << c.what;
    }
}

TEST_F(IntegerSliderTest, SetScaledValueTruncatesAndStaysQuiet) {
    parent.reports.clear();
    slider->setScaledValue(37.9);
    EXPECT_EQ(slider->value(), 37);
    EXPECT_TRUE(parent.reports.empty());
    // A click beside the thumb does nothing but take the focus.
    click(slider, QPointF(slider->trackEnd(), thumb().y()), Qt::LeftButton);
    EXPECT_EQ(slider->value(), 37);
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_TRUE(slider->focusedLook());
}

TEST_F(IntegerSliderTest, DisabledSliderIgnoresInput) {
    slider->setInputEnabled(false);
    parent.reports.clear();
    wheel(slider, thumb(), 1);
    drag(slider, thumb(), QPointF(1000, thumb().y()));
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_EQ(slider->value(), 50);
}
