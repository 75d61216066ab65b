#pragma once

#include "model3d/triangle_model.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <vector>

namespace kerfline::model3d {

// Cell flags of the silhouette raster.
inline constexpr std::uint8_t kCellEmpty = 1;
inline constexpr std::uint8_t kCellBoundary = 2;
inline constexpr std::uint8_t kCellInside = 4;
inline constexpr std::uint8_t kCellVisited = 8;

// The raster step the generator asks for, in millimetres per cell.
inline constexpr double kRasterStep = 0.2;
// More cells than this would cost more memory than a pass may take (one byte per cell).
inline constexpr std::size_t kMaxRasterCells = 48'000'000;

// The silhouette of one pass: (width + 1) x (height + 1) cells, column 0..width, row 0..height.
class Raster {
public:
    Raster() = default;
    Raster(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint8_t& at(int column, int row) { return m_cells[index(column, row)]; }
    std::uint8_t at(int column, int row) const { return m_cells[index(column, row)]; }
    bool contains(int column, int row) const
    {
        return column >= 0 && row >= 0 && column <= m_width && row <= m_height;
    }
    // Row-major storage, so that a row of one triangle is one run.
    std::uint8_t* row(int r) { return m_cells.data() + static_cast<std::size_t>(r) * stride(); }
    std::size_t stride() const { return static_cast<std::size_t>(m_width) + 1; }

private:
    std::size_t index(int column, int row) const
    {
        return static_cast<std::size_t>(row) * stride() + static_cast<std::size_t>(column);
    }
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_cells;
};

// The raster a model needs. A turned model reaches as far as its horizontal diagonal, so the
// width is sized from that. When the cells would pass the cap the step grows in whole multiples
// of the finest step until they fit, and coarsened tells so.
struct RasterGeometry {
    double step = kRasterStep;
    int width = 0;
    int height = 0;
    bool coarsened = false;
};
RasterGeometry rasterGeometry(const TModel& model, std::size_t maxCells = kMaxRasterCells);

// The model turned about the vertical axis through its centre by angleDegrees.
TriangleList rotatedAboutVertical(const TriangleList& triangles, const TModel& model, double angleDegrees);

// Marks every cell that a sampling of the triangle at half the step, each sample rounded half to
// even to its cell and clamped into the raster, would mark: the cells whose rounding square
// meets the triangle seen along z.
void fillTriangle(Raster& raster, const Triangle& triangle, double step);

// Covered cells whose eight neighbours are all covered become inside cells.
void markInterior(Raster& raster);
// The straight bottom resting on the table keeps only its two ends on the boundary.
void clearBottomRun(Raster& raster);

// One pass: rotate, fill, mark. Stops between triangles when a stop is requested; progress
// counts the triangles filled.
Raster rasterisePass(const TriangleList& triangles, const TModel& model, double angleDegrees,
                     const RasterGeometry& geometry, std::stop_token stop = {},
                     std::atomic<std::size_t>* progress = nullptr);

}  // namespace kerfline::model3d
