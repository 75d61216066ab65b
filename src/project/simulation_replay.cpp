#include "project/simulation_replay.h"

#include "geometry/geometry.h"
#include "project/cut_path_walk.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace kerfline {
namespace {

// The turning saves start their reference far above the axis.
constexpr Point kTurningReference{0, 1000000};
constexpr double kPairLineWaitMs = 50.0;

ReplayStep stepOf(ReplayStep::Kind kind, Point point, std::int32_t figure = -1, std::int32_t vertex = -1)
{
    return {kind, point, {}, 0.0, figure, vertex};
}

ReplayStep pauseOf(double ms)
{
    return {ReplayStep::Kind::Pause, {}, {}, ms, -1, -1};
}

bool stopped(const TMDIChild& project)
{
    return project.simulationStopped != 0;
}

double distanceBetween(Point a, Point b)
{
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool replaysAsRotary(const TMDIChild& project, bool& turning)
{
    const int device = project.context().configuration.choice(Param::StolikSwitch);
    turning = false;
    switch (project.mode()) {
    case ModeRotary: return true;
    case ModeSerial: return device == DeviceSpindle;  // prepared as a rotary project
    case ModeTurning:
        turning = true;
        return device != DeviceNone;
    default: return false;
    }
}

void replayRotary(TMDIChild& project, bool turning, const ReplaySink& sink)
{
    const int catDir = project.context().configuration.choice(Param::CatDir);
    const Point corner{project.minX, project.minY};
    sink(stepOf(ReplayStep::Kind::Place, corner));
    Point reference = turning ? kTurningReference : Point{0, 0};
    for (std::size_t f = 0; f < project.figures.size() && !stopped(project); ++f) {
        const tfigura& figure = project.figures[f];
        if (figure.cutEnabled == 0 || (turning && figure.turnOrder == 0) || figure.points.empty())
            continue;
        bool forward = catDir == 0;
        if (catDir == 2)
            forward = distanceBetween(reference, figure.points.back()) > distanceBetween(reference, figure.points.front());
        const auto count = static_cast<std::int32_t>(figure.points.size());
        const auto vertexAt = [&](std::int32_t step) { return forward ? step : count - 1 - step; };
        const auto figureIndex = static_cast<std::int32_t>(f);
        sink(stepOf(ReplayStep::Kind::Travel, figure.points[static_cast<std::size_t>(vertexAt(0))], figureIndex,
                    vertexAt(0)));
        for (std::int32_t step = 1; step < count && !stopped(project); ++step) {
            const std::int32_t v = vertexAt(step);
            sink(stepOf(ReplayStep::Kind::Cut, figure.points[static_cast<std::size_t>(v)], figureIndex, v));
        }
        reference = figure.points[static_cast<std::size_t>(vertexAt(count - 1))];
    }
    if (!stopped(project))
        sink(stepOf(ReplayStep::Kind::Travel, corner));
}

void replayPair(TMDIChild& project, const ReplaySink& sink)
{
    if (project.figures.size() < 2)
        return;
    const std::vector<Point>& front = project.figures[0].points;
    const std::vector<Point>& back = project.figures[1].points;
    const std::size_t count = std::min(front.size(), back.size());
    for (std::size_t i = 1; i < count && !stopped(project); ++i) {
        if (i > 1)
            sink(pauseOf(kPairLineWaitMs));
        if (!stopped(project))
            sink({ReplayStep::Kind::PairLine, front[i], back[i], 0.0, 0, static_cast<std::int32_t>(i)});
    }
}

// The walk of the cut tree, its points and corner pauses handed on as steps.
class ReplayVisitor : public CutPathVisitor {
public:
    ReplayVisitor(TMDIChild& project, const ReplaySink& sink, bool withPauses)
        : m_project(project), m_sink(sink), m_withPauses(withPauses),
          m_pauseMs(project.context().configuration.number(Param::Pauza_w_kacie) / 4.0)
    {
    }

    void cornerPause() override
    {
        if (m_withPauses)
            m_sink(pauseOf(m_pauseMs));
    }

    void point(std::int32_t figure, std::int32_t vertex) override
    {
        const tfigura& f = m_project.figures[static_cast<std::size_t>(figure)];
        m_sink(stepOf(ReplayStep::Kind::Cut, f.points[static_cast<std::size_t>(vertex)], figure, vertex));
    }

private:
    TMDIChild& m_project;
    const ReplaySink& m_sink;
    bool m_withPauses;
    double m_pauseMs;
};

// A single open figure is entered from the end the feed direction comes from: feeding to the left
// starts at the end with the larger X (vertex 0 on a tie), to the right at the smaller X (the last
// vertex on a tie).
void chooseSingleOpenStart(TMDIChild& project)
{
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (project.singleOpenFigure == 0 || start >= project.figures.size())
        return;
    tfigura& figure = project.figures[start];
    if (figure.points.empty())
        return;
    const std::int32_t firstX = figure.points.front().x;
    const std::int32_t lastX = figure.points.back().x;
    const auto last = static_cast<std::int32_t>(figure.points.size()) - 1;
    if (project.directionX[0] == 255)
        figure.startVertex = lastX > firstX ? last : 0;
    else
        figure.startVertex = lastX <= firstX ? last : 0;
}

void replayTwoDimensional(TMDIChild& project, const ReplaySink& sink, bool withPauses)
{
    chooseSingleOpenStart(project);
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (start >= project.figures.size() || project.figures[start].points.empty())
        return;
    tfigura& figure = project.figures[start];
    if (figure.startVertex < 0 || static_cast<std::size_t>(figure.startVertex) >= figure.points.size())
        figure.startVertex = 0;
    sink(stepOf(ReplayStep::Kind::Place, figure.points[static_cast<std::size_t>(figure.startVertex)],
                project.startFigure, figure.startVertex));
    ReplayVisitor visitor(project, sink, withPauses);
    walkCutPath(project, visitor);
}

}  // namespace

void replayCutPath(TMDIChild& project, const ReplaySink& sink)
{
    project.simulationStopped = 0;
    bool turning = false;
    if (replaysAsRotary(project, turning))
        replayRotary(project, turning, sink);
    else if (project.synchronousPair != 0)
        replayPair(project, sink);
    else
        replayTwoDimensional(project, sink, true);
}

std::vector<ReplayStep> replaySteps(TMDIChild& project)
{
    std::vector<ReplayStep> steps;
    replayCutPath(project, [&](const ReplayStep& step) { steps.push_back(step); });
    return steps;
}

void recordMixSources(TMDIChild& project)
{
    project.simulationStopped = 0;
    project.mixSources.clear();
    std::set<std::int32_t> pen6Passed;
    replayTwoDimensional(
        project,
        [&](const ReplayStep& step) {
            // The wire starts at the start vertex: the path begins there, not at the first cut.
            if (step.kind != ReplayStep::Kind::Cut && step.kind != ReplayStep::Kind::Place)
                return;
            if (project.figures[static_cast<std::size_t>(step.figure)].pen == 6) {
                pen6Passed.insert(step.figure);
                return;
            }
            const MixSource source{step.figure + static_cast<std::int32_t>(pen6Passed.size()), step.vertex,
                                   step.point.x, step.point.y};
            if (!project.mixSources.empty() && project.mixSources.back().x == source.x &&
                project.mixSources.back().y == source.y)
                return;
            project.mixSources.push_back(source);
        },
        false);
}

}  // namespace kerfline
