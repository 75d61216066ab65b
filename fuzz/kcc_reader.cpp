// libFuzzer target: any bytes as a configuration file, fed to the reader in two pieces. Besides
// crashes and sanitizer reports it traps when a value leaves its range or when what the model
// writes does not read back to the same text.
#include "config/configuration.h"
#include "config/konfig_file.h"
#include "machine/machine_state.h"
#include "base/switches.h"

#include <cstdint>
#include <string_view>

namespace {

using namespace kerfline;

void check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

void checkRanges(const Configuration& c)
{
    for (const ParameterInfo& info : parameterTable()) {
        const double v = c.raw(info.id);
        switch (info.kind) {
        case ParameterKind::Float:
        case ParameterKind::Length:
        case ParameterKind::Position:
            check(v == v);
            if (c.minimum(info.id) != c.maximum(info.id))
                check(v >= c.minimum(info.id) && v <= c.maximum(info.id));
            break;
        case ParameterKind::Choice:
            check(v >= -1 && v <= c.choiceCount(info.id) - 1 && v == static_cast<int>(v));
            break;
        case ParameterKind::Check:
            check(v == 0 || v == 1 || v == 2);
            break;
        case ParameterKind::Radio:
            check(v == 0 || v == 1);
            break;
        }
    }
    check(!(c.radio(Param::rbZmiennaPredkosc) && c.radio(Param::rbStalaPredkosc)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const MachineState machine;
    const CommandLine commandLine;

    Configuration configuration(machine, commandLine);
    ConfigFileResult result;
    {
        KonfigReader reader(configuration, "fuzz.kcc");
        const std::size_t cut = size == 0 ? 0 : data[0] % size;  // a chunk boundary anywhere
        reader.feed(text.substr(0, cut));
        reader.feed(text.substr(cut));
        result = reader.finish();
    }
    check(!configuration.loadingConfig);
    checkRanges(configuration);
    if (!result.ok()) {
        check(result.status == ConfigFileResult::Status::BadValue && result.line >= 1);
        return 0;
    }

    const std::string written = KonfigText(configuration, ',');
    Configuration reread(machine, commandLine);
    check(applyKonfigText(reread, written).ok());
    checkRanges(reread);
    check(KonfigText(reread, ',') == written);
    return 0;
}
