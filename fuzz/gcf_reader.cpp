// libFuzzer target: any bytes as the global settings record (cut or zero-padded to 864 bytes).
// Besides crashes and sanitizer reports it traps when a decoded record, written again, does not
// come back the same.
#include "config/global_settings.h"

#include <algorithm>
#include <cstdint>

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
    GlobalSettingsRecord record{};
    std::copy_n(data, std::min(size, record.size()), record.begin());

    const GlobalSettings decoded = decodeGlobalSettings(record);
    // A field may hold one unit more than is stored: the first writing normalises it.
    const GlobalSettingsRecord once = encodeGlobalSettings(decoded);
    const GlobalSettings normalised = decodeGlobalSettings(once);
    check(encodeGlobalSettings(normalised) == once);
    check(normalised.saveFilterIndex == decoded.saveFilterIndex);
    check(normalised.openFilterIndex == decoded.openFilterIndex);
    return 0;
}
