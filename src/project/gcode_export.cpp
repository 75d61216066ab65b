#include "project/gcode_export.h"

#include "config/configuration.h"
#include "config/cutting_mode.h"
#include "designfiles/atomic_output.h"
#include "machine/machine_state.h"
#include "project/cut_path_walk.h"
#include "project/tmdichild.h"
#include "base/app_context.h"

#include <filesystem>

namespace kerfline {

GcodeExportResult exportGcode(TMDIChild& project, const GcodeOptions& options, const std::string& path)
{
    AppContext& context = project.context();
    const Configuration& configuration = context.configuration;
    GcodeExportResult result;

    AtomicOutput output;
    if (const int failed = output.open(path); failed != 0) {
        result.error = ProgramWriteError{path, failed};
        return result;
    }
    GcodeProgramValues values;
    values.travelSpeed = configuration.number(Param::PrzeSpeed);
    values.workSpeed = configuration.number(Param::szybkoscObrobki);
    values.power = configuration.number(Param::work_power);
    values.newPowerFormat = context.machine.newPowerFormat();
    values.design = std::filesystem::path(project.fileName).filename().string();
    GcodeWriter gcode(options, values, [&output](std::string_view text) { output.write(text); });

    CutProgramJob job;
    job.outputKind = cutOutputKind(configuration.choice(Param::Mode), configuration.choice(Param::StolikSwitch), false);
    job.writeFile = false;
    job.observe = [&gcode](std::string_view commands, std::span<const AxisRegisters> registers) {
        gcode.commands(commands, registers);
    };
    const auto last = static_cast<std::int32_t>(project.figures.size()) - 1;
    // A program the writer could not finish is no G-code either; the new file is left unwritten.
    if (const ProgramWriteResult written = save_ciecie(project, job, path, 0, 0.0, last); !written) {
        result.error = written.error;
        return result;
    }
    gcode.finish();

    result.counts = gcode.counts();
    if (const int failed = output.commit(); failed != 0)
        result.error = ProgramWriteError{path, failed};
    return result;
}

}  // namespace kerfline
