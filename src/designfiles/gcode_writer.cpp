#include "designfiles/gcode_writer.h"

#include "machine/controller_commands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace kerfline {
namespace {

using machine::inProgram;

constexpr int kLengthDecimals = 3;
constexpr int kFeedDecimals = 3;
// Inverse-time feeds of long slow moves are small numbers: keep their relative precision.
constexpr int kInverseFeedDecimals = 5;
constexpr int kSecondsDecimals = 3;
// Front X, front Y, back X, back Y.
constexpr std::array<std::size_t, 4> kArmAxes{AxisFrontX, AxisFrontY, AxisBackX, AxisBackY};

void appendFixed(std::string& text, double value, int decimals)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string_view written(buffer, error == std::errc() ? static_cast<std::size_t>(end - buffer) : 0);
    // A value that rounds to zero is written without its sign.
    if (!written.empty() && written.front() == '-' && written.find_first_not_of("-0.") == std::string_view::npos)
        written.remove_prefix(1);
    text += written;
}

// A feed, always positive, with a fixed count of decimals; formatted as an integer of its last
// decimal, which is several times faster than formatting the double and matters on every line.
void appendFeed(std::string& text, double value, int decimals)
{
    constexpr std::array<double, 7> kScale{1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    const double scaled = value * kScale[static_cast<std::size_t>(decimals)];
    if (!(scaled >= 0.0 && scaled < 1e15)) {
        appendFixed(text, value, decimals);
        return;
    }
    const auto units = static_cast<std::int64_t>(std::nearbyint(scaled));
    char buffer[32];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, units).ptr;
    auto digits = static_cast<int>(end - buffer);
    if (digits <= decimals) {  // a leading "0." and the zeros it needs
        text += "0.";
        text.append(static_cast<std::size_t>(decimals - digits), '0');
        text.append(buffer, end);
        return;
    }
    text.append(buffer, static_cast<std::size_t>(digits - decimals));
    text += '.';
    text.append(end - decimals, end);
}

// Hundredths of a millimetre as millimetres, exactly: the registers are integers.
void appendHundredths(std::string& text, std::int32_t value)
{
    const std::int64_t v = value;
    const std::int64_t magnitude = v < 0 ? -v : v;
    char buffer[24];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 100).ptr;
    const auto rest = static_cast<int>(magnitude % 100);
    *end++ = '.';
    *end++ = static_cast<char>('0' + rest / 10);
    *end++ = static_cast<char>('0' + rest % 10);
    for (int k = 2; k < kLengthDecimals; ++k)
        *end++ = '0';
    if (v < 0)
        text += '-';
    text.append(buffer, end);
}

// The length of a path in the plane; std::hypot's care for overflow is not needed here.
double length(double dx, double dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

double mm(std::int32_t hundredths)
{
    return hundredths / 100.0;
}

bool is(char letter, char command)
{
    return inProgram(letter) == inProgram(command);
}

std::uint8_t byteAt(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

}  // namespace

GcodeWriter::GcodeWriter(const GcodeOptions& options, GcodeProgramValues values, Sink sink)
    : m_profile(gcodeProfile(options.profile)), m_axes(options.axisLetters()),
      m_feedMode(options.effectiveFeedMode()), m_powerScale(options.powerScale()), m_values(std::move(values)),
      m_sink(std::move(sink))
{
    m_lengths.setNewPowerFormat(m_values.newPowerFormat);
    if (!validAxisLetters(m_axes))
        m_axes = std::string(m_profile.axes);
}

void GcodeWriter::line(std::string_view text)
{
    ++m_counts.lines;
    if (!m_started) {
        m_beforeStart.append(text);
        m_beforeStart.append("\r\n");
        return;
    }
    m_out.append(text);
    m_out.append("\r\n");
}

void GcodeWriter::comment(std::string_view text)
{
    std::string cleaned;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        // Comments hold no brackets or semicolons of their own, nor control characters.
        cleaned += (u < 0x20 || c == '(' || c == ')' || c == ';') ? ' ' : c;
    }
    line(m_profile.parenthesisComments ? "(" + cleaned + ")" : "; " + cleaned);
}

void GcodeWriter::appendAxes(std::string& text, const AxisRegisters& registers) const
{
    for (std::size_t k = 0; k < kArmAxes.size(); ++k) {
        text += ' ';
        text += m_axes[k];
        appendHundredths(text, registers[kArmAxes[k]]);
    }
}

void GcodeWriter::start(const AxisRegisters& registers)
{
    m_started = true;
    m_position = registers;
    const std::string early = std::move(m_beforeStart);
    m_beforeStart.clear();
    comment("Kerfline G-code for " + std::string(m_profile.name) + ", axes " + m_axes + ", feed " +
            std::string(feedModeName(m_feedMode)) + (m_values.design.empty() ? "" : ": " + m_values.design));
    line(m_profile.preamble);
    if (m_feedMode == GcodeFeedMode::InverseTime)
        line("G93");
    std::string origin = "G92";
    appendAxes(origin, registers);
    line(origin);
    m_out.append(early);
}

