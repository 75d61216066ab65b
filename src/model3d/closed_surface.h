#pragma once

#include "model3d/corner_numbers.h"
#include "model3d/triangle_model.h"

namespace kerfline::model3d {

// Whether every part of the model is a closed surface turned outward: each edge met once in each
// direction by the faces around it (corners match when their coordinates are equal), and each
// edge-connected part of positive volume with its faces counter-clockwise seen from outside.
// Seen from outside such a model, every face turned away from the eye lies behind one turned
// towards it. Faces without area take no part; a model of only such faces is not closed.
bool isClosedOutward(const TriangleList& triangles);
// The same with the corners already numbered.
bool isClosedOutward(const TriangleList& triangles, const CornerNumbers& number);

}  // namespace kerfline::model3d
