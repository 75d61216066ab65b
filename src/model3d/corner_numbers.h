#pragma once

#include "model3d/triangle_model.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kerfline::model3d {

// Numbers the distinct corners of a model: corners with equal coordinates (-0 and 0 alike) get
// the same number, counted from 0 in the order they are first met. Corner k of face t is corner
// t * 3 + k. An open-addressing table of the first corner seen at each position keeps this
// linear; it grows with the distinct corners, which a mesh has far fewer of than faces. The list
// must outlive the numbering and hold fewer than 2^32 / 3 faces.
class CornerNumbers {
public:
    explicit CornerNumbers(const TriangleList& triangles);
    std::uint32_t operator[](std::size_t corner) const { return m_number[corner]; }
    std::uint32_t count() const { return m_count; }

private:
    const float* coordinates(std::size_t corner) const { return &m_triangles[corner / 3].v[corner % 3 * 3]; }
    std::size_t slotOf(std::size_t corner) const;
    std::uint32_t numberOf(std::size_t corner);
    void grow();

    const TriangleList& m_triangles;
    std::vector<std::uint32_t> m_number;
    std::vector<std::uint32_t> m_firstAt;
    std::uint32_t m_count = 0;
};

}  // namespace kerfline::model3d
