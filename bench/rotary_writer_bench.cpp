// Writing rotary and turning programs beside the 2D writer: a 10,000-point profile cut in 36
// passes, and the same number of moves through the plain 2D move. Target: per command the
// rotary and turning programs cost no more than 1.2 times the 2D writer.
#include "designfiles/cut_program_decoder.h"
#include "designfiles/cut_program_writer.h"
#include "project/rotary_save.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace kerfline {
namespace {

constexpr int kProfilePoints = 10000;
constexpr int kPasses = 36;

std::string programPath()
{
    return (std::filesystem::temp_directory_path() / ("kerfline_rotary_bench_" + std::to_string(::getpid()) + ".cn")).string();
}

// A wavy profile 400 mm along the axis, 20 to 60 mm from it.
std::vector<Point> profile()
{
    std::vector<Point> points;
    for (int i = 0; i < kProfilePoints; ++i) {
        const double t = static_cast<double>(i) / (kProfilePoints - 1);
        points.push_back({static_cast<std::int32_t>(std::lround(t * 16000)),
                          static_cast<std::int32_t>(std::lround(1600 + 800 * std::sin(t * 40.0)))});
    }
    return points;
}

struct Bench {
    explicit Bench(int mode) : app(host, clock, CommandLine{})
    {
        MachineState& m = app.machine;
        m.setProduct("Qd 1200 ");
        m.resX = m.resY = 2.5;
        m.stepsS = m.stepsW = m.stepsT = 8000;
        m.speedMultiplier = 2;
        app.configuration.setChoice(Param::Mode, mode);
        app.configuration.setChoice(Param::StolikSwitch, DeviceSpindle);
        app.configuration.setChoice(Param::CatDir, 0);
        app.configuration.setNumber(Param::ilosckrokow, kPasses);
        app.configuration.setNumber(Param::il_obr_rys, 2);
    }

    std::size_t commandsIn(const std::string& path) const
    {
        return readCutProgram(path, DecodeSettings::forMachine(app.machine)).commands.size();
    }

    ScriptedHost host;
    SimulatedClock clock;
    AppContext app;
};

void report(benchmark::State& state, std::size_t commands)
{
    state.SetItemsProcessed(static_cast<std::int64_t>(commands) * state.iterations());
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["ns_per_command"] = benchmark::Counter(static_cast<double>(commands) * state.iterations(),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                          benchmark::Counter::OneK::kIs1000);
}

void rotaryOrTurning(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    Bench bench(mode);
    TMDIChild project(bench.app);
    tfigura axis;
    axis.points = {{0, 0}, {16000, 0}};
    tfigura wave;
    wave.points = profile();
    project.AddFigure(axis);
    project.AddFigure(wave);
    project.Ustaw_PPiPK();
    if ((mode == ModeRotary ? project.ciecie_obrotowe() : project.toczenie()) != LoadOutcome::Opened) {
        state.SkipWithError("not prepared");
        return;
    }
    CutProgramJob job;
    job.outputKind = mode == ModeRotary ? OutputKind::RotarySpindle : OutputKind::TurningSpindle;
    job.programStartY = 800;
    const std::string path = programPath();
    for (auto _ : state) {
        const ProgramWriteResult written = saveRotaryProgram(project, job, path);
        benchmark::DoNotOptimize(written);
    }
    report(state, bench.commandsIn(path));
    std::filesystem::remove(path);
}

// The same number of moves through the plain 2D writer.
void plain2D(benchmark::State& state)
{
    Bench bench(Mode2D);
    const std::vector<Point> points = profile();
    CutProgramJob job;
    job.outputKind = OutputKind::Plain;
    const std::string path = programPath();
    for (auto _ : state) {
        CutProgramWriter writer(bench.app, job);
        writer.BeginProgram(path);
        writer.SetPositions(0, 0, 0);
        for (int pass = 0; pass < kPasses; ++pass) {
            for (const Point p : points)
                writer.WritePlainMove(p.x, p.y + (pass % 2) * 40, true, true);
        }
        const ProgramWriteResult written = writer.EndProgram();
        benchmark::DoNotOptimize(written);
    }
    report(state, bench.commandsIn(path));
    std::filesystem::remove(path);
}

BENCHMARK(rotaryOrTurning)->Arg(ModeRotary)->Arg(ModeTurning)->Unit(benchmark::kMillisecond);
BENCHMARK(plain2D)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kerfline
