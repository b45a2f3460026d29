// One drag step of an equaliser marker in the response graph: the pointer
// moves, the band's curve is recomputed, the total re-summed and the back
// buffer repainted. Measured at the output page's graph size at design scale
// and at three times that size, beside the 4.17 ms a 240 Hz display allows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "controls/response_graph.h"

namespace {

constexpr double kFrameBudgetUs = 1e6 / 240;

struct Size {
    int width;
    int height;
};

constexpr Size kDesign{1051, 359};  // 13,199 to 1064,558 of the 1077 x 681 design

void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

std::unique_ptr<ResponseGraph> makeGraph(int scale) {
    auto scope = std::make_unique<ResponseGraph>();
    scope->resize(kDesign.width * scale, kDesign.height * scale);
    scope->setScale(scale);
    scope->initialise(8);
    const double frequencies[8] = {40, 120, 400, 1000, 2500, 5000, 8000, 12000};
    for (int j = 0; j < 8; ++j) {
        scope->setBandFrequency(j, frequencies[j]);
        scope->setBandQ(j, 1.4 + j * 0.3);
        scope->setBandGain(j, (j % 2 ? -1 : 1) * (2.0 + j));
    }
    scope->setCrossoverType(24);
    scope->setCrossoverType(27);
    scope->setCrossoverFrequency(0, 35);
    scope->setCrossoverFrequency(1, 16000);
    scope->setBandFrequency(3, 1000);
    (void)scope->renderPicture();
    return scope;
}

void BM_DragStep(benchmark::State& state) {
    int scale = int(state.range(0));
    auto scope = makeGraph(scale);
    const ResponseGraphModel& m = scope->model();
    QPointF start(m.plot().left + m.slot(5).markerX, m.zeroLine() + m.slot(5).markerY);
    send(scope.get(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        // Back and forth over about an octave and a few dB.
        int phase = step++ % 64;
        int offset = phase < 32 ? phase : 64 - phase;
        QPointF at = start + QPointF(offset * 2 * scale, -offset * scale);
        send(scope.get(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        benchmark::DoNotOptimize(scope->renderPicture().constBits());
    }
    double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started)
            .count() /
        double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    send(scope.get(), QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    // Wall-clock figures; the Time and CPU columns give the same per step.
    state.counters["us_per_step"] = us;
    state.counters["steps_per_s"] = 1e6 / us;
    state.counters["budget_240Hz_us"] = kFrameBudgetUs;
    state.counters["budget_used_pct"] = 100 * us / kFrameBudgetUs;
    state.SetLabel(std::to_string(scope->width()) + "x" + std::to_string(scope->height()));
}

// The whole picture again, grid included, as after a resize or a new skin.
void BM_WholePicture(benchmark::State& state) {
    auto scope = makeGraph(int(state.range(0)));
    for (auto _ : state) {
        scope->setBackgroundImage(QImage());
        benchmark::DoNotOptimize(scope->renderPicture().constBits());
    }
    state.SetLabel(std::to_string(scope->width()) + "x" + std::to_string(scope->height()));
}

// The model's part alone: recompute the slot and re-sum, without painting.
void BM_DragStepModelOnly(benchmark::State& state) {
    int scale = int(state.range(0));
    ResponseGraphModel model;
    model.initialise(8, kDesign.width * scale, kDesign.height * scale);
    model.layout(kDesign.width * scale, kDesign.height * scale);
    for (int j = 0; j < 8; ++j) model.setBandGain(j, 3);
    model.updateCurves();
    int x = model.plot().left + model.slot(5).markerX, y = model.zeroLine() + model.slot(5).markerY;
    model.mouseDown(x, y);
    int step = 0;
    for (auto _ : state) {
        int phase = step++ % 64;
        int offset = phase < 32 ? phase : 64 - phase;
        model.mouseMove(x + offset * 2 * scale, y - offset * scale);
        benchmark::DoNotOptimize(model.total().data());
    }
    state.counters["steps_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::to_string(kDesign.width * scale) + "x" +
                   std::to_string(kDesign.height * scale));
}

}  // namespace

// Process CPU time, so that the painter's helper threads count as well.
BENCHMARK(BM_DragStep)->Arg(1)->Arg(3)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholePicture)->Arg(1)->Arg(3)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStepModelOnly)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
