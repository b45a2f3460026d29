// From an edit on the user-interface side (a value marked pending in the
// mirror) to the Write parameters frame that carries it being handed to the
// transport, against the simulated device on "USB" in real time. Edits come at
// random moments: some while the steady loop is still busy with the last one,
// some after it has gone quiet, some once it sends keep-alives. Edits made
// between the two frames of a keep-alive are counted, and the 99th percentile
// of the others shown beside.
// Several links run side by side so that a thousand edits fit in about a
// minute; each measures only its own edits.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transports/hid_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#include "support/recording_transport.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"

namespace {

using Clock_ = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr int kLinks = 20;
constexpr int kEditsPerLink = 50;
// Quiet after about 0.6 s, keep-alives after about 1.2 s.
constexpr int kLongestGapMs = 2400;
constexpr int kFirstIndex = 100;  // ordinary parameters, no link roles
constexpr int kLastIndex = 999;

uint64_t nowNs() {
    return uint64_t(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock_::now().time_since_epoch())
            .count());
}

bool isKeepAliveRead(const Bytes& frame) {
    return frame == Frame::build(Command::ReadParameters, {0x06, 0x65, 0x06, 0x67, 0x06, 0x68});
}

bool carries(const Bytes& frame, int index, uint16_t value) {
    if (frame.size() < 5 || frame[2] != uint8_t(Command::WriteParameters)) return false;
    for (size_t at = 3; at + 4 <= frame.size() - 2; at += 4) {
        if (frame[at] == uint8_t(index >> 8) && frame[at + 1] == uint8_t(index) &&
            frame[at + 2] == uint8_t(value >> 8) && frame[at + 3] == uint8_t(value))
            return true;
    }
    return false;
}

struct Latency {
    double ms;
    bool inKeepAlive;
};

struct Rig {
    Clock clock;
    RecordingUi ui;
    SimDevice device;
    SimHidBackend backend{device, clock};
    Link link{ui, clock};
    RecordingTransport* transport = nullptr;

    explicit Rig(uint64_t seed) : device(seed) {
        auto recording = std::make_unique<RecordingTransport>(
            std::make_unique<HidTransport>(link.transportListener(), backend), nowNs);
        transport = recording.get();
        link.setUsbTransport(std::move(recording));
    }
    ~Rig() { link.supervisor().stop(); }

    // Latencies in ms of this link's edits; empty when the link never came up.
    std::vector<Latency> run(uint64_t seed) {
        std::vector<Latency> latencies;
        LinkSupervisor& supervisor = link.supervisor();
        supervisor.start();
        if (!waitFor([&] { return ui.countEvents(LinkEvent::ReadCompleteAfter, 0) > 0; }) ||
            !waitFor([&] { return supervisor.steadyIterations() > 0; }))
            return latencies;
        std::mt19937_64 random(seed);
        std::uniform_int_distribution<int> gap(0, kLongestGapMs), index(kFirstIndex, kLastIndex);
        Mirror& mirror = link.mirror();
        for (int k = 0; k < kEditsPerLink; ++k) {
            std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
            int i = index(random);
            auto v = uint16_t(mirror.value(i) + 1 + k);
            size_t seen = transport->sent().size();
            uint64_t edited = nowNs();
            mirror.setPending(i, v);
            if (!waitFor([&] { return device.value(i) == v; })) break;
            auto sent = transport->sent();
            auto frame = std::find_if(sent.begin() + long(seen), sent.end(),
                                      [&](const auto& s) { return carries(s.frame, i, v); });
            if (frame == sent.end()) continue;
            bool inKeepAlive = seen > 0 && isKeepAliveRead(sent[seen - 1].frame);
            latencies.push_back({double(frame->stamp - edited) / 1e6, inKeepAlive});
        }
        return latencies;
    }
};

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p / 100 * double(values.size())))];
}

void BM_EditToWriteFrame(benchmark::State& state) {
    std::vector<double> all, others;
    for (auto _ : state) {
        std::vector<std::vector<Latency>> perLink(kLinks);
        std::vector<std::thread> threads;
        auto start = Clock_::now();
        for (int r = 0; r < kLinks; ++r) {
            threads.emplace_back([&perLink, r] {
                Rig rig(uint64_t(r + 1));
                perLink[size_t(r)] = rig.run(uint64_t(1000 + r));
            });
        }
        for (auto& t : threads) t.join();
        state.SetIterationTime(std::chrono::duration<double>(Clock_::now() - start).count());
        for (const auto& l : perLink) {
            for (const Latency& e : l) {
                all.push_back(e.ms);
                if (!e.inKeepAlive) others.push_back(e.ms);
            }
        }
    }
    if (all.empty()) {
        state.SkipWithError("no edit reached the device");
        return;
    }
    state.counters["edits"] = double(all.size());
    state.counters["p50_ms"] = percentile(all, 50);
    state.counters["p99_ms"] = percentile(all, 99);
    state.counters["max_ms"] = percentile(all, 100);
    state.counters["in_keepalive"] = double(all.size() - others.size());
    state.counters["p99_other_ms"] = percentile(others, 99);
}

}  // namespace

BENCHMARK(BM_EditToWriteFrame)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
