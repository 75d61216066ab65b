#include "placement/duplication.h"

#include "geometry/geometry.h"
#include "project/tmdichild.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kerfline {
namespace {

constexpr const char* kSection = "Duplication_parameters";
// One millimetre in plotter units: the line keeps this much more room at its ends.
constexpr std::int64_t kOneMm = 40;

std::int64_t integerPart(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<std::int64_t>(std::trunc(std::clamp(value, -1e15, 1e15)));
}

// The plotter-unit values of the generation.
struct Layout {
    std::int64_t n = 0, m = 0;
    std::int32_t ox = 0, oy = 0;  // element and row offsets
    std::int32_t dv = 0, dh = 0;  // distances of the line's vertical and horizontal parts
    std::int32_t e = 0;           // a tenth of the element offset
};

Layout layoutOf(const DuplicationParameters& p)
{
    Layout l;
    l.n = integerPart(p.elementsInRow);
    l.m = integerPart(p.rows);
    l.ox = mmToUnits(p.elementOffset);
    l.oy = mmToUnits(p.rowOffset);
    // A line right on the elements would touch them everywhere.
    l.dv = std::max(mmToUnits(p.verticalLineDistance), 1);
    l.dh = std::max(mmToUnits(p.horizontalLineDistance), 1);
    l.e = mmToUnits(p.elementOffset * 10 / 100);
    return l;
}

bool fitsInUnits(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min() / 2 && value <= std::numeric_limits<std::int32_t>::max() / 2;
}

}  // namespace

DuplicationParameters defaultDuplication(double patternWidthMm, double patternHeightMm)
{
    DuplicationParameters p;
    p.elementOffset = patternWidthMm + 10;
    p.rowOffset = patternHeightMm + 10;
    p.verticalLineDistance = (p.elementOffset - patternWidthMm) / 2;
    p.horizontalLineDistance = (p.rowOffset - patternHeightMm) / 2;
    return p;
}

std::optional<DuplicationRefusal> duplicationRefusal(const DuplicationParameters& p, double patternWidthMm,
                                                     double patternHeightMm, bool overlapAccepted)
{
    using F = DuplicationField;
    if (integerPart(p.elementsInRow) < 1)
        return DuplicationRefusal{kSection, "BlednaIloscElem", F::ElementsInRow};
    if (integerPart(p.rows) < 1)
        return DuplicationRefusal{kSection, "BlednaIloscWierszy", F::Rows};
    if (p.elementOffset < patternWidthMm && !overlapAccepted)
        return DuplicationRefusal{kSection, "ElNachodzaNaSiebie", F::ElementOffset, true};
    if (p.rowOffset < patternHeightMm)
        return DuplicationRefusal{kSection, "BlednePrzesMdzyWier", F::RowOffset};
    if (!(p.verticalLineDistance < p.elementOffset - patternWidthMm))
        return DuplicationRefusal{kSection, "OdlLacznikaPionZaDuza", F::VerticalDistance};
    if (!(p.horizontalLineDistance < p.rowOffset - patternHeightMm))
        return DuplicationRefusal{kSection, "OdlLacznikaPoziomZaDuza", F::HorizontalDistance};
    // The whole sheet in 64 bits: offsets times counts must stay well inside the plotter units.
    const Layout l = layoutOf(p);
    const std::int64_t sheetWidth = l.n * std::int64_t{l.ox} + std::int64_t{mmToUnits(patternWidthMm)} + 2 * l.dv;
    const std::int64_t sheetHeight = l.m * std::int64_t{l.oy} + std::int64_t{mmToUnits(patternHeightMm)} + 2 * l.dh;
    if (!fitsInUnits(sheetWidth) || !fitsInUnits(sheetHeight) || !fitsInUnits(l.n * l.m))
        return DuplicationRefusal{"Main_window", "projektZaDuzy", F::ElementsInRow};
    return std::nullopt;
}

