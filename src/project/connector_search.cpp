#include "project/connector_search.h"

#include "project/tmdichild.h"

#include <algorithm>
#include <map>
#include <queue>
#include <vector>

namespace kerfline {

void applyConnection(TMDIChild& project, ConnectionChoice choice)
{
    repairCrossing(project.figures[static_cast<std::size_t>(choice.u)], choice.vu,
                   project.figures[static_cast<std::size_t>(choice.c)], choice.vc);
    project.linkByConnector(choice.c, choice.vc, choice.u, choice.vu);
}

// Each search picks, over every figure u still to connect and every figure c on the connected
// side that its rules allow, the pair of vertices of lowest cost, the first in scanning order
// among equal costs: the smallest (cost, u, c, vu, vc). The cost of a pair of figures never
// changes during a preparation and the connected side only grows, so each figure u keeps its
// best (cost, c, vu, vc) so far; a figure that joins the tree is offered to the figures its
// rules let it reach (every one, or for the corner searches those in its neighbour list and the
// open ones), and the smallest entry of a heap is the search's answer. The exhaustive search
// skips pairs whose extents lie too far apart to beat the best pair found so far.
namespace {

enum class SearchKind { Inside, InsideCorners, GlobalCorners, Global };

bool usesNeighbours(SearchKind kind)
{
    return kind == SearchKind::InsideCorners || kind == SearchKind::GlobalCorners;
}

bool inNeighbours(const tfigura& c, std::int32_t u)
{
    return std::find(c.neighbours.begin(), c.neighbours.end(), u) != c.neighbours.end();
}

// A vertex as the searches read it.
struct Sample {
    Point point;
    std::int32_t vertex;
    std::int32_t weight;
    bool corner;
};

struct Box {
    std::int64_t minX = 0;
    std::int64_t minY = 0;
    std::int64_t maxX = 0;
    std::int64_t maxY = 0;
};

template <typename It, typename PointOf>
Box boxOf(It from, It to, const PointOf& pointOf)
{
    const Point first = pointOf(*from);
    Box box{first.x, first.y, first.x, first.y};
    for (; from != to; ++from) {
        const Point p = pointOf(*from);
        box.minX = std::min<std::int64_t>(box.minX, p.x);
        box.minY = std::min<std::int64_t>(box.minY, p.y);
        box.maxX = std::max<std::int64_t>(box.maxX, p.x);
        box.maxY = std::max<std::int64_t>(box.maxY, p.y);
    }
    return box;
}

// Samples in vertex order with the box of every kBlock of them. Consecutive vertices of a
// contour lie close together, so a block far enough from a vertex is passed over whole: the
// searches stay fast on outlines with many vertices, as offset outlines with round joins are.
struct SampleList {
    static constexpr std::size_t kBlock = 16;
    std::vector<Sample> samples;
    std::vector<Box> blocks;

    void reserve(std::size_t count) { samples.reserve(count); }

    void finish()
    {
        blocks.reserve((samples.size() + kBlock - 1) / kBlock);
        for (std::size_t from = 0; from < samples.size(); from += kBlock)
            blocks.push_back(boxOf(samples.begin() + static_cast<std::ptrdiff_t>(from),
                                   samples.begin() + static_cast<std::ptrdiff_t>(std::min(from + kBlock, samples.size())),
                                   [](const Sample& sample) { return sample.point; }));
    }

    // Calls visit(sample) in order for the samples of every block whose box `skip` does not rule out.
    template <typename Skip, typename Visit>
    void forEach(const Skip& skip, const Visit& visit) const
    {
        for (std::size_t block = 0; block < blocks.size(); ++block) {
            if (skip(blocks[block]))
                continue;
            const std::size_t to = std::min(samples.size(), (block + 1) * kBlock);
            for (std::size_t k = block * kBlock; k < to; ++k)
                visit(samples[k]);
        }
    }
};

// What the searches read of every figure, gathered once per preparation.
struct FigureSamples {
    bool ready = false;
    SampleList sampled;       // every sampleStride-th vertex from 0
    SampleList cornersFrom0;  // corner vertices
    SampleList cornersFrom1;  // corner vertices from vertex 1 on
    Box box;
};

class SampleCache {
public:
    void reset(std::size_t count)
    {
        m_figures.clear();
        m_figures.resize(count);
    }

