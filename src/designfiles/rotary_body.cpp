#include "designfiles/rotary_body.h"

#include "config/configuration.h"
#include "geometry/geometry.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace kerfline {
namespace {

using machine::Form;
namespace commands = machine::commands;

// A turning step leaves a corner, and the cut adds a full revolution there, when the profile
// turns by arccos 0.87 (about 29.5 degrees) or more.
constexpr double kCornerCosine = 0.87;
// The slowest speed a turning step is given, millimetres per minute.
constexpr double kSlowestTurningSpeed = 20.0;

bool onTable(OutputKind kind)
{
    return kind == OutputKind::SerialTable || kind == OutputKind::TurningTable || kind == OutputKind::RotaryTable;
}

std::int32_t clampedUnits(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// One figure's body: the scaled and the placed points, and the moves that every code shares.
class Body {
public:
    Body(CutProgramWriter& writer, const tfigura& figure, int direction)
        : m_writer(writer), m_config(writer.settings().configuration), m_machine(writer.settings().machine),
          m_kind(writer.job().outputKind), m_direction(direction), m_axis(rotaryAxisOf(m_kind, m_machine))
    {
        const double skala = m_config.number(Param::skala);
        // The mode's offsets, each converted to plotter units on its own.
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        switch (m_kind) {
        case OutputKind::TurningSpindle:
            dy = std::int64_t{mmToUnits(m_config.number(Param::Ywrzeciona))} - mmToUnits(m_config.number(Param::Ynarzedzia));
            break;
        case OutputKind::RotarySpindle:
            dy = mmToUnits(m_config.number(Param::Ywrzeciona));
            break;
        case OutputKind::SerialTable:
        case OutputKind::RotaryTable:
            dx = mmToUnits(m_config.number(Param::Xstolika));
            dy = mmToUnits(m_config.number(Param::Ystolika));
            break;
        case OutputKind::TurningTable:
            dx = std::int64_t{mmToUnits(m_config.number(Param::Xstolika))} - mmToUnits(m_config.number(Param::Xnarzedzia));
            break;
        default:
            break;
        }
        m_scaled.reserve(figure.points.size());
        m_placed.reserve(figure.points.size());
        for (const Point& p : figure.points) {
            const Point s{scaleUnits(p.x, skala), scaleUnits(p.y, skala)};
            m_scaled.push_back(s);
            m_placed.push_back({clampedUnits(s.x + dx), clampedUnits(s.y + dy)});
        }
    }

    std::size_t size() const { return m_placed.size(); }
    double E(std::size_t i) const { return unitsToMm(m_placed[i].x); }
    double F(std::size_t i) const { return unitsToMm(m_placed[i].y); }
    double dxMm(std::size_t i) const { return std::abs(unitsToMm(double(m_placed[i - 1].x) - m_placed[i].x)); }
    double dyMm(std::size_t i) const { return std::abs(unitsToMm(double(m_placed[i - 1].y) - m_placed[i].y)); }
    // The radius of a turned point: its distance from the axis before the offsets.
    double radius(std::size_t i) const
    {
        return m_kind == OutputKind::TurningSpindle ? std::abs(unitsToMm(m_scaled[i].y)) : std::abs(unitsToMm(m_scaled[i].x));
    }

    // A move of both arms; a target left out is kept where the arm stands. `turn` turns the
    // code's rotary axis by that many revolutions.
    void move(std::optional<double> x, std::optional<double> y, double turn = 0.0)
    {
        m_writer.write(moveText(x, y, turn));
    }

    // The commands of that move, for a caller that writes them with others in one append.
    std::string moveText(std::optional<double> x, std::optional<double> y, double turn)
    {
        const AxisRegisters& r = m_writer.registers();
        AxisTargets t;
        t.frontX = x ? *x : r[AxisFrontX] / 100.0;
        t.backX = x ? *x : r[AxisBackX] / 100.0;
        t.frontY = y ? *y : r[AxisFrontY] / 100.0;
        t.backY = y ? *y : r[AxisBackY] / 100.0;
        (onTable(m_kind) ? t.table : t.spindle) = turn;
        return m_writer.MoveAxes(t);
    }

    void write(const std::string& commands) { m_writer.write(commands); }

    // The turn to the start angle: "p" 1, the heavy-material setting, then the rotation alone.
    void rotateTo(double phase)
    {
        const double a = alignmentTurn(phase, m_writer.registers()[static_cast<std::size_t>(m_axis.axis)],
                                       m_axis.stepsPerRevolution);
        if (a == 0.0)
            return;
        write(commands::dwell(1));
        if (m_config.isChecked(Param::Heavy))
            write(commands::setParameter(machine::ParameterId::HeavyRotation, 1, Form::Program));
        move(std::nullopt, std::nullopt, a);
    }

    void heatOn() { write(commands::heating(true, m_writer.heatingOutput(), Form::Program)); }

    // The heating of a rotary or table-serial body: "p" 1, on, the heat-up, "p" 1, "f" 1.
    void heatForRotaryCut()
    {
        write(commands::dwell(1));
        heatOn();
        heatUp();
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program));
    }

