#include "designfiles/cut_program_writer.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "base/switches.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace kerfline {
namespace {

using machine::Form;
using machine::ParameterId;
namespace commands = machine::commands;

// The largest pause one "p" command holds.
constexpr std::int64_t kPieceOfPause = 250;
// A move leaves a corner when the path turns by arccos 0.87 (about 29.5 degrees) or more.
constexpr double kCornerCosine = 0.87;
// Off is always sent to output 2, whichever output heated.
constexpr std::uint8_t kHeatingOffOutput = 2;

std::int32_t saturated(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Hundredths of a millimetre of a length in millimetres.
std::int32_t hundredths(double mm)
{
    return roundHalfEven(mm * 100.0);
}

// The steps that take a linear axis from one register value to another. The machine stands at
// Round(register × resolution) steps, so the move is the difference of the two rounded step
// positions: rounding the difference instead would let a half step per move pile up.
std::int32_t linearSteps(std::int32_t from, std::int32_t to, double resolution)
{
    const auto target = roundHalfEven<std::int64_t>(static_cast<double>(to) * resolution);
    const auto current = roundHalfEven<std::int64_t>(static_cast<double>(from) * resolution);
    return saturated(target - current);
}

// A pause of n units: "p" 250 while more than 250 are left, then the rest (which may be 0).
std::string longPause(std::int64_t n)
{
    std::string text;
    for (std::int64_t left = std::max<std::int64_t>(n, 0);; left -= kPieceOfPause) {
        text += commands::dwell(static_cast<std::uint8_t>(std::min(left, kPieceOfPause)));
        if (left <= kPieceOfPause)
            return text;
    }
}

std::optional<std::int64_t> switchInteger(const CommandLine& commandLine, std::string_view name)
{
    const auto value = commandLine.SwitchValue(name);
    if (!value)
        return std::nullopt;
    std::string_view text = *value;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

Point3 frontArm(const AxisRegisters& r)
{
    return {r[AxisFrontX], r[AxisFrontY], r[AxisTable]};
}

Point3 backArm(const AxisRegisters& r)
{
    return {r[AxisBackX], r[AxisBackY], r[AxisSpindle]};
}

}  // namespace

void CutProgramWriter::FileCloser::operator()(std::FILE* file) const
{
    std::fclose(file);
}

CutProgramWriter::CutProgramWriter(WriterSettings settings, CutProgramJob job)
    : m_context(settings), m_job(std::move(job)), m_keyFront(settings.machine.KeyFront),
      m_keyBack(settings.machine.KeyBack)
{
}

CutProgramWriter::~CutProgramWriter() = default;

void CutProgramWriter::fail(int systemCode)
{
    if (!m_error)
        m_error = ProgramWriteError{m_path, systemCode != 0 ? systemCode : EIO};
    m_file.reset();
    m_open = false;
}

void CutProgramWriter::write(std::string_view commands)
{
    if (!m_open || m_error || commands.empty())
        return;
    if (m_job.observe)
        m_job.observe(commands, m_observedPath);
    m_observedPath.clear();
    if (!m_file)
        return;
    errno = 0;
    if (std::fwrite(commands.data(), 1, commands.size(), m_file.get()) != commands.size() ||
        std::fflush(m_file.get()) != 0)
        fail(errno);
}

ProgramWriteResult CutProgramWriter::BeginProgram(const std::string& path)
{
    const Configuration& configuration = m_context.configuration;
    const MachineState& machine = m_context.machine;
    m_path = path;
    m_error.reset();
    m_finishingMovesWritten = false;
    m_startFrontX = machine.frontX;
    m_startFrontY = machine.frontY;
    m_startBackY = machine.backY;

    m_registers = {};
    if (m_job.outputKind == OutputKind::TurningSpindle) {
        m_registers[AxisFrontX] = m_registers[AxisBackX] = hundredths(m_job.firstEntry);
    } else if (m_job.outputKind == OutputKind::TurningTable) {
        m_registers[AxisFrontY] = m_registers[AxisBackY] = hundredths(m_job.firstEntry);
    }
    m_history = {m_registers, m_registers, m_registers};

    m_observedPath.clear();
    if (m_job.writeFile) {
        errno = 0;
        m_file.reset(std::fopen(path.c_str(), "wb"));
        if (!m_file) {
            fail(errno);
            return {m_error};
        }
    }
    m_open = true;

    // The power output is chosen on the controller itself, before the program reaches it.
    if (m_job.sendCommand) {
        std::int32_t output = configuration.choice(Param::PowerOutput);
        if (machine.isTwoWireMachine())
            output = m_keyFront ? machine::kFrontWireOutput : machine::kSideWireOutput;
        // Sent in the program's lower case, as the controller has always been given it.
        m_job.sendCommand(commands::setParameter(ParameterId::PowerOutput, output, Form::Program));
    }

    writeHeader();
    return {m_error};
}

void CutProgramWriter::setKeys(bool front, bool back)
{
    m_keyFront = front;
    m_keyBack = back;
}

std::string CutProgramWriter::speedCommand(std::uint8_t set, double speed) const
{
    return commands::speedPeriod(set, periodOf(speed), Form::Program);
}

std::uint16_t CutProgramWriter::periodOf(double speed) const
{
    const MachineState& machine = m_context.machine;
    // The rounded product is taken as an unsigned 16-bit number, as the controller reads it.
    const auto product = roundHalfEven<std::int64_t>(speed * machine.speedMultiplier);
    return machine::SpeedToPeriod(static_cast<std::uint16_t>(product), machine.resX);
}

std::string CutProgramWriter::powerCommand() const
{
    const MachineState& machine = m_context.machine;
    const double power = m_context.configuration.number(Param::work_power);
    const std::int32_t value = machine.reportsPowerInPercent ? roundHalfEven(power * 255.0 / 100.0)
                                                             : roundHalfEven(power * 10.0 * machine.powerScale);
    const bool newFormat = machine.newPowerFormat();
    return commands::powerSetting(m_heatingOutput, newFormat ? value : std::clamp(value, 0, 255), newFormat,
                                  Form::Program);
}

void CutProgramWriter::writeHeader()
{
    const Configuration& configuration = m_context.configuration;
    using enum OutputKind;
    const OutputKind kind = m_job.outputKind;
    switch (kind) {
    case TurningSpindle:
    case TurningTable:
        m_heatingOutput = 3;
        break;
    case RotarySpindle:
    case SerialTable:
    case RotaryTable:
        m_heatingOutput = 1;
        break;
    case Plain:
        m_heatingOutput = configuration.choice(Param::PowerOutput) == 1 ? 3 : 1;
        break;
    case None:
    default:
        return;  // no program of this kind has a header
    }
    const std::int32_t startX = hundredths(m_job.programStartX);
    const std::int32_t startY = hundredths(m_job.programStartY);
    if (kind == TurningSpindle || kind == RotarySpindle || kind == RotaryTable)
        m_registers[AxisFrontY] = m_registers[AxisBackY] = startY;
    if (kind == TurningTable || kind == RotaryTable)
        m_registers[AxisFrontX] = m_registers[AxisBackX] = startX;

    std::string header = speedCommand(0, configuration.number(Param::PrzeSpeed)) +
                         speedCommand(1, configuration.number(Param::szybkoscObrobki)) +
                         powerCommand() + commands::heating(true, m_heatingOutput, Form::Program);
    if (kind == Plain)
        header += commands::dwell(1) + commands::selectSpeedSet(1, Form::Program);
    else if (kind == SerialTable)
        header += commands::selectSpeedSet(1, Form::Program);
    write(header);
    if (kind == Plain)
        WritePause(roundHalfEven(configuration.number(Param::CzasRozgrzewania)));
    m_heatUpPending = true;
}

std::string CutProgramWriter::MoveAxes(const AxisTargets& p)
{
    const MachineState& machine = m_context.machine;
    const AxisRegisters before = m_registers;
    AxisRegisters target = m_registers;
    target[AxisFrontX] = hundredths(p.frontX);
    target[AxisBackX] = hundredths(p.backX);
    target[AxisFrontY] = hundredths(p.frontY);
    target[AxisBackY] = hundredths(p.backY);
    target[AxisAux] = hundredths(p.aux);

    machine::AxisSteps d{};
    d[AxisFrontX] = linearSteps(m_registers[AxisFrontX], target[AxisFrontX], machine.resX);
    d[AxisBackX] = linearSteps(m_registers[AxisBackX], target[AxisBackX], machine.resX);
    d[AxisFrontY] = linearSteps(m_registers[AxisFrontY], target[AxisFrontY], machine.resY);
    d[AxisBackY] = linearSteps(m_registers[AxisBackY], target[AxisBackY], machine.resY);
    d[AxisAux] = linearSteps(m_registers[AxisAux], target[AxisAux], machine.res3);
    d[AxisTable] = roundHalfEven(p.table * machine.stepsS);
    d[AxisSpindle] = roundHalfEven(p.spindle * machine.stepsW);
    d[AxisAuxRotary] = roundHalfEven(p.auxRotary * machine.stepsT);
    const bool tableOnSpindle = machine.tableOnSpindleAxis();
    if (tableOnSpindle) {
        // The table is driven by the spindle's motor.
        d[AxisTable] = 0;
        d[AxisSpindle] = p.table != 0.0 ? roundHalfEven(p.table * machine.stepsS) : roundHalfEven(p.spindle * machine.stepsW);
    }

    machine::MoveCommand move = machine::BuildMove(machine::inProgram(machine::LetterMove), d, machine.speedMultiplier);
    if (move.text.empty())
        return {};

    // The rotary registers count every step sent and are never reduced to one revolution (the
    // corner test and the phases read them whole). A turn they cannot hold, or a count that does
    // not fit a move, ends the program instead of sending a wrapped or clipped rotation.
    const auto rotary = [](double revolutions, double steps) { return std::abs(revolutions * steps); };
    constexpr double kLargestCount = std::numeric_limits<std::int32_t>::max();
    bool overflow = !(rotary(p.table, machine.stepsS) < kLargestCount) ||
                    !(rotary(p.spindle, machine.stepsW) < kLargestCount) ||
                    !(rotary(p.auxRotary, machine.stepsT) < kLargestCount);
    const auto advance = [&overflow](std::int32_t& r, std::int32_t steps) {
        const std::int64_t sum = std::int64_t{r} + steps;
        overflow = overflow || sum != saturated(sum);
        r = saturated(sum);
    };
    target[AxisTable] = m_registers[AxisTable];
    target[AxisSpindle] = m_registers[AxisSpindle];
    target[AxisAuxRotary] = m_registers[AxisAuxRotary];
    advance(target[AxisTable], tableOnSpindle ? d[AxisSpindle] : d[AxisTable]);
    advance(target[AxisSpindle], d[AxisSpindle]);
    advance(target[AxisAuxRotary], d[AxisAuxRotary]);
    if (overflow) {
        if (!m_error)
            m_error = ProgramWriteError{m_path, 0, true};
        m_file.reset();
        return {};
    }
    m_registers = target;

    m_history = {m_history[1], m_history[2], m_registers};
    if (m_job.observe) {
        if (m_observedPath.empty())
            m_observedPath.push_back(before);
        m_observedPath.push_back(m_registers);
    }
    const double front = turnCosine(frontArm(m_history[0]), frontArm(m_history[1]), frontArm(m_history[2]));
    const double back = turnCosine(backArm(m_history[0]), backArm(m_history[1]), backArm(m_history[2]));
    if (std::min(front, back) > kCornerCosine)
        return std::move(move.text);

    return longPause(roundHalfEven<std::int64_t>(m_context.configuration.number(Param::Pauza_w_kacie))) + move.text;
}

void CutProgramWriter::WritePause(double n)
{
    // Written in slices, so that a very long pause never sits in memory as a whole.
    constexpr std::int64_t kPiecesPerSlice = 2048;
    constexpr std::int64_t kSlice = kPiecesPerSlice * kPieceOfPause;
    std::int64_t left = std::max<std::int64_t>(roundHalfEven<std::int64_t>(n), 0);
    if (left > kSlice) {
        std::string slice;
        for (std::int64_t k = 0; k < kPiecesPerSlice; ++k)
            slice += commands::dwell(static_cast<std::uint8_t>(kPieceOfPause));
        for (; left > kSlice && !m_error; left -= kSlice)
            write(slice);
    }
    write(longPause(left));
}

void CutProgramWriter::WritePower()
{
    write(powerCommand());
}

void CutProgramWriter::SetPositions(std::int32_t x, std::int32_t y, std::int32_t r)
{
    SetPositionsHundredths(hundredths(unitsToMm(x)), hundredths(unitsToMm(y)), r);
}

void CutProgramWriter::SetPositionsHundredths(std::int32_t x, std::int32_t y, std::int32_t r)
{
    m_registers[AxisFrontX] = m_registers[AxisBackX] = x;
    m_registers[AxisFrontY] = m_registers[AxisBackY] = y;
    m_registers[AxisTable] = m_registers[AxisSpindle] = r;
    m_registers[AxisAux] = m_registers[AxisAuxRotary] = 0;
    // The wire stands here: the corner test of the next moves starts from this point, not from
    // the registers the program began with.
    m_history = {m_registers, m_registers, m_registers};
}

void CutProgramWriter::WritePlainMove(std::int32_t x, std::int32_t y, bool front, bool back)
{
    if (!front && !back)
        return;
    const double skala = m_context.configuration.number(Param::skala);
    const double xs = unitsToMm(scaleUnits(x, skala));
    const double ys = unitsToMm(scaleUnits(y, skala));
    AxisTargets targets;
    if (front) {
        targets.frontX = xs;
        targets.frontY = ys;
    }
    if (back) {
        targets.backX = xs;
        targets.backY = ys;
    }
    write(MoveAxes(targets));
}

void CutProgramWriter::WritePairedMove(std::int32_t fx, std::int32_t bx, std::int32_t fy, std::int32_t by)
{
    const double skala = m_context.configuration.number(Param::skala);
    AxisTargets targets;
    targets.frontX = unitsToMm(scaleUnits(fx, skala));
    targets.backX = unitsToMm(scaleUnits(bx, skala));
    targets.frontY = unitsToMm(scaleUnits(fy, skala));
    targets.backY = unitsToMm(scaleUnits(by, skala));
    write(MoveAxes(targets));
}

void CutProgramWriter::WriteRotation(double w, double s)
{
    if (m_context.configuration.isChecked(Param::Heavy) && (w != 0.0 || s != 0.0))
        write(commands::dwell(1) + commands::setParameter(ParameterId::HeavyRotation, 1, Form::Program));
    AxisTargets targets;
    targets.frontX = m_registers[AxisFrontX] / 100.0;
    targets.backX = m_registers[AxisBackX] / 100.0;
    targets.frontY = m_registers[AxisFrontY] / 100.0;
    targets.backY = m_registers[AxisBackY] / 100.0;
    targets.table = s;
    targets.spindle = w;
    write(MoveAxes(targets));
}

void CutProgramWriter::WriteHold()
{
    if (!m_context.configuration.isChecked(Param::Wstrzymaj))
        return;
    write(commands::dwell(1) + commands::heating(false, kHeatingOffOutput, Form::Program) + commands::dwell(1) +
          commands::setParameter(ParameterId::WaitForGo, 0, Form::Program));
    m_heatUpPending = true;
}

void CutProgramWriter::WriteParking()
{
    WritePause(roundHalfEven(m_context.configuration.number(Param::Pauza_w_kacie)));
    AxisTargets targets;
    targets.frontX = m_registers[AxisFrontX] / 100.0;
    targets.backX = m_registers[AxisBackX] / 100.0;
    targets.frontY = targets.backY = m_job.programStartY;
    write(MoveAxes(targets) + commands::dwell(1) + commands::selectSpeedSet(0, Form::Program));
}

void CutProgramWriter::writeTwoWireFinishingMoves()
{
    const double x1 = m_startFrontX / 100.0;
    const double y1 = m_startFrontY / 100.0;
    const double y2 = m_startBackY / 100.0;
    const double limitY = m_context.machine.limitY;
    const double fx = m_job.frontWireStartX;
    const double fy = m_job.frontWireStartY;
    const auto move = [this](double p1, double p3, double p4) {
        AxisTargets targets;
        targets.frontX = p1;
        targets.frontY = p3;
        targets.backY = p4;
        write(MoveAxes(targets));
    };
    if (m_keyFront) {
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program));
        move(-x1, 0.0, 0.0);
        write(commands::dwell(1) + commands::selectSpeedSet(0, Form::Program));
        move(-x1, limitY - y1, 0.0);
        write(commands::dwell(1) + commands::setParameter(ParameterId::PowerOutput, machine::kSideWireOutput, Form::Program));
        if (m_startBackY < 0)
            move(-x1, limitY - y1, 10.0);
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program));
        move(-x1, limitY - y1, fy - y2);
    }
    if (m_keyBack) {
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program));
        move(0.0, 0.0, -10.0);
        write(commands::setParameter(ParameterId::PowerOutput, machine::kFrontWireOutput, Form::Program));
        write(commands::dwell(1) + commands::selectSpeedSet(0, Form::Program));
        move(0.0, fy - y1, -10.0);
        write(commands::dwell(1) + commands::selectSpeedSet(1, Form::Program));
        move(fx - x1, fy - y1, -10.0);
    }
    m_finishingMovesWritten = true;
}