    const FigureSamples& of(const std::vector<tfigura>& figures, std::int32_t index)
    {
        FigureSamples& samples = m_figures[static_cast<std::size_t>(index)];
        if (samples.ready)
            return samples;
        const tfigura& figure = figures[static_cast<std::size_t>(index)];
        const auto sample = [&](std::size_t v) {
            const auto vertex = static_cast<std::int32_t>(v);
            return Sample{figure.points[v], vertex, cornerWeight(figure, vertex), isCorner(figure, vertex)};
        };
        const auto stride = static_cast<std::size_t>(sampleStride(figure));
        const std::size_t n = figure.points.size();
        // Sized once: growing them vertex by vertex cost more than the searches on a large sheet.
        const auto corners = static_cast<std::size_t>(
            std::count_if(figure.vertexInfo.begin(), figure.vertexInfo.begin() + static_cast<std::ptrdiff_t>(std::min(n, figure.vertexInfo.size())),
                          [](const VertexRecord& record) { return record.isCorner != 0; }));
        samples.sampled.reserve((n + stride - 1) / stride);
        samples.cornersFrom0.reserve(corners);
        samples.cornersFrom1.reserve(corners);
        for (std::size_t v = 0; v < n; v += stride)
            samples.sampled.samples.push_back(sample(v));
        for (std::size_t v = 0; v < n; ++v) {
            if (!isCorner(figure, static_cast<std::int32_t>(v)))
                continue;
            samples.cornersFrom0.samples.push_back(sample(v));
            if (v >= 1)
                samples.cornersFrom1.samples.push_back(sample(v));
        }
        if (!figure.points.empty())
            samples.box = boxOf(figure.points.begin(), figure.points.end(), [](const Point& p) { return p; });
        samples.sampled.finish();
        samples.cornersFrom0.finish();
        samples.cornersFrom1.finish();
        samples.ready = true;
        return samples;
    }

