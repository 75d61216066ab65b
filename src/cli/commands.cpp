#include "cli/commands.h"

#include "cli/config_command.h"
#include "cli/export_command.h"
#include "cli/cut_command.h"
#include "cli/decode_command.h"
#include "cli/gcode_command.h"
#include "cli/inspect_command.h"
#include "cli/kerf_calibration_command.h"
#include "cli/machine_command.h"
#include "cli/mix_command.h"
#include "cli/plan_command.h"
#include "cli/shaping_commands.h"
#include "cli/barcode_command.h"
#include "cli/support_report_command.h"
#include "cli/serial3d_command.h"

#include <array>

namespace kerfline::cli {

std::span<const Command> commands()
{
    static const auto table = std::to_array<Command>({
        {"arch", runArch},
        {"config", runConfig},
        {"export", runExport},
        {"cut", runCut},
        {"decode", runDecode},
        {"gcode", runGcode},
        {"duplicate", runDuplicate},
        {"inspect", runInspect},
        {"kerf-calibration", runKerfCalibration},
        {"machine", runMachine},
        {"mix", runMix},
        {"plan", runPlan},
        {"barcode", runBarcode},
        {"support-report", runSupportReport},
        {"serial3d", runSerial3d},
    });
    return table;
}

}  // namespace kerfline::cli
