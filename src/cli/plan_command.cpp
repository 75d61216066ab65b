// plan: the cut program of a design as the cut command writes it, and the cut tree behind it.
#include "cli/plan_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/config_command.h"
#include "cli/inspect_command.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "config/cutting_mode.h"
#include "cutting/rotary_start.h"
#include "designfiles/cut_program_decoder.h"
#include "designfiles/design_type.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/virtual_cutter.h"
#include "project/cut_path_walk.h"
#include "project/cut_start_point.h"
#include "project/rotary_save.h"
#include "project/tmdichild.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {

MachineModel::MachineModel() = default;
MachineModel::~MachineModel() = default;

bool MachineModel::open(CliContext& context, const std::optional<std::string>& product)
{
    if (!product)
        return true;
    AppContext& app = *context.app;
    m_cutter = std::make_unique<machine::VirtualCutter>(context.host, context.clock, *product);
    m_link = std::make_unique<machine::TfUsb>(app, *m_cutter);
    if (!m_link->connected()) {
        std::fprintf(stderr, "%s\n", app.Text("Control", "brakLacznosci").c_str());
        return false;
    }
    m_protocol = std::make_unique<machine::ControllerProtocol>(app, *m_link);
    m_protocol->ReadMachineInfo();
    // The manual control panel, alive from start-up, takes power values in hundredths of an
    // ampere from controllers of the new power format.
    if (app.machine.newPowerFormat())
        app.machine.powerScale = 100;
    return true;
}

std::function<bool(std::string_view)> MachineModel::sender()
{
    if (!m_protocol)
        return {};
    return [protocol = m_protocol.get()](std::string_view text) { return protocol->SendCommand(text); };
}

namespace {

struct PlanOptions {
    PlanInput input;
    std::string output;
};

const CommandUsage usage{"plan",
    "usage: kerfline-cli plan FILE [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] "
    "[--unit mm|in|ft] [--dxf-resolution 1..8] -o OUT.cn [SWITCH...]\n"
    "plans plain 2D (Mode 0), rotary (Mode 1) and turning (Mode 3) programs; the rotary and turning\n"
    "programs start where the cut command would bring the wire\n"};

std::optional<int> parse(int argc, char** argv, PlanOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.input.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        std::string problem;
        if (takeValue("-o", argc, argv, i, value) || takeValue("--output", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs the path of the cut program");
            options.output = *value;
        } else {
            takePlanInput(argc, argv, i, options.input, problem);
            if (!problem.empty())
                return usage(problem);
        }
    }
    if (options.output.empty())
        return usage("-o OUT.cn is required");
    return std::nullopt;
}

void writeFigure(JsonWriter& json, const tfigura& figure, bool withArmPoints)
{
    json.beginObject();
    json.key("kind").integer(figure.kind);
    json.key("isDesign").boolean(figure.isDesign != 0);
    json.key("nestLevel").integer(figure.nestLevel);
    json.key("container").integer(figure.container);
    json.key("parent").integer(figure.parent);
    json.key("attachVertex").integer(figure.attachVertex);
    json.key("startVertex").integer(figure.startVertex);
    json.key("unconnected").boolean(figure.unconnected != 0);
    json.key("points").beginArray();
    for (const Point& p : figure.points)
        json.beginArray().integer(p.x).integer(p.y).endArray();
    json.endArray();
    if (withArmPoints) {
        json.key("armPoints").beginArray();
        for (const Point& p : figure.secondPoints)
            json.beginArray().integer(p.x).integer(p.y).endArray();
        json.endArray();
    }
    json.endObject();
}

}  // namespace

void takePlanInput(int argc, char** argv, int& i, PlanInput& input, std::string& problem)
{
    std::optional<std::string> value;
    if (takeDesignOption(argc, argv, i, input.design, problem))
        return;
    if (takeValue("--machine", argc, argv, i, value)) {
        if (!value || value->empty())
            problem = "--machine needs a PRODUCT";
        else
            input.machine = *value;
        return;
    }
    input.switches.emplace_back(argv[i]);  // one of the program's own switches
}

