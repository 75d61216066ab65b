#include "machine/virtual_controller.h"

#include "machine/controller_commands.h"
#include "machine/hid_platform.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kerfline::machine {
namespace {

constexpr std::uint16_t kErasedWord = 0xFFFF;

std::uint8_t byteAt(const std::string& command, std::size_t index)
{
    return index < command.size() ? static_cast<std::uint8_t>(command[index]) : 0;
}

std::int32_t int32At(const std::string& command, std::size_t index)
{
    return replyField<std::int32_t>(std::span(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()),
                                    {index, 4});
}

std::uint16_t uint16At(const std::string& command, std::size_t index)
{
    return replyField<std::uint16_t>(std::span(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()),
                                     {index, 2});
}

// Step period of a speed in mm/min at the given resolution, as the program computes it.
std::uint16_t periodFor(int mmPerMinute, int multiplier, double resX)
{
    return SpeedToPeriod(static_cast<std::uint16_t>(mmPerMinute * multiplier), resX);
}

std::int32_t firstNumberIn(const std::string& text, std::int32_t fallback)
{
    const auto digit = std::find_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digit == text.end())
        return fallback;
    std::int64_t value = 0;
    for (auto it = digit; it != text.end() && *it >= '0' && *it <= '9' && value < 100000; ++it)
        value = value * 10 + (*it - '0');
    return static_cast<std::int32_t>(value);
}

}  // namespace

VirtualMachineProfile profileForProduct(const std::string& product)
{
    VirtualMachineProfile p;
    p.product = product;
    std::string family = product.substr(0, 2);
    std::string upper = family;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    // The model number is the working length in millimetres ("Qd 1200"); "KK45" and "N 45" are
    // type numbers, not lengths.
    std::int32_t length = firstNumberIn(product, 1200);
    if (length < 300 || length > 10000)
        length = 1200;
    p.limitX = length;
    p.limitY = std::max(300, length / 2);
    p.secondWireLimitX = p.limitX;

    if (family == "Qd") {
        p.versionMajor = 4;
        p.versionMinor = 2;
    } else if (family == "Qm") {
        p.versionMajor = 4;
        p.versionMinor = 2;
        p.fcWidth = 2000;
    } else if (family == "Pr") {
        p.versionMajor = 3;
        p.versionMinor = 1;
        p.secondWireLimitX = p.limitX / 2;
        p.backStartY = 2000;
    } else if (upper == "BV") {
        p.versionMajor = 3;
        p.versionMinor = 5;
        p.speedMultiplier = 3;
        p.powerInPercent = true;
    } else if (upper == "GV") {
        p.versionMajor = 2;
        p.versionMinor = 8;
        p.fcWidth = 2000;
    } else {
        p.versionMajor = 2;
        p.versionMinor = 7;
    }
    return p;
}

VirtualController::VirtualController(VirtualMachineProfile profile)
    : m_profile(std::move(profile)), m_memory(kProgramWords)
{
    m_versionMajor = m_profile.versionMajor;
    m_versionMinor = m_profile.versionMinor;
    const int m = m_profile.speedMultiplier;
    m_periods = {periodFor(2000, m, m_profile.resX), periodFor(500, m, m_profile.resX),
                 periodFor(1000, m, m_profile.resX), periodFor(500, m, m_profile.resX)};
    // The arms stand somewhere inside the work area until the machine is homed.
    m_position = {std::llround(15000 * m_profile.resX), std::llround(8000 * m_profile.resY), 1234, 0,
                  std::llround(15000 * m_profile.resX), std::llround(m_profile.backStartY * m_profile.resY), 567, 0};
    // A firmware that is not blank: no word is 0xFFFF.
    for (std::size_t i = 0; i < m_memory.size(); ++i)
        m_memory[i] = static_cast<std::uint16_t>((i * 40503u + 0x1234u) % 0xFFFFu);
    m_nonBlankWords = m_memory.size();
    m_power.fill(0);
    m_outputOn.fill(false);
    m_tension = 250;
}

bool VirtualController::newPowerFormat() const
{
    return m_versionMajor >= 4 && m_versionMajor <= 9 && !m_profile.powerInPercent;
}

int VirtualController::programLength(char letter) const
{
    CommandLengthTable table;
    table.setNewPowerFormat(newPowerFormat());
    return table.lengthOf(letter);
}

