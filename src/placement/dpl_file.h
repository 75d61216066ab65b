#pragma once

#include "placement/duplication.h"

#include <optional>
#include <string>

namespace kerfline {

// The parameter file of the duplication (".dpl" beside the pattern's design): an INI text with
// the section "Duplication_parameters" and keys whose names hold spaces, lengths in millimetres,
// lines ending CR LF. Other sections and lines of the file are kept as they are.

// The path of the parameter file of a pattern: its caption with the extension replaced.
std::string duplicationFilePath(const std::string& patternCaption);

// The six values of the file, each missing one taken from `defaults`; nothing when the file
// cannot be read or has no such section.
std::optional<DuplicationParameters> readDuplicationFile(const std::string& path, const DuplicationParameters& defaults);

// The file's text with the section replaced by the parameters (the section erased first, then
// written at the end, as the file has always been written).
std::string duplicationFileText(const std::string& oldText, const DuplicationParameters& parameters);

// Writes the file as a whole through a temporary file; false when it could not be written (the
// old file is then untouched).
bool writeDuplicationFile(const std::string& path, const DuplicationParameters& parameters);

}  // namespace kerfline

namespace kerfline {

class TMDIChild;

// Execute of the duplication dialog once its checks passed: writes the pattern's parameter file
// (a failure is reported and the generation still runs) and generates the copies into `result`.
void executeDuplication(const TMDIChild& pattern, const std::string& parameterFile,
                        const DuplicationParameters& parameters, TMDIChild& result);

}  // namespace kerfline
