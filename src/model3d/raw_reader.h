#pragma once

#include "model3d/triangle_model.h"

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace kerfline::model3d {

// One RAW line as a triangle, unit factor applied; nothing when the line is a header, blank or
// malformed (not exactly nine numbers separated by single spaces, or a number that is not
// finite).
std::optional<Triangle> parseRawLine(std::string_view line, double unitFactor);

// Appends the triangles of a RAW text to the list and the bounds.
void ReadRawText(std::string_view text, double unitFactor, TriangleList& triangles, ModelBounds& bounds,
                 std::stop_token stop = {});

}  // namespace kerfline::model3d