void VirtualController::receiveReport(std::span<const std::uint8_t> report)
{
    if (report.size() < 2)
        return;
    const std::string payload(reinterpret_cast<const char*>(report.data()) + 1,
                              std::min(report.size() - 1, kReportPayload));
    if (!m_pending.empty()) {
        const auto letter = m_pending[0];
        const int length = std::isupper(static_cast<unsigned char>(letter)) ? directCommandLength(m_pending, newPowerFormat())
                                                                            : programLength(letter);
        const std::size_t missing = static_cast<std::size_t>(length) - m_pending.size();
        m_pending += payload.substr(0, missing);
        if (m_pending.size() >= static_cast<std::size_t>(length)) {
            std::string command = std::move(m_pending);
            m_pending.clear();
            execute(command);
        }
        return;
    }
    const char letter = payload[0];
    if (!std::isalpha(static_cast<unsigned char>(letter)))
        return;  // not a command: the controller ignores the report
    const int length = std::isupper(static_cast<unsigned char>(letter)) ? directCommandLength(payload, newPowerFormat())
                                                                        : programLength(letter);
    if (static_cast<std::size_t>(length) > payload.size())
        m_pending = payload;
    else
        execute(payload.substr(0, static_cast<std::size_t>(length)));
}

void VirtualController::execute(const std::string& command)
{
    if (std::isupper(static_cast<unsigned char>(command[0]))) {
        executeDirect(command);
        return;
    }
    // The power output selection takes effect when it arrives: the program writer sends it
    // beside the program, never in it. Queued, it would run again ahead of a program that was
    // sent after it without a clear (the serial job clears before it writes its programs).
    if (command[0] == inProgram(LetterSetParameter) && byteAt(command, 1) == static_cast<std::uint8_t>(ParameterId::PowerOutput)) {
        m_selectedOutput = int32At(command, 2) & 7;
        return;
    }
    ++m_programReceived;
    if (m_buffer.size() < kBufferCapacity)
        m_buffer.push_back(command);
    else
        ++m_dropped;
}

void VirtualController::executeDirect(const std::string& command)
{
    switch (command[0]) {
    case LetterIdentify:
        break;
    case LetterStopMotion:
        stopManualMotion();
        // The program answers every machine button with a stop first; that ends the request.
        m_startRequest = m_stopRequest = m_continueRequest = false;
        break;
    case LetterPause:
        pauseProgram();
        break;
    case LetterClear:
        clearProgram();
        break;
    case LetterGo:
        if (m_waitingForGo)
            m_waitingForGo = false;
        else if (m_paused)
            continueProgram();
        else {
            m_programsStarted += m_programRunning ? 0 : 1;
            m_programRunning = true;
        }
        break;
    case LetterContinue:
        if (m_paused)
            continueProgram();
        break;
    case LetterHome:
        startHoming(byteAt(command, 1));
        break;
    case LetterSelectSpeedSet:
        m_speedSet = byteAt(command, 1);
        break;
    case LetterSpeedPeriod:
        if (byteAt(command, 1) < 4)
            m_periods[byteAt(command, 1)] = uint16At(command, 2);
        break;
    case LetterHeating:
        m_outputOn[byteAt(command, 2) & 7] = byteAt(command, 1) != 0;
        break;
    case LetterPowerSetting:
        m_power[byteAt(command, 1) & 7] = newPowerFormat() ? int32At(command, 2) : byteAt(command, 2);
        break;
    case LetterProgramOrigin:
        m_origin = {int32At(command, 1), int32At(command, 5)};
        break;
    case LetterSetParameter:
        executeParameter(static_cast<ParameterId>(byteAt(command, 1)), int32At(command, 2), command);
        break;
    case LetterMove:
        if (!m_programRunning)
            movePiece(true, byteAt(command, 1), int32At(command, 2));
        break;
    default:
        break;
    }
}

void VirtualController::executeParameter(ParameterId parameter, std::int32_t value, const std::string& command)
{
    switch (parameter) {
    case ParameterId::HeavyRotation:
        ++m_heavySettings;
        break;
    case ParameterId::WaitForGo:
        m_waitingForGo = true;
        break;
    case ParameterId::PowerOutput:
        m_selectedOutput = value & 7;
        break;
    case ParameterId::DisplayUnit:
        m_displayUnit = value;
        break;
    case ParameterId::Tension:
        m_tension = value;
        break;
    case ParameterId::MemoryAddress:
        if ((value >> 24) == kProgramMemoryId)
            m_readAddress = m_writeAddress = static_cast<std::size_t>(value & 0xFFFFFF);
        break;
    case ParameterId::EraseMemory:
        std::fill(m_memory.begin(), m_memory.end(), kErasedWord);
        m_nonBlankWords = 0;
        break;
    case ParameterId::WriteMemoryWord:
        if (m_writeAddress < m_memory.size()) {
            auto word = static_cast<std::uint16_t>(value);
            if (m_corruptAddress == m_writeAddress) {
                word ^= 0x5A5A;
                m_corruptAddress.reset();
            }
            std::uint16_t& cell = m_memory[m_writeAddress];
            const bool wasBlank = cell == kErasedWord;
            cell &= word;  // flash: writing only clears bits
            if (wasBlank && cell != kErasedWord)
                ++m_nonBlankWords;
        }
        ++m_writeAddress;
        break;
    case ParameterId::Restart:
        m_restartRequested = true;
        break;
    case ParameterId::EepromByte:
        m_eeprom[byteAt(command, 2)] = byteAt(command, 3);
        break;
    default:
        break;
    }
}

