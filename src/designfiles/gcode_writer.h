#pragma once

#include "designfiles/axis_registers.h"
#include "designfiles/gcode_profiles.h"
#include "machine/command_encoding.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace kerfline {

// What the configuration says about the program being exported.
struct GcodeProgramValues {
    double travelSpeed = 0.0;  // PrzeSpeed, mm/min: speed set 0
    double workSpeed = 0.0;    // szybkoscObrobki, mm/min: speed set 1
    double power = 0.0;        // work_power
    bool newPowerFormat = false;  // the controller's "t" carries 32 bits
    std::string design;        // named in the opening comment
};

struct GcodeCounts {
    std::int64_t lines = 0;
    std::int64_t moves = 0;
    std::int64_t dwells = 0;
};

// Turns a cut program, as the cut program writer writes it, into G-code for an open controller:
// every move, pause, heating and speed change in the program's order. Coordinates are the
// writer's registers in millimetres, front arm on the first pair of axis words, back arm on
// the second; a G92 makes the wire's start point the program's start registers, as the cut
// program counts from where the wire stands. Lines end with CR LF; numbers have a fixed count
// of decimals and a point whatever the locale.
class GcodeWriter {
public:
    using Sink = std::function<void(std::string_view)>;

    GcodeWriter(const GcodeOptions& options, GcodeProgramValues values, Sink sink);

    // One group of the program's commands with the registers the writer holds around its moves
    // (CutProgramJob::observe).
    void commands(std::string_view commands, std::span<const AxisRegisters> path);
    // Writes a pending pause and the profile's end; call once after the program's last command.
    void finish();

    const GcodeCounts& counts() const { return m_counts; }

private:
    void line(std::string_view text);
    void start(const AxisRegisters& registers);
    void flushPause();
    void move(const AxisRegisters& to);
    void comment(std::string_view text);
    void appendAxes(std::string& text, const AxisRegisters& registers) const;

    const GcodeProfile& m_profile;
    std::string m_axes;
    GcodeFeedMode m_feedMode;
    double m_powerScale;
    GcodeProgramValues m_values;
    Sink m_sink;
    GcodeCounts m_counts;

    bool m_started = false;
    std::string m_beforeStart;  // lines the program writes before its start point is known
    AxisRegisters m_position{};
    bool m_heating = false;
    int m_speedSet = 0;
    std::int64_t m_pause = 0;  // units (milliseconds) of the pause run not yet written
    bool m_inPause = false;
    std::string m_lastFeed;
    std::string m_out;  // the lines of the group being turned, handed to the sink at its end
    machine::CommandLengthTable m_lengths;
};

}  // namespace kerfline
