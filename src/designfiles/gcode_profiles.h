#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kerfline {

// The open controllers a G-code export is written for. Each is a row of rules, not a code path.
enum class GcodeProfileId : std::uint8_t { LinuxCnc, GrblHal, FluidNc, Marlin };

// G94 (units per minute) or G93 (inverse time: F is 1 / the move's minutes).
enum class GcodeFeedMode : std::uint8_t { UnitsPerMinute, InverseTime };

// The length a controller applies a G94 feed to.
enum class FeedLength : std::uint8_t {
    FrontArm,   // the XY path; the UV path only when XY stands still
    AllAxes,    // the length over all four axes together
    LongerArm,  // the longer of the XY and UV paths
};

struct GcodeProfile {
    GcodeProfileId id;
    std::string_view name;       // the word on the command line and in the settings file
    std::string_view title;      // shown to the operator
    std::string_view axes;       // letters of front X, front Y, back X, back Y
    std::string_view preamble;   // G21 always: a controller set to inches would read mm as inches
    FeedLength feedLength;
    bool inverseTime;            // takes G93 with F on every G1
    char dwellWord;              // its value is in seconds
    std::string_view end;        // after M5; Marlin's M30 would delete the file on the card
    bool parenthesisComments;    // ( ) or ;
    double heatScale;            // S = work_power × this
};

std::span<const GcodeProfile> gcodeProfiles();
const GcodeProfile& gcodeProfile(GcodeProfileId id);
std::optional<GcodeProfileId> gcodeProfileNamed(std::string_view name);

std::string_view feedModeName(GcodeFeedMode mode);
std::optional<GcodeFeedMode> feedModeNamed(std::string_view name);

// Four distinct axis words, upper case, for front X, front Y, back X, back Y.
bool validAxisLetters(std::string_view letters);

// What the operator chooses for an export. Empty fields take the profile's own rule.
struct GcodeOptions {
    GcodeProfileId profile = GcodeProfileId::LinuxCnc;
    std::string axes;
    GcodeFeedMode feedMode = GcodeFeedMode::UnitsPerMinute;
    std::optional<double> heatScale;

    std::string axisLetters() const;
    double powerScale() const;
    // A profile without inverse time writes G94 whatever was chosen.
    GcodeFeedMode effectiveFeedMode() const;
};

}  // namespace kerfline
