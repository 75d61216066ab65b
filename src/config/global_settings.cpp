#include "config/global_settings.h"

#include "base/atomic_file.h"
#include "base/utf8.h"

#include <bit>
#include <cstring>
#include <fstream>

namespace kerfline {
namespace {

// Offsets and sizes of the record.
constexpr std::size_t kLastOpenDir = 0;
constexpr std::size_t kLastSaveDir = 160;
constexpr std::size_t kShortDirUnits = 79;
constexpr std::size_t kReserved320 = 320;
constexpr std::size_t kSaveFilterIndex = 324;
constexpr std::size_t kReserved328 = 328;
constexpr std::size_t kConfigPath = 334;
constexpr std::size_t kConfigPathUnits = 254;
constexpr std::size_t kOpenFilterIndex = 844;
constexpr std::size_t kReserved848 = 848;

void putInt32(GlobalSettingsRecord& record, std::size_t offset, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        record[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t getInt32(std::span<const std::uint8_t, kGlobalSettingsSize> record, std::size_t offset)
{
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

void putFloat64(GlobalSettingsRecord& record, std::size_t offset, double value)
{
    const auto u = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i)
        record[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

// UTF-8 to UTF-16 code units; a malformed sequence becomes U+FFFD.
std::u16string toUtf16(const std::string& text)
{
    std::u16string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t code = 0xFFFD;
        std::size_t length = 1;
        if (c < 0x80) {
            code = c;
        } else {
            const std::size_t need = (c >= 0xF0 && c <= 0xF4) ? 4 : (c >= 0xE0) ? 3 : (c >= 0xC2 && c < 0xE0) ? 2 : 0;
            if (need != 0 && i + need <= text.size()) {
                char32_t value = c & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
                bool good = true;
                for (std::size_t k = 1; k < need; ++k) {
                    const auto next = static_cast<unsigned char>(text[i + k]);
                    if ((next & 0xC0) != 0x80) {
                        good = false;
                        break;
                    }
                    value = (value << 6) | (next & 0x3F);
                }
                const char32_t smallest = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (good && value >= smallest && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) {
                    code = value;
                    length = need;
                }
            }
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (code >> 10));
            result += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<char16_t>(code);
        }
        i += length;
    }
    return result;
}

void putString(GlobalSettingsRecord& record, std::size_t offset, std::size_t maxUnits, const std::string& text)
{
    std::u16string units = toUtf16(text);
    if (units.size() > maxUnits) {
        units.resize(maxUnits);
        // half a surrogate pair would not decode
        if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF)
            units.pop_back();
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        record[offset + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        record[offset + 2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
}

std::string getString(std::span<const std::uint8_t, kGlobalSettingsSize> record, std::size_t offset, std::size_t fieldBytes)
{
    std::string result;
    const std::size_t units = fieldBytes / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(record[offset + 2 * i] | (record[offset + 2 * i + 1] << 8));
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const auto low = static_cast<char16_t>(record[offset + 2 * i + 2] | (record[offset + 2 * i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(result, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(result, (unit >= 0xD800 && unit <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{unit});
    }
    return result;
}

std::string settingsPath(const std::string& dataDirectory)
{
    return dataDirectory + kGlobalSettingsFile;
}

// One record from the start of the file, or nothing when the file cannot be opened or is short.
bool readRecord(const std::string& path, GlobalSettingsRecord& record, bool& opened)
{
    std::ifstream in(path, std::ios::binary);
    opened = static_cast<bool>(in);
    if (!opened)
        return false;
    in.read(reinterpret_cast<char*>(record.data()), static_cast<std::streamsize>(record.size()));
    return static_cast<std::size_t>(in.gcount()) == record.size();
}

}  // namespace

GlobalSettings defaultGlobalSettings(const std::string& dataDirectory)
{
    GlobalSettings settings;
    settings.configPath = dataDirectory + kDefaultConfigFile;
    return settings;
}

GlobalSettingsRecord encodeGlobalSettings(const GlobalSettings& settings)
{
    GlobalSettingsRecord record{};
    putString(record, kLastOpenDir, kShortDirUnits, settings.lastOpenDir);
    putString(record, kLastSaveDir, kShortDirUnits, settings.lastSaveDir);
    putInt32(record, kReserved320, 1);
    putInt32(record, kSaveFilterIndex, settings.saveFilterIndex);
    record[kReserved328] = 1;  // then four reserved zero bytes and a padding byte
    putString(record, kConfigPath, kConfigPathUnits, settings.configPath);
    putInt32(record, kOpenFilterIndex, settings.openFilterIndex);
    putFloat64(record, kReserved848, 1.0);  // then a reserved int32 0 and four padding bytes
    return record;
}

GlobalSettings decodeGlobalSettings(std::span<const std::uint8_t, kGlobalSettingsSize> record)
{
    GlobalSettings settings;
    settings.lastOpenDir = getString(record, kLastOpenDir, 160);
    settings.lastSaveDir = getString(record, kLastSaveDir, 160);
    settings.saveFilterIndex = getInt32(record, kSaveFilterIndex);
    settings.configPath = getString(record, kConfigPath, 510);
    settings.openFilterIndex = getInt32(record, kOpenFilterIndex);
    return settings;
}

ConfigFileResult SaveGlobalSettings(const GlobalSettings& settings, const std::string& dataDirectory)
{
    const GlobalSettingsRecord record = encodeGlobalSettings(settings);
    ConfigFileResult result;
    result.path = settingsPath(dataDirectory);
    if (!writeFileAtomically(result.path,
                             std::string_view(reinterpret_cast<const char*>(record.data()), record.size())))
        result.status = ConfigFileResult::Status::WriteFailed;
    return result;
}

ConfigFileResult ResetGlobalSettings(GlobalSettings& settings, const std::string& dataDirectory)
{
    settings = defaultGlobalSettings(dataDirectory);
    return SaveGlobalSettings(settings, dataDirectory);
}

ConfigFileResult LoadGlobalSettings(GlobalSettings& settings, const std::string& dataDirectory)
{
    const std::string path = settingsPath(dataDirectory);
    GlobalSettingsRecord record{};
    bool opened = false;
    bool read = readRecord(path, record, opened);
    if (!opened) {
        const ConfigFileResult reset = ResetGlobalSettings(settings, dataDirectory);
        if (!reset.ok())
            return reset;
        read = readRecord(path, record, opened);
    }
    if (!read)
        return ResetGlobalSettings(settings, dataDirectory);
    settings = decodeGlobalSettings(record);
    return ConfigFileResult{ConfigFileResult::Status::Ok, path, 0, {}, {}};
}

}  // namespace kerfline
