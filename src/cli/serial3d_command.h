#pragma once

namespace kerfline::cli {

// kerfline-cli serial3d MODEL [--passes N] [--keep-closed] [--no-cut-off] [--unit mm|in|ft]
//                           [--config FILE] [--set NAME=VALUE]... -o DIR
int runSerial3d(int argc, char** argv);

}  // namespace kerfline::cli
