#include "cutting/program_estimate.h"

#include "base/app_context.h"
#include "base/round.h"
#include "config/configuration.h"
#include "config/cutting_mode.h"
#include "cutting/job_progress.h"
#include "designfiles/cut_program_decoder.h"
#include "machine/machine_state.h"
#include "project/cut_path_walk.h"
#include "project/tmdichild.h"

#include <algorithm>
#include <cstdio>

namespace kerfline {

std::optional<std::int64_t> plannedProgramMs(TMDIChild& project)
{
    AppContext& context = project.context();
    const Configuration& config = context.configuration;
    const OutputKind kind =
        cutOutputKind(config.choice(Param::Mode), config.choice(Param::StolikSwitch), project.horizontalAxisFound != 0);
    if (kind != OutputKind::Plain || project.figures.empty())
        return std::nullopt;
    CutProgramJob job;
    job.outputKind = kind;
    job.writeFile = false;
    std::string bytes;
    job.observe = [&bytes](std::string_view commands, std::span<const AxisRegisters>) { bytes += commands; };
    const auto last = static_cast<std::int32_t>(project.figures.size()) - 1;
    if (!save_ciecie(project, job, {}, 0, 0.0, last))
        return std::nullopt;
    const DecodeSettings settings = DecodeSettings::forMachine(context.machine);
    return JobProgress(decodeCutProgram(bytes, settings), settings.start, kUnsetPeriods).plannedMs();
}

std::string minutesAndSeconds(std::int64_t ms)
{
    const auto seconds = roundHalfEven<std::int64_t>(static_cast<double>(std::max<std::int64_t>(ms, 0)) / 1000.0);
    char text[48];
    std::snprintf(text, sizeof text, "%lld min %02lld s", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace kerfline
