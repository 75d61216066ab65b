#pragma once

namespace kerfline::cli {

// kerfline-cli machine [--virtual-machine[=PRODUCT]] [SWITCH...]
int runMachine(int argc, char** argv);

}  // namespace kerfline::cli
