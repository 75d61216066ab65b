#pragma once

#include "designfiles/design_error.h"
#include "model3d/triangle_model.h"

#include <optional>
#include <stop_token>
#include <string>

namespace kerfline {
class tInterfejs;
}

namespace kerfline::model3d {

// What reading a model file gave: its triangles in millimetres and their bounds. A failed read
// leaves no triangles and zero bounds and names the fault.
struct ModelReadResult {
    TriangleList triangles;
    TModel model;
    std::optional<DesignError> error;
    bool truncated = false;  // the drawing's inserts made more faces than a model may hold
};

// Chooses the reader by the upper-cased extension (".DXF", ".RAW"; any other gives an empty
// model) and converts the file's display unit to millimetres with unitFactor.
ModelReadResult ReadModel(const std::string& path, double unitFactor, std::stop_token stop = {});
ModelReadResult ReadDxf(const std::string& path, double unitFactor, std::stop_token stop = {});
ModelReadResult ReadRaw(const std::string& path, double unitFactor, std::stop_token stop = {});

// "Project_window"/"zbiorPusty" for a model file that was read but gave no face, with the file
// and what a model is read from in its kind of file.
std::string emptyModelMessage(const tInterfejs& language, const std::string& path);

}  // namespace kerfline::model3d