void VirtualController::movePiece(bool manual, std::uint8_t tag, std::int32_t value)
{
    AxisSteps& move = manual ? m_directMove : m_programMove;
    if (tag == kMoveStartTag)
        move.fill(0);
    else if (tag == kMoveEndTag)
        startMove(manual, value);
    else if (tag < kAxisCount)
        move[tag] = value;
}

void VirtualController::startMove(bool manual, std::int64_t count)
{
    AxisSteps& move = manual ? m_directMove : m_programMove;
    const AxisSteps steps = move;
    move.fill(0);
    if (count <= 0 || std::all_of(steps.begin(), steps.end(), [](std::int32_t s) { return s == 0; }))
        return;
    if (manual)
        stopManualMotion();
    Activity activity;
    activity.start = m_position;
    for (int axis = 0; axis < kAxisCount; ++axis)
        activity.target[axis] = m_position[axis] + steps[axis];
    activity.period = m_periods[m_speedSet < 4 ? m_speedSet : 0];
    activity.startUs = m_nowUs;
    // A move of count C at step period P lasts C x P x 0.8 microseconds.
    activity.endUs = m_nowUs + count * std::max<std::int64_t>(activity.period, 1) * 4 / 5;
    activity.manual = manual;
    m_activity = activity;
}

void VirtualController::startHoming(std::uint8_t mask)
{
    if (m_programRunning || mask == 0)
        return;
    stopManualMotion();
    Activity activity;
    activity.start = m_position;
    activity.target = m_position;
    std::int64_t longest = 0;
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (mask & (1u << axis)) {
            activity.target[axis] = 0;
            longest = std::max<std::int64_t>(longest, std::llabs(m_position[axis]));
        }
    }
    activity.period = m_periods[0];
    activity.startUs = m_nowUs;
    activity.endUs = m_nowUs + std::max<std::int64_t>(
                                   1000, longest * m_profile.speedMultiplier * std::max<std::int64_t>(m_periods[0], 1) * 4 / 5);
    activity.manual = true;
    activity.homing = true;
    m_homed = false;
    m_activity = activity;
}

std::array<std::int64_t, kAxisCount> VirtualController::positionAt(std::int64_t timeUs) const
{
    if (!m_activity || !m_activity->moves)
        return m_position;
    const Activity& a = *m_activity;
    const double duration = static_cast<double>(a.endUs - a.startUs);
    const double fraction =
        duration <= 0 ? 1.0 : std::clamp(static_cast<double>(timeUs - a.startUs) / duration, 0.0, 1.0);
    std::array<std::int64_t, kAxisCount> position{};
    for (int axis = 0; axis < kAxisCount; ++axis)
        position[axis] = a.start[axis] + std::llround(static_cast<double>(a.target[axis] - a.start[axis]) * fraction);
    return position;
}

AxisSteps VirtualController::positions() const
{
    const auto position = positionAt(m_nowUs);
    AxisSteps steps{};
    for (int axis = 0; axis < kAxisCount; ++axis)
        steps[axis] = static_cast<std::int32_t>(position[axis]);
    return steps;
}

void VirtualController::record(std::int64_t timeUs)
{
    PathPoint point;
    point.timeUs = timeUs;
    for (int axis = 0; axis < kAxisCount; ++axis)
        point.steps[axis] = static_cast<std::int32_t>(m_position[axis]);
    m_path.push_back(point);
}

void VirtualController::stopManualMotion()
{
    if (!m_activity || !m_activity->manual)
        return;
    m_position = positionAt(m_nowUs);
    m_activity.reset();
    record(m_nowUs);
}

void VirtualController::pauseProgram()
{
    if (!m_programRunning)
        return;
    if (m_activity && !m_activity->manual) {
        if (m_activity->moves) {
            m_interrupted = Interrupted{m_activity->target, m_activity->endUs - m_nowUs, m_activity->period};
            m_position = positionAt(m_nowUs);
            record(m_nowUs);
        }
        m_activity.reset();
    }
    m_programRunning = false;
    m_paused = true;
}

