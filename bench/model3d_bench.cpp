// The serial generator's passes: a body of revolution of about 200,000 triangles on a raster of
// about 1,000 x 1,500 cells (targets: 120 ms or less per pass, all 18 passes with tracing under
// 2.5 s), and a 1200 x 800 x 600 mm box at the finest step, about 6,700 x 4,000 cells (target:
// 1 s or less per pass).
#include "model3d/serial_passes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace kerfline::model3d {
namespace {

// A vase turned about the vertical axis: `rings` profile segments times `steps` around, two
// triangles each.
LoadedModel vase(int rings, int steps)
{
    LoadedModel model;
    const auto radius = [](double y) { return 55.0 + 15.0 * std::sin(y / 300.0 * 2.0 * std::numbers::pi); };
    const auto point = [&](int ring, int step) {
        const double y = 300.0 * ring / rings;
        const double a = 2.0 * std::numbers::pi * step / steps;
        return std::array<float, 3>{static_cast<float>(radius(y) * std::cos(a)), static_cast<float>(y),
                                    static_cast<float>(radius(y) * std::sin(a))};
    };
    model.triangles.reserve(static_cast<std::size_t>(rings) * steps * 2);
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < steps; ++s) {
            const auto a = point(r, s), b = point(r, s + 1), c = point(r + 1, s + 1), d = point(r + 1, s);
            model.triangles.push_back({{a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]}});
            model.triangles.push_back({{a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]}});
        }
    model.model = boundsOf(model.triangles, "vase.raw");
    return model;
}

LoadedModel box(float x, float y, float z)
{
    LoadedModel model;
    const auto corner = [&](int i) { return std::array<float, 3>{i & 1 ? x : 0.0f, i & 2 ? y : 0.0f, i & 4 ? z : 0.0f}; };
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces)
        for (const std::array<int, 3> tri : {std::array<int, 3>{f[0], f[1], f[2]}, std::array<int, 3>{f[0], f[2], f[3]}}) {
            Triangle t;
            for (std::size_t k = 0; k < 3; ++k)
                for (std::size_t a = 0; a < 3; ++a)
                    t.v[k * 3 + a] = corner(tri[k])[a];
            model.triangles.push_back(t);
        }
    model.model = boundsOf(model.triangles, "box.raw");
    return model;
}

const LoadedModel& vaseModel()
{
    static const LoadedModel model = vase(250, 400);
    return model;
}

void vasePass(benchmark::State& state)
{
    const LoadedModel& model = vaseModel();
    const RasterGeometry geometry = rasterGeometry(model.model);
    double angle = 0.0;
    for (auto _ : state) {
        PassResult pass = computePass(model, angle, geometry, false);
        benchmark::DoNotOptimize(pass.figures.data());
        angle -= 10.0;
    }
    state.counters["triangles"] = static_cast<double>(model.triangles.size());
    state.counters["cells"] = (geometry.width + 1.0) * (geometry.height + 1.0);
}
BENCHMARK(vasePass)->Unit(benchmark::kMillisecond);

void vaseEighteenPasses(benchmark::State& state)
{
    const LoadedModel& model = vaseModel();
    const RasterGeometry geometry = rasterGeometry(model.model);
    for (auto _ : state)
        for (int k = 1; k <= 18; ++k) {
            PassResult pass = computePass(model, passAngle(k, 18), geometry, false);
            benchmark::DoNotOptimize(pass.figures.data());
        }
}
BENCHMARK(vaseEighteenPasses)->Unit(benchmark::kMillisecond)->Iterations(2);

void largeBoxPass(benchmark::State& state)
{
    const LoadedModel model = box(1200, 800, 600);
    const RasterGeometry geometry = rasterGeometry(model.model);
    for (auto _ : state) {
        PassResult pass = computePass(model, -30.0, geometry, false);
        benchmark::DoNotOptimize(pass.figures.data());
    }
    state.counters["width"] = geometry.width;
    state.counters["height"] = geometry.height;
}
BENCHMARK(largeBoxPass)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerfline::model3d
