#include "model3d/serial_passes.h"

#include "project/load_messages.h"
#include "base/language.h"
#include "config/configuration.h"
#include "designfiles/figure_end.h"
#include "base/round.h"
#include "machine/machine_state.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace kerfline::model3d {

double passAngle(int k, int passes)
{
    return -(k - 1) * (180.0 / passes);
}

std::string passCaption(const std::string& modelPath, double angleDegrees)
{
    char angle[64];
    std::snprintf(angle, sizeof angle, "%.2f", std::fabs(angleDegrees));
    return std::filesystem::path(modelPath).stem().string() + " [" + angle + " st]";
}

int viewTurnUnits(int passes)
{
    return roundHalfEven(2.0 * (180.0 / passes));
}

double horizontalDiagonal(const TModel& model)
{
    const double x = model.sizeX();
    const double z = model.sizeZ();
    return std::sqrt(x * x + z * z);
}

std::optional<std::string> sizeCheckMessage(const TModel& model, const Configuration& configuration,
                                            const MachineState& machine, const tInterfejs& language,
                                            char decimalSeparator)
{
    const double p = configuration.number(Param::skala);
    // Turned, the model sweeps its horizontal diagonal, not its width.
    const double width = p * horizontalDiagonal(model) / 100.0;
    const double height = p * model.sizeY() / 100.0;
    if (width > machine.limitX || height > machine.limitY)
        return projectTooLargeMessage(language, {width, height}, {double(machine.limitX), double(machine.limitY)},
                                      configuration.displayUnit, decimalSeparator);
    if (height > machine.limitY - configuration.number(Param::Ystolika))
        return language.Text("Main_window", "projektZaDuzaWysokosc") + "\r\n" +
               language.Text("SerialCutFrom3D", "obnizYstolika");
    return std::nullopt;
}

PassResult computePass(const LoadedModel& model, double angleDegrees, const RasterGeometry& geometry,
                       bool keepClosed, std::stop_token stop, std::atomic<std::size_t>* progress)
{
    PassResult result;
    result.angle = angleDegrees;
    result.raster = rasterisePass(model.triangles, model.model, angleDegrees, geometry, stop, progress);
    if (stop.stop_requested())
        return result;
    result.traced = traceContours(result.raster, geometry.step);
    result.figures = passFigures(result.traced, keepClosed);
    return result;
}

std::vector<tfigura> designFigures(const std::vector<TracedFigure>& figures)
{
    std::vector<tfigura> result;
    for (const TracedFigure& traced : figures) {
        tfigura figure;
        figure.pen = 1;
        figure.isDesign = 1;
        figure.sourceFigure = -1;
        figure.points = traced.points;
        endFigure(figure);
        result.push_back(std::move(figure));
    }
    return result;
}

std::string serialPassFileName(int serialNumber)
{
    char name[32];
    std::snprintf(name, sizeof name, "%03d.dxf", serialNumber);
    return name;
}

}  // namespace kerfline::model3d