void VirtualController::continueProgram()
{
    m_paused = false;
    m_programRunning = true;
    if (!m_interrupted)
        return;
    Activity activity;
    activity.start = m_position;
    activity.target = m_interrupted->target;
    activity.period = m_interrupted->period;
    activity.startUs = m_nowUs;
    activity.endUs = m_nowUs + m_interrupted->remainingUs;
    m_interrupted.reset();
    stopManualMotion();
    m_activity = activity;
}

void VirtualController::clearProgram()
{
    if (m_activity && !m_activity->manual) {
        if (m_activity->moves) {
            m_position = positionAt(m_nowUs);
            record(m_nowUs);
        }
        m_activity.reset();
    }
    m_buffer.clear();
    m_programMove.fill(0);
    m_interrupted.reset();
    m_programRunning = m_paused = m_waitingForGo = false;
}

void VirtualController::finishActivity()
{
    const Activity activity = *m_activity;
    m_activity.reset();
    if (!activity.moves)
        return;
    m_position = activity.target;
    record(activity.endUs);
    if (activity.homing)
        m_homed = true;
}

bool VirtualController::stepProgram()
{
    const std::string command = m_buffer.front();
    m_buffer.pop_front();
    m_executed.push_back(command);
    switch (command[0]) {
    case inProgram(LetterMove):
        movePiece(false, byteAt(command, 1), int32At(command, 2));
        break;
    case inProgram(LetterDwell): {
        Activity pause;
        pause.moves = false;
        pause.start = pause.target = m_position;
        pause.startUs = m_nowUs;
        pause.endUs = m_nowUs + std::int64_t{byteAt(command, 1)} * 1000;  // units of 1 ms
        m_activity = pause;
        break;
    }
    case inProgram(LetterGo):
        m_waitingForGo = true;
        break;
    case inProgram(LetterHome):
        m_programRunning = false;  // homing is a manual motion
        startHoming(byteAt(command, 1));
        m_programRunning = true;
        break;
    case inProgram(LetterSelectSpeedSet): case inProgram(LetterSpeedPeriod): case inProgram(LetterHeating):
    case inProgram(LetterPowerSetting): case inProgram(LetterSetParameter): {
        std::string direct = command;
        direct[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(direct[0])));
        const auto parameter = static_cast<ParameterId>(byteAt(direct, 1));
        if (direct[0] == LetterSetParameter && parameter != ParameterId::PowerOutput &&
            parameter != ParameterId::HeavyRotation && parameter != ParameterId::WaitForGo &&
            parameter != ParameterId::Tension)
            break;  // memory commands are service commands, never part of a program
        executeDirect(direct);
        break;
    }
    default:
        break;
    }
    return true;
}

void VirtualController::advanceToUs(std::int64_t timeUs)
{
    if (timeUs < m_nowUs)
        return;
    for (;;) {
        if (m_activity) {
            if (m_activity->endUs > timeUs)
                break;
            m_nowUs = std::max(m_nowUs, m_activity->endUs);
            finishActivity();
            continue;
        }
        if (m_programRunning && !m_paused && !m_waitingForGo) {
            if (m_buffer.empty()) {
                m_programRunning = false;
                break;
            }
            stepProgram();
            continue;
        }
        break;
    }
    m_nowUs = timeUs;
}

std::uint32_t VirtualController::statusFlags() const
{
    std::uint32_t flags = 0;
    if (m_activity && m_activity->manual)
        flags |= statusBit(StatusFlag::busy);
    if (m_programRunning)
        flags |= statusBit(StatusFlag::programRunning);
    if (std::any_of(m_outputOn.begin(), m_outputOn.end(), [](bool on) { return on; }))
        flags |= statusBit(StatusFlag::heatingOn);
    if (m_paused)
        flags |= statusBit(StatusFlag::paused);
    if (kBufferCapacity - m_buffer.size() < kBatch)
        flags |= statusBit(StatusFlag::bufferFull);
    if (m_startRequest)
        flags |= statusBit(StatusFlag::startRequest);
    if (m_stopRequest)
        flags |= statusBit(StatusFlag::stopRequest);
    if (m_continueRequest)
        flags |= statusBit(StatusFlag::continueRequest);
    if (m_homed)
        flags |= statusBit(StatusFlag::homed);
    if (m_wireBreak)
        flags |= statusBit(StatusFlag::wireBreak);
    if (m_waitingForGo)
        flags |= statusBit(StatusFlag::waitingForGo);
    return flags;
}

