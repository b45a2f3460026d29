// What a connected link costs while nobody edits: the process's CPU time over
// a quiet stretch against the simulated device on "USB" in real time, as a
// share of one core. The simulated device runs in the same process, so the
// figure is an upper bound for the link alone.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <thread>

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

constexpr auto kQuiet = std::chrono::seconds(10);

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void BM_QuietLinkCpu(benchmark::State& state) {
    double share = 0;
    for (auto _ : state) {
        Clock clock;
        RecordingUi ui;
        SimDevice device;
        SimHidBackend backend{device, clock};
        Link link{ui, clock};
        link.setUsbTransport(std::make_unique<HidTransport>(link.transportListener(), backend));
        link.supervisor().start();
        if (!waitFor([&] { return ui.countEvents(LinkEvent::ReadCompleteAfter, 0) > 0; })) {
            state.SkipWithError("the link never came up");
            return;
        }
        auto wallStart = std::chrono::steady_clock::now();
        double cpuStart = processCpuSeconds();
        std::this_thread::sleep_for(kQuiet);
        double cpu = processCpuSeconds() - cpuStart;
        double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        state.SetIterationTime(wall);
        share = cpu / wall * 100;
        link.supervisor().stop();
    }
    state.counters["cpu_percent_of_core"] = share;
}

}  // namespace

BENCHMARK(BM_QuietLinkCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
