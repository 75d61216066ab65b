#pragma once

#include "shell/app_context.h"
#include "support/temp_dir.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// A context started as the program starts it (language, data directory), with the language
// files of the source tree and a home directory of the test's own. Null when the start failed.
inline std::unique_ptr<AppContext> startedContext(Host& host, Clock& clock, const TempDir& home,
                                                  std::vector<std::string> switches)
{
    auto context = std::make_unique<AppContext>(host, clock, CommandLine(std::move(switches)));
    context->programDirectory = KERFLINE_LANG_DIR;
    const std::map<std::string, std::string> env{{"HOME", home.path().string()}};
    const bool started = startShell(*context, [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    });
    return started ? std::move(context) : nullptr;
}

}  // namespace kerfline::testing
