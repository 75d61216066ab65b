#pragma once

#include "machine/hid_platform.h"

#include <memory>
#include <optional>
#include <string>

namespace kerfline {
class Clock;
class CommandLine;
class Host;
}  // namespace kerfline

namespace kerfline::machine {

class VirtualCutter;

inline constexpr const char* kVirtualMachineOption = "--virtual-machine";

// The product asked for with --virtual-machine[=PRODUCT] (the default model when no product is
// given); nothing when the option is absent.
std::optional<std::string> virtualMachineProduct(const CommandLine& commandLine);

struct PlatformChoice {
    std::unique_ptr<HidPlatform> platform;
    VirtualCutter* virtualCutter = nullptr;  // the platform itself when it is the virtual cutter
};

// The HID platform the command line asks for: the virtual cutter with --virtual-machine, the
// USB devices otherwise. watchChanges starts the libusb hotplug thread (the desktop program).
PlatformChoice createHidPlatform(const CommandLine& commandLine, Host& host, Clock& clock, bool watchChanges);

}  // namespace kerfline::machine
