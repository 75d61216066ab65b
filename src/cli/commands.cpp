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
        {"inspect", runInspect, "FILE [--raw] [--pen N] [--unit mm|in|ft] [--dxf-resolution 1..8]"},
        {"config", runConfig, "[FILE.kcc] [--set NAME=VALUE]..."},
        {"machine", runMachine, "--virtual-machine[=PRODUCT]"},
        {"plan", runPlan, "FILE [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] -o OUT.cn"},
        {"gcode", runGcode,
         "FILE [--profile linuxcnc|grblhal|fluidnc|marlin] [--axes XYUV|XYZA|XYUZ] [--feed-mode g94|g93]\n"
         "         [--heat-scale N] [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] -o OUT.ngc"},
        {"decode", runDecode, "FILE.cn [--machine PRODUCT]"},
        {"export", runExport, "FILE (--hpgl OUT | --dxf OUT)"},
        {"cut", runCut, "FILE --virtual-machine[=PRODUCT] [--config F.kcc] [--set NAME=VALUE]..."},
        {"arch", runArch, "FILE --depth MM [--reduction-ratio 1..20] -o OUT.dxf"},
        {"duplicate", runDuplicate,
         "FILE --rows M --columns N [--element-offset MM] [--row-offset MM]\n"
         "            [--vertical-line-distance MM] [--horizontal-line-distance MM] [--accept-overlap] -o OUT.dxf"},
        {"mix", runMix, "DESIGN [--width MM] [--distance MM] [--arm-spacing MM] [--machine PRODUCT] -o OUT.cn"},
        {"barcode", runBarcode, "label CODE [--config F.kcc] [--line TEXT]... -o OUT.epl\n"
                                "  barcode draw CODE -o OUT.png"},
        {"support-report", runSupportReport, "[DESIGN...] -o OUT.html"},
        {"kerf-calibration", runKerfCalibration, "--outer MM --inner MM"},
        {"serial3d", runSerial3d, "MODEL [--passes 1..180] [--keep-closed] [--no-cut-off] -o DIR"},
    });
    return table;
}

}  // namespace kerfline::cli
