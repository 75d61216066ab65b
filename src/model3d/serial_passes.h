#pragma once

#include "geometry/figure.h"
#include "model3d/contour_tracing.h"
#include "model3d/raster.h"
#include "model3d/triangle_model.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace kerfline {
class Configuration;
struct MachineState;
class tInterfejs;
}  // namespace kerfline

namespace kerfline::model3d {

// A read model, shared read-only by the generator, the view and a running pass, so a new load
// never frees the triangles a pass still reads.
struct LoadedModel {
    TriangleList triangles;
    TModel model;
};
using ModelHandle = std::shared_ptr<const LoadedModel>;

// The angle of pass k (from 1) of n: 0, then decreasing by 180 / n degrees.
double passAngle(int k, int passes);
// The caption of a pass window: the model's file name without directory and extension, then
// " [" + |angle| with 2 decimals + " st]".
std::string passCaption(const std::string& modelPath, double angleDegrees);
// The rotation units of 0.5 degrees the view turns after each pass: Round(2 * step).
int viewTurnUnits(int passes);

// The horizontal reach of the model when turned: its XZ diagonal.
double horizontalDiagonal(const TModel& model);

// The generator's size check against the machine; the message to show, or nothing.
// A model too large says by how much: its turned size and the working area, in the display unit.
std::optional<std::string> sizeCheckMessage(const TModel& model, const Configuration& configuration,
                                            const MachineState& machine, const tInterfejs& language,
                                            char decimalSeparator = '.');

// What one pass hands over: its raster, its traced outlines and the figures of its window.
struct PassResult {
    double angle = 0.0;
    Raster raster;
    std::vector<TracedFigure> traced;
    std::vector<TracedFigure> figures;
};

// Rasterises and traces one pass. Owns its rotated triangles for its run only.
PassResult computePass(const LoadedModel& model, double angleDegrees, const RasterGeometry& geometry,
                       bool keepClosed, std::stop_token stop = {},
                       std::atomic<std::size_t>* progress = nullptr);

// The outlines as design figures of a project, in plotter units.
std::vector<tfigura> designFigures(const std::vector<TracedFigure>& figures);

// The file a pass of serial number i is saved to: at least three digits, zero-padded.
std::string serialPassFileName(int serialNumber);

}  // namespace kerfline::model3d
