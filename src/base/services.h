#pragma once

#include "base/clock.h"
#include "base/host.h"
#include "base/language.h"
#include "base/switches.h"

#include <string>
#include <string_view>

namespace kerfline {

// What a low layer may use of the program around it: the operator, time, the command line and
// the texts. The application context hands these out, so a layer that needs no more sees no more.
struct Services {
    Host& host;
    Clock& clock;
    const CommandLine& commandLine;
    const tInterfejs& language;

    std::string Text(std::string_view section, std::string_view key) const { return language.Text(section, key); }
};

}  // namespace kerfline
