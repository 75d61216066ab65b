#pragma once

#include "config/config_file_result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kerfline {

// The last used directories, dialog filter indexes and the current configuration file, kept in
// "Kerfline.gcf" in the data directory as one 864-byte little-endian record.
struct GlobalSettings {
    std::string lastOpenDir;        // at most 79 UTF-16 units are stored
    std::string lastSaveDir;        // at most 79
    std::int32_t saveFilterIndex = 1;
    std::string configPath;         // at most 254
    std::int32_t openFilterIndex = 1;

    bool operator==(const GlobalSettings&) const = default;
};

inline constexpr std::size_t kGlobalSettingsSize = 864;
inline constexpr const char* kGlobalSettingsFile = "Kerfline.gcf";
inline constexpr const char* kDefaultConfigFile = "Kerfline.kcc";

using GlobalSettingsRecord = std::array<std::uint8_t, kGlobalSettingsSize>;

GlobalSettings defaultGlobalSettings(const std::string& dataDirectory);

// The record as stored; reserved fields carry their defaults. Strings are UTF-16LE, cut to the
// field's length without splitting a surrogate pair.
GlobalSettingsRecord encodeGlobalSettings(const GlobalSettings& settings);
// Any 864 bytes decode: a string ends at its first zero unit or at the end of its field.
GlobalSettings decodeGlobalSettings(std::span<const std::uint8_t, kGlobalSettingsSize> record);

// Writes the record to dataDirectory + "Kerfline.gcf".
ConfigFileResult SaveGlobalSettings(const GlobalSettings& settings, const std::string& dataDirectory);
// Fills the settings with the defaults and writes them.
ConfigFileResult ResetGlobalSettings(GlobalSettings& settings, const std::string& dataDirectory);
// Reads the record; a missing, unreadable or short file is replaced by the defaults, silently.
// Fails only when those defaults cannot be written (the settings hold them all the same).
ConfigFileResult LoadGlobalSettings(GlobalSettings& settings, const std::string& dataDirectory);

}  // namespace kerfline
