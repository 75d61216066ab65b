#include "machine/hid_platform_choice.h"

#include "machine/libusb_hid_platform.h"
#include "machine/virtual_cutter.h"
#include "base/switches.h"

#include <string_view>

namespace kerfline::machine {

std::optional<std::string> virtualMachineProduct(const CommandLine& commandLine)
{
    const std::string_view option = kVirtualMachineOption;
    for (const std::string& parameter : commandLine.parameters()) {
        if (parameter == option)
            return std::string(kDefaultVirtualProduct);
        if (parameter.size() > option.size() && parameter.compare(0, option.size(), option) == 0 &&
            parameter[option.size()] == '=') {
            std::string product = parameter.substr(option.size() + 1);
            return product.empty() ? std::string(kDefaultVirtualProduct) : product;
        }
    }
    return std::nullopt;
}

PlatformChoice createHidPlatform(const CommandLine& commandLine, Host& host, Clock& clock, bool watchChanges)
{
    PlatformChoice choice;
    if (const auto product = virtualMachineProduct(commandLine)) {
        auto cutter = std::make_unique<VirtualCutter>(host, clock, *product);
        choice.virtualCutter = cutter.get();
        choice.platform = std::move(cutter);
    } else {
        choice.platform = std::make_unique<LibusbHidPlatform>(host, watchChanges);
    }
    return choice;
}

}  // namespace kerfline::machine