    // The heating of a turning body: "p" 1, "f" 1, "p" 1, on, the heat-up, "p" 1.
    void heatForTurning()
    {
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program) + commands::dwell(1));
        heatOn();
        heatUp();
        write(commands::dwell(1));
    }

    // The table codes come to the figure's height first, then to the start X.
    void approachOnTable(double startX)
    {
        move(std::nullopt, F(0));
        move(startX, std::nullopt);
    }

    void heatUp()
    {
        if (m_writer.heatUpPending() && !m_machine.reportsPowerInPercent) {
            m_writer.WritePause(roundHalfEven(m_config.number(Param::CzasRozgrzewania)));
            m_writer.clearHeatUpPending();
        }
    }

    // The speed of a turning step of u revolutions at radius r over dx, dy millimetres.
    std::string turningSpeed(double r, double u, double dx, double dy) const
    {
        const double n = m_axis.stepsPerRevolution;
        const double l = std::sqrt(std::pow(2.0 * std::numbers::pi * r * u, 2) + dx * dx + dy * dy);
        const double t = l / m_config.number(Param::szybkoscObrobki);
        double s = t > 0.0 ? std::sqrt(std::pow(n * u / 100.0, 2) + dy * dy + dx * dx) / t : kSlowestTurningSpeed;
        if (s < kSlowestTurningSpeed)
            s = kSlowestTurningSpeed;
        if (s > m_machine.maxWorkSpeed)
            s = m_machine.maxWorkSpeed;
        return m_writer.speedCommand(1, s);
    }

    // The length a turning step travels on the surface.
    static double surfaceLength(double r, double u, double dx, double dy)
    {
        return std::sqrt(std::pow(2.0 * std::numbers::pi * r * u, 2) + dx * dx + dy * dy);
    }

    // Feed per revolution of a turning program: the scaled axis over il_obr_rys. None (0) when
    // il_obr_rys is 0 or the scaled axis is no length.
    double pitch(std::int32_t axisLength) const
    {
        const double turns = m_config.number(Param::il_obr_rys);
        if (turns == 0.0)
            return 0.0;
        const double p = unitsToMm(scaleUnits(axisLength, m_config.number(Param::skala))) / turns;
        return p > 0.0 ? p : 0.0;
    }

    // Revolutions per millimetre along the axis of a rotary program: il_obr_rys over the scaled
    // axis. An axis of no length turns nothing.
    double turnsPerMm(std::int32_t axisLength) const
    {
        const double axisMm = unitsToMm(scaleUnits(axisLength, m_config.number(Param::skala)));
        return axisMm > 0.0 ? m_config.number(Param::il_obr_rys) / axisMm : 0.0;
    }

    // The turning cut of codes 30 and 301: every segment with its rotation, then a full revolution
    // on the spot at each corner of the profile.
    void turningCut(double pitch, bool alongX, bool stillSegments, bool speedAfterEveryStep)
    {
        const std::size_t n = size();
        for (std::size_t i = 1; i < n; ++i) {
            const double dx = dxMm(i);
            const double dy = dyMm(i);
            const double along = alongX ? dx : dy;
            const double u = pitch > 0.0 && !stillSegments ? along / pitch : 0.0;
            const double r = radius(i);
            // Each step and its speed reach the file in one append.
            if (surfaceLength(r, u, dx, dy) > 0.0) {
                std::string step = moveText(E(i), F(i), m_direction * u);
                if (speedAfterEveryStep)
                    step += turningSpeed(r, u, dx, dy);
                write(step);
            }
            if (i + 1 < n && isCorner(i)) {
                const double full = pitch > 0.0 ? 1.0 : 0.0;
                if (surfaceLength(r, full, 0.0, 0.0) > 0.0) {
                    std::string corner = commands::dwell(1);
                    if (m_config.isChecked(Param::Heavy))
                        corner += commands::setParameter(machine::ParameterId::HeavyRotation, 1, Form::Program);
                    corner += moveText(E(i), F(i), m_direction * full);
                    corner += turningSpeed(r, full, 0.0, 0.0);
                    write(corner + commands::dwell(1));
                }
            }
        }
    }

    // The rotary cut of codes 31 and 311: each segment turns the axis by its length along the axis.
    void rotaryCut(double perMm, bool alongX)
    {
        for (std::size_t i = 1; i < size(); ++i) {
            const double dx = dxMm(i);
            const double dy = dyMm(i);
            if (std::sqrt(dx * dx + dy * dy) > 0.0)
                move(E(i), F(i), m_direction * perMm * (alongX ? dx : dy));
        }
    }

    double phaseOf(int axis, std::int32_t steps) const
    {
        return axisPhase(m_writer.registers()[static_cast<std::size_t>(axis)], steps);
    }
    double phase() const { return phaseOf(m_axis.axis, m_axis.stepsPerRevolution); }

private:
    bool isCorner(std::size_t i) const
    {
        const auto p3 = [this](std::size_t k) { return Point3{m_placed[k].x, m_placed[k].y, 0}; };
        return turnCosine(p3(i - 1), p3(i), p3(i + 1)) <= kCornerCosine;
    }

    CutProgramWriter& m_writer;
    const Configuration& m_config;
    const MachineState& m_machine;
    OutputKind m_kind;
    int m_direction;
    RotaryAxis m_axis;
    std::vector<Point> m_scaled;
    std::vector<Point> m_placed;
};

}  // namespace

