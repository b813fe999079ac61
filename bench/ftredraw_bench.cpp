#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "search/searchentries.h"
#include "ui/application.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

using namespace quorix;

QApplication& OffscreenApplication() {
    static int argc = 1;
    static char name[] = "quorix_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    return app;
}

// Fills the state as a completed search with the largest grid leaves it.
void FillLargestSearch(SharedState* state) {
    InitialiseSharedState(*state);
    state->Pi = kSearchPi;
    state->TwoPi = kSearchTwoPi;
    state->OmegaLow = state->TwoPi / 1.2;
    state->OmegaHigh = state->TwoPi / 0.2;
    state->StepCount = state->CompletedStepCount = kMaxSteps;
    for (int i = 0; i <= kMaxSteps; ++i) {
        state->FTValues[i] = 0.5 + 0.45 * std::sin(i * 0.37) * std::cos(i * 0.0011);
    }
    state->FTComputed = kTrue;
    state->ViewStartIndex = 1;
    state->ViewEndIndex = kMaxSteps;
    state->ViewOmegaStart = state->FullOmegaStart = state->OmegaLow;
    state->ViewOmegaEnd = state->FullOmegaEnd = state->OmegaHigh;
}

// The program's redraw: display list rebuilt by the drawing routines, then painted into the window.
void FullRedrawOfTheFTWindow(benchmark::State& bench) {
    OffscreenApplication();
    Application app;
    SharedState* state = &app.State();
    FillLargestSearch(state);
    frmPlot_FT& window = app.PlotFT();
    window.Show();
    for (auto _ : bench) {
        RedrawFTPlot(*state, window);
        benchmark::DoNotOptimize(window.DrawingSurface().grab());
    }
    bench.counters["segments"] = kMaxSteps - 1;
}

// The naive way for comparison: one drawLine call per segment into an image of the same size.
void NaiveDrawLinePerSegment(benchmark::State& bench) {
    OffscreenApplication();
    auto state = std::make_unique<SharedState>();
    FillLargestSearch(state.get());
    QImage image(993, 337, QImage::Format_RGB32);
    for (auto _ : bench) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::blue, 0));
        const double scale = 1.0 / 15;
        QPointF previous(500 * scale, (3205 - 2963 * state->FTValues[1] / 1.1) * scale);
        for (int i = 2; i <= kMaxSteps; ++i) {
            const QPointF next((500 + 13985.0 * (i - 1) / (kMaxSteps - 1)) * scale,
                               (3205 - 2963 * state->FTValues[i] / 1.1) * scale);
            painter.drawLine(previous, next);
            previous = next;
        }
    }
    bench.counters["segments"] = kMaxSteps - 1;
}

BENCHMARK(FullRedrawOfTheFTWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(NaiveDrawLinePerSegment)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
