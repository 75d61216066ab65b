#pragma once

namespace kerfline::cli {

// kerfline-cli mix DESIGN [--width MM] [--distance MM] [--arm-spacing MM] [--machine PRODUCT]
//                         [--config F.kcc] [--set NAME=VALUE]... -o OUT.cn: opens the design as
// the independent arms open it, mixes front and back, places the block with the answers and
// writes the program.
int runMix(int argc, char** argv);

}  // namespace kerfline::cli