void GcodeWriter::flushPause()
{
    if (!m_inPause)
        return;
    m_inPause = false;
    const std::int64_t units = std::exchange(m_pause, 0);
    if (units <= 0)
        return;  // a pause of no time is no dwell
    std::string text = "G4 ";
    text += m_profile.dwellWord;
    appendFeed(text, static_cast<double>(units) / 1000.0, kSecondsDecimals);  // a unit is a millisecond
    ++m_counts.dwells;
    line(text);
}

void GcodeWriter::move(const AxisRegisters& to)
{
    std::array<double, 4> d{};
    bool moves = false;
    for (std::size_t k = 0; k < kArmAxes.size(); ++k) {
        d[k] = mm(to[kArmAxes[k]]) - mm(m_position[kArmAxes[k]]);
        moves = moves || to[kArmAxes[k]] != m_position[kArmAxes[k]];
    }
    m_position = to;
    if (!moves)
        return;  // the table or the spindle alone: no axis of this program
    const double front = length(d[0], d[1]);
    const double back = length(d[2], d[3]);
    const double longer = std::max(front, back);
    const bool rapid = !m_heating && m_speedSet == 0;

    std::string text = rapid ? "G0" : "G1";
    appendAxes(text, to);
    if (!rapid) {
        // The controller runs the arm with the longer path at the configured speed.
        const double speed = m_speedSet == 0 ? m_values.travelSpeed : m_values.workSpeed;
        std::string feed = "F";
        if (m_feedMode == GcodeFeedMode::InverseTime) {
            appendFeed(feed, speed / longer, kInverseFeedDecimals);
        } else {
            double fed = longer;
            if (m_profile.feedLength == FeedLength::FrontArm && front > 0.0)
                fed = front;
            else if (m_profile.feedLength == FeedLength::AllAxes)
                fed = length(front, back);
            appendFeed(feed, speed * fed / longer, kFeedDecimals);
        }
        if (m_feedMode == GcodeFeedMode::InverseTime || feed != m_lastFeed) {
            text += ' ';
            text += feed;
            m_lastFeed = std::move(feed);
        }
    }
    ++m_counts.moves;
    line(text);
}

void GcodeWriter::commands(std::string_view commands, std::span<const AxisRegisters> path)
{
    // The moves of this group: their end pieces. The path's last entries belong to them; the one
    // before them is where they start.
    std::size_t moves = 0;
    for (std::size_t at = 0; at < commands.size();) {
        const int length = m_lengths.lengthOf(commands[at]);
        if (length <= 0 || commands.size() - at < static_cast<std::size_t>(length))
            break;  // the writer writes whole commands; nothing after a fault is read
        if (is(commands[at], machine::LetterMove) && byteAt(commands, at + 1) == machine::kMoveEndTag)
            ++moves;
        at += static_cast<std::size_t>(length);
    }
    std::size_t next = path.size() >= moves + 1 ? path.size() - moves : path.size();
    if (!m_started && moves > 0 && next >= 1)
        start(path[next - 1]);

    for (std::size_t at = 0; at < commands.size();) {
        const char letter = commands[at];
        const int length = m_lengths.lengthOf(letter);
        if (length <= 0 || commands.size() - at < static_cast<std::size_t>(length))
            break;
        // Every command the writer writes has its first argument in the byte after the letter.
        const std::uint8_t first = length > 1 ? byteAt(commands, at + 1) : 0;
        at += static_cast<std::size_t>(length);
        if (is(letter, machine::LetterDwell)) {
            m_inPause = true;
            m_pause += first;
            continue;
        }
        flushPause();
        if (is(letter, machine::LetterMove)) {
            // A move is complete at its end piece.
            if (first == machine::kMoveEndTag && next < path.size())
                move(path[next++]);
        } else if (is(letter, machine::LetterSelectSpeedSet)) {
            m_speedSet = first;
        } else if (is(letter, machine::LetterHeating)) {
            m_heating = first != 0;
            if (m_heating) {
                std::string text = "M3 S";
                appendFixed(text, m_values.power * m_powerScale, kFeedDecimals);
                line(text);
            } else {
                line("M5");
            }
        } else if (is(letter, machine::LetterSetParameter) &&
                   first == static_cast<std::uint8_t>(machine::ParameterId::WaitForGo)) {
            line("M0");  // the controller waits for the operator's Go; the wire is cold by then
        }
    }
    // Each pause the writer wrote as one piece (a corner, the heat-up) stays one dwell.
    flushPause();
    if (m_started && !m_out.empty()) {
        m_sink(m_out);
        m_out.clear();
    }
}

void GcodeWriter::finish()
{
    flushPause();
    if (!m_started)
        start(m_position);
    // Whatever the program did last, the wire is cold when the G-code ends.
    if (m_heating) {
        m_heating = false;
        line("M5");
    }
    if (!m_profile.end.empty())
        line(m_profile.end);
    m_sink(m_out);
    m_out.clear();
}

}  // namespace kerfline
