// libFuzzer target: any bytes as the G-code export's settings file. Besides crashes and sanitizer
// reports it traps when the choices read, written again and read back, do not come back the same.
#include "designfiles/gcode_settings_file.h"

#include <cstdint>
#include <string_view>

namespace {

void check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kerfline;
    const GcodeExportSettings read = parseGcodeSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    check(read.options.axes.empty() || validAxisLetters(read.options.axes));
    const GcodeExportSettings again = parseGcodeSettings(formatGcodeSettings(read));
    check(again.options.profile == read.options.profile);
    check(again.options.axisLetters() == read.options.axisLetters());
    check(again.options.feedMode == read.options.feedMode);
    check(again.options.heatScale == read.options.heatScale);
    return 0;
}
