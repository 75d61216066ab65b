#pragma once

namespace kerfline::cli {

// kerfline-cli cut FILE --virtual-machine[=PRODUCT] [--config F.kcc] [--set NAME=VALUE]...:
// runs the whole cutting job on the virtual cutter under a simulated clock, as the Start command
// runs it on a machine, and prints what was sent and the path the wire took. Every question of
// the job is answered OK or Yes.
int runCut(int argc, char** argv);

}  // namespace kerfline::cli