void CutProgramWriter::writeSerialCutOff()
{
    const Configuration& configuration = m_context.configuration;
    if (m_job.seriesPosition != m_job.projectWindowCount || !m_job.cutOffAfterSeries)
        return;
    const double skala = configuration.number(Param::skala);
    const double h = unitsToMm(roundHalfEven(skala * m_job.projectWidth / 100.0 / 2.0));
    double x = std::max(h, configuration.number(Param::Srednicamaterialu) / 2.0) + h;
    if (m_job.seriesPosition % 2 != 0)
        x = -x;
    AxisTargets targets;
    targets.frontX = targets.backX = x;
    write(MoveAxes(targets));
}

ProgramWriteResult CutProgramWriter::EndProgram()
{
    const Configuration& configuration = m_context.configuration;
    if (const auto delay = switchInteger(m_context.commandLine, "heatOffDelay"); delay && *delay > 0)
        WritePause(static_cast<double>(*delay) * 1000.0);

    const std::string off = commands::dwell(1) + commands::heating(false, kHeatingOffOutput, Form::Program);
    switch (m_job.outputKind) {
    case OutputKind::TurningSpindle:
    case OutputKind::TurningTable:
        write(off);
        break;
    case OutputKind::RotarySpindle:
    case OutputKind::Plain:
    case OutputKind::RotaryTable:
        if (m_job.outputKind == OutputKind::Plain && m_context.machine.isTwoWireMachine() &&
            configuration.isChecked(Param::MoveAfter) && configuration.choice(Param::Mode) != ModePerpendicular)
            writeTwoWireFinishingMoves();
        write(off);
        break;
    case OutputKind::SerialTable:
        writeSerialCutOff();
        write(off);
        break;
    case OutputKind::None:
    default:
        break;
    }
    m_open = false;
    if (m_file) {
        errno = 0;
        const int closed = std::fclose(m_file.release());
        if (closed != 0)
            fail(errno);
    }
    return {m_error};
}

}  // namespace kerfline