    std::size_t size() const { return m_figures.size(); }

private:
    std::vector<FigureSamples> m_figures;
};

Point shifted(Point p, std::int32_t level, std::int32_t step)
{
    const std::int32_t d = level % 2 != 0 ? -step : step;
    return {static_cast<std::int32_t>(p.x + std::int64_t{d}), static_cast<std::int32_t>(p.y + std::int64_t{d})};
}

// Coordinate differences below this keep a squared distance times two weights of up to 10
// inside 64 bits; the costs of any realistic project are formed there, wider ones in wide
// integers. Both are exact, so the choice never changes a result.
constexpr std::int64_t kNarrowDifference = std::int64_t{1} << 27;

template <typename Weigh>
ConnectionCost costOf(Point a, Point b, const Weigh& weigh)
{
    const std::int64_t dx = std::int64_t{a.x} - b.x;
    const std::int64_t dy = std::int64_t{a.y} - b.y;
    if (-kNarrowDifference < dx && dx < kNarrowDifference && -kNarrowDifference < dy && dy < kNarrowDifference)
        return ConnectionCost{weigh(dx * dx + dy * dy)};
    return weigh(ConnectionCost{dx} * dx + ConnectionCost{dy} * dy);
}

// The least cost `scale` gives a squared distance from p to a point within `box`, widened by
// `slack` (the shift the inside search gives the other figure's vertices): scale must grow with
// the distance, as every cost of the searches does.
template <typename Scale>
ConnectionCost lowerBound(Point p, const Box& box, std::int64_t slack, const Scale& scale)
{
    const std::int64_t dx = std::max<std::int64_t>({0, box.minX - slack - p.x, p.x - box.maxX - slack});
    const std::int64_t dy = std::max<std::int64_t>({0, box.minY - slack - p.y, p.y - box.maxY - slack});
    if (dx < kNarrowDifference && dy < kNarrowDifference)
        return ConnectionCost{scale(dx * dx + dy * dy)};
    return scale(ConnectionCost{dx} * dx + ConnectionCost{dy} * dy);
}

// No pair of a sampled vertex at p with a vertex of a figure within `box` costs less in the
// sampled searches: every corner weight is 5 or more.
ConnectionCost sampleLowerBound(Point p, const Box& box, std::int64_t slack)
{
    return lowerBound(p, box, slack, [](auto d2) { return d2 * 5 / 10 * 5 / 10; });
}

// The best pair of vertices between u and c under a search's rules, vu and then vc ascending,
// the first of equal costs kept. A vertex of u, or a block of vertices of c, whose every pair
// costs more than `bound` or than the best found so far is skipped: none of its pairs could be
// chosen.
ConnectionChoice bestPair(SearchKind kind, const tfigura& u, std::int32_t ui, const FigureSamples& us,
                          const tfigura& c, std::int32_t ci, const FigureSamples& cs, const ConnectionCost& bound)
{
    ConnectionChoice best;
    const auto beyondReach = [&](const ConnectionCost& floor) { return floor > bound || floor > best.cost; };
    const auto hopeless = [&](Point p, std::int64_t slack) { return beyondReach(sampleLowerBound(p, cs.box, slack)); };
    const auto consider = [&](ConnectionCost cost, const Sample& a, const Sample& b) {
        if (cost < best.cost)
            best = {cost, ui, ci, a.vertex, b.vertex};
    };
    // The weights of the sampled searches: a corner's divided by 10, every corner weight 5 or more.
    const auto sampledCost = [](Point pa, const Sample& a, Point pb, const Sample& b) {
        return costOf(pa, pb, [&](auto d2) {
            if (a.corner)
                d2 = d2 * a.weight / 10;
            if (b.corner)
                d2 = d2 * b.weight / 10;
            return d2;
        });
    };
    switch (kind) {
    case SearchKind::Inside:
        for (const Sample& a : us.sampled.samples) {
            const Point pa = shifted(a.point, u.nestLevel, 2);
            if (hopeless(pa, 1))
                continue;
            cs.sampled.forEach([&](const Box& box) { return beyondReach(sampleLowerBound(pa, box, 1)); },
                               [&](const Sample& b) { consider(sampledCost(pa, a, shifted(b.point, c.nestLevel, 1), b), a, b); });
        }
        break;
    case SearchKind::InsideCorners: {
        const auto scale = [](auto d2) { return d2 * 5 / 10 * 5 / 10; };
        for (const Sample& a : us.cornersFrom1.samples)
            cs.cornersFrom1.forEach([&](const Box& box) { return beyondReach(lowerBound(a.point, box, 0, scale)); },
                                    [&](const Sample& b) { consider(costOf(a.point, b.point, scale), a, b); });
        break;
    }
    case SearchKind::GlobalCorners:
        for (const Sample& a : us.cornersFrom0.samples) {
            const auto atLeast = [&](auto d2) { return d2 * a.weight * 5; };
            cs.cornersFrom0.forEach([&](const Box& box) { return beyondReach(lowerBound(a.point, box, 0, atLeast)); },
                                    [&](const Sample& b) {
                                        consider(costOf(a.point, b.point, [&](auto d2) { return d2 * a.weight * b.weight; }), a, b);
                                    });
        }
        break;
    case SearchKind::Global:
        for (const Sample& a : us.sampled.samples) {
            if (hopeless(a.point, 0))
                continue;
            cs.sampled.forEach([&](const Box& box) { return beyondReach(sampleLowerBound(a.point, box, 0)); },
                               [&](const Sample& b) { consider(sampledCost(a.point, a, b.point, b), a, b); });
        }
        break;
    }
    return best;
}

// No pair of vertices of the exhaustive search between two figures whose boxes are this far
// apart costs less: every corner weight is 5 or more.
ConnectionCost globalLowerBound(const Box& a, const Box& b)
{
    const std::int64_t dx = std::max<std::int64_t>({0, b.minX - a.maxX, a.minX - b.maxX});
    const std::int64_t dy = std::max<std::int64_t>({0, b.minY - a.maxY, a.minY - b.maxY});
    const ConnectionCost gap = ConnectionCost{dx} * dx + ConnectionCost{dy} * dy;
    return gap * 5 / 10 * 5 / 10;
}

// One search kind (and, for the inside searches, one container) kept up to date: the figures
// still to connect with the best pair each has to the connected side so far. A figure that
// joins the tree leaves the first set and, when the rules let it, offers itself to the rest.
class IncrementalSearch {
public:
    // `members` are the figures that can take part, ascending: a container's children for the
    // inside searches, every figure for the global ones.
    IncrementalSearch(SearchKind kind, std::int32_t container, TMDIChild& project, SampleCache& cache,
                      const std::vector<std::int32_t>& members)
        : m_kind(kind), m_container(container), m_cache(cache)
    {
        const std::vector<tfigura>& figures = project.figures;
        for (const std::int32_t f : members)
            if (acceptsU(figures[static_cast<std::size_t>(f)]))
                addSlot(f, figures[static_cast<std::size_t>(f)]);
        m_logPosition = project.connectionOrder().size();
        if (isInside() && acceptsC(container, figures[static_cast<std::size_t>(container)]))
            relax(project, container);
        for (const std::int32_t f : members) {
            const tfigura& figure = figures[static_cast<std::size_t>(f)];
            if (figure.unconnected == 0 && f != container && acceptsC(f, figure))
                relax(project, f);
        }
    }