void VirtualController::breakWire()
{
    m_wireBreak = true;
    m_outputOn.fill(false);
    pauseProgram();
}

void VirtualController::reset()
{
    m_position = positionAt(m_nowUs);
    m_activity.reset();
    m_pending.clear();
    m_directMove.fill(0);
    clearProgram();
    m_homed = false;
    m_outputOn.fill(false);
    m_startRequest = m_stopRequest = m_continueRequest = false;
    m_readAddress = m_writeAddress = 0;
    // With its program memory blank only the boot loader runs, and it reports version 1.0.
    if (m_nonBlankWords == 0) {
        m_versionMajor = 1;
        m_versionMinor = 0;
    } else {
        m_versionMajor = m_profile.versionMajor;
        m_versionMinor = m_profile.versionMinor;
    }
}

bool VirtualController::takeRestartRequest()
{
    const bool requested = m_restartRequested;
    m_restartRequested = false;
    return requested;
}

std::vector<std::uint8_t> VirtualController::programMemoryReply()
{
    std::vector<std::uint8_t> out(kReplyLength, 0);
    putField(out, reply::VersionMajor, m_versionMajor);
    putField(out, reply::VersionMinor, m_versionMinor);
    putField(out, reply::MemoryAddress, m_readAddress);
    putField(out, reply::MemoryWord, m_readAddress < m_memory.size() ? m_memory[m_readAddress] : 0);
    // The high half tells a blank memory (0) from one with any word written (0xFFFF).
    putField(out, reply::MemoryWritten, m_nonBlankWords == 0 ? 0 : 0xFFFF);
    if (m_readAddress < m_memory.size())
        ++m_readAddress;
    return out;
}

std::optional<std::vector<std::uint8_t>> VirtualController::channel(int k)
{
    std::vector<std::uint8_t> out(kReplyLength, 0);
    const auto put = [&out](ReplyField field, auto value) {
        putField(out, field, static_cast<std::uint64_t>(value));
    };
    switch (k) {
    case ChannelStatus: {
        put(reply::StateByte, m_paused ? 3 : m_programRunning ? 2 : (m_activity && m_activity->manual) ? 1 : 0);
        put(reply::StatusFlags, statusFlags());
        const AxisSteps steps = positions();
        for (std::size_t axis = 0; axis < kAxisCount; ++axis)
            put(reply::position(axis), steps[axis]);
        return out;
    }
    case ChannelSpeeds:
        put(reply::SelectedSpeedSet, m_speedSet);
        for (std::size_t set = 0; set < 4; ++set)
            put(reply::speedPeriod(set), m_periods[set]);
        put(reply::speedPeriod(4), (m_activity && m_activity->moves) ? m_activity->period : 0);
        return out;
    case ChannelPower: {
        put(reply::SelectedPowerOutput, m_selectedOutput);
        for (std::size_t output = 0; output < kAxisCount; ++output)
            put(reply::powerSetting(output), m_power[output]);
        const auto selected = static_cast<std::size_t>(m_selectedOutput);
        put(reply::MeasuredPower, (m_outputOn[selected] && !m_wireBreak) ? std::clamp(m_power[selected], 0, 0xFFFF) : 0);
        return out;
    }
    case ChannelMachine:
        put(reply::LimitX, m_profile.limitX);
        put(reply::LimitY, m_profile.limitY);
        put(reply::SecondWireLimitX, m_profile.secondWireLimitX);
        // Run time in minutes and the number of programs run, as the About box shows them.
        put(reply::furtherValue(0), m_profile.runMinutes + m_nowUs / 60'000'000);
        put(reply::furtherValue(1), m_profile.programsRun + m_programsStarted);
        return out;
    case ChannelResolution: {
        auto fixed = [](double value) { return std::llround(value * reply::kResolutionOne); };
        put(reply::ResX, fixed(m_profile.resX));
        put(reply::ResY, fixed(m_profile.resY));
        put(reply::Res3, fixed(m_profile.res3));
        put(reply::StepsW, m_profile.stepsW);
        put(reply::StepsS, m_profile.stepsS);
        put(reply::StepsT, m_profile.stepsT);
        put(reply::FcWidth, m_profile.fcWidth);
        return out;
    }
    case ChannelTension:
        put(reply::TensionSetPoint, m_tension);
        put(reply::TensionMeasured, m_wireBreak ? 0 : m_tension);
        return out;
    case ChannelVersion:
        return programMemoryReply();
    default:
        return std::nullopt;
    }
}

}  // namespace kerfline::machine
