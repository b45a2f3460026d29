#pragma once

#include <array>
#include <cstddef>

#include "binding/parameter_index.h"

class Mirror;
class ParameterBinding;

// The speaker test: the device plays its test signal on the output channels
// whose signal and level parameters are set. Eleven buttons: 0 to 7 the
// channels FL, FR, SL, SR, CEN, SW, BL, BR, then all on, all off and the
// automatic run, which steps through the layout's channels every 6 s with
// 400 ms of silence between them. Everything is written through the
// binding's write parameter; the owner runs the two timers this asks for.
class ChannelTest {
public:
    static constexpr int kChannels = 8;
    static constexpr int kAllOn = 8;
    static constexpr int kAllOff = 9;
    static constexpr int kAutomatic = 10;
    static constexpr int kButtons = 11;
    static constexpr int kLayoutIndex = parameterIndex::ChannelMode;
    static constexpr int kFirstSignal = 1661;
    static constexpr int kSignalOn = 30001;
    static constexpr int kLevelOn = 2000;
    static constexpr int kStepMs = 6000;
    static constexpr int kSilenceMs = 400;

    ChannelTest(ParameterBinding& binding, const Mirror& mirror);

    static int signalIndex(int channel) { return kFirstSignal + 2 * channel; }
    static int levelIndex(int channel) { return kFirstSignal + 1 + 2 * channel; }
    // The channel a button drives in a layout (5.1 swaps the side and back pairs).
    static int channelOf(int button, int layout);
    static bool available(int button, int layout);
    // The automatic run's next button after step; 0 for a step not in the run.
    static int nextStep(int step, int layout);

    // The layout in use (parameterIndex::ChannelMode).
    int layout() const;

    // A button was clicked; for a channel button, pressed is its new state.
    // Numbers above 10 are ignored.
    void button(int number, bool pressed);
    // The automatic run's 6 s tick: every channel goes silent.
    void silence();
    // 400 ms later: the next step's channel plays.
    void playStep();
    // The dialog closes: every level goes to 0.
    void close();

    bool pressed(int button) const { return m_pressed[static_cast<size_t>(button)]; }
    bool automatic() const { return m_automatic; }
    int step() const { return m_step; }

private:
    void play(int button);
    void mute(int button);
    void releaseAll();
    void setModeButtons(int on);

    ParameterBinding& m_binding;
    const Mirror& m_mirror;
    std::array<bool, kButtons> m_pressed{};
    bool m_automatic = false;
    int m_step = 0;
};
