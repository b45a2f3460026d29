#include <gtest/gtest.h>

#include "binding/header_values.h"
#include "binding/output_field_codec.h"

using C = OutputFieldCodec;

TEST(OutputFieldCodecTest, EqualiserBands) {
    EXPECT_EQ(C::gainCode(-24), 260);
    EXPECT_EQ(C::gainCode(12), 620);
    EXPECT_EQ(C::gainCode(2.3), 523);
    EXPECT_EQ(C::gainCode(-0.7), 493);
    EXPECT_EQ(C::qCode(0.4), 40);
    EXPECT_EQ(C::qCode(128), 12800);
    EXPECT_EQ(C::qCode(0.71), 71);
    EXPECT_DOUBLE_EQ(C::gain(523), 2.3);
    // Codes no control could send show as the nearest legal value.
    EXPECT_DOUBLE_EQ(C::gain(9999), 12);
    EXPECT_DOUBLE_EQ(C::gain(0), -24);
    EXPECT_DOUBLE_EQ(C::q(0), 0.4);
    EXPECT_DOUBLE_EQ(C::q(60000), 128);
    EXPECT_EQ(C::bandType(5), 5);
    EXPECT_EQ(C::bandType(44), 7);
    EXPECT_DOUBLE_EQ(C::bandFrequency(33021), 25.3);
    EXPECT_DOUBLE_EQ(C::bandFrequency(33000), 23.4);  // between grid points: the next one up
    EXPECT_DOUBLE_EQ(C::bandFrequency(101), 101);
    EXPECT_DOUBLE_EQ(C::bandFrequency(32767), 20600);  // above the grid
}

TEST(OutputFieldCodecTest, LevelsDelaysAndLimiter) {
    EXPECT_EQ(C::mixCode(0), 0);
    EXPECT_EQ(C::mixCode(1), 257);
    EXPECT_EQ(C::mixCode(100), 25601);
    EXPECT_EQ(C::mixLevel(25601), 100);
    EXPECT_EQ(C::mixLevel(65535), 100);
    EXPECT_EQ(C::delayCode(200), 960);
    EXPECT_EQ(C::delayCode(5), 24);
    EXPECT_EQ(C::delayCode(1), 4);
    EXPECT_DOUBLE_EQ(C::delay(960), 200);
    EXPECT_DOUBLE_EQ(C::delay(60000), 200);
    EXPECT_NEAR(C::delayDistance(200), 6.92, 1e-9);
    EXPECT_EQ(C::thresholdCode(24.5), 445);
    EXPECT_DOUBLE_EQ(C::threshold(445), 24.5);
    EXPECT_DOUBLE_EQ(C::attackMs(0), 0.3);
    EXPECT_DOUBLE_EQ(C::attackMs(8), 2);
    EXPECT_DOUBLE_EQ(C::attackMs(107), 100);
    EXPECT_EQ(C::attackPosition(C::attackCode(50)), 50);
    EXPECT_EQ(C::attackPosition(9999), 107);
    EXPECT_EQ(C::releasePosition(10), 4);
    EXPECT_EQ(C::releasePosition(33), 8);
    EXPECT_EQ(C::ratioPosition(1000), 40);
    EXPECT_EQ(C::ratioPosition(5000), 40);
    EXPECT_EQ(C::ratioPosition(25), 7);
}

TEST(OutputFieldCodecTest, Crossovers) {
    EXPECT_EQ(C::crossoverCode(0, false), 22);
    EXPECT_EQ(C::crossoverCode(5, true), 31);
    EXPECT_EQ(C::crossoverPosition(27), 3);
    EXPECT_EQ(C::crossoverPosition(63), 0);
    EXPECT_EQ(C::crossoverFrequencyCode(0), 32768);
    EXPECT_EQ(C::crossoverFrequencyCode(85), 33758);  // 99 Hz
    EXPECT_EQ(C::crossoverFrequencyCode(86), 101);
    EXPECT_DOUBLE_EQ(C::crossoverFrequency(32768), 10);
    EXPECT_EQ(C::crossoverSliderPosition(C::crossoverFrequency(32768)), 0);
    EXPECT_EQ(C::crossoverSliderPosition(C::crossoverFrequency(33000)), 10);  // 23.2 -> 23.4 Hz
    EXPECT_EQ(C::crossoverSliderPosition(C::crossoverFrequency(30000)), 362);
    EXPECT_EQ(C::userQPosition(C::userQCode(7)), 7);
    EXPECT_DOUBLE_EQ(C::restFrequency(true, 7), 303);
}

TEST(OutputFieldCodecTest, EffectTimesLevelsAndSlopes) {
    EXPECT_EQ(C::sampleCode(340), 16320);
    EXPECT_EQ(C::sampleCode(50), 2400);
    EXPECT_EQ(C::sampleCode(C::sampleMs(100)), 100);  // 2.08 ms keeps its fraction
    EXPECT_DOUBLE_EQ(C::sampleMs(-5), 0);
    EXPECT_EQ(C::mutedLevel(580), 580);
    EXPECT_EQ(C::mutedLevel(9999), 600);
    EXPECT_EQ(C::mutedLevel(37), 37);
    EXPECT_EQ(C::mutedLevel(499), 100);
    EXPECT_EQ(C::slopePosition(22), 0);
    EXPECT_EQ(C::slopePosition(31), 5);
    EXPECT_EQ(C::slopePosition(3), 3);   // not a slope code: read as the position
    EXPECT_EQ(C::slopePosition(33), 0);  // the output pages' user item
    EXPECT_EQ(C::slopePosition(-4), 0);
}

TEST(HeaderValuesTest, VolumesSourcesAndFormats) {
    EXPECT_EQ(HeaderValues::volumeCode(40), 540);
    EXPECT_EQ(HeaderValues::volumePercent(575), 75);
    EXPECT_EQ(HeaderValues::sourceItem(6), 4);
    EXPECT_EQ(HeaderValues::sourceItem(5), -1);
    EXPECT_EQ(HeaderValues::sourceItem(11), -1);
    EXPECT_EQ(HeaderValues::sourceCode(8), 10);
    EXPECT_EQ(HeaderValues::sourceCode(9), -1);
    EXPECT_EQ(HeaderValues::decoderName(0x0115), "EAC3");
    EXPECT_EQ(HeaderValues::decoderName(0x0100), "----");
}
