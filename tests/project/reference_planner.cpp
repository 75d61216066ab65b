#include "reference_planner.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "project/nesting.h"
#include "project/touch_rule.h"
#include "shell/app_context.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace kerfline::testing {
namespace {

tfigura& at(TMDIChild& project, std::int32_t index)
{
    return project.figures[static_cast<std::size_t>(index)];
}

std::int32_t count(const TMDIChild& project)
{
    return static_cast<std::int32_t>(project.figures.size());
}

bool identical(const tfigura& a, const tfigura& b)
{
    if (a.points.size() != b.points.size())
        return false;
    for (std::size_t k = 0; k < a.points.size(); ++k)
        if (!(a.points[k] == b.points[k]))
            return false;
    return true;
}

bool inside(const tfigura& i, const tfigura& j)
{
    if (identical(i, j) || j.closed == 0)
        return false;
    if (!(j.minX < i.minX && i.maxX < j.maxX && j.minY < i.minY && i.maxY < j.maxY))
        return false;
    const std::size_t n = j.points.size();
    int below = 0;
    for (const Point& p : i.points) {
        int above = 0;
        below = 0;
        const auto countEdge = [&](Point a, Point b) {
            const std::optional<int> side = edgeSideAbove(p, a, b);
            if (side && *side > 0)
                ++above;
            if (side && *side < 0)
                ++below;
        };
        for (std::size_t k = 0; k + 1 < n; ++k)
            countEdge(j.points[k], j.points[k + 1]);
        countEdge(j.points[0], j.points[n - 1]);
        if (above % 2 == below % 2)
            return below % 2 == 1;
    }
    return below % 2 == 1;
}

void propagateLevels(TMDIChild& project, std::int32_t node)
{
    for (std::int32_t k = 0; k < count(project); ++k) {
        if (at(project, k).container != node)
            continue;
        at(project, k).nestLevel = at(project, node).nestLevel + 1;
        project.maxNestLevel = std::max(project.maxNestLevel, at(project, k).nestLevel);
        propagateLevels(project, k);
    }
}

void link(TMDIChild& project, std::int32_t figure, std::int32_t connected, TouchPair pair)
{
    project.linkByTouch(figure, connected, pair);
}

bool interrupted(TMDIChild& project)
{
    const PendingInput input = project.context().host.takePendingInput();
    return input == PendingInput::KeyDown || input == PendingInput::LeftButtonDown;
}

std::int32_t unconnectedCount(const TMDIChild& project)
{
    return static_cast<std::int32_t>(std::count_if(project.figures.begin(), project.figures.end(),
                                                   [](const tfigura& f) { return f.unconnected != 0; }));
}

void progress(TMDIChild& project)
{
    const double connected = count(project) - unconnectedCount(project);
    project.setStatusText("Ready " + std::to_string(roundHalfEven(100.0 * connected / count(project))) + "%");
}

bool corner(const tfigura& f, std::int32_t v)
{
    return f.vertexInfo[static_cast<std::size_t>(v)].isCorner != 0;
}

std::int32_t weight(const tfigura& f, std::int32_t v)
{
    return f.vertexInfo[static_cast<std::size_t>(v)].weight;
}

std::int32_t stride(const tfigura& f)
{
    return std::max(1, roundHalfEven((static_cast<double>(f.points.size()) - 1.0) / 250.0));
}

WideInt squared(Point a, Point b)
{
    const WideInt dx = std::int64_t{a.x} - b.x;
    const WideInt dy = std::int64_t{a.y} - b.y;
    return dx * dx + dy * dy;
}

bool inNeighbours(const tfigura& c, std::int32_t u)
{
    for (const std::int32_t n : c.neighbours)
        if (n == u)
            return true;
    return false;
}

bool finish(TMDIChild& project, const ConnectionChoice& best)
{
    if (!best.found())
        return false;
    applyConnection(project, best);
    return true;
}

bool globalPair(const TMDIChild& project, const tfigura& u, std::int32_t c)
{
    const tfigura& fc = project.figures[static_cast<std::size_t>(c)];
    if (fc.unconnected != 0 || fc.isDesign == 0)
        return false;
    if (fc.nestLevel > u.nestLevel)
        return false;
    if (c == project.startFigure && fc.closed != 0)
        return false;
    if (fc.nestLevel > 1 && fc.nestLevel == u.nestLevel && fc.container != u.container)
        return false;
    return true;
}

}  // namespace

