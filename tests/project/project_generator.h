#pragma once

// Generated 2D designs for the planning tests and the benchmark: sheets of non-overlapping
// cells, each holding a rectangle, a ring, a letter in a frame (with or without an island), a
// frame full of small letters, or an open polyline touching a closed figure.

#include "geometry/figure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace kerfline::testing {

using Contour = std::vector<Point>;

enum class CellKind { Rectangle, Ring, FramedLetter, CrowdedFrame, TouchingPolyline, FreePolyline, Empty, SpikyPair, Cup };

struct SheetOptions {
    int cells = 16;
    std::int32_t pitch = 6000;  // distance of cell origins, plotter units
    std::int32_t cellSize = 5000;
    int minLetterPoints = 20;
    int maxLetterPoints = 60;
    // How often each kind appears; the index is the CellKind.
    std::vector<int> weights{3, 2, 4, 1, 2, 1, 1, 0};
    int maxCrowd = 25;  // letters in a crowded frame
};

class SheetGenerator {
public:
    SheetGenerator(std::uint32_t seed, SheetOptions options) : m_random(seed), m_options(std::move(options)) {}

    std::vector<Contour> generate()
    {
        std::vector<Contour> contours;
        const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(m_options.cells))));
        std::discrete_distribution<int> kinds(m_options.weights.begin(), m_options.weights.end());
        for (int cell = 0; cell < m_options.cells; ++cell) {
            const std::int32_t x = (cell % columns) * m_options.pitch + jitter(200);
            const std::int32_t y = (cell / columns) * m_options.pitch + jitter(200);
            addCell(contours, static_cast<CellKind>(kinds(m_random)), x, y, m_options.cellSize);
        }
        return contours;
    }

    // A closed star-shaped polygon around (cx, cy) with radii between inner and outer.
    Contour letter(std::int32_t cx, std::int32_t cy, double inner, double outer, int points)
    {
        std::uniform_real_distribution<double> radius(inner, outer);
        Contour contour;
        for (int k = 0; k < points; ++k) {
            const double angle = 2.0 * std::numbers::pi * k / points;
            const double r = radius(m_random);
            contour.push_back({cx + static_cast<std::int32_t>(std::lround(r * std::cos(angle))),
                               cy + static_cast<std::int32_t>(std::lround(r * std::sin(angle)))});
        }
        contour.push_back(contour.front());
        return contour;
    }

    static Contour rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1)
    {
        return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
    }

private:
    std::int32_t jitter(std::int32_t range) { return std::uniform_int_distribution<std::int32_t>(-range, range)(m_random); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    int letterPoints() { return between(m_options.minLetterPoints, m_options.maxLetterPoints); }

    void addCell(std::vector<Contour>& out, CellKind kind, std::int32_t x, std::int32_t y, std::int32_t size)
    {
        const std::int32_t cx = x + size / 2;
        const std::int32_t cy = y + size / 2;
        switch (kind) {
        case CellKind::Rectangle:
            out.push_back(rectangle(x + between(0, size / 4), y + between(0, size / 4), x + size - between(0, size / 4),
                                    y + size - between(0, size / 4)));
            break;
        case CellKind::Ring:
            out.push_back(letter(cx, cy, size * 0.42, size * 0.48, between(12, 40)));
            out.push_back(letter(cx, cy, size * 0.22, size * 0.28, between(12, 40)));
            break;
        case CellKind::FramedLetter:
            out.push_back(rectangle(x, y, x + size, y + size));
            out.push_back(letter(cx, cy, size * 0.25, size * 0.42, letterPoints()));
            if (between(0, 1) == 1)
                out.push_back(letter(cx, cy, size * 0.08, size * 0.15, between(5, 12)));
            break;
        case CellKind::CrowdedFrame: {
            out.push_back(rectangle(x, y, x + size, y + size));
            const int count = between(2, m_options.maxCrowd);
            const int side = static_cast<int>(std::ceil(std::sqrt(count)));
            const double pitch = static_cast<double>(size) / side;
            for (int k = 0; k < count; ++k) {
                const auto lx = static_cast<std::int32_t>(x + pitch * (k % side + 0.5));
                const auto ly = static_cast<std::int32_t>(y + pitch * (k / side + 0.5));
                out.push_back(letter(lx, ly, pitch * 0.2, pitch * 0.4, letterPoints()));
            }
            break;
        }
        case CellKind::TouchingPolyline: {
            const Contour box = rectangle(x + size / 3, y + size / 3, x + size - size / 10, y + size - size / 10);
            out.push_back(box);
            // From the box's lower-left corner away towards the cell's corner.
            Contour line{box.front()};
            const int steps = between(1, 4);
            for (int k = 1; k <= steps; ++k)
                line.push_back({box.front().x - k * size / 14 + jitter(20), box.front().y - k * size / 14 + jitter(20)});
            if (between(0, 1) == 1)
                std::reverse(line.begin(), line.end());
            out.push_back(line);
            break;
        }
        case CellKind::FreePolyline: {
            Contour line;
            const int steps = between(1, 6);
            for (int k = 0; k <= steps; ++k)
                line.push_back({x + k * size / (steps + 1), y + between(size / 4, 3 * size / 4)});
            out.push_back(line);
            break;
        }
        case CellKind::Empty:
            break;
        case CellKind::Cup: {
            // A cup open to the right with a smooth round back and a square cavity whose sharp
            // corners lie just behind the back wall, and a small square behind the cup. The
            // cavity's corners weigh less than the smooth back's vertices, so the cheapest
            // connector to the square often runs through the back wall.
            const std::int32_t r = size * 3 / 8;
            const std::int32_t wall = std::max<std::int32_t>(r / 12, 8);
            const std::int32_t bx = cx + size / 8;
            Contour cup;
            const int arc = between(12, 24);
            for (int k = 0; k <= arc; ++k) {
                const double angle = std::numbers::pi / 2 + std::numbers::pi * k / arc;
                cup.push_back({bx + static_cast<std::int32_t>(std::lround(r * std::cos(angle))),
                               cy + static_cast<std::int32_t>(std::lround(r * std::sin(angle)))});
            }
            cup.push_back({bx + r, cy - r});
            cup.push_back({bx + r, cy - r + wall});
            cup.push_back({bx - r + wall, cy - r + wall});
            cup.push_back({bx - r + wall, cy + r - wall});
            cup.push_back({bx + r, cy + r - wall});
            cup.push_back({bx + r, cy + r});
            cup.push_back(cup.front());
            out.push_back(cup);
            const double angle = std::uniform_real_distribution<double>(2.0, 4.3)(m_random);
            const double distance = r + wall * std::uniform_real_distribution<double>(1.0, 4.0)(m_random);
            const auto sx = bx + static_cast<std::int32_t>(std::lround(distance * std::cos(angle)));
            const auto sy = cy + static_cast<std::int32_t>(std::lround(distance * std::sin(angle)));
            const std::int32_t side = std::max<std::int32_t>(wall / 2, 4);
            out.push_back(rectangle(sx - side, sy - side, sx + side, sy + side));
            break;
        }
        case CellKind::SpikyPair: {
            // Two deeply notched stars close together: the nearest vertices often hide behind
            // a spike, which the crossing repair has to walk around.
            const std::int32_t r = size / 4;
            out.push_back(letter(x + r, cy, r * 0.15, r * 0.98, between(7, 16)));
            out.push_back(letter(x + size - r, cy + jitter(r / 2), r * 0.15, r * 0.98, between(7, 16)));
            break;
        }
        }
    }

    std::mt19937 m_random;
    SheetOptions m_options;
};

}  // namespace kerfline::testing
