// Redrawing a 1,000,000-triangle model in the 3D view (target: under 100 ms a frame with Mesa's
// software renderer). Needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb.
#include "model3d/ui/traw_view.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace kerfline::ui {
namespace {

// A sphere of radius 100 mm in `rings` x `steps` quads, two triangles each.
model3d::ModelHandle sphere(int rings, int steps)
{
    auto model = std::make_shared<model3d::LoadedModel>();
    const auto point = [&](int ring, int step) {
        const double polar = std::numbers::pi * ring / rings;
        const double a = 2.0 * std::numbers::pi * step / steps;
        return std::array<float, 3>{static_cast<float>(100 * std::sin(polar) * std::cos(a)),
                                    static_cast<float>(100 * std::cos(polar)),
                                    static_cast<float>(100 * std::sin(polar) * std::sin(a))};
    };
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < steps; ++s) {
            const auto a = point(r, s), b = point(r, s + 1), c = point(r + 1, s + 1), d = point(r + 1, s);
            model->triangles.push_back({{a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]}});
            model->triangles.push_back({{a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]}});
        }
    model->model = model3d::boundsOf(model->triangles, "sphere.raw");
    return model;
}

void redrawMillionTriangles(benchmark::State& state)
{
    TRAWview view;
    view.settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    view.LadujListeRAW(sphere(500, 1000));
    view.grabFramebuffer();  // the first frame uploads the model
    for (auto _ : state) {
        view.Nawigacja(1, 1, 0);
        const QImage frame = view.grabFramebuffer();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(redrawMillionTriangles)->Unit(benchmark::kMillisecond);

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
