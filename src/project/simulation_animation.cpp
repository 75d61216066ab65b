#include "project/simulation_animation.h"

#include "base/round.h"
#include "base/waiting.h"
#include "project/simulation_replay.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"

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
    Animation(TMDIChild& project, const ViewMapping& mapping, SimulationCanvas& canvas, SimulationPacer& pacer)
        : m_project(project), m_context(project.context()), m_mapping(mapping), m_canvas(canvas), m_pacer(pacer),
          m_speed(m_context.configuration.position(Param::sbWspSymulacji)), m_lastRefresh(m_context.clock.nowMs())
    {
    }

    void step(const ReplayStep& step)
    {
        if (stopped())
            return;
        switch (step.kind) {
        case ReplayStep::Kind::Place:
            m_pen = m_mapping.toWindow(step.point);
            break;
        case ReplayStep::Kind::Travel:
            move(m_mapping.toWindow(step.point), false);
            break;
        case ReplayStep::Kind::Cut:
            move(m_mapping.toWindow(step.point), true);
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

    void finish() { m_canvas.refresh(); }

private:
    bool stopped() const { return m_project.simulationStopped != 0; }

    void move(PixelPoint target, bool cutting)
    {
        for (const PixelPoint p : pixelSteps(m_pen, target)) {
            m_pen = p;
            if (cutting)
                m_canvas.drawCutDot(p);
            else
                m_canvas.placeCursor({p.x + kCursorOffset.x, p.y + kCursorOffset.y});
            refreshSometimes();
            m_pacer.simulationWait(cutting ? kCutWait : kTravelWait, m_speed);
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
        m_lastRefresh = m_context.clock.nowMs();
    }

    TMDIChild& m_project;
    AppContext& m_context;
    const ViewMapping& m_mapping;
    SimulationCanvas& m_canvas;
    SimulationPacer& m_pacer;
    int m_speed;
    std::int64_t m_lastRefresh;
    PixelPoint m_pen;
};

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

void animateSimulation(TMDIChild& project, const ViewMapping& mapping, SimulationCanvas& canvas,
                       SimulationPacer& pacer)
{
    // Nothing of the project is drawn, so there is nothing to follow.
    if (!mapping.drawable)
        return;
    Animation animation(project, mapping, canvas, pacer);
    replayCutPath(project, [&](const ReplayStep& step) { animation.step(step); });
    animation.finish();
}

}  // namespace kerfline
