#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "filter/filter_cascade.h"

// How many section evaluations and curve points the model delivers: one curve
// point is one evaluation of a cascade at one plot column's frequency.

namespace {

std::vector<EvaluationPoint> columns(int count) {
    std::vector<EvaluationPoint> points;
    for (int i = 0; i < count; ++i) {
        points.push_back(EvaluationPoint::at(19 * std::pow(20600.0 / 19, double(i) / count)));
    }
    return points;
}

void evaluate(benchmark::State& state, const FilterCascade& cascade) {
    auto points = columns(1000);
    for (auto _ : state) {
        for (const auto& p : points) benchmark::DoNotOptimize(cascade.levelDb(p));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
    state.counters["sections"] = double(cascade.sections().size());
}

void BM_PeakingBand(benchmark::State& state) {
    evaluate(state, FilterCascade::band(7, 1000, 60, 1.41));
}

void BM_Crossover48(benchmark::State& state) {
    evaluate(state, FilterCascade::crossover(26, 100, 1, 20600, 20600));
}

void BM_LevelFromFrequency(benchmark::State& state) {
    auto cascade = FilterCascade::band(5, 1000, 60, 1.41);
    double fe = 19;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cascade.levelDb(fe));
        fe = fe > 20000 ? 19 : fe * 1.01;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_DesignBand(benchmark::State& state) {
    double f = 19.7;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FilterCascade::band(7, f, 60, 1.41));
        f = f > 20000 ? 19.7 : f * 1.01;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_PeakingBand);
BENCHMARK(BM_Crossover48);
BENCHMARK(BM_LevelFromFrequency);
BENCHMARK(BM_DesignBand);
BENCHMARK_MAIN();
