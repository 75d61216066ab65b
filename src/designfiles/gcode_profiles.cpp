#include "designfiles/gcode_profiles.h"

#include <algorithm>
#include <array>

namespace kerfline {
namespace {

constexpr std::string_view kAxisWords = "XYZABCUVW";

constexpr std::array<GcodeProfile, 4> kProfiles{{
    {GcodeProfileId::LinuxCnc, "linuxcnc", "LinuxCNC (foam configuration)", "XYUV", "G17 G21 G90 G94",
     FeedLength::FrontArm, true, 'P', "M2", true, 1.0},
    // grblHAL and FluidNC carry U V on Z A unless the machine maps them otherwise; their spindle
    // range is commonly 0 to 1000, so a percentage is sent ten times over.
    {GcodeProfileId::GrblHal, "grblhal", "grblHAL", "XYZA", "G17 G21 G90 G94", FeedLength::AllAxes, true, 'P', "M2",
     true, 10.0},
    {GcodeProfileId::FluidNc, "fluidnc", "FluidNC", "XYZA", "G17 G21 G90 G94", FeedLength::AllAxes, true, 'P', "M2",
     true, 10.0},
    // Marlin reads G4 P as milliseconds, so the seconds go in S.
    {GcodeProfileId::Marlin, "marlin", "Marlin foam cutter", "XYUV", "G21 G90", FeedLength::LongerArm, false, 'S', "",
     false, 1.0},
}};

}  // namespace

std::span<const GcodeProfile> gcodeProfiles()
{
    return kProfiles;
}

const GcodeProfile& gcodeProfile(GcodeProfileId id)
{
    for (const GcodeProfile& profile : kProfiles)
        if (profile.id == id)
            return profile;
    return kProfiles.front();
}

std::optional<GcodeProfileId> gcodeProfileNamed(std::string_view name)
{
    for (const GcodeProfile& profile : kProfiles)
        if (profile.name == name)
            return profile.id;
    return std::nullopt;
}

std::string_view feedModeName(GcodeFeedMode mode)
{
    return mode == GcodeFeedMode::InverseTime ? "g93" : "g94";
}

std::optional<GcodeFeedMode> feedModeNamed(std::string_view name)
{
    if (name == "g94")
        return GcodeFeedMode::UnitsPerMinute;
    if (name == "g93")
        return GcodeFeedMode::InverseTime;
    return std::nullopt;
}

bool validAxisLetters(std::string_view letters)
{
    if (letters.size() != 4)
        return false;
    for (std::size_t k = 0; k < letters.size(); ++k) {
        if (kAxisWords.find(letters[k]) == std::string_view::npos)
            return false;
        if (letters.substr(k + 1).find(letters[k]) != std::string_view::npos)
            return false;
    }
    return true;
}

std::string GcodeOptions::axisLetters() const
{
    return axes.empty() ? std::string(gcodeProfile(profile).axes) : axes;
}

double GcodeOptions::powerScale() const
{
    return heatScale.value_or(gcodeProfile(profile).heatScale);
}

GcodeFeedMode GcodeOptions::effectiveFeedMode() const
{
    return gcodeProfile(profile).inverseTime ? feedMode : GcodeFeedMode::UnitsPerMinute;
}

}  // namespace kerfline
