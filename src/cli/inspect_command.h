#pragma once

#include "cli/config_command.h"
#include "geometry/figure.h"

#include <string>
#include <vector>

namespace kerfline {
struct AppContext;
}

namespace kerfline::cli {

// What every command that reads a design takes besides its own options: --unit mm|in|ft and
// --dxf-resolution 1..8, passed on to the configuration as the overrides "radiounit=N" and
// "sbRozdzKrzywychDXF=N", and --config FILE and --set NAME=VALUE.
struct DesignReadOptions {
    ConfigurationOptions configuration;
};

// Takes one of those options at argv[i], advancing i past a separate value. False when argv[i]
// is none of them; `problem` is set when its value is missing or wrong.
bool takeDesignOption(int argc, char** argv, int& i, DesignReadOptions& options, std::string& problem);

// The valid figures the importer delivers, in order, read with the curve settings of the
// loaded configuration; the kind of design comes from the extension. Messages go to the
// program's host. ExitSuccess, or ExitRefused when the design cannot be read.
int readDesignFigures(AppContext& app, const std::string& file, std::vector<tfigura>& figures);

// Prints {"file","figures":[{"pen","open","points"}]} of the figures, or of the design figures
// among them.
// `drawingUnits`, when not empty, is the note on a drawing whose header declares other units than
// it was read in; it follows the figures as "drawingUnits".
void printFigures(const std::string& file, const std::vector<tfigura>& figures, bool designOnly,
                  const std::string& drawingUnits = {});

// kerfline-cli inspect FILE [--raw] [--pen N] [--unit mm|in|ft] [--dxf-resolution 1..8]
//                           [--config FILE] [--set NAME=VALUE]...
int runInspect(int argc, char** argv);

}  // namespace kerfline::cli