std::vector<Point> connectingLine(const TMDIChild& pattern, const DuplicationParameters& parameters,
                                  const std::vector<tfigura>& copies)
{
    const Layout l = layoutOf(parameters);
    const auto F = static_cast<std::int64_t>(pattern.figures.size());
    const std::int64_t s = pattern.startFigure;
    const std::int32_t W = pattern.width;
    const std::int64_t n = l.n;
    const std::int64_t m = l.m;
    // The start figure of copy (r, c) and its first point.
    const auto startOf = [&](std::int64_t r, std::int64_t c) -> const tfigura& {
        return copies[static_cast<std::size_t>(s + (c + r * n) * F)];
    };
    const auto P = [&](std::int64_t r, std::int64_t c) { return startOf(r, c).points.front(); };

    std::vector<Point> line;
    const auto add = [&](std::int64_t x, std::int64_t y) {
        line.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
    };
    const bool oddRows = m % 2 == 1;
    const std::int64_t beginX = std::int64_t{pattern.minX} - l.dv - kOneMm;
    const std::int64_t beginY = std::int64_t{pattern.minY} - l.dv - (oddRows ? kOneMm : 0);
    add(beginX, beginY);
    add(beginX, beginY + std::int64_t{l.oy} * (m - 1));
    // Into the first copy of the top row at its own start.
    add(P(m - 1, 0).x, P(m - 1, 0).y);

    for (std::int64_t r = m - 1; r >= 0; --r) {
        const bool leftToRight = (m - r - 1) % 2 == 0;
        for (std::int64_t k = 0; k < n; ++k) {
            const std::int64_t c = leftToRight ? k : n - 1 - k;
            const Point Q = P(r, c);
            std::int64_t x = Q.x;
            std::int64_t y = Q.y;
            if (leftToRight) {
                if (r == 0 && c == n - 1)
                    continue;
                add(x, y);
                x += l.e;
                y -= l.dh;
                add(x, y);
                if (c < n - 1) {
                    x += std::int64_t{l.ox} - 2 * l.e;
                    add(x, y);
                    add(std::int64_t{Q.x} + l.ox, Q.y);
                } else {
                    x += std::int64_t{W} + l.dv - l.e;
                    add(x, y);
                    if (r >= 1) {
                        y -= l.oy;
                        add(x, y);
                        x += std::int64_t{l.e} - W - l.dv;
                        add(x, y);
                        add(Q.x, std::int64_t{Q.y} - l.oy);
                    }
                }
            } else {
                add(x, y);
                if (c <= 0) {
                    if (r == 0)
                        continue;
                    const std::int64_t left = std::int64_t{startOf(r, c).minX} - l.dv;
                    add(left, y - l.dh);
                    add(left, y - l.dh - l.oy);
                    add(Q.x, std::int64_t{Q.y} - l.oy);
                } else {
                    x -= l.e;
                    y -= l.dh;
                    add(x, y);
                    x += 2 * std::int64_t{l.e} - l.ox;
                    add(x, y);
                    add(std::int64_t{Q.x} - l.ox, Q.y);
                }
            }
        }
    }
    if (oddRows) {
        const Point R = P(0, n - 1);
        add(R.x, R.y);
        const std::int64_t below = std::int64_t{R.y} - l.dh - kOneMm;
        add(R.x, below);
        add(std::int64_t{P(0, 0).x} - l.dv - kOneMm, below);
    } else {
        add(P(0, 0).x, P(0, 0).y);
        add(std::int64_t{pattern.minX} - l.dv - kOneMm, std::int64_t{pattern.minY} - l.dv);
    }
    return line;
}

void duplicate(const TMDIChild& pattern, const DuplicationParameters& parameters, TMDIChild& result)
{
    const Layout l = layoutOf(parameters);
    result.figures.clear();
    for (std::int64_t r = 0; r < l.m; ++r) {
        for (std::int64_t c = 0; c < l.n; ++c) {
            for (const tfigura& source : pattern.figures) {
                tfigura copy;
                copy.pen = source.pen;
                copy.penWidth = source.penWidth;
                copy.sourceFigure = -1;
                copy.points.reserve(source.points.size());
                for (const Point p : source.points)
                    copy.points.push_back({static_cast<std::int32_t>(p.x + c * l.ox), static_cast<std::int32_t>(p.y + r * l.oy)});
                result.AddFigure(std::move(copy));
            }
        }
    }
    const auto start = static_cast<std::size_t>(pattern.startFigure);
    if (start < pattern.figures.size() && !pattern.figures[start].points.empty()) {
        tfigura line;
        line.sourceFigure = -1;
        line.points = connectingLine(pattern, parameters, result.figures);
        result.AddLacznik(std::move(line), 1);
    }
    result.Ustaw_PPiPK();
    result.maxNestLevel = 0;
    result.selectedFigure = -1;
    for (tfigura& figure : result.figures) {
        figure.originX = result.minX;
        figure.originY = result.minY;
    }
    result.ciecie();
}

}  // namespace kerfline
