#pragma once

#include "designfiles/gcode_profiles.h"

#include <string>
#include <string_view>

namespace kerfline {

// The G-code export dialog's choices, kept in a small text file of its own in the data
// directory: the global settings record is full and keeps its layout.
struct GcodeExportSettings {
    GcodeOptions options;
    std::string file;  // the last G-code file written
};

inline constexpr std::string_view kGcodeSettingsFileName = "GcodeExport.ini";

// "name=value" lines. A missing file, an unknown name or a value that does not fit leaves that
// choice at its default.
GcodeExportSettings parseGcodeSettings(std::string_view text);
std::string formatGcodeSettings(const GcodeExportSettings& settings);

GcodeExportSettings readGcodeSettings(const std::string& dataDirectory);
// Replaces the file as a whole; false when it could not be written.
bool writeGcodeSettings(const std::string& dataDirectory, const GcodeExportSettings& settings);

}  // namespace kerfline
