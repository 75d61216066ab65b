#include "project/tmdichild.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "project/touch_rule.h"
#include "project/vertex_index.h"
#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>
#include <cmath>

namespace kerfline {

std::vector<LeadIn> TMDIChild::leadInCandidates() const
{
    std::vector<LeadIn> candidates;
    const bool anyOpen = std::any_of(figures.begin(), figures.end(), [](const tfigura& f) { return f.open != 0; });
    if (!anyOpen)
        return candidates;

    const std::int32_t tolerance = joinTolerance();
    const std::int64_t limit = std::int64_t{tolerance} * tolerance;
    const VertexIndex index(figures, tolerance);
    for (std::size_t f = 0; f < figures.size(); ++f) {
        const tfigura& figure = figures[f];
        if (figure.open == 0 || figure.points.empty())
            continue;
        // A vertex touches when a vertex of another figure lies within the tolerance circle.
        const auto touches = [&](std::size_t v) {
            bool found = false;
            const Point p = figure.points[v];
            index.forEachNear(p, [&](std::int32_t other, std::int32_t vertex) {
                if (static_cast<std::size_t>(other) != f &&
                    distanceSquared(p, figures[static_cast<std::size_t>(other)].points[static_cast<std::size_t>(vertex)]) <=
                        limit)
                    found = true;
            });
            return found;
        };
        const std::size_t n = figure.points.size();
        const auto anyTouches = [&](std::size_t from, std::size_t to) {
            for (std::size_t v = from; v < to; ++v)
                if (touches(v))
                    return true;
            return false;
        };
        const bool firstTouches = touches(0);
        if (!firstTouches && anyTouches(1, n))
            candidates.push_back({static_cast<std::int32_t>(f), 0});
        else if (touches(n - 1))
            continue;
        else if (anyTouches(0, n - 1))
            candidates.push_back({static_cast<std::int32_t>(f), static_cast<std::int32_t>(n - 1)});
    }
    return candidates;
}

void TMDIChild::selectStartFigure()
{
    selectStartFigure(leadInCandidates());
}

void TMDIChild::selectStartFigure(const std::vector<LeadIn>& candidates)
{
    singleOpenFigure = figures.size() == 1 && figures.front().open != 0 ? 1 : 0;

    int outerCount = 0;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (figures[i].nestLevel == 0) {
            ++outerCount;
            startFigure = static_cast<std::int32_t>(i);
        }
    }
    // A lone outer rectangle drawn as a closed polyline is the start figure as it stands.
    if (outerCount == 1 && figures[static_cast<std::size_t>(startFigure)].points.size() == 5)
        return;

    double nearest = 1e21;
    for (const LeadIn& candidate : candidates) {
        tfigura& figure = figures[static_cast<std::size_t>(candidate.figure)];
        figure.startVertex = candidate.startVertex;
        const double d = std::hypot(static_cast<double>(figure.minX) - minX, static_cast<double>(figure.minY) - minY);
        if (d < nearest) {
            nearest = d;
            startFigure = candidate.figure;
        }
    }

    const auto raiseLevels = [this] {
        for (tfigura& figure : figures)
            ++figure.nestLevel;
    };
    if (!candidates.empty() || mode() == ModeSerial || singleOpenFigure != 0) {
        raiseLevels();
        return;
    }
    if (m_context.configuration.isChecked(Param::AddFrame)) {
        addFrame();
        raiseLevels();
        return;
    }
    addEntryLine();
    raiseLevels();
    connectEntry();
}

std::int32_t TMDIChild::vertexNearestToOrigin(const tfigura& figure) const
{
    std::int32_t best = 0;
    std::int64_t bestDistance = 2000000000;
    const Point origin{minX, minY};
    for (std::size_t v = 0; v < figure.points.size(); ++v) {
        const auto d = roundHalfEven<std::int64_t>(distance(figure.points[v], origin));
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<std::int32_t>(v);
        }
    }
    return best;
}

void TMDIChild::setUpStartFigure()
{
    tfigura& start = figures[static_cast<std::size_t>(startFigure)];
    markConnected(startFigure);
    start.container = -1;
    start.parent = -1;
    start.attachVertex = -1;
    start.startVertex = vertexNearestToOrigin(start);
}

