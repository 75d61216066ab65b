#pragma once

#include <string>

namespace kerfline {

inline constexpr const char* kProgramTitle = "Kerfline";

struct ProgramVersion {
    int major = KERFLINE_VERSION_MAJOR;
    int minor = KERFLINE_VERSION_MINOR;
    int release = KERFLINE_VERSION_PATCH;
    int build = KERFLINE_VERSION_TWEAK;

    // "5.5": what the language files must carry.
    std::string majorMinor() const { return std::to_string(major) + "." + std::to_string(minor); }
    // "5.5.0.0": what the caption shows.
    std::string full() const
    {
        return majorMinor() + "." + std::to_string(release) + "." + std::to_string(build);
    }
};

inline constexpr ProgramVersion kProgramVersion{};

}  // namespace kerfline
