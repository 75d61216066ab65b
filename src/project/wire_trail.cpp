#include "project/wire_trail.h"

#include "base/round.h"
#include "machine/machine_state.h"
#include "project/tmdichild.h"

namespace kerfline {

void WireTrail::begin(const TMDIChild& project, const MachineState& machine, double skala)
{
    const bool backArm = followsBackArm(machine);
    begin(project, backArm ? machine.backX : machine.frontX, backArm ? machine.backY : machine.frontY, backArm, skala);
}

bool WireTrail::begin(const TMDIChild& project, std::int32_t armX, std::int32_t armY, bool backArm, double skala)
{
    clear();
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (start >= project.figures.size())
        return false;
    const tfigura& figure = project.figures[start];
    if (figure.startVertex < 0 || static_cast<std::size_t>(figure.startVertex) >= figure.points.size())
        return false;
    begin(figure.points[static_cast<std::size_t>(figure.startVertex)], armX, armY, backArm, skala);
    return true;
}

bool WireTrail::followsBackArm(const MachineState& machine)
{
    return !machine.KeyFront && machine.KeyBack;
}

void WireTrail::begin(Point projectStart, std::int32_t armX, std::int32_t armY, bool backArm, double skala)
{
    m_active = true;
    m_backArm = backArm;
    m_start = projectStart;
    m_armX0 = armX;
    m_armY0 = armY;
    // 40 plotter units per millimetre are 0.4 per hundredth, shrunk back by the program's scale.
    m_unitsPerHundredth = skala > 0.0 ? 40.0 / skala : 0.4;
    m_path.assign(1, projectStart);
    m_segmentStarts.assign(1, 0);
    m_gap = false;
    m_cutSeen = false;
}

bool WireTrail::update(const MachineState& machine)
{
    return m_backArm ? update(machine.backX, machine.backY) : update(machine.frontX, machine.frontY);
}

bool WireTrail::update(std::int32_t armX, std::int32_t armY)
{
    if (!m_active)
        return false;
    const Point p = toProject(armX, armY);
    // Back where the gap began: the route goes on without a break.
    const bool gap = m_gap && p != m_path.back();
    m_gap = false;
    if (p == m_path.back())
        return false;
    if (gap)
        m_segmentStarts.push_back(m_path.size());
    m_path.push_back(p);
    return true;
}

void WireTrail::gap()
{
    m_gap = m_active;
}

bool WireTrail::cutting(const MachineState& machine)
{
    return machine.programRunning() && !machine.paused() && !machine.waitingForGo() && !machine.wireBreak();
}

bool WireTrail::follow(const MachineState& machine, bool readOk)
{
    if (!readOk || !cutting(machine)) {
        // Until the program first runs the wire stands at the start point, where the trail begins.
        if (m_cutSeen)
            gap();
        return false;
    }
    m_cutSeen = m_active;
    return update(machine);
}

void WireTrail::clear()
{
    m_active = false;
    m_gap = false;
    m_cutSeen = false;
    m_path.clear();
    m_segmentStarts.clear();
}

std::optional<Point> WireTrail::current() const
{
    if (!m_active)
        return std::nullopt;
    return m_path.back();
}

Point WireTrail::toProject(std::int32_t armX, std::int32_t armY) const
{
    const double dx = (static_cast<double>(armX) - m_armX0) * m_unitsPerHundredth;
    const double dy = (static_cast<double>(armY) - m_armY0) * m_unitsPerHundredth;
    return {roundHalfEven(m_start.x + dx), roundHalfEven(m_start.y + dy)};
}

}  // namespace kerfline