void TMDIChild::linkByTouch(std::int32_t figure, std::int32_t connected, TouchPair pair)
{
    tfigura& a = figures[static_cast<std::size_t>(figure)];
    tfigura& b = figures[static_cast<std::size_t>(connected)];
    snapTouch(a, b, pair);
    a.parent = connected;
    a.attachVertex = pair.vertexB;
    a.startVertex = pair.vertexA;
    markConnected(figure);
}

namespace {

// Vertices of entry lines and connectors move when they snap; every other vertex stays where it
// is for the whole preparation and can be indexed once.
bool staysInPlace(const tfigura& figure)
{
    return figure.kind != kFigureConnector;
}

std::vector<std::int32_t> movableFigures(const std::vector<tfigura>& figures)
{
    std::vector<std::int32_t> movable;
    for (std::size_t f = 0; f < figures.size(); ++f)
        if (!staysInPlace(figures[f]))
            movable.push_back(static_cast<std::int32_t>(f));
    return movable;
}

// The figures that may touch figure `of` as its vertices lie now, ascending: those with an
// indexed vertex near one of its vertices, and every movable figure the filter accepts.
template <typename Accept>
std::vector<std::int32_t> touchCandidates(const std::vector<tfigura>& figures, const VertexIndex& index,
                                          const std::vector<std::int32_t>& movable, std::int32_t of,
                                          const Accept& accept)
{
    std::vector<std::int32_t> candidates;
    for (const Point& p : figures[static_cast<std::size_t>(of)].points)
        index.forEachNear(p, [&](std::int32_t figure, std::int32_t) {
            if (figure != of && accept(figure))
                candidates.push_back(figure);
        });
    for (const std::int32_t f : movable)
        if (f != of && accept(f))
            candidates.push_back(f);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

}  // namespace

void TMDIChild::linkTouchingFigures()
{
    const std::int32_t tolerance = joinTolerance();
    const auto n = static_cast<std::int32_t>(figures.size());
    std::vector<std::int32_t> candidates;
    if (staysInPlace(figures[static_cast<std::size_t>(startFigure)])) {
        const VertexIndex index(figures, tolerance, staysInPlace);
        candidates = touchCandidates(figures, index, movableFigures(figures), startFigure,
                                     [](std::int32_t) { return true; });
    } else {
        // An entry line as the start figure moves with every snap: every figure is tried
        // against its vertices as they are at that moment.
        for (std::int32_t q = 0; q < n; ++q)
            if (q != startFigure)
                candidates.push_back(q);
    }
    for (const std::int32_t q : candidates) {
        const auto pair = touchPair(figures[static_cast<std::size_t>(q)], figures[static_cast<std::size_t>(startFigure)],
                                    tolerance);
        if (pair)
            linkByTouch(q, startFigure, *pair);
    }
}

void TMDIChild::propagateTouches()
{
    const std::int32_t tolerance = joinTolerance();
    const VertexIndex index(figures, tolerance, staysInPlace);
    const std::vector<std::int32_t> movable = movableFigures(figures);
    const auto n = static_cast<std::int32_t>(figures.size());
    for (tfigura& figure : figures)
        figure.linkActive = 1;
    const auto unconnected = [&](std::int32_t f) { return figures[static_cast<std::size_t>(f)].unconnected != 0; };
    const auto firstTouching = [&](std::int32_t k) -> std::optional<std::pair<std::int32_t, TouchPair>> {
        for (const std::int32_t idx : touchCandidates(figures, index, movable, k, unconnected)) {
            if (const auto pair =
                    touchPair(figures[static_cast<std::size_t>(idx)], figures[static_cast<std::size_t>(k)], tolerance))
                return std::pair{idx, *pair};
        }
        return std::nullopt;
    };

    bool added = true;
    while (added) {
        added = false;
        std::int32_t k = 0;
        while (k < n) {
            tfigura& figure = figures[static_cast<std::size_t>(k)];
            if (figure.unconnected == 0 && figure.linkActive != 0) {
                if (const auto found = firstTouching(k)) {
                    linkByTouch(found->first, k, found->second);
                    added = true;
                    // The scan goes on from the figure just linked; figures 0 and 1 start a new scan.
                    if (found->first <= 1)
                        break;
                    k = found->first;
                    continue;
                }
                figure.linkActive = 0;
            }
            ++k;
        }
    }
}

}  // namespace kerfline
