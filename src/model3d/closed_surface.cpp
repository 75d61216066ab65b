#include "model3d/closed_surface.h"

#include "model3d/corner_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace kerfline::model3d {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

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
    if (triangles.empty())
        return false;
    return isClosedOutward(triangles, CornerNumbers(triangles));
}

bool isClosedOutward(const TriangleList& triangles, const CornerNumbers& number)
{
    // Face numbers keep their top bit for the direction of an edge.
    if (triangles.empty() || triangles.size() >= (std::size_t{1} << 31) / 3)
        return false;
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