void referenceNesting(TMDIChild& project)
{
    for (tfigura& f : project.figures) {
        f.nestLevel = 0;
        f.container = -1;
        f.childCount = 0;
    }
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::int32_t i = 0; i < count(project); ++i) {
            for (std::int32_t j = 0; j < count(project); ++j) {
                if (i == j || !inside(at(project, i), at(project, j)))
                    continue;
                const std::int32_t current = at(project, i).container;
                if (current == -1 || at(project, current).nestLevel < at(project, j).nestLevel) {
                    at(project, i).container = j;
                    at(project, i).nestLevel = at(project, j).nestLevel + 1;
                    project.maxNestLevel = std::max(project.maxNestLevel, at(project, i).nestLevel);
                    propagateLevels(project, i);
                    ++at(project, j).childCount;
                    changed = true;
                }
            }
        }
    }
}

std::vector<LeadIn> referenceLeadIns(const TMDIChild& project)
{
    const double tolerance = project.joinTolerance();
    const auto& figures = project.figures;
    std::vector<LeadIn> candidates;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (figures[f].open == 0)
            continue;
        const auto touches = [&](std::size_t v) {
            for (std::size_t g = 0; g < figures.size(); ++g) {
                if (g == f)
                    continue;
                for (const Point& q : figures[g].points)
                    if (distance(figures[f].points[v], q) <= tolerance)
                        return true;
            }
            return false;
        };
        const std::size_t n = figures[f].points.size();
        bool laterTouches = false;
        for (std::size_t v = 1; v < n; ++v)
            laterTouches = laterTouches || touches(v);
        if (!touches(0) && laterTouches) {
            candidates.push_back({static_cast<std::int32_t>(f), 0});
            continue;
        }
        if (touches(n - 1))
            continue;
        for (std::size_t v = 0; v + 1 < n; ++v) {
            if (touches(v)) {
                candidates.push_back({static_cast<std::int32_t>(f), static_cast<std::int32_t>(n - 1)});
                break;
            }
        }
    }
    return candidates;
}

void referenceTouchLinking(TMDIChild& project)
{
    const std::int32_t start = project.startFigure;
    for (std::int32_t q = 0; q < count(project); ++q) {
        if (q == start)
            continue;
        if (const auto pair = touchPair(at(project, q), at(project, start), project.joinTolerance()))
            link(project, q, start, *pair);
    }
}

void referencePropagation(TMDIChild& project)
{
    for (tfigura& f : project.figures)
        f.linkActive = 1;
    bool added = true;
    while (added) {
        added = false;
        std::int32_t k = 0;
        while (k < count(project)) {
            if (at(project, k).unconnected == 0 && at(project, k).linkActive != 0) {
                std::int32_t found = -1;
                TouchPair pair;
                for (std::int32_t idx = 0; idx < count(project) && found < 0; ++idx) {
                    if (at(project, idx).unconnected == 0)
                        continue;
                    if (const auto p = touchPair(at(project, idx), at(project, k), project.joinTolerance())) {
                        found = idx;
                        pair = *p;
                    }
                }
                if (found >= 0) {
                    link(project, found, k, pair);
                    added = true;
                    if (found == 0 || found == 1)
                        break;
                    k = found;
                    continue;
                }
                at(project, k).linkActive = 0;
            }
            ++k;
        }
    }
}

void referenceNeighbourLists(TMDIChild& project)
{
    const std::int32_t n = count(project);
    for (std::int32_t r = 0; r < n; ++r) {
        std::vector<std::int64_t> keys(static_cast<std::size_t>(n));
        std::vector<std::int32_t> order(static_cast<std::size_t>(n));
        for (std::int32_t s = 0; s < n; ++s) {
            const tfigura& fr = at(project, r);
            const tfigura& fs = at(project, s);
            std::int64_t key =
                roundHalfEven<std::int64_t>(distance({fr.centreX, fr.centreY}, {fs.centreX, fs.centreY}));
            if (fs.nestLevel < fr.nestLevel)
                key += 500000000;
            if (fs.container == r)
                key += 500000000;
            keys[static_cast<std::size_t>(s)] = key;
            order[static_cast<std::size_t>(s)] = s;
        }
        bool exchanged = true;
        while (exchanged) {
            exchanged = false;
            for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
                if (keys[k + 1] < keys[k]) {
                    std::swap(keys[k], keys[k + 1]);
                    std::swap(order[k], order[k + 1]);
                    exchanged = true;
                }
            }
        }
        auto& neighbours = at(project, r).neighbours;
        for (std::size_t k = 0; k < neighbours.size(); ++k)
            neighbours[k] = k < order.size() ? order[k] : -1;
    }
}

