#include "placement/mixing.h"

#include "base/round.h"
#include "project/simulation_replay.h"
#include "base/app_context.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kerfline {
namespace {

// Neighbouring pairs closer than this on both paths are one point, plotter units (0.5 mm).
constexpr double kSamePairDistance = 20.0;

Point pointOf(const MixSource& record)
{
    return {record.x, record.y};
}

double between(Point a, Point b)
{
    return std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
}

// Step 4 of the mixing: both recordings start at one point and end at one point.
void alignEnds(MixSource& a, MixSource& b)
{
    a.x = b.x = std::max(a.x, b.x);
    a.y = b.y = std::max(a.y, b.y);
}

// The last record of the run that starts at `start`: the records after it with the tag of the
// first record after it.
std::size_t runEnd(const std::vector<MixSource>& records, std::size_t start)
{
    const std::int32_t tag = records[start + 1].figure;
    std::size_t end = start + 1;
    while (end + 1 < records.size() && records[end + 1].figure == tag)
        ++end;
    return end;
}

// One run's points and their lengths along it from its first point.
struct Run {
    std::vector<Point> points;
    std::vector<double> along;

    Run(const std::vector<MixSource>& records, std::size_t first, std::size_t last)
    {
        double length = 0.0;
        for (std::size_t i = first; i <= last; ++i) {
            const Point p = pointOf(records[i]);
            if (!points.empty())
                length += between(points.back(), p);
            points.push_back(p);
            along.push_back(length);
        }
    }

    double length() const { return along.back(); }

    // Where an interior point lies along the run, as a fraction of its length; a run of no
    // length puts every point at its start.
    double fractionAt(std::size_t i) const { return length() > 0.0 ? along[i] / length() : 0.0; }

    // The point at a fraction of the run's length, rounded to units.
    Point at(double fraction) const
    {
        const double target = fraction * length();
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const double segment = along[k + 1] - along[k];
            if (target > along[k + 1] || segment <= 0.0)
                continue;
            const double t = (target - along[k]) / segment;
            return {roundHalfEven(points[k].x + t * (static_cast<double>(points[k + 1].x) - points[k].x)),
                    roundHalfEven(points[k].y + t * (static_cast<double>(points[k + 1].y) - points[k].y))};
        }
        return target > 0.0 ? points.back() : points.front();
    }
};

// Appends the run pair without its first points, which the previous run ended on.
void appendRuns(const Run& front, const Run& back, PairedPaths& out)
{
    const std::size_t frontCount = front.points.size();
    const std::size_t backCount = back.points.size();
    if (frontCount == backCount) {
        out.front.insert(out.front.end(), front.points.begin() + 1, front.points.end());
        out.back.insert(out.back.end(), back.points.begin() + 1, back.points.end());
        return;
    }
    // Every interior point of one run gets a partner at the same fraction of the other run's
    // length; on equal fractions the front's own point comes first on both sides.
    std::size_t i = 1;
    std::size_t j = 1;
    while (i + 1 < frontCount || j + 1 < backCount) {
        const bool frontNext =
            j + 1 >= backCount || (i + 1 < frontCount && front.fractionAt(i) <= back.fractionAt(j));
        if (frontNext) {
            out.front.push_back(front.points[i]);
            out.back.push_back(back.at(front.fractionAt(i)));
            ++i;
        } else {
            out.front.push_back(front.at(back.fractionAt(j)));
            out.back.push_back(back.points[j]);
            ++j;
        }
    }
    out.front.push_back(front.points.back());
    out.back.push_back(back.points.back());
}

tfigura mixedFigure(TMDIChild& mix, std::vector<Point> points, std::uint8_t pen)
{
    tfigura figure;
    figure.points = std::move(points);
    figure.sourceFigure = -1;
    mix.licz_parametry(figure);
    // Vertex records as for an open outline, ends a quarter turn; the pair is then cut as one
    // closed figure each, from vertex 0.
    figure.open = 0;
    figure.closed = 0;
    figure.pen = pen;
    return figure;
}

}  // namespace

