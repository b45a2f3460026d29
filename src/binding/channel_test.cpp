#include "binding/channel_test.h"

#include <span>

#include "binding/parameter_binding.h"
#include "link/mirror.h"

namespace {

constexpr int kFiveOne = 4;

// Buttons available per layout (0 to 5), as a bit per channel button.
constexpr unsigned kAvailable[] = {0x03, 0x23, 0x13, 0x33, 0xF3, 0xFF};

// The automatic run per layout: front left, centre, front right, the
// right-hand and back channels, the left-hand ones, the subwoofer last.
constexpr int kRun20[] = {0, 1};
constexpr int kRun21[] = {0, 1, 5};
constexpr int kRun30[] = {0, 4, 1};
constexpr int kRun31[] = {0, 4, 1, 5};
constexpr int kRun51[] = {0, 4, 1, 7, 6, 5};
constexpr int kRun71[] = {0, 4, 1, 3, 7, 6, 2, 5};
constexpr int kRunOther[] = {0, 1, 2, 3, 4, 5, 6, 7};

std::span<const int> runOf(int layout) {
    switch (layout) {
        case 0:
            return kRun20;
        case 1:
            return kRun21;
        case 2:
            return kRun30;
        case 3:
            return kRun31;
        case 4:
            return kRun51;
        case 5:
            return kRun71;
        default:
            return kRunOther;
    }
}

}  // namespace

ChannelTest::ChannelTest(ParameterBinding& binding, const Mirror& mirror)
    : m_binding(binding), m_mirror(mirror) {}

int ChannelTest::channelOf(int button, int layout) {
    if (layout != kFiveOne) return button;
    switch (button) {
        case 2:
            return 6;
        case 3:
            return 7;
        case 6:
            return 2;
        case 7:
            return 3;
        default:
            return button;
    }
}

bool ChannelTest::available(int button, int layout) {
    if (button < 0 || button >= kButtons) return false;
    if (button >= kChannels) return true;
    unsigned mask = layout >= 0 && layout < 5 ? kAvailable[layout] : kAvailable[5];
    return (mask >> button) & 1u;
}

int ChannelTest::nextStep(int step, int layout) {
    std::span<const int> run = runOf(layout);
    for (size_t i = 0; i < run.size(); ++i)
        if (run[i] == step) return run[(i + 1) % run.size()];
    return 0;
}

int ChannelTest::layout() const {
    return m_mirror.value(kLayoutIndex);
}

void ChannelTest::play(int button) {
    int channel = channelOf(button, layout());
    m_pressed[static_cast<size_t>(button)] = true;
    m_binding.writeParameter(signalIndex(channel), kSignalOn);
    m_binding.writeParameter(levelIndex(channel), kLevelOn);
}

void ChannelTest::mute(int button) {
    m_pressed[static_cast<size_t>(button)] = false;
    m_binding.writeParameter(levelIndex(channelOf(button, layout())), 0);
}

void ChannelTest::releaseAll() {
    for (int b = 0; b < kChannels; ++b) mute(b);
}

void ChannelTest::setModeButtons(int on) {
    for (int b = kChannels; b < kButtons; ++b) m_pressed[static_cast<size_t>(b)] = b == on;
}

void ChannelTest::button(int number, bool pressed) {
    if (number < 0 || number >= kButtons) return;
    if (number < kChannels) {
        if (!available(number, layout())) return;
        if (pressed)
            play(number);
        else
            mute(number);
        return;
    }
    m_automatic = false;
    switch (number) {
        case kAllOn:
            for (int b = 0; b < kChannels; ++b) play(b);
            break;
        case kAllOff:
            releaseAll();
            break;
        default:
            releaseAll();
            m_step = 0;
            play(m_step);
            m_automatic = true;
            break;
    }
    setModeButtons(number);
}

void ChannelTest::silence() {
    if (!m_automatic) return;
    m_step = nextStep(m_step, layout());
    for (int b = 0; b < kChannels; ++b) {
        m_pressed[static_cast<size_t>(b)] = false;
        int channel = channelOf(b, layout());
        m_binding.writeParameter(signalIndex(channel), kSignalOn);
        m_binding.writeParameter(levelIndex(channel), 0);
    }
}

void ChannelTest::playStep() {
    if (m_automatic) play(m_step);
}

void ChannelTest::close() {
    m_automatic = false;
    for (int channel = 0; channel < kChannels; ++channel) {
        m_pressed[static_cast<size_t>(channel)] = false;
        m_binding.writeParameter(levelIndex(channel), 0);
    }
    setModeButtons(kAllOff);
}
