#include "machine/controller_protocol.h"

#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/reply_decoding.h"
#include "base/app_context.h"
#include "machine/machine_state.h"

#include <cctype>
#include <charconv>
#include <optional>

namespace kerfline::machine {
namespace {

constexpr std::size_t kMovePiece = 6;
constexpr std::int32_t kDefaultStepsPerRevolution = 50000;

std::string trimmed(std::string text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The whole text as a number of type T, an optional "+" in front; nothing when any of it does
// not convert.
template <typename T>
std::optional<T> wholeNumber(const std::string& text)
{
    T number{};
    const char* begin = text.data();
    if (!text.empty() && text[0] == '+')
        ++begin;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// A valued switch as a whole number; nothing when absent or when it does not convert.
std::optional<std::int32_t> switchInteger(const AppContext& context, std::string_view name)
{
    const auto value = context.commandLine.SwitchValue(name);
    if (!value)
        return std::nullopt;
    return wholeNumber<std::int32_t>(trimmed(*value));
}

// A valued switch as a number, with a point or the operator's decimal separator.
std::optional<double> switchNumber(const AppContext& context, std::string_view name)
{
    const auto value = context.commandLine.SwitchValue(name);
    if (!value)
        return std::nullopt;
    std::string text = trimmed(*value);
    for (char& c : text) {
        if (c == context.decimalSeparator)
            c = '.';
    }
    return wholeNumber<double>(text);
}

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.rfind(prefix, 0) == 0;
}

char upperFirst(const std::string& text)
{
    return text.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

}  // namespace

ControllerProtocol::ControllerProtocol(AppContext& context, TfUsb& link) : m_context(context), m_link(link) {}

MachineState& ControllerProtocol::state()
{
    return m_context.machine;
}

bool ControllerProtocol::SendCommand(std::string_view text)
{
    if (text.empty())
        return true;
    const bool move = std::toupper(static_cast<unsigned char>(text[0])) == LetterMove;
    const std::size_t piece = move ? kMovePiece : text.size();
    for (std::size_t at = 0; at < text.size(); at += piece) {
        const std::int32_t status = m_link.WriteCommand(text.substr(at, piece));
        if (status != 0) {
            // The status number is a detail for the service, not a caption the operator can read.
            m_context.language.ShowMessageBox(
                m_context.Text("Control", "ploterBrakLacznosci") + "\n" +
                    formatText(m_context.Text("Control", "kodBleduZapisu"), {std::to_string(status)}),
                true, m_context.Text("Control", "brakLacznosci"));
            return false;
        }
    }
    return true;
}

bool ControllerProtocol::ReadStatus()
{
    if (m_link.ReadChannel(ChannelStatus) != 0)
        return false;
    decodeStatus(m_link.replyBuffer(), state());
    return true;
}

bool ControllerProtocol::ReadPositions()
{
    if (m_link.ReadChannel(ChannelStatus) != 0)
        return false;
    decodePositions(m_link.replyBuffer(), state());
    return true;
}

bool ControllerProtocol::ReadStatusAndPositions()
{
    if (m_link.ReadChannel(ChannelStatus) != 0)
        return false;
    decodeStatus(m_link.replyBuffer(), state());
    decodePositions(m_link.replyBuffer(), state());
    return true;
}

void ControllerProtocol::ReadSpeeds()
{
    m_link.ReadChannel(ChannelSpeeds);
    decodeSpeeds(m_link.replyBuffer(), state());
}

void ControllerProtocol::ReadPower()
{
    if (m_link.ReadChannel(ChannelPower) == 0)
        decodePower(m_link.replyBuffer(), state());
}

void ControllerProtocol::ReadMachineInfo()
{
    MachineState& s = state();
    if (m_link.ReadChannel(ChannelMachine) == 0 && m_link.currentDevice()) {
        const HidDevice& device = *m_link.currentDevice();
        s.vendor = device.manufacturer();
        s.setProduct(device.product());
        s.serial = device.serial();
        decodeMachineLimits(m_link.replyBuffer(), s);
    }
    if (const auto name = m_context.commandLine.SwitchValue("MachineName"); name && !name->empty())
        s.setProduct(name->substr(0, 8));
    if (const auto limit = switchInteger(m_context, "limitX"))
        s.limitX = *limit;
    if (const auto limit = switchInteger(m_context, "limitY"))
        s.limitY = *limit;
    ReadResolution();
    ApplySpeedLimits();
    ReadVersion();
}

void ControllerProtocol::ReadResolution()
{
    MachineState& s = state();
    if (m_link.ReadChannel(ChannelResolution) == 0) {
        decodeResolution(m_link.replyBuffer(), s);
        if (const auto width = switchNumber(m_context, "fcWidth"))
            s.fcWidth = *width;
        if (!(s.armSpacing > 0.0))
            s.armSpacing = s.fcWidth;
    } else {
        s.resX = s.resY = s.res3 = 1.0;
        s.stepsW = s.stepsS = s.stepsT = kDefaultStepsPerRevolution;
    }
    if (const auto res = switchNumber(m_context, "resX"))
        s.resX = *res;
    if (const auto res = switchNumber(m_context, "resY"))
        s.resY = *res;
    if (const auto steps = switchInteger(m_context, "resS"))
        s.stepsS = *steps;
    if (const auto steps = switchInteger(m_context, "resW"))
        s.stepsW = *steps;
    const CommandLine& line = m_context.commandLine;
    if (line.HasSwitch("Sgear20"))
        s.stepsS = kDefaultStepsPerRevolution;
    if (line.HasSwitch("Wgear20"))
        s.stepsW = kDefaultStepsPerRevolution;
    if (line.HasSwitch("SWgear20"))
        s.stepsS = s.stepsW = kDefaultStepsPerRevolution;
    // Calibration in percent, added as the operator's correction of the steps per hundredth.
    s.resX += settings().calibrationXPercent / 100.0;
    s.resY += settings().calibrationYPercent / 100.0;
}

MotionSettings ControllerProtocol::settings() const
{
    return m_context.motionSettings.motionSettings();
}

void ControllerProtocol::ApplySpeedLimits()
{
    MachineState& s = state();
    auto limits = [&s](int travel, int work, int multiplier) {
        s.maxTravelSpeed = travel;
        s.maxWorkSpeed = work;
        s.speedMultiplier = multiplier;
    };
    if (startsWith(s.product, "Qd") || startsWith(s.product, "Qm"))
        limits(5000, 1500, 2);
    if (startsWith(s.product, "Pr"))
        limits(3000, 3000, 2);
    if (toUpperAscii(s.familyCode) == "BV") {
        s.reportsPowerInPercent = true;
        const int speed = (s.product.size() > 7 && s.product[7] == 'm') ? 1200 : 2000;
        limits(speed, speed, 3);
    }
    if (upperFirst(s.product) == 'K' || upperFirst(s.product) == 'N')
        limits(3000, 1500, 2);
    else if (toUpperAscii(s.familyCode) == "GV")
        limits(3000, 1500, 2);
    if (const auto maxV = switchInteger(m_context, "maxV"))
        limits(*maxV, 5000, 2);
    if (const auto multiplier = switchInteger(m_context, "wspV"))
        s.speedMultiplier = *multiplier;
}

std::string ControllerProtocol::ReadVersion()
{
    m_link.ReadChannel(ChannelVersion);
    decodeVersion(m_link.replyBuffer(), state());
    return std::to_string(state().versionMajor) + "." + std::to_string(state().versionMinor);
}

void ControllerProtocol::ReadTension()
{
    // A failed read leaves the tension as it was; the resolutions have nothing to do with it.
    if (m_link.ReadChannel(ChannelTension) == 0)
        decodeTension(m_link.replyBuffer(), state());
}

bool ControllerProtocol::WaitWhileBusy()
{
    return waitUntilStill(false) == WaitEnd::Still;
}

ControllerProtocol::WaitEnd ControllerProtocol::WaitWhileBusyOrInterrupted()
{
    return waitUntilStill(true);
}

ControllerProtocol::WaitEnd ControllerProtocol::waitUntilStill(bool interruptible)
{
    m_context.clock.sleepMs(1);
    if (!ReadStatus())
        return WaitEnd::Lost;
    while (state().busy()) {
        m_context.clock.sleepMs(1);
        if (!ReadStatus())
            return WaitEnd::Lost;
        // One pending input per pass: dropped, or the end of an interruptible wait.
        if (m_context.host.takePendingInput() != PendingInput::None && interruptible)
            return WaitEnd::Interrupted;
    }
    return WaitEnd::Still;
}

MoveCommand ControllerProtocol::BuildMove(char letter, const AxisSteps& steps) const
{
    return machine::BuildMove(letter, steps, m_context.machine.speedMultiplier);
}

std::uint16_t ControllerProtocol::SpeedToPeriod(std::uint16_t speed) const
{
    return machine::SpeedToPeriod(speed, m_context.machine.resX);
}

std::uint16_t ControllerProtocol::PeriodToSpeed(std::int32_t period) const
{
    return machine::PeriodToSpeed(period, m_context.machine.resX, m_context.machine.maxTravelSpeed);
}

}  // namespace kerfline::machine
