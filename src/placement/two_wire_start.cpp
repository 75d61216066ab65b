#include "placement/two_wire_start.h"

#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>

namespace kerfline {
namespace {

constexpr double kWireGapMm = 10.0;
// The heated moves of the manual control heat output 2.
constexpr int kMoveHeatingOutput = 2;

// A project length at the configured scale, millimetres.
double scaledMm(const AppContext& context, std::int32_t units)
{
    return roundHalfEven<std::int64_t>(units * context.configuration.number(Param::skala) / 100.0) / 40.0;
}

bool fits(const AppContext& context, const TMDIChild& project, double x, double y, double limitX, double limitY)
{
    return x + scaledMm(context, project.startFromRight) <= limitX && y + scaledMm(context, project.startFromTop) <= limitY &&
           scaledMm(context, project.startFromLeft) <= x && scaledMm(context, project.startFromBottom) <= y;
}

}  // namespace

TwoWireStart twoWireLimits(const AppContext& context)
{
    const MachineState& s = context.machine;
    return {static_cast<double>(s.limitX), static_cast<double>(s.limitY), static_cast<double>(s.secondWireLimitX),
            s.secondWireLimitY - kWireGapMm};
}

TwoWireStart twoWireCurrent(const AppContext& context)
{
    const MachineState& s = context.machine;
    return {s.frontX / 100.0, s.frontY / 100.0, s.backX / 100.0, s.backY / 100.0};
}

TwoWireRefusal twoWireRefusal(const AppContext& context, const TwoWireStart& start, const TMDIChild& frontProject,
                              const TMDIChild& sideProject)
{
    const TwoWireStart limits = twoWireLimits(context);
    if (!fits(context, frontProject, start.frontX, start.frontY, limits.frontX, limits.frontY))
        return TwoWireRefusal::Front;
    if (!fits(context, sideProject, start.sideX, start.sideY, limits.sideX, limits.sideY))
        return TwoWireRefusal::Side;
    return TwoWireRefusal::None;
}

bool TwoWireStartDialog::Start(const TwoWireStart& start, const TMDIChild& frontProject, const TMDIChild& sideProject)
{
    refusal = twoWireRefusal(m_context, start, frontProject, sideProject);
    if (refusal != TwoWireRefusal::None) {
        m_context.language.ShowMessageBox(
            m_context.Text("Main_window", "projektPozaObszaremMaszyny") + "\n" +
                m_context.Text("Perpendicular_start_dialog",
                               refusal == TwoWireRefusal::Front ? "ZmienPktStartFrontu" : "ZmienPktStartBocznego"),
            true);
        return false;
    }
    if (store)
        store(start);

    const MachineState& s = m_context.machine;
    const double travel = m_context.configuration.number(Param::PrzeSpeed) * s.speedMultiplier;
    m_protocol.SendCommand(machine::commands::speedPeriod(0, m_protocol.SpeedToPeriod(roundHalfEven<std::uint16_t>(travel))));
    m_protocol.SendCommand(machine::commands::selectSpeedSet(0));
    if (start.frontY <= start.sideY + kWireGapMm) {
        // The front wire would end at or below the side wire: the side wire makes room first.
        if (tickKeyBack)
            tickKeyBack();
        const double y = std::min(start.frontY - scaledMm(m_context, frontProject.startFromBottom) - kWireGapMm, start.sideY);
        if (y > 0.0) {
            moveAndCool(false, start.sideX, y);
        } else {
            m_motion.ParkSideWire();
            m_protocol.WaitWhileBusy();
        }
    }
    if (tickKeyFront)
        tickKeyFront();
    moveAndCool(true, start.frontX, start.frontY);
    return true;
}

void TwoWireStartDialog::moveAndCool(bool front, double x, double y)
{
    // MoveToPoint takes the display unit.
    const double unit = unitFactor(m_context.configuration.displayUnit);
    m_motion.MoveToPoint(front, !front, 0.0, y / unit, x / unit);
    // The heated wire must not stand in the foam.
    m_protocol.WaitWhileBusy();
    m_protocol.SendCommand(machine::commands::heating(false, kMoveHeatingOutput));
}

}  // namespace kerfline
