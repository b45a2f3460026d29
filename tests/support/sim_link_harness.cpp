#include "sim_link_harness.h"

#include "files/settings.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "wait_for.h"

SimLinkHarness::SimLinkHarness(double speed, uint64_t seed)
    : clock(speed), device(seed), backend(device, clock), link(ui, clock) {
    Settings::overrideFolders(m_settings.path("program"), m_settings.path("user"));
    auto hid = std::make_unique<HidTransport>(link.transportListener(), backend);
    auto recording = std::make_unique<RecordingTransport>(
        std::move(hid), [this] { return link.supervisor().steadyIterations(); });
    transport = recording.get();
    link.setUsbTransport(std::move(recording));
}

SimLinkHarness::~SimLinkHarness() {
    stop();
    Settings::overrideFolders("", "");
}

void SimLinkHarness::stop() {
    link.supervisor().stop();
    link.supervisor().join();
}

bool SimLinkHarness::waitForFullReads(int n) {
    return waitFor([&] { return ui.countEvents(LinkEvent::ReadComplete, 0) >= n; });
}

bool SimLinkHarness::waitForSteadyIterations(uint64_t n) {
    uint64_t target = link.supervisor().steadyIterations() + n;
    return waitFor([&] { return link.supervisor().steadyIterations() >= target; });
}

std::vector<int> SimLinkHarness::differences() {
    SimDevice::Memory memory = device.memory();
    std::vector<int> differ;
    Mirror& mirror = link.mirror();
    for (int i = 0; i < Mirror::kSize; ++i)
        if (mirror.value(i) != memory[static_cast<size_t>(i)]) differ.push_back(i);
    return differ;
}

bool SimLinkHarness::hearsUnaskedWhilePaused(Link& link, SimDevice& device, int index,
                                             uint16_t value) {
    LinkState& state = link.state();
    state.pauseFlag = true;
    // An iteration that begins after the flag was raised stops before it sends.
    uint64_t begun = link.supervisor().steadyIterations();
    bool paused = waitFor([&] { return link.supervisor().steadyIterations() > begun; });
    device.changeAndReport(index, value);
    bool heard = paused && waitFor([&] { return link.mirror().value(index) == value; });
    state.pauseFlag = false;
    return heard;
}

std::vector<std::vector<uint8_t>> SimLinkHarness::framesOf(
    const std::vector<std::vector<uint8_t>>& log, Command command) {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& frame : log)
        if (frame.size() > 2 && frame[2] == static_cast<uint8_t>(command)) out.push_back(frame);
    return out;
}
