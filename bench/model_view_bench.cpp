// Redrawing a 1,000,000-triangle model in the 3D view (target: under 100 ms a frame with Mesa's
// software renderer). Needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb.
//
// A frame is a turn of the view, its drawing and the read-back of the framebuffer, which waits
// until the renderer has finished; the model is uploaded before the timing starts. The CPU time
// is the whole process's, the renderer's threads included: on a busy machine it is the steadier
// figure. The closed sphere is drawn without its hidden back faces, the open one (a hole at its
// lower pole) with all of them.
#include "model3d/ui/traw_view.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace kerfline::ui {
namespace {

// A sphere of radius 100 mm in `rings` x `steps` quads, two triangles each, its faces turned
// outward; closed, or open where its last ring of quads is left out.
model3d::ModelHandle sphere(int rings, int steps, bool closed)
{
    auto model = std::make_shared<model3d::LoadedModel>();
    const auto point = [&](int ring, int step) {
        // The poles and the seam meet exactly, as the corners of a model read from a file do.
        if (ring == 0 || ring == rings)
            return std::array<float, 3>{0.0f, ring == 0 ? 100.0f : -100.0f, 0.0f};
        const double polar = std::numbers::pi * ring / rings;
        const double a = 2.0 * std::numbers::pi * (step % steps) / steps;
        return std::array<float, 3>{static_cast<float>(100 * std::sin(polar) * std::cos(a)),
                                    static_cast<float>(100 * std::cos(polar)),
                                    static_cast<float>(100 * std::sin(polar) * std::sin(a))};
    };
    for (int r = 0; r < (closed ? rings : rings - 1); ++r)
        for (int s = 0; s < steps; ++s) {
            const auto a = point(r, s), b = point(r, s + 1), c = point(r + 1, s + 1), d = point(r + 1, s);
            model->triangles.push_back({{a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]}});
            model->triangles.push_back({{a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]}});
        }
    model->model = model3d::boundsOf(model->triangles, "sphere.raw");
    return model;
}

// The generator's view, 800 x 600 on the screen.
void showSerialView(TRAWview& view)
{
    view.settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
}

void redrawMillionTriangles(benchmark::State& state)
{
    TRAWview view;
    showSerialView(view);
    const bool closed = state.range(0) != 0;
    // The open sphere keeps about a million faces too.
    view.LadujListeRAW(closed ? sphere(500, 1000, true) : sphere(501, 1000, false));
    view.waitForModelAnalysis();
    view.grabFramebuffer();  // the first frame with the model uploads it
    for (auto _ : state) {
        view.Nawigacja(1, 1, 0);
        const QImage frame = view.grabFramebuffer();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
// From a model handed over to its first frame on the screen: what the operator waits for after a
// read. The corners are laid out for drawing beside the window, then uploaded and drawn.
void firstFrameMillionTriangles(benchmark::State& state)
{
    TRAWview view;
    showSerialView(view);
    const model3d::ModelHandle model = sphere(501, 1000, false);
    for (auto _ : state) {
        view.LadujListeRAW(model);
        view.waitForModelAnalysis();
        const QImage frame = view.grabFramebuffer();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(firstFrameMillionTriangles)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(redrawMillionTriangles)
    ->ArgName("closed")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
}  // namespace kerfline::ui

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "model_view_bench: no X display; run it under xvfb-run with QT_QPA_PLATFORM=xcb\n");
        return 0;
    }
    kerfline::ui::TRAWview::requestCompatibilityContext();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
