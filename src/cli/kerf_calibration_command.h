#pragma once

namespace kerfline::cli {

// kerfline-cli kerf-calibration --outer MM --inner MM: the kerf the measured sizes of the
// calibration test piece give, as {"kerf_mm"}.
int runKerfCalibration(int argc, char** argv);

}  // namespace kerfline::cli
