#pragma once

#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// A context of its own with the shipped language files and a fresh data directory.
struct ConfigContext {
    explicit ConfigContext(std::vector<std::string> switches = {})
        : app(host, clock, CommandLine(std::move(switches)))
    {
        app.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        app.programDirectory = program.str();
        app.dataDirectory = data.str();
    }

    ScriptedHost host;
    SimulatedClock clock;
    TempDir program;
    TempDir data;
    AppContext app;
    Configuration& config() { return app.configuration; }
    MachineState& machine() { return app.machine; }
};

}  // namespace kerfline::testing
