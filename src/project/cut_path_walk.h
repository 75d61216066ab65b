#pragma once

#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <cstdint>
#include <string>

namespace kerfline {

class TMDIChild;

// The project window's save_ciecie: writes the cut program of a prepared two-dimensional project
// to fileName by walking its cut tree depth first from the start figure, with corner pauses and
// the closing rotation by `angle` revolutions (table or spindle by StolikSwitch). first and last
// name a figure range the callers pass and no writer honours: the whole project is written.
//
// Open figures entered at their last vertex are reversed in place, so a second save writes the
// same program. The result carries the first write fault; the job then transmits nothing.
ProgramWriteResult save_ciecie(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                               std::int32_t first, double angle, std::int32_t last);

}  // namespace kerfline
