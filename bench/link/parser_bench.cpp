// Frame parser throughput on a stream of mixed replies with noise between them,
// cut into report-sized chunks as a transport delivers it.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "link/device_info.h"
#include "link/frame.h"
#include "link/frame_parser.h"
#include "link/link_state.h"
#include "link/mirror.h"
#include "platform/clock.h"

namespace {

std::vector<uint8_t> mixedStream(size_t targetSize) {
    std::mt19937 random(7);
    std::vector<uint8_t> stream;
    int index = 0;
    while (stream.size() < targetSize) {
        std::vector<uint8_t> payload;
        std::vector<uint8_t> frame;
        switch (random() % 4) {
            case 0:  // a bulk-read reply of 25 values
                for (int g = 0; g < 25; ++g, index = (index + 1) % 1746) {
                    Frame::putU16(payload, static_cast<uint16_t>(index));
                    Frame::putU16(payload, static_cast<uint16_t>(random()));
                }
                frame = Frame::build(Command::ReadParameters, payload);
                break;
            case 1:  // a write acknowledgement of 24 values
                for (int g = 0; g < 24; ++g) {
                    Frame::putU16(payload, static_cast<uint16_t>(random() % 1746));
                    Frame::putU16(payload, static_cast<uint16_t>(random()));
                }
                frame = Frame::build(Command::WriteParameters, payload);
                break;
            case 2: frame = Frame::build(Command::Hello, {0x57, 0x54, 0x00, 0x7B}); break;
            default:  // noise
                for (int n = static_cast<int>(random() % 40); n > 0; --n)
                    frame.push_back(static_cast<uint8_t>(random()));
                break;
        }
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

void BM_ParseMixedStream(benchmark::State& state) {
    Clock clock;
    LinkState link;
    Mirror mirror;
    DeviceInfo device;
    FrameParser parser(clock, link, mirror, device);
    const size_t chunk = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> stream = mixedStream(1 << 20);
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += chunk)
            parser.parse(stream.data() + at, std::min(chunk, stream.size() - at));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(parser.framesParsed()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_ParseMixedStream)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
