// cut: a whole cutting job on the virtual cutter, from the start checks to the end of the job,
// under a simulated clock.
#include "cli/cut_command.h"

#include "cli/cli_windows.h"
#include "cli/commands.h"
#include "cli/config_command.h"
#include "cli/inspect_command.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/placement_options.h"
#include "placement/two_wire_start.h"
#include "config/cutting_mode.h"
#include "cutting/cutting_session.h"
#include "cutting/job_progress.h"
#include "cutting/project_windows.h"
#include "cutting/virtual_job.h"
#include "designfiles/design_type.h"
#include "machine/hid_platform_choice.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "shell/design_opening.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "base/switches.h"

#include "cutting/serial_answers.h"

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {
namespace {

// A job that has not ended after this much simulated time is given up.
constexpr std::int64_t kJobLimitMs = 7LL * 24 * 60 * 60 * 1000;


struct CutOptions {
    std::string file;
    DesignReadOptions design;
    std::vector<std::string> switches;  // the virtual machine option among them
    bool home = false;
    std::vector<machine::FaultEvent> faults;
    std::optional<int> randomFaults;
    std::uint64_t seed = 1;
    PlacementOptions placement;
    // The two-wire start dialog's fields; unset ones keep where the wire stands.
    std::optional<double> frontX, frontY, sideX, sideY;
    // The serial dialog's answers: an angle per design of the folder, repetitions and shift.
    SerialAnswers serial;
};

// The operator of the tool: every question is answered OK or Yes, and shown on stderr.
class AnsweringHost : public ScriptedHost {
public:
    int ask(const std::string& text, Buttons buttons, const std::string& caption) override
    {
        questions.push_back({text, buttons, caption});
        const int answer = buttons == Buttons::OkCancel ? AnswerOk : AnswerYes;
        std::fprintf(stderr, "%s%s%s [%s]\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str(),
                     answer == AnswerYes ? "Yes" : "OK");
        return answer;
    }
};

// Opens the series the program opens for the design or folder: its numbered designs, in their
// numbers' order, as the windows of a series.
bool openSerialSet(CliWindows& windows, const std::string& designOrFolder)
{
    for (const auto& [number, path] : serialSet(designOrFolder)) {
        TMDIChild& window = windows.createWindow();
        window.fileType = designTypeOf(path);
        window.seriesIndex = number;
        if (window.Load(path, 255) == LoadOutcome::Closed)
            return false;
    }
    return windows.windowCount() > 0;
}

const CommandUsage usage{"cut",
    std::string("usage: kerfline-cli cut FILE --virtual-machine[=PRODUCT] [--config F.kcc] [--set NAME=VALUE]... "
                "[--unit mm|in|ft] [--dxf-resolution 1..8] [--home] [--faults SCHEDULE] [--random-faults K --seed S] "
                "[SWITCH...]\n"
                "runs the whole job on the virtual cutter in simulated time; every question the job asks\n"
                "is answered OK or Yes. --home homes the machine first (the rotary axes too where the mode\n"
                "needs them; a rotary or serial job on the spindle then finds the wire at the axis' height). SCHEDULE\n"
                "is a comma-separated list of\n"
                "EVENT@WHEN[:ARG]: WHEN is cN (the controller has received N program commands) or tMS\n"
                "(milliseconds after Start); EVENT is write-fail, write-fail-delivered (ARG the error code),\n"
                "read-fail (ARG reads in a row), busy (ARG full-buffer replies), unplug, replug, wire-break,\n"
                "wire-mend, machine-start, machine-stop, machine-continue, stop or continue\n"
                "in the independent mode (Mode 4) the design opens as FRONT (pen 4), BACK (pen 3) and their Mix,\n"
                "and the placement of the block takes:\n") +
    kPlacementUsage +
    "in the perpendicular mode (Mode 5) the front design opens with its side design (NAME_side or\n"
    "NAME_bok beside it), and the start points of the wires are:\n"
    "  --front-x MM, --front-y MM   start of the front wire (default: where it stands)\n"
    "  --side-x MM, --side-y MM     start of the side wire (default: where it stands)\n"
    "in the serial mode (Mode 2) FILE is a folder of numbered designs (001.dxf, 002.dxf, ..., or any\n"
    "names that begin with a number), or one of them, cut one after another in their numbers' order;\n"
    "the serial dialog's answers are:\n"
    "  --angle DEG (once per design, in order; default 180 / number of designs)\n"
    "  --repetitions N, --shift MM   repetitions of the series and the drop of the start per repetition\n"};

std::optional<int> parse(int argc, char** argv, CutOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::string problem;
        std::optional<std::string> value;
        if (takeDesignOption(argc, argv, i, options.design, problem) ||
            takePlacementOption(argc, argv, i, options.placement, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else if (takeValue("--front-x", argc, argv, i, value) || takeValue("--front-y", argc, argv, i, value) ||
                   takeValue("--side-x", argc, argv, i, value) || takeValue("--side-y", argc, argv, i, value)) {
            std::optional<double>& field = argument.starts_with("--front-x") ? options.frontX
                                           : argument.starts_with("--front-y") ? options.frontY
                                           : argument.starts_with("--side-x")  ? options.sideX
                                                                               : options.sideY;
            char* end = nullptr;
            field = value ? std::strtod(value->c_str(), &end) : 0.0;
            if (!value || value->empty() || end != value->c_str() + value->size())
                return usage("the start points of the wires are millimetres");
        } else if (takeValue("--angle", argc, argv, i, value)) {
            if (!value)
                return usage("--angle needs degrees");
            options.serial.angles.push_back(*value);
        } else if (takeValue("--repetitions", argc, argv, i, value) || takeValue("--shift", argc, argv, i, value)) {
            double& field = argument.starts_with("--shift") ? options.serial.shiftMm : options.serial.repetitions;
            char* end = nullptr;
            field = value ? std::strtod(value->c_str(), &end) : 0.0;
            if (!value || value->empty() || end != value->c_str() + value->size())
                return usage("--repetitions and --shift need numbers");
        } else if (argument == "--home") {
            options.home = true;
        } else if (takeValue("--faults", argc, argv, i, value)) {
            auto parsed = value ? machine::parseFaultSchedule(*value, problem) : std::nullopt;
            if (!parsed)
                return usage(value ? problem : "--faults needs a SCHEDULE");
            options.faults.insert(options.faults.end(), parsed->begin(), parsed->end());
        } else if (takeValue("--random-faults", argc, argv, i, value)) {
            options.randomFaults = value ? wholeNumberArgument<int>(*value) : std::nullopt;
            if (!options.randomFaults || *options.randomFaults < 0)
                return usage("--random-faults needs a count of 0 or more");
        } else if (takeValue("--seed", argc, argv, i, value)) {
            const auto seed = value ? wholeNumberArgument<std::uint64_t>(*value) : std::nullopt;
            if (!seed)
                return usage("--seed needs a whole number");
            options.seed = *seed;
        } else {
            options.switches.emplace_back(argument);  // one of the program's own switches
        }
    }
    if (!machine::virtualMachineProduct(CommandLine(options.switches)))
        return usage("the job runs only on the virtual cutter: give --virtual-machine[=PRODUCT]");
    return std::nullopt;
}

void writeSteps(JsonWriter& json, const machine::AxisSteps& steps)
{
    json.beginArray();
    for (const std::int32_t s : steps)
        json.integer(s);
    json.endArray();
}

}  // namespace

int runCut(int argc, char** argv)
{
    CutOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    AnsweringHost host;
    host.echoToStderr = true;
    SimulatedClock clock;
    AppContext app(host, clock, CommandLine(options.switches));
    app.decimalSeparator = adoptEnvironmentLocale();
    if (!startShell(app, [](const char* name) { return std::getenv(name); }))
        return ExitRefused;

    machine::PlatformChoice platform = machine::createHidPlatform(app.commandLine, host, clock, false);
    if (!platform.virtualCutter)
        return usage("the job runs only on the virtual cutter: give --virtual-machine[=PRODUCT]");
    machine::VirtualCutter& cutter = *platform.virtualCutter;
    cutter.followClock(clock);

    CliWindows windows(app);
    CuttingSession session(app, *platform.platform, windows);
    if (!session.link.connected()) {
        std::fprintf(stderr, "%s\n", app.Text("Control", "brakLacznosci").c_str());
        return ExitRefused;
    }
    // The manual control panel exists from start-up: it reads the machine and its timer is the
    // heartbeat that supervises the job.
    session.panel.FormCreate();
    if (const int loaded = loadConfiguration(app, options.design.configuration, usage); loaded != ExitSuccess)
        return loaded;

    const int mode = app.configuration.choice(Param::Mode);
    if (mode == ModeIndependent) {
        // Opened as the main window opens it: the Mix of the front and back shapes is cut.
        DesignOpener(app, windows).Open("", options.file, false);
        TMDIChild* mix = windows.active();
        if (!mix || mix->synchronousPair == 0)
            return ExitRefused;
        session.driver.dialogs.placement = [&](TMDIChild& project) {
            return placeWithAnswers(app, project, options.placement, &session.protocol);
        };
    } else if (mode == ModePerpendicular) {
        DesignOpener(app, windows).Open("", options.file, false);
        if (windows.windowCount() == 0)
            return ExitRefused;
        session.driver.dialogs.twoWireStart = [&](TMDIChild&) {
            TMDIChild* front = windows.bySeriesIndex(0);
            TMDIChild* side = windows.bySeriesIndex(1);
            if (!front || !side)
                return false;
            TwoWireStartDialog dialog(app, session.protocol, session.motion);
            dialog.tickKeyFront = session.driver.arms.tickKeyFront;
            dialog.tickKeyBack = session.driver.arms.tickKeyBack;
            dialog.store = [&app](const TwoWireStart& start) {
                app.job.frontWireStart = {start.frontX, start.frontY};
                app.job.sideWireStart = {start.sideX, start.sideY};
            };
            const TwoWireStart current = twoWireCurrent(app);
            const TwoWireStart start{options.frontX.value_or(current.frontX), options.frontY.value_or(current.frontY),
                                     options.sideX.value_or(current.sideX), options.sideY.value_or(current.sideY)};
            return dialog.Start(start, *front, *side);
        };
    } else if (mode == ModeSerial) {
        if (!openSerialSet(windows, options.file)) {
            if (windows.windowCount() == 0)
                std::fprintf(stderr, "kerfline-cli cut: %s holds no numbered designs\n", options.file.c_str());
            return ExitRefused;
        }
        if (options.serial.angles.empty())
            for (std::size_t i = 0; i < windows.windows().size(); ++i)
                options.serial.angles.push_back(serialDefaultAngle(windows.windows().size()));
        session.driver.dialogs.serial = [&] {
            const std::vector<TMDIChild*> series = windows.windows();
            const SerialAnswersCheck check = applySerialAnswers(options.serial, series, app.job.serialRepetition,
                                                                app.machine.product,
                                                                app.configuration.number(Param::Ystolika));
            if (!check.ok())
                app.language.ShowMessageBox(serialAnswersMessage(check, app.language), true);
            return check.ok();
        };
    } else {
        TMDIChild& window = windows.createWindow();
        window.fileType = designTypeOf(options.file);
        if (window.fileType == kDesignUnknown) {
            app.language.ShowMessageBox(app.Text("Universal", "nieprawidlowyFormatPliku") + ": " + options.file, true);
            return ExitRefused;
        }
        if (window.Load(options.file, 255) == LoadOutcome::Closed)
            return ExitRefused;
    }

    std::vector<machine::FaultEvent> faults = options.faults;
    if (options.randomFaults) {
        const auto drawn = randomFaultsFor(*windows.active(), *options.randomFaults, options.seed);
        faults.insert(faults.end(), drawn.begin(), drawn.end());
    }
    // Progress along the planned path from the positions the panel reads, as the main window shows it.
    JobWatch watch;
    const auto eachTick = [&] {
        if (!watch.watching() && !session.transmission.programPath().empty())
            watch.begin(session.transmission.programPath(), app.machine, app.job.originSteps, clock.nowMs());
        watch.tick(app.machine, clock.nowMs());
    };
    const VirtualJobReport report =
        runVirtualJob(app, host, clock, cutter, session, std::move(faults),
                      options.home ? JobStart::HomeAndStart : JobStart::Start, kJobLimitMs, eachTick);
    if (report.outcome == JobOutcome::Refused && report.events.empty())
        return ExitRefused;  // the job did not start; its messages have been shown
    // A job that did not end is still reported, so what happened can be seen.
    if (!report.ended)
        std::fprintf(stderr, "kerfline-cli cut: the job did not end within %lld ms of simulated time\n",
                     static_cast<long long>(kJobLimitMs));

    const MachineState& s = app.machine;
    JsonWriter json;
    json.beginObject();
    json.key("machine").beginObject();
    json.key("product").string(s.product);
    json.key("resX").number(s.resX);
    json.key("resY").number(s.resY);
    json.key("stepsS").integer(s.stepsS);
    json.key("stepsW").integer(s.stepsW);
    json.key("stepsT").integer(s.stepsT);
    json.endObject();
    json.key("origin");
    writeSteps(json, app.job.originSteps);
    json.key("sent").integer(static_cast<std::int64_t>(session.transmission.commandsSent()));
    json.key("batches").integer(static_cast<std::int64_t>(session.transmission.batchesSent()));
    json.key("jobTimeMs").integer(report.jobTimeMs);
    json.key("status").string(jobOutcomeName(report.outcome));
    json.key("ended").boolean(report.ended);
    json.key("commands").integer(static_cast<std::int64_t>(report.programCommands));
    json.key("executed").integer(static_cast<std::int64_t>(report.executed));
    json.key("duplicated").integer(static_cast<std::int64_t>(report.duplicated));
    json.key("unexpected").integer(static_cast<std::int64_t>(report.unexpected));
    json.key("heatingOnAtEnd").boolean(report.heatingOnAtEnd);
    if (watch.watching()) {
        const JobPhase phase = report.outcome == JobOutcome::LinkLost ? JobPhase::LinkLost
                               : report.outcome == JobOutcome::Completed
                                   ? JobPhase::Finished
                                   : jobPhaseOf({true, s.statusFlags, app.job.jobActive, app.job.stoppedByOperator, false});
        const JobStatus status = watch.status(phase, s, clock.nowMs());
        json.key("progress").beginObject();
        json.key("state").string(jobPhaseName(status.phase));
        json.key("fraction").number(status.fraction);
        json.key("positionMm").beginArray().number(status.frontXmm).number(status.frontYmm).endArray();
        json.key("elapsedMs").integer(status.elapsedMs);
        json.key("remainingMs").integer(status.remainingMs);
        json.key("plannedMs").integer(status.plannedMs);
        json.endObject();
    }
    json.key("events").beginArray();
    for (const machine::FaultInjector::Fired& fired : report.events) {
        json.beginObject();
        json.key("t").integer(fired.timeMs);
        json.key("commands").integer(static_cast<std::int64_t>(fired.commands));
        json.key("event").string(machine::describeFault(fired.event));
        json.endObject();
    }
    json.endArray();
    json.key("messages").beginArray();
    for (const ScriptedHost::Message& message : host.messages)
        json.string(message.text);
    json.endArray();
    json.key("path").beginArray();
    for (const machine::PathPoint& point : cutter.controller().path()) {
        json.beginObject();
        json.key("t").integer(point.timeUs / 1000);
        json.key("steps");
        writeSteps(json, point.steps);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.print();
    return report.ended ? ExitSuccess : ExitRefused;
}

}  // namespace kerfline::cli