RotaryAxis rotaryAxisOf(OutputKind kind, const MachineState& machine)
{
    if (onTable(kind))
        return {AxisTable, machine.stepsS};
    return {AxisSpindle, machine.stepsW};
}

double axisPhase(std::int32_t registerValue, std::int32_t stepsPerRevolution)
{
    if (stepsPerRevolution <= 0)
        return 0.0;  // no rotary axis
    return static_cast<double>(registerValue % stepsPerRevolution) / stepsPerRevolution;
}

double alignmentTurn(double phase, std::int32_t registerValue, std::int32_t stepsPerRevolution)
{
    if (stepsPerRevolution <= 0)
        return 0.0;  // no rotary axis
    const std::int64_t n = stepsPerRevolution;
    // A floored remainder: a register below zero stands at the same angle as its positive
    // counterpart, and the turn stays within half a revolution.
    const std::int64_t r = ((std::int64_t{registerValue} % n) + n) % n;
    double a = phase + static_cast<double>(n - r) / static_cast<double>(n);
    if (a >= 1.0)
        a -= 1.0;
    if (a > 0.5)
        a -= 1.0;
    if (!(a > -0.5 && a <= 0.5)) {
        // A phase handed on from below zero or beyond one revolution.
        a -= std::floor(a);
        if (a > 0.5)
            a -= 1.0;
    }
    return a;
}

void WriteFigureBody(CutProgramWriter& writer, const tfigura& figure, int direction, double& phase)
{
    if (figure.points.size() < 2)
        return;
    const Configuration& config = writer.settings().configuration;
    const MachineState& machine = writer.settings().machine;
    const CutProgramJob& job = writer.job();
    Body body(writer, figure, direction);
    const std::size_t last = body.size() - 1;
    const auto pause = [&body] { body.write(commands::dwell(1)); };
    const auto speedSet = [&body](int set) { body.write(commands::selectSpeedSet(set, Form::Program)); };
    const double startX = job.programStartX;
    const double startY = job.programStartY;
    // The alignment is reckoned before the approach; the approach moves no rotary axis, so the
    // turn is the same when it is written after it.
    const double entryPhase = phase;

    switch (job.outputKind) {
    case OutputKind::TurningSpindle:
        speedSet(0);
        body.move(body.E(0), std::nullopt);
        body.move(std::nullopt, startY);
        body.rotateTo(entryPhase);
        body.heatForTurning();
        body.move(body.E(0), body.F(0));
        pause();
        speedSet(1);
        body.turningCut(body.pitch(figure.axisWidth), true, false, !config.constantLatheSpeed);
        pause();
        speedSet(0);
        body.move(std::nullopt, startY);
        phase = body.phase();
        break;
    case OutputKind::RotarySpindle:
        speedSet(0);
        body.move(body.E(0), std::nullopt);
        body.rotateTo(entryPhase);
        body.heatForRotaryCut();
        body.move(std::nullopt, body.F(0));
        body.rotaryCut(body.turnsPerMm(figure.axisWidth), true);
        if (config.choice(Param::rgAlgorytmObrotowego) == 1)
            body.move(body.E(last), body.F(last));  // the wire stays in the material
        else
            body.move(std::nullopt, startY);
        pause();
        speedSet(0);
        phase = body.phase();
        break;
    case OutputKind::TurningTable: {
        speedSet(0);
        body.approachOnTable(startX);
        body.rotateTo(entryPhase);
        body.heatForTurning();
        body.move(body.E(0), body.F(0));
        pause();
        // One turn across the drawing cut in one pass turns nowhere along the segments.
        const bool still = config.number(Param::il_obr_rys) == 1.0 && config.number(Param::ilosckrokow) == 1.0;
        body.turningCut(body.pitch(figure.axisHeight), false, still, true);
        pause();
        speedSet(0);
        body.move(startX, std::nullopt);
        phase = body.phase();
        break;
    }
    case OutputKind::SerialTable:
    case OutputKind::RotaryTable: {
        // Serial passes on the table cut the plain contour; the table turns only between them.
        const bool serial = job.outputKind == OutputKind::SerialTable;
        body.approachOnTable(startX);
        body.rotateTo(entryPhase);
        body.heatForRotaryCut();
        body.move(body.E(0), body.F(0));
        body.rotaryCut(serial ? 0.0 : body.turnsPerMm(figure.axisHeight), false);
        body.move(startX, std::nullopt);
        pause();
        if (serial) {
            phase = body.phase();
            body.move(std::nullopt, std::nullopt, entryPhase);
            pause();
        } else {
            // A table driven by the spindle's motor counts its turns in the spindle register, in
            // the table's own steps.
            phase = machine.tableOnSpindleAxis() ? body.phaseOf(AxisSpindle, machine.stepsS) : body.phase();
        }
        break;
    }
    default:
        break;  // the 2D kinds have no figure body
    }
}

}  // namespace kerfline
