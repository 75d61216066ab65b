#include "aids/project_information.h"

#include "aids/display_length.h"
#include "config/number_text.h"
#include "config/parameters.h"
#include "cutting/program_estimate.h"
#include "base/round.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"

namespace kerfline {

void ProjectInformation::update(const TMDIChild& project, const std::string& windowCaption, const AppContext& context)
{
    const Configuration& config = context.configuration;
    const char separator = context.decimalSeparator;
    const int unit = config.displayUnit;
    const double scale = config.number(Param::skala);

    fname = windowCaption.empty() ? project.fileName : windowCaption;
    konfigname = config.settings.configPath;
    szerokosc = lengthWithUnit(scaledMillimetres(project.width, scale), 2, unit, separator);
    wysokosc = lengthWithUnit(scaledMillimetres(project.height, scale), 2, unit, separator);
    // Hundredths of a millimetre, as the kerf is set; one decimal more in the larger units.
    kerf = lengthWithUnit(project.kerfInUse, unit == UnitMillimetre ? 2 : 3, unit, separator);
    drawingUnits = project.drawingUnitsNote;

    double length = 0.0;
    switch (config.choice(Param::Mode)) {
    case Mode2D:
    case ModeSerial:
    case ModeIndependent:
        length = scaledMillimetres(project.cutLength, scale);
        break;
    case ModeRotary:
    case ModeTurning:
        // The path is run once per step.
        length = scaledMillimetres(config.number(Param::ilosckrokow) * project.cutLength, scale);
        break;
    default:
        return;
    }
    totlen = unit == UnitMillimetre ? formatFixed(length / 1000.0, 2, separator) + " m"
                                    : lengthWithUnit(length, 2, unit, separator);
    const double speed = config.number(Param::szybkoscObrobki);
    const double minutes =
        (speed > 0 ? length / speed : 0.0) + static_cast<double>(project.figures.size()) * kMinutesPerFigure;
    total_time = std::to_string(roundHalfEven<std::int64_t>(minutes)) + " min";
}

void ProjectInformation::estimateProgram(TMDIChild& project)
{
    const std::optional<std::int64_t> ms = plannedProgramMs(project);
    programTime = ms ? minutesAndSeconds(*ms) : std::string();
}

}  // namespace kerfline
