#include "project/simulation_animation.h"

#include "base/round.h"
#include "base/waiting.h"
#include "project/simulation_replay.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "geometry/geometry.h"

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

constexpr double kTravelWait = 1.0;
constexpr double kCutWait = 2.0;
constexpr PixelPoint kCursorOffset{2, 3};
// A press during a long pause is seen within this many milliseconds.
constexpr std::int64_t kWaitSliceMs = 50;
// The window is refreshed at most this often, so a large project does not slow the steps.
constexpr std::int64_t kRefreshIntervalMs = 16;

class Animation {
public:
    Animation(TMDIChild& project, const ViewMapping& mapping, SimulationCanvas& canvas, SimulationPacer& pacer,
              double totalLength)
        : m_project(project), m_context(project.context()), m_mapping(mapping), m_canvas(canvas), m_pacer(pacer),
          m_totalLength(totalLength), m_lastRefresh(m_context.clock.nowMs())
    {
    }

    void step(const ReplayStep& step)
    {
        if (stopped())
            return;
        switch (step.kind) {
        case ReplayStep::Kind::Place:
            m_pen = m_mapping.toWindow(step.point);
            m_at = step.point;
            break;
        case ReplayStep::Kind::Travel:
        case ReplayStep::Kind::Cut:
            m_legFrom = m_doneLength;
            m_legLength = distance(m_at, step.point);
            m_at = step.point;
            move(m_mapping.toWindow(step.point), step.kind == ReplayStep::Kind::Cut);
            if (!stopped())
                m_doneLength = m_legFrom + m_legLength;
            break;
        case ReplayStep::Kind::Pause:
            pause(step.ms);
            break;
        case ReplayStep::Kind::PairLine:
            m_canvas.drawPairLine(m_mapping.toWindow(step.point), m_mapping.toWindow(step.second));
            refreshNow();
            poll();
            break;
        }
    }

    SimulationOutcome finish()
    {
        const SimulationOutcome outcome{stopped(), stopped() ? fraction() : 1.0};
        m_canvas.refresh();
        m_canvas.progress(outcome.fraction);
        return outcome;
    }

private:
    bool stopped() const { return m_project.simulationStopped != 0; }
    double fraction() const { return m_totalLength > 0.0 ? std::min(1.0, m_doneLength / m_totalLength) : 0.0; }
    int speed() const { return m_context.configuration.position(Param::sbWspSymulacji); }

    void move(PixelPoint target, bool cutting)
    {
        const std::vector<PixelPoint> steps = pixelSteps(m_pen, target);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const PixelPoint p = steps[i];
            m_pen = p;
            // Along the leg in proportion to its pixel steps.
            m_doneLength = m_legFrom + m_legLength * static_cast<double>(i + 1) / static_cast<double>(steps.size());
            if (cutting)
                m_canvas.drawCutDot(p);
            else
                m_canvas.placeCursor({p.x + kCursorOffset.x, p.y + kCursorOffset.y});
            refreshSometimes();
            m_pacer.simulationWait(cutting ? kCutWait : kTravelWait, speed());
            poll();
            if (stopped())
                return;
        }
        m_pen = target;
    }

    void pause(double ms)
    {
        refreshNow();
        std::int64_t remaining = roundHalfEven<std::int64_t>(ms);
        while (remaining > 0 && !stopped()) {
            const std::int64_t slice = std::min(remaining, kWaitSliceMs);
            waitMs(m_context.clock, static_cast<double>(slice));
            remaining -= slice;
            poll();
        }
    }

    // Takes what the operator did during the wait; only a key or a left click stops.
    void poll()
    {
        for (;;) {
            const PendingInput input = m_context.host.takePendingInput();
            if (input == PendingInput::None)
                return;
            if (input == PendingInput::KeyDown || input == PendingInput::LeftButtonDown)
                m_project.simulationStopped = 1;
        }
    }

    void refreshSometimes()
    {
        if (m_context.clock.nowMs() - m_lastRefresh >= kRefreshIntervalMs)
            refreshNow();
    }

    void refreshNow()
    {
        m_canvas.refresh();
        m_canvas.progress(fraction());
        m_lastRefresh = m_context.clock.nowMs();
    }

    TMDIChild& m_project;
    AppContext& m_context;
    const ViewMapping& m_mapping;
    SimulationCanvas& m_canvas;
    SimulationPacer& m_pacer;
    double m_totalLength;
    double m_doneLength = 0.0;
    double m_legFrom = 0.0;
    double m_legLength = 0.0;
    std::int64_t m_lastRefresh;
    PixelPoint m_pen;
    Point m_at;  // the pen in plotter units
};

// The length of the path's travels and cuts, plotter units.
double pathLength(const std::vector<ReplayStep>& steps)
{
    double length = 0.0;
    Point at;
    for (const ReplayStep& step : steps) {
        if (step.kind == ReplayStep::Kind::Travel || step.kind == ReplayStep::Kind::Cut)
            length += distance(at, step.point);
        if (step.kind != ReplayStep::Kind::Pause && step.kind != ReplayStep::Kind::PairLine)
            at = step.point;
    }
    return length;
}

}  // namespace

std::vector<PixelPoint> pixelSteps(PixelPoint from, PixelPoint to)
{
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    const int count = roundHalfEven(std::sqrt(dx * dx + dy * dy));
    std::vector<PixelPoint> steps;
    if (count <= 0)
        return steps;
    steps.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        steps.push_back({from.x + roundHalfEven(dx * i / count), from.y + roundHalfEven(dy * i / count)});
    return steps;
}

SimulationOutcome animateSimulation(TMDIChild& project, const ViewMapping& mapping, SimulationCanvas& canvas,
                                    SimulationPacer& pacer)
{
    // Nothing of the project is drawn, so there is nothing to follow.
    if (!mapping.drawable)
        return {};
    // The whole path first: its length is what the progress is measured against.
    const std::vector<ReplayStep> steps = replaySteps(project);
    Animation animation(project, mapping, canvas, pacer, pathLength(steps));
    project.simulationStopped = 0;
    for (const ReplayStep& step : steps) {
        animation.step(step);
        if (project.simulationStopped != 0)
            break;
    }
    return animation.finish();
}

}  // namespace kerfline
