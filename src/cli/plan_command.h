#pragma once

#include "cli/inspect_command.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {
struct AppContext;
class TMDIChild;
enum class OutputKind : int;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
class TfUsb;
class VirtualCutter;
}  // namespace kerfline::machine

namespace kerfline {
class TMDIChild;
}  // namespace kerfline

namespace kerfline::cli {

struct CliContext;

// The machine a command works for: with a product, the virtual cutter of that model read through
// the program's own controller link, as the desktop program reads a real one; without, the
// defaults the program holds before any controller answered.
class MachineModel {
public:
    MachineModel();
    ~MachineModel();
    MachineModel(const MachineModel&) = delete;
    MachineModel& operator=(const MachineModel&) = delete;

    // Fills the context's machine state. False when the virtual cutter could not be read (the
    // message is printed).
    bool open(CliContext& context, const std::optional<std::string>& product);
    // Direct commands to the cutter; empty without one.
    std::function<bool(std::string_view)> sender();

private:
    std::unique_ptr<machine::VirtualCutter> m_cutter;
    std::unique_ptr<machine::TfUsb> m_link;
    std::unique_ptr<machine::ControllerProtocol> m_protocol;
};

// What plan and the commands that write the same program take: the design, its reading and
// configuration options, the machine and the program's own switches.
struct PlanInput {
    std::string file;
    std::optional<std::string> machine;
    DesignReadOptions design;
    std::vector<std::string> switches;
};

// Takes the input option at argv[i], advancing i past a separate value: a design reading or
// configuration option, --machine, or else one of the program's own switches. `problem` is set
// when a value is missing or wrong.
void takePlanInput(int argc, char** argv, int& i, PlanInput& input, std::string& problem);

// The modes a command writes programs for, and its refusal of the others ("…, not Mode N").
struct PlanModes {
    std::span<const int> accepted;
    std::string_view refusal;
};

// plan's preparation, shared by every command that writes the planned program: starts the
// context with the switches, reads the machine and the configuration (--config, --set), refuses
// a mode the command does not write, and loads the design. ExitSuccess with `project` loaded, or
// the exit code (the message was printed).
int preparePlan(CliContext& context, MachineModel& machineModel, const PlanInput& input, const PlanModes& modes,
                const CommandUsage& usage, std::unique_ptr<TMDIChild>& project);

// kerfline-cli plan FILE [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] -o OUT.cn:
// loads the design, prepares it for plain 2D cutting and writes its cut program as the cut
// command does in its "test" form, without a controller to start.
int runPlan(int argc, char** argv);

// Prints the JSON of plan for a program written to `output` from `project`, its figures with
// their arm paths ("armPoints") when asked. ExitSuccess, or ExitRefused when the program does not
// decode.
int reportWrittenProgram(AppContext& app, TMDIChild& project, int mode, OutputKind outputKind,
                         const std::string& output, bool withArmPoints);

}  // namespace kerfline::cli
