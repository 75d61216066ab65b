#include "aids/kerf_calibration.h"

#include "config/parameters.h"
#include "geometry/geometry.h"

#include <cmath>

namespace kerfline {

std::vector<std::vector<Point>> kerfCalibrationOutlines()
{
    const std::int32_t outer = mmToUnits(kCalibrationOuterMm);
    const std::int32_t inner = mmToUnits(kCalibrationInnerMm);
    const std::int32_t slot = mmToUnits(kCalibrationSlotMm);
    const std::int32_t depth = mmToUnits(10.0);
    const std::int32_t slotLeft = (outer - slot) / 2;
    const std::int32_t holeLow = (outer - inner) / 2;
    return {
        {{0, 0}, {outer, 0}, {outer, outer}, {slotLeft + slot, outer}, {slotLeft + slot, outer - depth},
         {slotLeft, outer - depth}, {slotLeft, outer}, {0, outer}, {0, 0}},
        {{holeLow, holeLow}, {holeLow + inner, holeLow}, {holeLow + inner, holeLow + inner}, {holeLow, holeLow + inner},
         {holeLow, holeLow}},
    };
}

std::optional<KerfMeasurement> kerfFromMeasurement(double measuredOuterMm, double measuredInnerMm)
{
    if (!(measuredOuterMm > 0.0) || !(measuredInnerMm > 0.0) || measuredInnerMm >= measuredOuterMm)
        return std::nullopt;
    KerfMeasurement m;
    m.fromOuter = kCalibrationOuterMm - measuredOuterMm;
    m.fromInner = measuredInnerMm - kCalibrationInnerMm;
    m.kerf = std::nearbyint((m.fromOuter + m.fromInner) / 2.0 * 100.0) / 100.0;
    const ParameterInfo& range = parameterInfo(Param::kerf);
    if (m.kerf < range.minimum || m.kerf > range.maximum)
        return std::nullopt;
    return m;
}

}  // namespace kerfline
