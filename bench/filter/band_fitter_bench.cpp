// Fitting a page's bands to a synthetic room: 8 bands (an output page) and 15
// (an input page), default settings; prints the time per fit and the RMS
// error before, at the continuous optimum and on the lattice.
#include <benchmark/benchmark.h>

#include "filter/band_fitter.h"
#include "support/synthetic_room.h"

namespace {

void fitBands(benchmark::State& state) {
    FitSettings settings;
    settings.bands = int(state.range(0));
    Measurement room = syntheticRoom(uint64_t(state.range(1)));
    std::string error;
    FitProblem problem = FitProblem::build(room, FitTarget::flat(), PageCurve{}, settings, error);
    BandFitter fitter(problem, settings);
    BandFitter::Result result;
    for (auto _ : state) {
        result = fitter.fit();
        benchmark::DoNotOptimize(result.bands.data());
    }
    state.counters["rms_before"] = result.rmsBefore;
    state.counters["rms_continuous"] = result.continuousRms;
    state.counters["rms_after"] = result.rmsAfter;
}

}  // namespace

BENCHMARK(fitBands)
    ->ArgsProduct({{8, 15}, {1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
