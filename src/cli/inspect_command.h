#pragma once

namespace kerfline::cli {

// kerfline-cli inspect FILE [--raw] [--pen N] [--unit mm|in|ft] [--dxf-resolution 1..8]
int runInspect(int argc, char** argv);

}  // namespace kerfline::cli
