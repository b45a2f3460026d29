// What one request costs on each transport to the simulated device, and how
// fast input reports are reassembled into frames.
#include <benchmark/benchmark.h>

#include "link/frame.h"
#include "link/link.h"
#include "link/link_ui.h"
#include "link/transports/envelope_assembler.h"
#include "link/transports/hid_envelope.h"
#include "link/transports/hid_transport.h"
#include "link/transports/serial_transport.h"
#include "platform/clock.h"
#include "sim/sim_device.h"
#include "sim/sim_hid_backend.h"
#include "sim/sim_pty_server.h"
#include "support/recording_ui.h"

namespace {

const std::vector<uint8_t> kReadTwentyFive = [] {
    std::vector<uint8_t> payload;
    for (uint16_t i = 100; i < 125; ++i) Frame::putU16(payload, i);
    return payload;
}();

// One Read parameters request of 25 indices and its reply, over a pseudo-terminal.
void BM_SerialRequestReply(benchmark::State& state) {
    RecordingUi ui;
    SimDevice device;
    SimPtyServer server(device, Clock::system());
    if (!server.start()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    Link link(ui, Clock::system());
    auto owned = std::make_unique<SerialTransport>(link.transportListener(), nullptr);
    SerialTransport* transport = owned.get();
    link.setSerialTransport(std::move(owned));
    link.state().transportType = TransportType::Serial;
    if (!transport->open(server.path())) {
        state.SkipWithError("cannot open the terminal");
        return;
    }
    int lost = 0;
    for (auto _ : state)
        if (!link.request(Command::ReadParameters, kReadTwentyFive, 500)) ++lost;
    state.counters["lost"] = lost;
    transport->close();
    server.stop();
}
BENCHMARK(BM_SerialRequestReply)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same over the simulated USB device: envelopes, reports and the reader thread.
void BM_HidRequestReply(benchmark::State& state) {
    RecordingUi ui;
    SimDevice device;
    SimHidBackend backend(device, Clock::system());
    Link link(ui, Clock::system());
    auto owned = std::make_unique<HidTransport>(link.transportListener(), backend);
    HidTransport* transport = owned.get();
    link.setUsbTransport(std::move(owned));
    link.search(TransportType::UsbHid);
    int lost = 0;
    for (auto _ : state)
        if (!link.request(Command::ReadParameters, kReadTwentyFive, 500)) ++lost;
    state.counters["lost"] = lost;
    transport->close();
}
BENCHMARK(BM_HidRequestReply)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A 105-byte reply (two reports) reassembled; what the reader thread does per frame.
void BM_EnvelopeReassembly(benchmark::State& state) {
    std::vector<uint8_t> payload;
    for (uint16_t i = 0; i < 25; ++i) Frame::putU16(payload, i), Frame::putU16(payload, i);
    std::vector<uint8_t> frame = Frame::build(Command::ReadParameters, payload);
    std::vector<uint8_t> reports = HidEnvelope::reports(frame.data(), frame.size());
    size_t frames = 0;
    EnvelopeAssembler assembler([&](const uint8_t*, size_t) { ++frames; });
    for (auto _ : state)
        for (size_t at = 0; at < reports.size(); at += HidDevice::kReportSize)
            assembler.add(reports.data() + at + 1, HidDevice::kReportSize - 1);
    state.SetItemsProcessed(static_cast<int64_t>(frames));
}
BENCHMARK(BM_EnvelopeReassembly);

}  // namespace

BENCHMARK_MAIN();
