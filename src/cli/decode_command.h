#pragma once

namespace kerfline::cli {

// kerfline-cli decode F.cn [--machine PRODUCT]: the commands of a cut program, its moves and
// the registers after each move, as JSON. The machine gives the command lengths and resolutions.
int runDecode(int argc, char** argv);

}  // namespace kerfline::cli
