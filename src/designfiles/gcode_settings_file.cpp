#include "designfiles/gcode_settings_file.h"

#include "base/atomic_file.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string path(const std::string& dataDirectory)
{
    return dataDirectory + std::string(kGcodeSettingsFileName);
}

}  // namespace

GcodeExportSettings parseGcodeSettings(std::string_view text)
{
    GcodeExportSettings settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (name == "profile") {
            if (const auto profile = gcodeProfileNamed(value))
                settings.options.profile = *profile;
        } else if (name == "axes") {
            if (validAxisLetters(value))
                settings.options.axes = std::string(value);
        } else if (name == "feed") {
            if (const auto mode = feedModeNamed(value))
                settings.options.feedMode = *mode;
        } else if (name == "heatScale") {
            double scale = 0.0;
            const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), scale);
            if (error == std::errc() && stop == value.data() + value.size() && scale > 0.0 && scale <= 1000.0)
                settings.options.heatScale = scale;
        } else if (name == "file") {
            settings.file = std::string(value);
        }
    }
    return settings;
}

std::string formatGcodeSettings(const GcodeExportSettings& settings)
{
    const GcodeOptions& options = settings.options;
    std::string text = "profile=" + std::string(gcodeProfile(options.profile).name) + "\r\n";
    text += "axes=" + options.axisLetters() + "\r\n";
    text += "feed=" + std::string(feedModeName(options.feedMode)) + "\r\n";
    if (options.heatScale) {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, *options.heatScale);
        if (error == std::errc())
            text += "heatScale=" + std::string(buffer, end) + "\r\n";
    }
    text += "file=" + settings.file + "\r\n";
    return text;
}

GcodeExportSettings readGcodeSettings(const std::string& dataDirectory)
{
    std::ifstream in(path(dataDirectory), std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    return parseGcodeSettings(text.str());
}

bool writeGcodeSettings(const std::string& dataDirectory, const GcodeExportSettings& settings)
{
    return writeFileAtomically(path(dataDirectory), formatGcodeSettings(settings));
}

}  // namespace kerfline