bool ReferenceSearch::connectInside(TMDIChild& project, std::int32_t a)
{
    ConnectionChoice best;
    for (std::int32_t u = 0; u < count(project); ++u) {
        const tfigura& fu = at(project, u);
        if (fu.unconnected == 0 || fu.container != a)
            continue;
        for (std::int32_t c = 0; c < count(project); ++c) {
            const tfigura& fc = at(project, c);
            if (fc.isDesign == 0 || !((fc.unconnected == 0 && fc.container == a) || c == a))
                continue;
            const std::int32_t su = stride(fu);
            const std::int32_t sc = stride(fc);
            const std::int32_t shiftU = fu.nestLevel % 2 != 0 ? -2 : 2;
            const std::int32_t shiftC = fc.nestLevel % 2 != 0 ? -1 : 1;
            for (std::int32_t vu = 0; vu < static_cast<std::int32_t>(fu.points.size()); vu += su) {
                const Point p = fu.points[static_cast<std::size_t>(vu)];
                const Point pu{p.x + shiftU, p.y + shiftU};
                for (std::int32_t vc = 0; vc < static_cast<std::int32_t>(fc.points.size()); vc += sc) {
                    const Point q = fc.points[static_cast<std::size_t>(vc)];
                    WideInt cost = squared(pu, {q.x + shiftC, q.y + shiftC});
                    if (corner(fu, vu))
                        cost = cost * weight(fu, vu) / 10;
                    if (corner(fc, vc))
                        cost = cost * weight(fc, vc) / 10;
                    if (cost < best.cost)
                        best = {cost, u, c, vu, vc};
                }
            }
        }
    }
    return finish(project, best);
}

bool ReferenceSearch::connectInsideCorners(TMDIChild& project, std::int32_t a)
{
    ConnectionChoice best;
    for (std::int32_t u = 0; u < count(project); ++u) {
        const tfigura& fu = at(project, u);
        if (fu.unconnected == 0 || fu.container != a)
            continue;
        for (std::int32_t c = 0; c < count(project); ++c) {
            const tfigura& fc = at(project, c);
            if (fc.isDesign == 0 || !((fc.unconnected == 0 && fc.container == a) || c == a))
                continue;
            if (!(inNeighbours(fc, u) || fc.open != 0 || fu.open != 0))
                continue;
            for (std::int32_t vu = 1; vu < static_cast<std::int32_t>(fu.points.size()); ++vu) {
                if (!corner(fu, vu))
                    continue;
                for (std::int32_t vc = 1; vc < static_cast<std::int32_t>(fc.points.size()); ++vc) {
                    if (!corner(fc, vc))
                        continue;
                    WideInt cost = squared(fu.points[static_cast<std::size_t>(vu)], fc.points[static_cast<std::size_t>(vc)]);
                    cost = cost * 5 / 10;
                    cost = cost * 5 / 10;
                    if (cost < best.cost)
                        best = {cost, u, c, vu, vc};
                }
            }
        }
    }
    return finish(project, best);
}

bool ReferenceSearch::connectGlobalCorners(TMDIChild& project)
{
    ConnectionChoice best;
    for (std::int32_t u = 0; u < count(project); ++u) {
        const tfigura& fu = at(project, u);
        if (fu.unconnected == 0)
            continue;
        for (std::int32_t c = 0; c < count(project); ++c) {
            const tfigura& fc = at(project, c);
            if (!globalPair(project, fu, c) || !(inNeighbours(fc, u) || fc.open != 0 || fu.open != 0))
                continue;
            for (std::int32_t vu = 0; vu < static_cast<std::int32_t>(fu.points.size()); ++vu) {
                if (!corner(fu, vu))
                    continue;
                for (std::int32_t vc = 0; vc < static_cast<std::int32_t>(fc.points.size()); ++vc) {
                    if (!corner(fc, vc))
                        continue;
                    const WideInt cost =
                        squared(fu.points[static_cast<std::size_t>(vu)], fc.points[static_cast<std::size_t>(vc)]) *
                        weight(fu, vu) * weight(fc, vc);
                    if (cost < best.cost)
                        best = {cost, u, c, vu, vc};
                }
            }
        }
    }
    return finish(project, best);
}

