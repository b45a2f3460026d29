#include <gtest/gtest.h>

#include <optional>

#include "filter/band_value_text.h"
#include "filter/slider_scale.h"

using BVT = BandValueText;

TEST(BandValueText, BoxTexts) {
    EXPECT_EQ(BVT::text(BVT::Gain, -3.5), "-3.5");
    EXPECT_EQ(BVT::text(BVT::Gain, 12), "12.0");
    EXPECT_EQ(BVT::text(BVT::Gain, -0.3 + 0.1), "-0.2");
    EXPECT_EQ(BVT::text(BVT::Frequency, 19.7), "19.7");
    EXPECT_EQ(BVT::text(BVT::Frequency, 10.5), "10.5");
    EXPECT_EQ(BVT::text(BVT::Frequency, 1000), "1000");
    EXPECT_EQ(BVT::text(BVT::Frequency, 20600), "20600");
    EXPECT_EQ(BVT::text(BVT::Frequency, 99.0), "99.0");
    EXPECT_EQ(BVT::text(BVT::Q, 0.4), "0.40");
    EXPECT_EQ(BVT::text(BVT::Q, 1.5), "1.50");
    EXPECT_EQ(BVT::text(BVT::Q, 12), "12.0");
    EXPECT_EQ(BVT::text(BVT::Q, 128), "128");
    EXPECT_EQ(BVT::text(BVT::Q, 1.12), "1.12");
    EXPECT_EQ(BVT::text(BVT::Type, 7), "");
}

TEST(BandValueText, EveryTableEntryReadsBackFromItsText) {
    for (double f = 0; f < 21000; f += 7.3) {
        double q = BVT::quantise(BVT::Frequency, f, 0);
        EXPECT_EQ(BVT::parse(BVT::text(BVT::Frequency, q)), q) << f;
    }
    for (double x = 0.3; x < 130; x *= 1.05) {
        double q = BVT::quantise(BVT::Q, x, 0);
        EXPECT_EQ(BVT::parse(BVT::text(BVT::Q, q)), q) << x;
    }
}

TEST(BandValueText, TypedTextIsANumberOrRefused) {
    struct Case {
        const char* text;
        std::optional<double> number;
    };
    for (Case c : {Case{"1005", 1005}, Case{"  -3.5", -3.5}, Case{"+2", 2}, Case{"1,5", 1.5},
                   Case{"-3,5 dB", -3.5}, Case{"12abc", 12}, Case{"abc", {}}, Case{"", {}},
                   Case{"-", {}}, Case{".", {}}, Case{"nan", {}}, Case{"inf", {}},
                   Case{"1e999", {}}, Case{"1.2.3", {}}, Case{"5 5", {}}})
        EXPECT_EQ(BVT::parse(c.text), c.number) << c.text;
}

TEST(BandValueText, QuantisingWithSteps) {
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 1005, 0), 1020);
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 15, 0), 19.7);
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 99.5, 0), 101);
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 19.7, -1), 10.5);
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 10.5, -1), 10.5);
    EXPECT_EQ(BVT::quantise(BVT::Frequency, 20600, 1), 20600);
    EXPECT_EQ(BVT::quantise(BVT::Q, 0.44, 0), 0.45);
    EXPECT_EQ(BVT::quantise(BVT::Q, 128, 1), 128);
    EXPECT_EQ(BVT::quantise(BVT::Gain, 12, 1), 12);
    EXPECT_EQ(BVT::quantise(BVT::Gain, -30, 0), -24);
    EXPECT_EQ(BVT::quantise(BVT::Gain, 0, 0), 0);
}

TEST(SliderScaleTest, WholeAndFineSteps) {
    SliderScale s;  // 0 ... 100, threshold 0
    EXPECT_EQ(s.stepUp(40), 41);
    EXPECT_EQ(s.stepDown(0), 0);
    EXPECT_EQ(s.stepUp(100), 100);
    EXPECT_EQ(s.quantise(49.5), 50);
    SliderScale fine{0, 48, 100, 0.1};
    EXPECT_DOUBLE_EQ(fine.stepUp(10), 10.1);
    EXPECT_DOUBLE_EQ(fine.stepDown(10), 9.9);
    EXPECT_DOUBLE_EQ(fine.quantise(12.34), 12.3);
    EXPECT_EQ(fine.stepUp(48), 48);
    EXPECT_EQ(fine.stepDown(0), 0);
}

TEST(SliderScaleTest, PositionsAndPointer) {
    SliderScale s{1, 362, 0, 0.1};
    EXPECT_EQ(s.valueAt(-50, 10, 159), 1);
    EXPECT_EQ(s.valueAt(500, 10, 159), 362);
    EXPECT_EQ(s.position(1, 10, 159), 10);
    EXPECT_EQ(s.position(362, 10, 159), 159);
    EXPECT_EQ(s.position(9999, 10, 159), 159);
    SliderScale zero{5, 5, 0, 0.1};
    EXPECT_EQ(zero.position(5, 10, 159), 10);
    EXPECT_EQ(zero.valueAt(80, 10, 10), 5);
}

TEST(SliderScaleTest, LabelFormatsAndSplitting) {
    EXPECT_EQ(SliderScale::formatLabel("Mic Dir Vol:   %3d%%", 45), "Mic Dir Vol:    45%");
    EXPECT_EQ(SliderScale::formatLabel("Delay:   %3.1fms", 12.5), "Delay:   12.5ms");
    EXPECT_EQ(SliderScale::formatLabel("%s and %d", 1), "%s and %d");
    EXPECT_EQ(SliderScale::formatLabel("%d %d", 1), "%d %d");
    EXPECT_EQ(SliderScale::formatLabel("plain", 1), "plain");
    EXPECT_EQ(SliderScale::formatLabel("bad %", 1), "bad %");
    auto [left, right] = SliderScale::splitLabel("Mic Dir Vol:    45%");
    EXPECT_EQ(left, "Mic Dir Vol:");
    EXPECT_EQ(right, "    45%");
    auto [whole, none] = SliderScale::splitLabel("No colon");
    EXPECT_EQ(whole, "No colon");
    EXPECT_EQ(none, "");
}
