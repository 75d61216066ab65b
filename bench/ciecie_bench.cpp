// The 2D preparation on generated sheets of nested shapes: letters of 20 to 60 vertices inside
// frames (alone, with an island, or many to a frame), and rings. Targets: 1,000 figures in 0.5 s
// and 10,000 figures in 10 s, under 500 MB. With a kerf, the offset of every closed figure adds
// at most 20 % to the preparation without one.
#include "support/planning_sheet.h"

#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace kerfline {
namespace {

// A project window holding the sheet as loaded, under the kerf.
std::unique_ptr<TMDIChild> loaded(AppContext& app, const std::vector<testing::Contour>& contours, double kerfMm)
{
    app.configuration.setNumber(Param::kerf, kerfMm);
    return bench::sheetProject(app, contours);
}

void prepare(benchmark::State& state, double kerfMm)
{
    const auto contours = bench::planningSheet(static_cast<int>(state.range(0)));
    ScriptedHost host;
    SimulatedClock clock;
    std::size_t connectors = 0;
    std::size_t unconnected = 0;
    std::size_t kerfIssues = 0;
    std::size_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<AppContext>(host, clock, CommandLine{});
        auto project = loaded(*app, contours, kerfMm);
        state.ResumeTiming();

        const PreparationReport report = project->ciecie();
        benchmark::DoNotOptimize(report);

        state.PauseTiming();
        connectors = project->figures.size() - contours.size();
        unconnected = static_cast<std::size_t>(report.unconnectedFigures);
        kerfIssues = project->kerfIssues.size();
        points = 0;
        for (const tfigura& figure : project->figures)
            points += figure.points.size();
        project.reset();
        app.reset();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["figures"] = static_cast<double>(contours.size());
    state.counters["added"] = static_cast<double>(connectors);
    state.counters["unconnected"] = static_cast<double>(unconnected);
    state.counters["kerfIssues"] = static_cast<double>(kerfIssues);
    state.counters["points"] = static_cast<double>(points);
    state.counters["maxRSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void prepareSheet(benchmark::State& state)
{
    prepare(state, 0.0);
}

// A typical hot-wire kerf: 0.8 mm.
void prepareSheetWithKerf(benchmark::State& state)
{
    prepare(state, 0.8);
}

// Times the kerf offset of a loaded sheet alone.
void timeOffset(benchmark::State& state, const std::vector<testing::Contour>& contours)
{
    ScriptedHost host;
    SimulatedClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<AppContext>(host, clock, CommandLine{});
        auto project = loaded(*app, contours, 0.8);
        state.ResumeTiming();

        project->applyKerf();

        state.PauseTiming();
        project.reset();
        app.reset();
        state.ResumeTiming();
    }
}

// The offset alone (nesting of the drawing, Clipper, the tests for merging figures), without the
// planning that follows it.
void offsetSheet(benchmark::State& state)
{
    const auto contours = bench::planningSheet(static_cast<int>(state.range(0)));
    timeOffset(state, contours);
}

// A nested sheet of one part repeated: its copies share one offset.
void offsetRepeatedSheet(benchmark::State& state)
{
    testing::SheetGenerator generator(20240611, {});
    const std::vector<Point> part = generator.letter(0, 0, 200, 400, 40);
    std::vector<testing::Contour> contours;
    for (std::int32_t k = 0; k < state.range(0); ++k) {
        testing::Contour copy;
        for (const Point& p : part)
            copy.push_back({p.x + (k % 100) * 1000, p.y + (k / 100) * 1000});
        contours.push_back(std::move(copy));
    }
    timeOffset(state, contours);
}

// The offset runs on every core: the CPU column counts the time of all threads.
BENCHMARK(prepareSheet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(offsetSheet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(prepareSheetWithKerf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(offsetRepeatedSheet)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace kerfline
