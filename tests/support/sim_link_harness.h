#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/link.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"
#include "recording_transport.h"
#include "recording_ui.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#include "temp_folder.h"

// Sanitizers slow every thread down; the link's waits, shortened by the fast
// clock, must still outlast a reply.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
inline constexpr double kLinkTestSpeed = 4;
#else
inline constexpr double kLinkTestSpeed = 10;
#endif

// The whole link against the simulated device on "USB": SimDevice behind
// SimHidBackend, the real HidTransport (wrapped to record what it sends), a
// Link on a fast clock and a RecordingUi. Settings files go to a private
// temporary folder for the harness's life.
class SimLinkHarness {
public:
    explicit SimLinkHarness(double speed = kLinkTestSpeed, uint64_t seed = 1);
    ~SimLinkHarness();
    SimLinkHarness(const SimLinkHarness&) = delete;
    SimLinkHarness& operator=(const SimLinkHarness&) = delete;

    bool start() { return link.supervisor().start(); }
    void stop();

    // Waits until the n-th full read of this run has posted its "read complete" event.
    bool waitForFullReads(int n);
    // Waits until the steady loop has run at least n more iterations.
    bool waitForSteadyIterations(uint64_t n);
    // Indices whose mirror value differs from the device's memory.
    std::vector<int> differences();

    // Pauses the steady loop until it sends nothing more, changes a value on
    // the device and tells whether the mirror took it all the same: the device
    // said it unasked. The loop goes on afterwards.
    static bool hearsUnaskedWhilePaused(Link& link, SimDevice& device, int index, uint16_t value);

    // Valid request frames with this command that reached the device.
    static std::vector<std::vector<uint8_t>> framesOf(const std::vector<std::vector<uint8_t>>& log,
                                                      Command command);

    Clock clock;
    SimDevice device;
    SimHidBackend backend;
    RecordingUi ui;
    Link link;
    RecordingTransport* transport = nullptr;

private:
    TempFolder m_settings;
};
