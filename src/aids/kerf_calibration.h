#pragma once

#include "geometry/figure.h"

#include <optional>
#include <vector>

namespace kerfline {

// The calibration cut: a small test piece cut with no kerf compensation, whose measured sizes
// tell how wide a channel the wire melts at the configured speed and heat.

// The test piece: a square of kCalibrationOuterMm with a centred square hole of
// kCalibrationInnerMm and a slot of kCalibrationSlotMm notched into its top edge (its measured
// width less the drawn one is the kerf as well, a check by eye).
inline constexpr double kCalibrationOuterMm = 50.0;
inline constexpr double kCalibrationInnerMm = 20.0;
inline constexpr double kCalibrationSlotMm = 5.0;

// The outlines of the test piece in plotter units, outer contour first, each closed.
std::vector<std::vector<Point>> kerfCalibrationOutlines();

// The kerf the measured sizes give: the outer square comes out smaller by one kerf, the hole
// larger by one; the kerf is the mean of the two, in hundredths of a millimetre.
struct KerfMeasurement {
    double fromOuter = 0.0;  // nominal outer minus measured outer, mm
    double fromInner = 0.0;  // measured inner minus nominal inner, mm
    double kerf = 0.0;       // their mean, mm
};
// Nothing when the sizes cannot come from the test piece: not positive, the hole not smaller
// than the outer square, or a kerf outside the configuration's range of 0 to 5 mm.
std::optional<KerfMeasurement> kerfFromMeasurement(double measuredOuterMm, double measuredInnerMm);

}  // namespace kerfline
