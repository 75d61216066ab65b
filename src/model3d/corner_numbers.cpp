#include "model3d/corner_numbers.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace kerfline::model3d {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// -0 and 0 are the same coordinate.
std::uint32_t bitsOf(float value)
{
    return std::bit_cast<std::uint32_t>(value + 0.0f);
}

std::uint64_t mix(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

}  // namespace

CornerNumbers::CornerNumbers(const TriangleList& triangles) : m_triangles(triangles), m_number(triangles.size() * 3)
{
    m_firstAt.assign(std::bit_ceil(std::max<std::size_t>(triangles.size(), 16)), kNone);
    for (std::size_t c = 0; c < m_number.size(); ++c)
        m_number[c] = numberOf(c);
}

std::size_t CornerNumbers::slotOf(std::size_t corner) const
{
    const float* p = coordinates(corner);
    const std::uint32_t x = bitsOf(p[0]), y = bitsOf(p[1]), z = bitsOf(p[2]);
    std::size_t slot = mix((static_cast<std::uint64_t>(x) << 32 | y) ^ mix(z)) & (m_firstAt.size() - 1);
    for (;; slot = (slot + 1) & (m_firstAt.size() - 1)) {
        const std::uint32_t seen = m_firstAt[slot];
        if (seen == kNone)
            return slot;
        const float* q = coordinates(seen);
        if (bitsOf(q[0]) == x && bitsOf(q[1]) == y && bitsOf(q[2]) == z)
            return slot;
    }
}

std::uint32_t CornerNumbers::numberOf(std::size_t corner)
{
    const std::size_t slot = slotOf(corner);
    if (m_firstAt[slot] != kNone)
        return m_number[m_firstAt[slot]];
    m_firstAt[slot] = static_cast<std::uint32_t>(corner);
    if (++m_count * 2 > m_firstAt.size())
        grow();
    return m_count - 1;
}

void CornerNumbers::grow()
{
    std::vector<std::uint32_t> old(m_firstAt.size() * 2, kNone);
    old.swap(m_firstAt);
    for (const std::uint32_t corner : old)
        if (corner != kNone)
            m_firstAt[slotOf(corner)] = corner;
}

}  // namespace kerfline::model3d
