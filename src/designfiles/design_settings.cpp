#include "designfiles/design_settings.h"

#include "config/configuration.h"

namespace kerfline {

CurveSettings designCurveSettings(const Configuration& configuration)
{
    CurveSettings settings;
    settings.dxfCurveStep = configuration.dxfCurveStep;
    settings.mmPerDrawingUnit = unitFactor(configuration.displayUnit);
    return settings;
}

}  // namespace kerfline
