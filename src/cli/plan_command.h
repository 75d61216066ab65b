#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
