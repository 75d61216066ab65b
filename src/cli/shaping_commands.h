#pragma once

namespace kerfline::cli {

// kerfline-cli duplicate FILE --rows M --columns N [--element-offset MM] [--row-offset MM]
//   [--vertical-line-distance MM] [--horizontal-line-distance MM] [--accept-overlap] -o OUT.dxf:
// the design repeated in rows and columns with its connecting line, as the duplication dialog
// makes it, written as a DXF drawing.
int runDuplicate(int argc, char** argv);

// kerfline-cli arch FILE --depth MM [--reduction-ratio N] -o OUT.dxf: the strip the arch cutting
// makes of a single open curve, written as a DXF drawing; exit 1 after the message when its
// notches overlap (the strip is written all the same).
int runArch(int argc, char** argv);

}  // namespace kerfline::cli