std::optional<PairedPaths> pairRecordings(std::vector<MixSource> front, std::vector<MixSource> back)
{
    if (front.empty() || back.empty())
        return std::nullopt;
    alignEnds(front.front(), back.front());
    alignEnds(front.back(), back.back());

    PairedPaths out;
    out.front.push_back(pointOf(front.front()));
    out.back.push_back(pointOf(back.front()));
    std::size_t frontStart = 0;
    std::size_t backStart = 0;
    for (;;) {
        const bool frontDone = frontStart + 1 >= front.size();
        const bool backDone = backStart + 1 >= back.size();
        // Either recording may end first; the other then has runs nobody pairs.
        if (frontDone || backDone) {
            if (frontDone != backDone)
                return std::nullopt;
            return out;
        }
        const std::size_t frontEnd = runEnd(front, frontStart);
        const std::size_t backEnd = runEnd(back, backStart);
        appendRuns(Run(front, frontStart, frontEnd), Run(back, backStart, backEnd), out);
        frontStart = frontEnd;
        backStart = backEnd;
    }
}

void dropClosePairs(PairedPaths& paths)
{
    PairedPaths kept;
    for (std::size_t k = 0; k < paths.front.size(); ++k) {
        if (!kept.front.empty() && between(kept.front.back(), paths.front[k]) < kSamePairDistance &&
            between(kept.back.back(), paths.back[k]) < kSamePairDistance)
            continue;
        kept.front.push_back(paths.front[k]);
        kept.back.push_back(paths.back[k]);
    }
    paths = std::move(kept);
}

bool pomieszaj(TMDIChild& front, TMDIChild& back, TMDIChild& mix)
{
    const AppContext& context = mix.context();
    const auto refuse = [&] {
        mix.figures.clear();
        context.language.ShowMessageBox(context.Text("Main_window", "QdiloscFigurJednakowa"), false, mix.fileName);
        return false;
    };
    if (front.figures.size() != back.figures.size())
        return refuse();

    recordMixSources(front);
    recordMixSources(back);
    std::optional<PairedPaths> paths = pairRecordings(front.mixSources, back.mixSources);
    if (!paths)
        return refuse();
    dropClosePairs(*paths);

    mix.minX = std::min(front.minX, back.minX);
    mix.minY = std::min(front.minY, back.minY);
    mix.maxX = std::max(front.maxX, back.maxX);
    mix.maxY = std::max(front.maxY, back.maxY);
    mix.width = std::max(front.width, back.width);
    mix.height = std::max(front.height, back.height);
    mix.pathReady = 1;
    mix.selectedFigure = -1;

    // Both shapes move by the project's minimum, so the project starts at 0.
    const Point shift{mix.minX, mix.minY};
    for (std::vector<Point>* path : {&paths->front, &paths->back})
        for (Point& p : *path)
            p = {p.x - shift.x, p.y - shift.y};
    mix.figures.clear();
    mix.figures.push_back(mixedFigure(mix, std::move(paths->front), 4));
    mix.figures.push_back(mixedFigure(mix, std::move(paths->back), 3));
    mix.buildTurnAngles();
    for (std::size_t i = 0; i < mix.figures.size(); ++i) {
        tfigura& figure = mix.figures[i];
        figure.number = static_cast<std::int32_t>(i);
        figure.closed = 1;
        figure.unconnected = 1;
        figure.parent = -1;
        figure.attachVertex = -1;
        figure.container = -1;
        figure.startVertex = 0;
        figure.originX = 0;
        figure.originY = 0;
    }
    mix.maxX -= shift.x;
    mix.maxY -= shift.y;
    mix.minX = 0;
    mix.minY = 0;
    mix.synchronousPair = 1;
    mix.singleOpenFigure = 0;
    mix.frameAdded = 0;
    mix.startFigure = 0;
    mix.cutLength = std::max(front.cutLength, back.cutLength);
    mix.fileType = front.fileType;
    return true;
}

}  // namespace kerfline
