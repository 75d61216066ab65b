#pragma once

namespace kerfline::cli {

// kerfline-cli gcode FILE [--profile linuxcnc|grblhal|fluidnc|marlin] [--axes XYUV|XYZA|XYUZ]
//                         [--feed-mode g94|g93] [--heat-scale N] [--config F.kcc] [--set NAME=VALUE]...
//                         [--machine PRODUCT] -o OUT.ngc
// The design prepared as plan prepares it, its program written as G-code for an open controller.
int runGcode(int argc, char** argv);

}  // namespace kerfline::cli
