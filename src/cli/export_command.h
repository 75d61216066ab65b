#pragma once

namespace kerfline::cli {

// kerfline-cli export FILE (--hpgl OUT | --dxf OUT) [--unit mm|in|ft] [--dxf-resolution 1..8]
//                          [--config FILE] [--set NAME=VALUE]... [SWITCH...]
// Loads the design as a project, as the desktop program opens it, and writes every figure of the
// project as HPGL or DXF.
int runExport(int argc, char** argv);

}  // namespace kerfline::cli
