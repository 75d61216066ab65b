#pragma once

#include "machine/hid_platform_choice.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <memory>
#include <string>
#include <vector>

namespace kerfline::cli {

// What every command needs: a context like the desktop program's, with a host that prints the
// program's messages to stderr. Parameters the command does not know become switches.
struct CliContext {
    ScriptedHost host;
    SteadyClock clock;
    std::unique_ptr<AppContext> app;

    // Starts the shell (language, data directory) with the given switches; false when the
    // program could not start (the message was printed).
    bool start(std::vector<std::string> switches);

    // The controller's HID platform as the switches ask for it: the virtual cutter with
    // --virtual-machine[=PRODUCT] (running on `clock`), the USB devices otherwise. After start().
    machine::PlatformChoice platform;
    void openPlatform();
};

}  // namespace kerfline::cli