bool ReferenceSearch::connectGlobal(TMDIChild& project)
{
    ConnectionChoice best;
    for (std::int32_t u = 0; u < count(project); ++u) {
        const tfigura& fu = at(project, u);
        if (fu.unconnected == 0)
            continue;
        for (std::int32_t c = 0; c < count(project); ++c) {
            const tfigura& fc = at(project, c);
            if (!globalPair(project, fu, c))
                continue;
            for (std::int32_t vu = 0; vu < static_cast<std::int32_t>(fu.points.size()); vu += stride(fu)) {
                for (std::int32_t vc = 0; vc < static_cast<std::int32_t>(fc.points.size()); vc += stride(fc)) {
                    WideInt cost =
                        squared(fu.points[static_cast<std::size_t>(vu)], fc.points[static_cast<std::size_t>(vc)]);
                    if (corner(fu, vu))
                        cost = cost * weight(fu, vu) / 10;
                    if (corner(fc, vc))
                        cost = cost * weight(fc, vc) / 10;
                    if (cost < best.cost)
                        best = {cost, u, c, vu, vc};
                }
            }
        }
    }
    return finish(project, best);
}

bool referenceConnectRemaining(TMDIChild& project, ConnectorSearch& search)
{
    const bool useNeighbours = count(project) >= 21;
    if (useNeighbours)
        referenceNeighbourLists(project);
    search.begin(project);
    bool startHasChildren = false;
    for (const tfigura& f : project.figures)
        startHasChildren = startHasChildren || f.parent == project.startFigure;
    if (at(project, project.startFigure).closed != 0 && !startHasChildren)
        project.connectEntry();
    referencePropagation(project);

    for (std::int32_t level = project.maxNestLevel; level >= 0; --level) {
        for (std::int32_t q = 0; q < count(project); ++q) {
            if (at(project, q).nestLevel != level || at(project, q).childCount <= 0)
                continue;
            const std::uint8_t saved = at(project, q).unconnected;
            at(project, q).unconnected = 0;
            bool found = search.connectInside(project, q);
            progress(project);
            if (interrupted(project)) {
                at(project, q).unconnected = saved;
                return false;
            }
            while (found) {
                found = at(project, q).childCount > 20 ? search.connectInsideCorners(project, q)
                                                       : search.connectInside(project, q);
                progress(project);
                at(project, q).unconnected = 0;
                if (interrupted(project)) {
                    at(project, q).unconnected = saved;
                    return false;
                }
            }
            at(project, q).unconnected = saved;
        }
    }

    while (true) {
        const bool found = useNeighbours ? search.connectGlobalCorners(project) : search.connectGlobal(project);
        progress(project);
        if (interrupted(project))
            return false;
        if (!found || count(project) > 9999) {
            bool extraFound = false;
            if (unconnectedCount(project) > 0 && count(project) < 10000) {
                extraFound = search.connectGlobal(project);
                progress(project);
            }
            const PendingInput input = project.context().host.takePendingInput();
            if (unconnectedCount(project) == 0 || input == PendingInput::KeyDown ||
                input == PendingInput::LeftButtonDown)
                break;
            if (!found && !extraFound)
                break;
        }
    }
    project.pathReady = 1;
    return true;
}

PreparationReport referenceCiecie(TMDIChild& project)
{
    PreparationReport report;
    project.frameAdded = 0;
    project.buildTurnAngles();
    referenceNesting(project);
    project.selectStartFigure(referenceLeadIns(project));
    project.setUpStartFigure();
    referenceTouchLinking(project);
    referencePropagation(project);
    project.classifyVertices();
    if (unconnectedCount(project) > 0) {
        ReferenceSearch search;
        if (!referenceConnectRemaining(project, search)) {
            report.outcome = PreparationOutcome::Interrupted;
            return report;
        }
    }
    project.pathReady = 1;
    project.finishStartVertex();
    project.computeStartOffsets();
    report.unconnectedFigures = unconnectedCount(project);
    return report;
}

}  // namespace kerfline::testing
