#pragma once

#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <cstdint>
#include <string>

namespace kerfline {

class TMDIChild;

// What the walk of the cut tree reaches, in cut order: the program writer turns it into moves and
// pauses, the project view into its animated simulation and its recording for the mixing.
class CutPathVisitor {
public:
    virtual ~CutPathVisitor() = default;
    virtual void cornerPause() = 0;
    // Vertex `vertex` of figure `figure` is reached; in a synchronous pair the vertex of the
    // secondPoints of figures 0 and 1.
    virtual void point(std::int32_t figure, std::int32_t vertex) = 0;
};

// Walks the cut tree of a prepared two-dimensional project depth first from its start figure,
// as save_ciecie writes it, and stops early when the project's simulationStopped is set. Open
// figures entered at their last vertex are reversed in place, exactly as a save does.
void walkCutPath(TMDIChild& project, CutPathVisitor& visitor);

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
