// The G-code export of the planning benchmark's sheet against the planning itself, each from the
// loaded sheet as kerfline-cli runs them: planning is the preparation and the cut program written
// to its file (plan), the export the same preparation and the G-code (gcode). Target: for the
// 10,000-figure sheet the export takes no more than the planning plus 20 %, in processor time
// (exportOverPlanning ≤ 1.2; other work on the machine does not inflate it) and in elapsed time
// (wallExportOverPlanning, each file made durable included). The G-code step alone, after the
// preparation, is gcodeStepOverPlanning of the planning and gcodeStepOverPreparation of the
// preparation (ciecie) without any program written.
#include "support/planning_sheet.h"

#include "base/scripted_host.h"
#include "project/cut_path_walk.h"
#include "project/cut_start_point.h"
#include "project/gcode_export.h"
#include "shell/app_context.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace kerfline {
namespace {

struct Clocks {
    double process = 0.0;
    double wall = 0.0;

    static Clocks now()
    {
        timespec process{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &process);
        return {static_cast<double>(process.tv_sec) + static_cast<double>(process.tv_nsec) * 1e-9,
                std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count()};
    }
    Clocks operator-(const Clocks& start) const { return {process - start.process, wall - start.wall}; }
    Clocks& operator+=(const Clocks& more)
    {
        process += more.process;
        wall += more.wall;
        return *this;
    }
};

void planAndExportSheet(benchmark::State& state)
{
    const auto contours = bench::planningSheet(static_cast<int>(state.range(0)));
    ScriptedHost host;
    SimulatedClock clock;
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string program = (folder / "kerfline_bench_sheet.cn").string();
    const std::string gcode = (folder / "kerfline_bench_sheet.ngc").string();
    const GcodeOptions options{GcodeProfileId::LinuxCnc, "", GcodeFeedMode::InverseTime, {}};
    Clocks planning, exporting, gcodeStep, preparing;
    GcodeCounts counts;
    for (auto _ : state) {
        {
            AppContext app(host, clock, CommandLine{});
            auto project = bench::sheetProject(app, contours);
            const Clocks start = Clocks::now();
            project->ciecie();
            settleUnattendedStart(*project);
            CutProgramJob job;
            job.outputKind = OutputKind::Plain;
            const auto last = static_cast<std::int32_t>(project->figures.size()) - 1;
            if (!save_ciecie(*project, job, program, 0, 0.0, last))
                state.SkipWithError("the cut program could not be written");
            planning += Clocks::now() - start;
        }
        {
            AppContext app(host, clock, CommandLine{});
            auto project = bench::sheetProject(app, contours);
            const Clocks start = Clocks::now();
            project->ciecie();
            settleUnattendedStart(*project);
            const Clocks step = Clocks::now();
            preparing += step - start;
            const GcodeExportResult result = exportGcode(*project, options, gcode);
            if (!result)
                state.SkipWithError("the G-code could not be written");
            const Clocks end = Clocks::now();
            gcodeStep += end - step;
            exporting += end - start;
            counts = result.counts;
        }
    }
    std::remove(program.c_str());
    std::remove(gcode.c_str());
    const auto n = static_cast<double>(state.iterations());
    state.counters["figures"] = static_cast<double>(contours.size());
    state.counters["lines"] = static_cast<double>(counts.lines);
    state.counters["plan_cpu_ms"] = planning.process / n * 1000.0;
    state.counters["export_cpu_ms"] = exporting.process / n * 1000.0;
    state.counters["exportOverPlanning"] = exporting.process / planning.process;
    state.counters["wallExportOverPlanning"] = exporting.wall / planning.wall;
    state.counters["gcodeStepOverPlanning"] = gcodeStep.process / planning.process;
    state.counters["gcodeStepOverPreparation"] = gcodeStep.process / preparing.process;
}

BENCHMARK(planAndExportSheet)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kerfline
