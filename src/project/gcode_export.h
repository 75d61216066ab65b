#pragma once

#include "designfiles/cut_program_error.h"
#include "designfiles/gcode_profiles.h"
#include "designfiles/gcode_writer.h"

#include <optional>
#include <string>

namespace kerfline {

class TMDIChild;

struct GcodeExportResult {
    std::optional<ProgramWriteError> error;  // the G-code file could not be written
    GcodeCounts counts;

    explicit operator bool() const { return !error.has_value(); }
};

// Writes the G-code of a prepared plain 2D project: the project's cut program is written exactly
// as save_ciecie writes it (the same walk, the same writer, the same registers), but to the
// G-code writer instead of a file, so "out.cn" is never touched. The file replaces the one at
// path as a whole, or not at all.
GcodeExportResult exportGcode(TMDIChild& project, const GcodeOptions& options, const std::string& path);

}  // namespace kerfline
