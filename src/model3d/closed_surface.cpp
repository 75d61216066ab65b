#include "model3d/closed_surface.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

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

// Numbers the distinct corners of the model: corners with equal coordinates get the same number.
// An open-addressing table of the first corner seen at each position keeps this linear; it grows
// with the distinct corners, which a mesh has far fewer of than faces.
class CornerNumbers {
public:
    explicit CornerNumbers(const TriangleList& triangles) : m_triangles(triangles), m_number(triangles.size() * 3)
    {
        m_firstAt.assign(std::bit_ceil(std::max<std::size_t>(triangles.size(), 16)), kNone);
        for (std::size_t c = 0; c < m_number.size(); ++c)
            m_number[c] = numberOf(c);
    }
    std::uint32_t operator[](std::size_t corner) const { return m_number[corner]; }
    std::uint32_t count() const { return m_count; }

private:
    const float* coordinates(std::size_t corner) const { return &m_triangles[corner / 3].v[corner % 3 * 3]; }

    std::size_t slotOf(std::size_t corner) const
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

    std::uint32_t numberOf(std::size_t corner)
    {
        const std::size_t slot = slotOf(corner);
        if (m_firstAt[slot] != kNone)
            return m_number[m_firstAt[slot]];
        m_firstAt[slot] = static_cast<std::uint32_t>(corner);
        if (++m_count * 2 > m_firstAt.size())
            grow();
        return m_count - 1;
    }

    void grow()
    {
        std::vector<std::uint32_t> old(m_firstAt.size() * 2, kNone);
        old.swap(m_firstAt);
        for (const std::uint32_t corner : old)
            if (corner != kNone)
                m_firstAt[slotOf(corner)] = corner;
    }

    const TriangleList& m_triangles;
    std::vector<std::uint32_t> m_number;
    std::vector<std::uint32_t> m_firstAt;
    std::uint32_t m_count = 0;
};

std::uint32_t rootOf(std::vector<std::uint32_t>& parent, std::uint32_t t)
{
    while (parent[t] != t) {
        parent[t] = parent[parent[t]];
        t = parent[t];
    }
    return t;
}

}  // namespace

bool isClosedOutward(const TriangleList& triangles)
{
    // Face numbers keep their top bit for the direction of an edge.
    if (triangles.empty() || triangles.size() >= (std::size_t{1} << 31) / 3)
        return false;
    const CornerNumbers number(triangles);
    const auto faceCorners = [&](std::uint32_t t) {
        return std::array<std::uint32_t, 3>{number[t * 3], number[t * 3 + 1], number[t * 3 + 2]};
    };
    // A face that collapsed into an edge or a point takes no part.
    const auto collapsed = [](const std::array<std::uint32_t, 3>& n) {
        return n[0] == n[1] || n[1] == n[2] || n[2] == n[0];
    };

    // The edges in buckets by their lower corner number: the higher one, the face, and whether
    // the face runs from the lower corner to the higher.
    const auto faces = static_cast<std::uint32_t>(triangles.size());
    std::vector<std::uint32_t> bucket(number.count() + 1, 0);
    for (std::uint32_t t = 0; t < faces; ++t)
        if (const auto n = faceCorners(t); !collapsed(n))
            for (int k = 0; k < 3; ++k)
                ++bucket[std::min(n[k], n[(k + 1) % 3]) + 1];
    for (std::size_t i = 1; i < bucket.size(); ++i)
        bucket[i] += bucket[i - 1];
    if (bucket.back() == 0)
        return false;
    struct EdgeEnd {
        std::uint32_t higher;
        std::uint32_t faceAndDirection;
    };
    constexpr std::uint32_t kForwards = 1u << 31;
    std::vector<EdgeEnd> ends(bucket.back());
    for (std::uint32_t t = 0; t < faces; ++t)
        if (const auto n = faceCorners(t); !collapsed(n))
            for (int k = 0; k < 3; ++k) {
                const std::uint32_t from = n[k], to = n[(k + 1) % 3];
                ends[bucket[std::min(from, to)]++] = {std::max(from, to), t | (from < to ? kForwards : 0)};
            }
    // Filling moved each bucket's start to the next one's.
    std::rotate(bucket.rbegin(), bucket.rbegin() + 1, bucket.rend());
    bucket[0] = 0;

    // Every edge as often forwards as backwards; the faces that share an edge form one part.
    std::vector<std::uint32_t> parent(faces);
    for (std::uint32_t t = 0; t < faces; ++t)
        parent[t] = t;
    for (std::size_t lower = 0; lower + 1 < bucket.size(); ++lower) {
        const auto first = ends.begin() + bucket[lower], last = ends.begin() + bucket[lower + 1];
        std::sort(first, last, [](const EdgeEnd& a, const EdgeEnd& b) { return a.higher < b.higher; });
        for (auto edge = first; edge != last;) {
            int balance = 0;
            const std::uint32_t face = edge->faceAndDirection & ~kForwards;
            const std::uint32_t higher = edge->higher;
            for (; edge != last && edge->higher == higher; ++edge) {
                balance += edge->faceAndDirection & kForwards ? 1 : -1;
                parent[rootOf(parent, edge->faceAndDirection & ~kForwards)] = rootOf(parent, face);
            }
            if (balance != 0)
                return false;
        }
    }

    // Six times the signed volume of each part, taken about the middle of the model for
    // precision; against the sum of its terms' sizes, so that a part whose faces cancel out (a
    // sheet with a face on each side) does not count as a volume.
    const TModel bounds = boundsOf(triangles, {});
    const double middle[3] = {bounds.centreX(), bounds.centreY(), bounds.centreZ()};
    struct Part {
        double volume = 0.0;
        double size = 0.0;
    };
    std::vector<Part> parts;
    std::vector<std::uint32_t> partOfRoot(faces, kNone);
    for (std::uint32_t t = 0; t < faces; ++t) {
        if (collapsed(faceCorners(t)))
            continue;
        double p[3][3];
        for (int k = 0; k < 3; ++k)
            for (int a = 0; a < 3; ++a)
                p[k][a] = triangles[t].v[static_cast<std::size_t>(k * 3 + a)] - middle[a];
        const double term = p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) -
                            p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
                            p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
        std::uint32_t& index = partOfRoot[rootOf(parent, t)];
        if (index == kNone) {
            index = static_cast<std::uint32_t>(parts.size());
            parts.emplace_back();
        }
        parts[index].volume += term;
        parts[index].size += std::abs(term);
    }
    return std::all_of(parts.begin(), parts.end(), [](const Part& p) { return p.volume > 1e-6 * p.size; });
}

}  // namespace kerfline::model3d