int preparePlan(CliContext& context, MachineModel& machineModel, const PlanInput& input, const PlanModes& modes,
                const CommandUsage& usage, std::unique_ptr<TMDIChild>& project)
{
    if (!context.start(input.switches))
        return ExitRefused;
    AppContext& app = *context.app;
    const tInterfejs& language = app.language;

    // The machine first: the configuration's speed limits come from it.
    if (!machineModel.open(context, input.machine))
        return ExitRefused;
    if (const int loaded = loadConfiguration(app, input.design.configuration, usage); loaded != ExitSuccess)
        return loaded;
    const int mode = app.configuration.choice(Param::Mode);
    if (std::find(modes.accepted.begin(), modes.accepted.end(), mode) == modes.accepted.end()) {
        std::fprintf(stderr, "%.*s, not Mode %d\n", static_cast<int>(modes.refusal.size()), modes.refusal.data(), mode);
        return ExitRefused;
    }

    project = std::make_unique<TMDIChild>(app);
    project->fileType = designTypeOf(input.file);
    if (project->fileType == kDesignUnknown) {
        language.ShowMessageBox(language.Text("Universal", "nieprawidlowyFormatPliku") + ": " + input.file, true);
        return ExitRefused;
    }
    if (project->Load(input.file, 255) == LoadOutcome::Closed)
        return ExitRefused;
    return ExitSuccess;
}

int runPlan(int argc, char** argv)
{
    PlanOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    MachineModel machineModel;
    std::unique_ptr<TMDIChild> prepared;
    static constexpr int kModes[] = {Mode2D, ModeRotary, ModeTurning};
    const PlanModes modes{kModes,
                          "kerfline-cli plan: plain 2D (Mode 0), rotary (Mode 1) and turning (Mode 3) programs can be planned"};
    if (const int ready = preparePlan(context, machineModel, options.input, modes, usage, prepared); ready != ExitSuccess)
        return ready;
    AppContext& app = *context.app;
    const tInterfejs& language = app.language;
    TMDIChild& project = *prepared;
    const int mode = app.configuration.choice(Param::Mode);
    const int device = app.configuration.choice(Param::StolikSwitch);

    CutProgramJob job;
    job.outputKind = cutOutputKind(mode, device, project.horizontalAxisFound != 0);
    job.sendCommand = machineModel.sender();
    ProgramWriteResult written;
    if (job.outputKind == OutputKind::Plain) {
        // The cut command's own steps before it writes: the start point, and the outline
        // question, which nobody is here to answer: the frame, when one was added, is cut.
        settleUnattendedStart(project);
        const auto last = static_cast<std::int32_t>(project.figures.size()) - 1;
        written = save_ciecie(project, job, options.output, 0, 0.0, last);
    } else {
        // The start positions the cut command sets, from the configuration and the project.
        const RotaryStart start = rotaryStartOf(app.configuration, project, 0.0, 0.0);
        if (!start.fits) {
            language.ShowMessageBox(language.Text("Main_window", "projektZaDuzaWysokosc"), true);
            return ExitRefused;
        }
        job.programStartX = start.programStartX;
        job.programStartY = start.programStartY;
        job.firstEntry = project.DajPoz1szegoWjazduWmat();
        written = saveRotaryProgram(project, job, options.output);
    }
    if (!written) {
        language.ShowMessageBox(written.error->message(language), true);
        return ExitRefused;
    }

    return reportWrittenProgram(app, project, mode, job.outputKind, options.output, false);
}

int reportWrittenProgram(AppContext& app, TMDIChild& project, int mode, OutputKind outputKind,
                         const std::string& output, bool withArmPoints)
{
    const tInterfejs& language = app.language;
    const DecodedProgram program = readCutProgram(output, DecodeSettings::forMachine(app.machine));
    if (program.error) {
        language.ShowMessageBox(program.error->message(language), true);
        return ExitRefused;
    }
    std::error_code sizeError;
    const std::uintmax_t bytes = std::filesystem::file_size(output, sizeError);

    JsonWriter json;
    json.beginObject();
    json.key("mode").integer(mode);
    json.key("outputKind").integer(static_cast<int>(outputKind));
    json.key("startFigure").integer(project.startFigure);
    json.key("cutLength").number(project.cutLength);
    json.key("frameAdded").boolean(project.frameAdded != 0);
    json.key("figures").beginArray();
    for (const tfigura& figure : project.figures)
        writeFigure(json, figure, withArmPoints);
    json.endArray();
    json.key("bytes").integer(static_cast<std::int64_t>(bytes));
    json.key("commands").integer(static_cast<std::int64_t>(program.commands.size()));
    json.endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
