#pragma once

#include "designfiles/axis_registers.h"
#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <cstdint>
#include <string>

namespace kerfline {

class TMDIChild;

// One program of a serial series on the spindle: every cut-enabled figure of first ... last
// (list indices) through the rotary body writer with `direction` (+1 or -1), the phase handed
// from figure to figure, then the spindle turned by `angleStep` revolutions for the next design.
// The program starts where the previous one of the series ended: from the front X and Y of
// `saved`, which the cutting job seeds before the first program. When the program is written,
// `saved` holds its registers at the end; a failed program leaves `saved` as it was.
ProgramWriteResult save_ciecie_seryjne_wrzeciono(TMDIChild& project, const CutProgramJob& job,
                                                 const std::string& fileName, std::int32_t first, int direction,
                                                 double angleStep, std::int32_t last, AxisRegisters& saved);

}  // namespace kerfline