    ConnectionChoice next(TMDIChild& project)
    {
        const std::vector<std::int32_t>& order = project.connectionOrder();
        const std::size_t from = m_logPosition;
        m_logPosition = order.size();
        for (std::size_t k = from; k < order.size(); ++k)
            retire(order[k]);
        for (std::size_t k = from; k < order.size(); ++k) {
            const std::int32_t f = order[k];
            if (static_cast<std::size_t>(f) < m_cache.size() && acceptsC(f, project.figures[static_cast<std::size_t>(f)]))
                relax(project, f);
        }
        while (!m_heap.empty()) {
            const ConnectionChoice top = m_heap.top();
            m_heap.pop();
            const Slot& slot = m_slots[static_cast<std::size_t>(slotOf(top.u))];
            if (slot.live && !(slot.best < top) && !(top < slot.best))
                return top;
        }
        return {};
    }

private:
    struct Slot {
        std::int32_t figure = 0;
        bool live = true;
        bool open = false;
        ConnectionChoice best;
    };

    bool isInside() const { return m_kind == SearchKind::Inside || m_kind == SearchKind::InsideCorners; }

    bool acceptsU(const tfigura& u) const
    {
        if (u.unconnected == 0)
            return false;
        return !isInside() || u.container == m_container;
    }

    bool acceptsC(std::int32_t index, const tfigura& c) const
    {
        if (c.isDesign == 0)
            return false;
        return !isInside() || c.container == m_container || index == m_container;
    }

    void addSlot(std::int32_t figure, const tfigura& u)
    {
        m_slots.push_back({figure, true, u.open != 0, {}});
        const auto slot = static_cast<std::int32_t>(m_slots.size() - 1);
        m_liveSlots.push_back(slot);
        m_livePosition.push_back(m_liveSlots.size() - 1);
        if (u.open != 0)
            m_openSlots.push_back(slot);
    }

    // Slots are made in ascending figure order.
    std::int32_t slotOf(std::int32_t figure) const
    {
        const auto it = std::lower_bound(m_slots.begin(), m_slots.end(), figure,
                                         [](const Slot& s, std::int32_t f) { return s.figure < f; });
        return it != m_slots.end() && it->figure == figure ? static_cast<std::int32_t>(it - m_slots.begin()) : -1;
    }

    void retire(std::int32_t figure)
    {
        const std::int32_t slot = slotOf(figure);
        if (slot < 0 || !m_slots[static_cast<std::size_t>(slot)].live)
            return;
        m_slots[static_cast<std::size_t>(slot)].live = false;
        const std::size_t position = m_livePosition[static_cast<std::size_t>(slot)];
        const std::int32_t moved = m_liveSlots.back();
        m_liveSlots[position] = moved;
        m_livePosition[static_cast<std::size_t>(moved)] = position;
        m_liveSlots.pop_back();
    }

    bool pairAllowed(const tfigura& u, std::int32_t ui, const tfigura& c, std::int32_t ci,
                     const TMDIChild& project) const
    {
        if (m_kind == SearchKind::GlobalCorners || m_kind == SearchKind::Global) {
            if (c.nestLevel > u.nestLevel)
                return false;
            if (ci == project.startFigure && c.closed != 0)
                return false;
            if (c.nestLevel > 1 && c.nestLevel == u.nestLevel && c.container != u.container)
                return false;
        }
        if (usesNeighbours(m_kind))
            return inNeighbours(c, ui) || c.open != 0 || u.open != 0;
        return true;
    }

    void offer(const TMDIChild& project, std::int32_t slotIndex, std::int32_t ci)
    {
        Slot& slot = m_slots[static_cast<std::size_t>(slotIndex)];
        if (!slot.live)
            return;
        const std::vector<tfigura>& figures = project.figures;
        const tfigura& u = figures[static_cast<std::size_t>(slot.figure)];
        const tfigura& c = figures[static_cast<std::size_t>(ci)];
        if (!pairAllowed(u, slot.figure, c, ci, project))
            return;
        const FigureSamples& us = m_cache.of(figures, slot.figure);
        const FigureSamples& cs = m_cache.of(figures, ci);
        if (m_kind == SearchKind::Global && globalLowerBound(us.box, cs.box) > slot.best.cost)
            return;
        const ConnectionChoice candidate = bestPair(m_kind, u, slot.figure, us, c, ci, cs, slot.best.cost);
        if (candidate.found() && candidate < slot.best) {
            slot.best = candidate;
            m_heap.push(candidate);
        }
    }

