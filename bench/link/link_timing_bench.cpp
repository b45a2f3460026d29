// How long the link takes on its two busiest paths against a responsive
// simulated device, in real time:
// - from the device's attach to the end of the full read, beside the sum of the
//   sleeps the supervisor took on that path (its floor) and their ratio;
// - draining 1746 pending entries, beside the number of frames it took.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"

namespace {

using Seconds = std::chrono::duration<double>;

struct Rig {
    Clock clock;
    RecordingUi ui;
    SimDevice device;
    SimHidBackend backend{device, clock};
    Link link{ui, clock};

    Rig() {
        link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), backend));
    }
    bool ready() { return ui.countEvents(LinkEvent::ReadCompleteAfter, 0) > 0; }
};

void BM_AttachToFullRead(benchmark::State& state) {
    double floorMs = 0;
    double elapsedMs = 0;
    for (auto _ : state) {
        Rig rig;
        rig.device.setAbsent(true);
        rig.link.supervisor().start();
        waitFor([&] { return rig.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) > 0; });
        uint64_t sleptBefore = rig.clock.sleptMs();
        auto start = std::chrono::steady_clock::now();
        rig.device.setAbsent(false);
        waitFor([&] { return rig.ui.countEvents(LinkEvent::ReadSucceeded, 0) > 0; });
        auto end = std::chrono::steady_clock::now();
        double ms = Seconds(end - start).count() * 1000;
        state.SetIterationTime(ms / 1000);
        elapsedMs += ms;
        floorMs += static_cast<double>(rig.clock.sleptMs() - sleptBefore);
        rig.link.supervisor().stop();
    }
    double n = static_cast<double>(state.iterations());
    state.counters["elapsed_ms"] = elapsedMs / n;
    state.counters["floor_ms"] = floorMs / n;
    state.counters["ratio"] = elapsedMs / floorMs;
}

void BM_DrainAllPending(benchmark::State& state) {
    Rig rig;
    rig.link.supervisor().start();
    waitFor([&] { return rig.ready(); });
    Mirror& mirror = rig.link.mirror();
    double frames = 0;
    uint16_t bump = 1;
    for (auto _ : state) {
        uint64_t before = rig.device.requests(static_cast<uint8_t>(Command::WriteParameters));
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Mirror::kSize; ++i)
            mirror.setPending(i, i == 0 ? Mirror::kDeviceMagic : static_cast<uint16_t>(mirror.value(i) + bump));
        waitFor([&] { return mirror.countPending() == 0; });
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start).count());
        frames += static_cast<double>(rig.device.requests(static_cast<uint8_t>(Command::WriteParameters)) - before);
        ++bump;
    }
    state.counters["frames"] = frames / static_cast<double>(state.iterations());
    rig.link.supervisor().stop();
}

}  // namespace

BENCHMARK(BM_AttachToFullRead)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrainAllPending)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
