#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kerfline {

class TMDIChild;

// How long the cut program of a prepared two-dimensional project takes by its own moves, speeds
// and pauses (the heat-up time and the corner pauses among them), milliseconds. The program is
// written as Start writes it, but to memory: "out.cn" is not touched. None for a mode whose
// program is written otherwise, or a project with nothing to cut.
std::optional<std::int64_t> plannedProgramMs(TMDIChild& project);

// "25 min 08 s"
std::string minutesAndSeconds(std::int64_t ms);

}  // namespace kerfline
