#pragma once

#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <cstdint>
#include <string>

namespace kerfline {

class TMDIChild;

// The project window's saves of a prepared rotary or turning project: every cut-enabled figure
// of first ... last (list indices) is handed to the rotary body writer, once per pass when
// ilosckrokow asks for several, with the phase and the direction of rotation the feed direction
// (CatDir) gives it. A figure the save reverses is turned back before the next one. The rotary
// save parks the wire before the trailer. The job gives the output kind and start positions.
ProgramWriteResult Save_ciecie_obrotowe(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                        std::int32_t first, std::int32_t last);
ProgramWriteResult Save_toczenie_wrzeciono(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                           std::int32_t first, std::int32_t last);
ProgramWriteResult Save_toczenie_stolik(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                        std::int32_t first, std::int32_t last);

// The save of the job's output kind for the whole project: the turning saves for 30 and 301,
// the rotary save for 31 and 311. Other kinds are no rotary program and write nothing.
ProgramWriteResult saveRotaryProgram(TMDIChild& project, const CutProgramJob& job, const std::string& fileName);

}  // namespace kerfline
