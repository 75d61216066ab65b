#include "cutting/rotary_start.h"

#include "config/configuration.h"
#include "base/round.h"
#include "project/tmdichild.h"

#include <algorithm>

namespace kerfline {

double projectLengthMm(std::int32_t units, double skala)
{
    return roundHalfEven<std::int64_t>(units * skala / 100.0) / 40.0;
}

RotaryStart rotaryStartOf(const Configuration& config, const TMDIChild& project, double programStartX,
                          double programStartY)
{
    RotaryStart start{programStartX, programStartY, true};
    const double skala = config.number(Param::skala);
    const double diameterHalf = config.number(Param::Srednicamaterialu) / 2.0;
    const int device = config.choice(Param::StolikSwitch);
    const int mode = config.choice(Param::Mode);
    if (mode == ModeRotary) {
        double lowest = 0.0;
        if (project.horizontalAxisFound) {
            const double h = projectLengthMm(project.height, skala);
            const double r = std::max(h, diameterHalf);
            const double axisY = config.number(Param::Ywrzeciona);
            start.programStartY = project.profileBelowAxis ? axisY - r : axisY + r;
            lowest = std::min(start.programStartY, project.profileBelowAxis ? axisY - h : axisY + h);
        } else {
            start.programStartY = config.number(Param::Ystolika);
            // How far the project reaches to the left of the table's axis.
            const double w = -projectLengthMm(project.minX, skala);
            const double axisX = config.number(Param::Xstolika);
            start.programStartX = axisX - std::max(w, diameterHalf);
            lowest = std::min(start.programStartX, axisX - w);
        }
        start.fits = lowest >= 0.0;
    } else if (mode == ModeTurning && device == DeviceSpindle) {
        start.programStartY = std::max(projectLengthMm(project.height, skala), diameterHalf) +
                              config.number(Param::Ywrzeciona) - config.number(Param::Ynarzedzia);
    } else if (mode == ModeTurning && device == DeviceTable) {
        start.programStartX = config.number(Param::Xstolika) - std::max(projectLengthMm(project.width, skala), diameterHalf) -
                              config.number(Param::Xnarzedzia);
        // The save takes the nearer end of each figure from the wire's start; that start is X in
        // the figure's frame, not a value left over from an earlier job.
        start.programStartY =
            (start.programStartX - config.number(Param::Xstolika) + config.number(Param::Xnarzedzia)) * 100.0 / skala;
    }
    return start;
}

}  // namespace kerfline
