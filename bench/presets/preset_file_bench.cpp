// Preset files of 1746 values: encoding and decoding in memory, and a whole
// save (temporary file, flush to disk, rename) and read on the local disk.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "files/preset_codec.h"
#include "files/preset_files.h"
#include "support/temp_folder.h"

namespace {

constexpr size_t kValues = 1746;

PresetRecord sampleRecord() {
    std::mt19937 random(11);
    PresetRecord r;
    r.deviceMagic = 22356;
    r.values.resize(kValues);
    for (auto& v : r.values) v = static_cast<int32_t>(random() & 0xFFFF);
    return r;
}

std::vector<uint16_t> sampleValues() {
    PresetRecord r = sampleRecord();
    return std::vector<uint16_t>(r.values.begin(), r.values.end());
}

void BM_Encode(benchmark::State& state) {
    PresetRecord record = sampleRecord();
    std::mt19937 random(1);
    for (auto _ : state) benchmark::DoNotOptimize(PresetCodec::encode(record, random));
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * PresetCodec::fileSize(kValues)));
}
BENCHMARK(BM_Encode);

void BM_Decode(benchmark::State& state) {
    std::mt19937 random(1);
    std::vector<uint8_t> file = PresetCodec::encode(sampleRecord(), random);
    PresetRecord out;
    for (auto _ : state)
        benchmark::DoNotOptimize(PresetCodec::decode(file.data(), file.size(), out));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_Decode);

void BM_WritePresetFile(benchmark::State& state) {
    TempFolder folder;
    std::vector<uint16_t> values = sampleValues();
    PresetFiles data;
    for (auto _ : state) benchmark::DoNotOptimize(data.writePreset(folder.path("bench"), values));
}
BENCHMARK(BM_WritePresetFile)->Unit(benchmark::kMicrosecond);

void BM_ReadPresetFile(benchmark::State& state) {
    TempFolder folder;
    PresetFiles writer;
    writer.writePreset(folder.path("bench"), sampleValues());
    for (auto _ : state) {
        PresetFiles reader;
        benchmark::DoNotOptimize(reader.readPreset(folder.path("bench")));
    }
}
BENCHMARK(BM_ReadPresetFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
