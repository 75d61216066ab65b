// Drawing a large project: QWidget::grab of a project window holding 100,000 segments, as one
// long outline and as a sheet of 100 outlines of 1,000 segments. Target: 30 ms or less per grab.
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace kerfline {
namespace {

constexpr int kSegments = 100'000;

// A wavy closed ring of `segments` segments around (cx, cy), radius about r plotter units.
std::vector<Point> ring(std::int32_t cx, std::int32_t cy, double r, int segments)
{
    std::vector<Point> points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i < segments; ++i) {
        const double a = 2.0 * std::numbers::pi * i / segments;
        const double radius = r * (1.0 + 0.05 * std::sin(a * 40.0));
        points.push_back({cx + static_cast<std::int32_t>(radius * std::cos(a)),
                          cy + static_cast<std::int32_t>(radius * std::sin(a))});
    }
    points.push_back(points.front());
    return points;
}

void fill(TMDIChild& project, int figures)
{
    const int perFigure = kSegments / figures;
    const int columns = static_cast<int>(std::ceil(std::sqrt(figures)));
    for (int f = 0; f < figures; ++f) {
        tfigura figure;
        figure.sourceFigure = -1;
        figure.points = ring((f % columns) * 5000, (f / columns) * 5000, 2000.0, perFigure);
        const std::int32_t index = project.AddFigure(std::move(figure));
        project.figures[static_cast<std::size_t>(index)].unconnected = 0;
    }
    project.Ustaw_PPiPK();
}

void grabProjectWindow(benchmark::State& state)
{
    ScriptedHost host;
    SimulatedClock clock;
    AppContext context(host, clock, CommandLine{});
    ui::ProjectWindow window(context);
    fill(window.model(), static_cast<int>(state.range(0)));
    window.resize(1024, 768);
    window.model().selectedFigure = 0;
    for (auto _ : state) {
        const QPixmap pixmap = window.grab();
        benchmark::DoNotOptimize(pixmap.cacheKey());
    }
    std::size_t segments = 0;
    for (const tfigura& figure : window.model().figures)
        segments += figure.points.size() - 1;
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["figures"] = static_cast<double>(window.model().figures.size());
}

BENCHMARK(grabProjectWindow)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerfline

int main(int argc, char** argv)
{
    // The window is drawn off screen unless a display is chosen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
