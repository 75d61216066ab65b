#pragma once

namespace kerfline::cli {

// kerfline-cli barcode label CODE [--config F.kcc] [--line TEXT]... -o OUT.epl
// kerfline-cli barcode draw CODE -o OUT.png
int runBarcode(int argc, char** argv);

}  // namespace kerfline::cli
