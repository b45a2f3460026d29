#include <gtest/gtest.h>

#include <vector>

#include "binding/channel_test.h"
#include "binding/parameter_binding.h"
#include "link/mirror.h"

namespace {

class ChannelTestTest : public ::testing::Test {
protected:
    void layout(int value) {
        mirror.store(ChannelTest::kLayoutIndex, static_cast<uint16_t>(value));
    }
    // The channels whose level is on.
    std::vector<int> playing() const {
        std::vector<int> out;
        for (int k = 0; k < ChannelTest::kChannels; ++k)
            if (mirror.value(ChannelTest::levelIndex(k)) == ChannelTest::kLevelOn) out.push_back(k);
        return out;
    }
    std::vector<int> pressedButtons() const {
        std::vector<int> out;
        for (int b = 0; b < ChannelTest::kButtons; ++b)
            if (test.pressed(b)) out.push_back(b);
        return out;
    }
    // One 6 s tick and the 400 ms after it; the channels are silent between.
    void nextStep() {
        test.silence();
        EXPECT_TRUE(playing().empty());
        test.playStep();
    }

    Mirror mirror;
    ParameterBinding binding{mirror};
    ChannelTest test{binding, mirror};
};

}  // namespace

TEST_F(ChannelTestTest, AutomaticRunsFollowTheLayout) {
    struct Case {
        int layout;
        std::vector<int> buttons;
    };
    for (const Case& c : {Case{4, {0, 4, 1, 7, 6, 5, 0}}, Case{0, {0, 1, 0, 1}},
                          Case{5, {0, 4, 1, 3, 7, 6, 2, 5, 0}}, Case{9, {0, 1, 2, 3, 4}}}) {
        layout(c.layout);
        test.button(ChannelTest::kAutomatic, true);
        for (size_t i = 0; i < c.buttons.size(); ++i) {
            if (i > 0) nextStep();
            EXPECT_EQ(test.step(), c.buttons[i]) << "layout " << c.layout << " step " << i;
            EXPECT_EQ(pressedButtons(), (std::vector<int>{c.buttons[i], ChannelTest::kAutomatic}));
            EXPECT_EQ(playing(), std::vector<int>{ChannelTest::channelOf(c.buttons[i], c.layout)});
        }
    }
}

TEST_F(ChannelTestTest, FiveOneSwapsTheSideAndBackButtons) {
    layout(4);
    test.button(6, true);  // BL
    EXPECT_EQ(mirror.value(1665), ChannelTest::kSignalOn);
    EXPECT_EQ(mirror.value(1666), ChannelTest::kLevelOn);
    EXPECT_TRUE(mirror.pending(1665) && mirror.pending(1666));
    test.button(6, false);
    EXPECT_EQ(mirror.value(1666), 0);
    test.button(2, true);  // SL is not in 5.1: nothing happens
    EXPECT_TRUE(playing().empty());
    for (int b : {0, 1, 4, 5, 6, 7}) EXPECT_TRUE(ChannelTest::available(b, 4)) << b;
}

TEST_F(ChannelTestTest, AllOnAllOffAndStrayNumbers) {
    layout(5);
    test.button(ChannelTest::kAllOn, true);
    EXPECT_EQ(playing().size(), 8u);
    EXPECT_TRUE(test.pressed(ChannelTest::kAllOn));
    test.button(11, true);
    test.button(-1, true);
    EXPECT_EQ(playing().size(), 8u);
    test.button(ChannelTest::kAllOff, true);
    EXPECT_TRUE(playing().empty());
    EXPECT_EQ(pressedButtons(), std::vector<int>{ChannelTest::kAllOff});
}

TEST_F(ChannelTestTest, ClosingDuringTheAutomaticRunSilencesEveryChannel) {
    layout(4);
    test.button(ChannelTest::kAllOn, true);
    test.button(ChannelTest::kAutomatic, true);
    nextStep();
    test.silence();  // closed in the 400 ms gap
    test.close();
    test.playStep();  // a late timer plays nothing
    EXPECT_FALSE(test.automatic());
    for (int k = 0; k < ChannelTest::kChannels; ++k)
        EXPECT_EQ(mirror.value(ChannelTest::levelIndex(k)), 0) << k;
    EXPECT_EQ(pressedButtons(), std::vector<int>{ChannelTest::kAllOff});
}
