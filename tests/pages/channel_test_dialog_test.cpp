#include <gtest/gtest.h>

#include "binding/parameter_binding.h"
#include "controls/synthetic_input.h"
#include "link/mirror.h"
#include "pages/channel_test_dialog.h"
#include "support/qt_wait.h"

using namespace SyntheticInput;

namespace {

class ChannelTestDialogTest : public testing::Test {
protected:
    void open(int layout) {
        mirror.store(ChannelTest::kLayoutIndex, static_cast<uint16_t>(layout));
        dialog = std::make_unique<ChannelTestDialog>(binding, mirror, nullptr);
        dialog->show();
        processQueued();
    }
    void press(int b) {
        SkinButton& button = dialog->button(b);
        click(&button, button.rect().center(), Qt::LeftButton);
        processQueued();
    }
    int level(int channel) const { return mirror.value(ChannelTest::levelIndex(channel)); }

    Mirror mirror;
    ParameterBinding binding{mirror};
    std::unique_ptr<ChannelTestDialog> dialog;
};

}  // namespace

TEST_F(ChannelTestDialogTest, ButtonsFollowTheLayoutAndTheClicks) {
    open(4);
    press(6);  // BL plays the SL pair in 5.1
    EXPECT_EQ(level(2), ChannelTest::kLevelOn);
    EXPECT_EQ(dialog->button(6).checkType(), 2);
    press(2);  // not in 5.1: disabled
    EXPECT_EQ(level(6), 0);
    EXPECT_EQ(dialog->button(2).checkType(), 1);
    press(ChannelTest::kAllOn);
    for (int b = 0; b < ChannelTest::kChannels; ++b) EXPECT_EQ(dialog->button(b).checkType(), 2);
    press(ChannelTest::kAllOff);
    for (int k = 0; k < ChannelTest::kChannels; ++k) EXPECT_EQ(level(k), 0);
}

TEST_F(ChannelTestDialogTest, ClosingDuringTheAutomaticRunSilencesAndStops) {
    open(5);
    press(ChannelTest::kAllOn);
    press(ChannelTest::kAutomatic);
    EXPECT_TRUE(dialog->stepping());
    EXPECT_EQ(level(0), ChannelTest::kLevelOn);
    EXPECT_EQ(level(1), 0);
    dialog->reject();
    EXPECT_FALSE(dialog->stepping());
    for (int k = 0; k < ChannelTest::kChannels; ++k) EXPECT_EQ(level(k), 0) << k;
    EXPECT_EQ(dialog->button(ChannelTest::kAllOff).checkType(), 2);
}