    // Figure c is on the connected side now: every figure the rules let it reach may improve.
    void relax(const TMDIChild& project, std::int32_t c)
    {
        const tfigura& figure = project.figures[static_cast<std::size_t>(c)];
        if (!usesNeighbours(m_kind) || figure.open != 0) {
            for (std::size_t k = 0; k < m_liveSlots.size(); ++k)
                offer(project, m_liveSlots[k], c);
            return;
        }
        for (const std::int32_t u : figure.neighbours) {
            const std::int32_t slot = u >= 0 ? slotOf(u) : -1;
            if (slot >= 0 && !m_slots[static_cast<std::size_t>(slot)].open)
                offer(project, slot, c);
        }
        for (const std::int32_t slot : m_openSlots)
            offer(project, slot, c);
    }

    struct Later {
        bool operator()(const ConnectionChoice& a, const ConnectionChoice& b) const { return b < a; }
    };

    SearchKind m_kind;
    std::int32_t m_container;
    SampleCache& m_cache;
    std::vector<Slot> m_slots;
    std::vector<std::int32_t> m_liveSlots;
    std::vector<std::size_t> m_livePosition;
    std::vector<std::int32_t> m_openSlots;
    std::priority_queue<ConnectionChoice, std::vector<ConnectionChoice>, Later> m_heap;
    std::size_t m_logPosition = 0;
};

class FastConnectorSearch : public ConnectorSearch {
public:
    void begin(TMDIChild& project) override
    {
        const std::size_t n = project.figures.size();
        m_searches.clear();
        m_cache.reset(n);
        m_everyFigure.resize(n);
        m_children.assign(n, {});
        for (std::size_t f = 0; f < n; ++f) {
            m_everyFigure[f] = static_cast<std::int32_t>(f);
            const std::int32_t container = project.figures[f].container;
            if (container >= 0 && static_cast<std::size_t>(container) < n)
                m_children[static_cast<std::size_t>(container)].push_back(static_cast<std::int32_t>(f));
        }
        m_begun = true;
    }

    bool connectInside(TMDIChild& project, std::int32_t container) override
    {
        return run(project, SearchKind::Inside, container);
    }
    bool connectInsideCorners(TMDIChild& project, std::int32_t container) override
    {
        return run(project, SearchKind::InsideCorners, container);
    }
    bool connectGlobalCorners(TMDIChild& project) override { return run(project, SearchKind::GlobalCorners, -1); }
    bool connectGlobal(TMDIChild& project) override { return run(project, SearchKind::Global, -1); }

private:
    bool run(TMDIChild& project, SearchKind kind, std::int32_t container)
    {
        if (!m_begun)
            begin(project);
        const bool inside = kind == SearchKind::Inside || kind == SearchKind::InsideCorners;
        if ((inside && container < 0) || container >= static_cast<std::int32_t>(m_children.size()))
            return false;
        const std::pair key{static_cast<int>(kind), container};
        auto it = m_searches.find(key);
        if (it == m_searches.end()) {
            // A container's searches are done once the driver moves on to the next container.
            if (container >= 0)
                std::erase_if(m_searches, [container](const auto& entry) {
                    return entry.first.second >= 0 && entry.first.second != container;
                });
            const std::vector<std::int32_t>& members =
                container >= 0 ? m_children[static_cast<std::size_t>(container)] : m_everyFigure;
            it = m_searches
                     .emplace(key, std::make_unique<IncrementalSearch>(kind, container, project, m_cache, members))
                     .first;
        }
        const ConnectionChoice choice = it->second->next(project);
        if (!choice.found())
            return false;
        applyConnection(project, choice);
        return true;
    }

    bool m_begun = false;
    SampleCache m_cache;
    std::vector<std::int32_t> m_everyFigure;
    std::vector<std::vector<std::int32_t>> m_children;
    std::map<std::pair<int, std::int32_t>, std::unique_ptr<IncrementalSearch>> m_searches;
};

}  // namespace

std::unique_ptr<ConnectorSearch> makeConnectorSearch()
{
    return std::make_unique<FastConnectorSearch>();
}

}  // namespace kerfline
