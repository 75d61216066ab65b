#include "model3d/raster.h"

#include "base/round.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kerfline::model3d {

Raster::Raster(int width, int height)
    : m_width(width), m_height(height),
      m_cells((static_cast<std::size_t>(width) + 1) * (static_cast<std::size_t>(height) + 1), kCellEmpty)
{
}

RasterGeometry rasterGeometry(const TModel& model, std::size_t maxCells)
{
    const double x = model.sizeX();
    const double z = model.sizeZ();
    const double diagonal = std::sqrt(x * x + z * z);
    RasterGeometry geometry;
    for (int multiple = 1;; ++multiple) {
        geometry.step = kRasterStep * multiple;
        geometry.width = roundHalfEven(diagonal / geometry.step);
        geometry.height = roundHalfEven(model.sizeY() / geometry.step);
        const double cells = (geometry.width + 1.0) * (geometry.height + 1.0);
        if (cells <= static_cast<double>(maxCells))
            break;
        geometry.coarsened = true;
    }
    return geometry;
}

TriangleList rotatedAboutVertical(const TriangleList& triangles, const TModel& model, double angleDegrees)
{
    const double a = angleDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double cx = model.centreX();
    const double cy = model.centreY();
    const double cz = model.centreZ();
    TriangleList rotated(triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const auto& v = triangles[i].v;
        auto& r = rotated[i].v;
        for (std::size_t k = 0; k < 9; k += 3) {
            const double x = v[k] - cx;
            const double z = v[k + 2] - cz;
            r[k] = static_cast<float>(c * x - s * z);
            r[k + 1] = static_cast<float>(v[k + 1] - cy);
            r[k + 2] = static_cast<float>(s * x + c * z);
        }
    }
    return rotated;
}

void fillTriangle(Raster& raster, const Triangle& triangle, double step)
{
    const int W = raster.width();
    const int H = raster.height();
    // Raster coordinates: a sample at (u, v) lands in cell (Round(u), Round(v)), clamped.
    std::array<double, 3> u{};
    std::array<double, 3> v{};
    for (std::size_t k = 0; k < 3; ++k) {
        u[k] = triangle.v[k * 3] / step + W / 2.0;
        v[k] = triangle.v[k * 3 + 1] / step + H / 2.0;
        if (!std::isfinite(u[k]) || !std::isfinite(v[k]))
            return;
    }
    const double vMin = std::min({v[0], v[1], v[2]});
    const double vMax = std::max({v[0], v[1], v[2]});
    // Rows whose rounding band [r - 0.5, r + 0.5] meets the triangle; rows 0 and H also take
    // everything beyond them, as clamping does.
    const int rowLow = std::clamp(static_cast<int>(std::ceil(std::clamp(vMin, -1.0, H + 1.0) - 0.5)), 0, H);
    const int rowHigh = std::clamp(static_cast<int>(std::floor(std::clamp(vMax, -1.0, H + 1.0) + 0.5)), 0, H);
    for (int r = rowLow; r <= rowHigh; ++r) {
        const double bandLow = r == 0 ? -1e300 : r - 0.5;
        const double bandHigh = r == H ? 1e300 : r + 0.5;
        double uLow = 1e300;
        double uHigh = -1e300;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t m = (k + 1) % 3;
            const double v0 = v[k];
            const double v1 = v[m];
            if (std::max(v0, v1) < bandLow || std::min(v0, v1) > bandHigh)
                continue;
            const double dv = v1 - v0;
            double t0 = 0.0;
            double t1 = 1.0;
            if (dv != 0.0) {
                const double ta = (bandLow - v0) / dv;
                const double tb = (bandHigh - v0) / dv;
                t0 = std::max(0.0, std::min(ta, tb));
                t1 = std::min(1.0, std::max(ta, tb));
                if (t0 > t1)
                    continue;
            }
            const double ua = u[k] + t0 * (u[m] - u[k]);
            const double ub = u[k] + t1 * (u[m] - u[k]);
            uLow = std::min({uLow, ua, ub});
            uHigh = std::max({uHigh, ua, ub});
        }
        if (uLow > uHigh)
            continue;
        const int c0 = std::clamp(static_cast<int>(std::ceil(std::clamp(uLow, -1.0, W + 1.0) - 0.5)), 0, W);
        const int c1 = std::clamp(static_cast<int>(std::floor(std::clamp(uHigh, -1.0, W + 1.0) + 0.5)), 0, W);
        if (c0 <= c1)
            std::memset(raster.row(r) + c0, kCellBoundary, static_cast<std::size_t>(c1 - c0 + 1));
    }
}

void markInterior(Raster& raster)
{
    const int W = raster.width();
    const int H = raster.height();
    const std::size_t stride = raster.stride();
    // Cells that turn inside stay above 1, so marking in place reads the same as a copy would.
    for (int r = 1; r < H; ++r) {
        std::uint8_t* row = raster.row(r);
        const std::uint8_t* below = row - stride;
        const std::uint8_t* above = row + stride;
        for (int c = 1; c < W; ++c) {
            if (row[c] <= kCellEmpty)
                continue;
            if (below[c - 1] > 1 && below[c] > 1 && below[c + 1] > 1 && row[c - 1] > 1 && row[c + 1] > 1 &&
                above[c - 1] > 1 && above[c] > 1 && above[c + 1] > 1)
                row[c] = kCellInside;
        }
    }
}

void clearBottomRun(Raster& raster)
{
    const int W = raster.width();
    int j = 0;
    while (j <= W && raster.at(j, 0) != kCellBoundary)
        ++j;
    if (j > W)
        return;
    for (int k = j + 1; k < W; ++k) {
        if (raster.at(k, 0) == kCellBoundary && raster.at(k + 1, 0) == kCellBoundary)
            raster.at(k, 0) = kCellInside;
        else
            break;
    }
}

Raster rasterisePass(const TriangleList& triangles, const TModel& model, double angleDegrees,
                     const RasterGeometry& geometry, std::stop_token stop, std::atomic<std::size_t>* progress)
{
    Raster raster(geometry.width, geometry.height);
    const TriangleList rotated = rotatedAboutVertical(triangles, model, angleDegrees);
    for (std::size_t i = 0; i < rotated.size(); ++i) {
        if ((i & 0x3ff) == 0) {
            if (stop.stop_requested())
                return raster;
            if (progress != nullptr)
                progress->store(i, std::memory_order_relaxed);
        }
        fillTriangle(raster, rotated[i], geometry.step);
    }
    if (progress != nullptr)
        progress->store(rotated.size(), std::memory_order_relaxed);
    markInterior(raster);
    clearBottomRun(raster);
    return raster;
}

}  // namespace kerfline::model3d
