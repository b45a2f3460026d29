// What a resize of the main window costs: the skin drawn afresh at the new
// client size (the background surface every page and control copies from),
// and a button's face composed again over it.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "controls/skin_button.h"
#include "resources/drawing_surface.h"
#include "resources/skin_ids.h"

namespace {

// A different size every round, so that nothing comes from the render cache.
void BM_BackgroundRebuild(benchmark::State& state) {
    double scale = state.range(0) / 100.0;
    DrawingSurface skin(SkinId::MainWindow);
    DrawingSurface background;
    int round = 0;
    for (auto _ : state) {
        int w = static_cast<int>(1077 * scale) + (round % 1000);
        int h = static_cast<int>(681 * scale) + (round % 1000);
        ++round;
        background.stretchFrom(0, 0, w, h, skin, 0, 0, 1077, 681);
        benchmark::DoNotOptimize(background.image().constBits());
    }
}
BENCHMARK(BM_BackgroundRebuild)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_NavigationButtonCompose(benchmark::State& state) {
    double scale = state.range(0) / 100.0;
    QWidget root;
    root.resize(static_cast<int>(1077 * scale), static_cast<int>(681 * scale));
    DrawingSurface skin(SkinId::MainWindow);
    SkinButton button(&root);
    button.create(QRect(static_cast<int>(14 * scale), static_cast<int>(29 * scale),
                        static_cast<int>(71 * scale), static_cast<int>(21 * scale)));
    button.setImage(&skin, SkinId::NavigationButton);
    button.setText("BackRound");
    int check = 1;
    for (auto _ : state) {
        check = 3 - check;
        button.setCheckType(check);
        button.setTextStyle(12 * scale, QString::fromUtf8("微软雅黑"), 0xC8000000, 0x25,
                            0xC8FAFAFA);
        benchmark::DoNotOptimize(button.picture().constBits());
    }
}
BENCHMARK(BM_NavigationButtonCompose)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
