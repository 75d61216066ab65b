// The 2D preparation on generated sheets of nested shapes: letters of 20 to 60 vertices inside
// frames (alone, with an island, or many to a frame), and rings. Targets: 1,000 figures in 0.5 s
// and 10,000 figures in 10 s, under 500 MB.
#include "support/planning_sheet.h"

#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace kerfline {
namespace {

void prepareSheet(benchmark::State& state)
{
    const auto contours = bench::planningSheet(static_cast<int>(state.range(0)));
    ScriptedHost host;
    SimulatedClock clock;
    std::size_t connectors = 0;
    std::size_t unconnected = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<AppContext>(host, clock, CommandLine{});
        auto project = bench::sheetProject(*app, contours);
        state.ResumeTiming();

        const PreparationReport report = project->ciecie();
        benchmark::DoNotOptimize(report);

        state.PauseTiming();
        connectors = project->figures.size() - contours.size();
        unconnected = static_cast<std::size_t>(report.unconnectedFigures);
        project.reset();
        app.reset();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["figures"] = static_cast<double>(contours.size());
    state.counters["added"] = static_cast<double>(connectors);
    state.counters["unconnected"] = static_cast<double>(unconnected);
    state.counters["maxRSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(prepareSheet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerfline
