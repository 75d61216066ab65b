#pragma once

#include "machine/controller_commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kerfline::machine {

// What a virtual cutter is built like, chosen from its product string.
struct VirtualMachineProfile {
    std::string product;
    std::int32_t limitX = 1200;        // millimetres
    std::int32_t limitY = 600;
    std::int32_t secondWireLimitX = 1200;
    double resX = 2.5;                 // steps per hundredth of a millimetre
    double resY = 2.5;
    double res3 = 1.0;
    std::int32_t stepsS = 8000;        // steps per revolution of table, spindle, axis 7
    std::int32_t stepsW = 8000;
    std::int32_t stepsT = 8000;
    std::int64_t fcWidth = 1000;       // millimetres
    std::uint8_t versionMajor = 4;
    std::uint8_t versionMinor = 2;
    int speedMultiplier = 2;           // what the program multiplies speeds and counts by
    bool powerInPercent = false;
    // Where the back arm stands at power-on, hundredths of a millimetre: the two-wire machine's
    // side wire waits below the front wire, so that either can cut without touching the other.
    std::int32_t backStartY = 8000;
    std::int32_t runMinutes = 8135;    // the machine's age when the program meets it
    std::int32_t programsRun = 412;
};

VirtualMachineProfile profileForProduct(const std::string& product);

// One point of the recorded wire path: every axis at the end of a move (or where a stop left it).
struct PathPoint {
    std::int64_t timeUs = 0;
    AxisSteps steps{};
};

// The controller of the virtual cutter: takes output reports, answers the reply channels and
// runs its motion in time. Time is handed in; the controller never looks at a clock.
class VirtualController {
public:
    static constexpr std::size_t kBufferCapacity = 600;  // program commands
    static constexpr std::size_t kBatch = 100;           // the transmission's batch
    static constexpr std::size_t kProgramWords = 65537;
    static constexpr std::size_t kReplyLength = 64;

    explicit VirtualController(VirtualMachineProfile profile);

    const VirtualMachineProfile& profile() const { return m_profile; }

    // One 17-byte output report. Commands longer than a report continue in the next one.
    void receiveReport(std::span<const std::uint8_t> report);
    // Reply channel k (10..17); nullopt for a channel the controller does not have.
    std::optional<std::vector<std::uint8_t>> channel(int k);

    // Runs the machine up to the given time (microseconds since the controller started).
    void advanceToUs(std::int64_t timeUs);
    std::int64_t nowUs() const { return m_nowUs; }

    // Operator and fault injection.
    void pressStart() { m_startRequest = true; }
    void pressStop() { m_stopRequest = true; }
    void pressContinue() { m_continueRequest = true; }
    void breakWire();
    void repairWire() { m_wireBreak = false; }
    // The next write of this program memory address stores a wrong word.
    void corruptWordOnWrite(std::size_t address) { m_corruptAddress = address; }
    // Power loss and restart: the program, the motion and the homing are lost.
    void reset();
    // "S" 11 asks for a restart; the cutter takes the request and disappears for a while.
    bool takeRestartRequest();

    // What the controller is doing, for tests and the GUI.
    AxisSteps positions() const;
    std::uint32_t statusFlags() const;
    bool homed() const { return m_homed; }
    bool outputOn(int output) const { return m_outputOn[static_cast<std::size_t>(output & 7)]; }
    std::int32_t powerSetting(int output) const { return m_power[static_cast<std::size_t>(output & 7)]; }
    int selectedOutput() const { return m_selectedOutput; }
    std::int32_t tensionSetPoint() const { return m_tension; }
    std::int32_t displayUnit() const { return m_displayUnit; }
    std::uint16_t speedPeriod(int set) const { return m_periods[static_cast<std::size_t>(set & 3)]; }
    std::size_t bufferedCommands() const { return m_buffer.size(); }
    std::size_t droppedCommands() const { return m_dropped; }
    const std::vector<std::uint16_t>& programMemory() const { return m_memory; }
    std::uint8_t eepromByte(std::uint8_t address) const { return m_eeprom[address]; }
    // Every program command the controller executed, in order, each as its whole bytes.
    const std::vector<std::string>& executedProgram() const { return m_executed; }
    void clearExecuted() { m_executed.clear(); }
    const std::vector<PathPoint>& path() const { return m_path; }
    // Program commands taken into the buffer since the controller started.
    std::uint64_t programCommandsReceived() const { return m_programReceived; }
    void clearPath() { m_path.clear(); }
    const std::array<std::int32_t, 2>& programOrigin() const { return m_origin; }
    int heavyRotations() const { return m_heavySettings; }
    std::uint8_t versionMajor() const { return m_versionMajor; }

private:
    // A timed activity: a move (all axes linear from start to target), a homing run or a pause.
    struct Activity {
        std::array<std::int64_t, kAxisCount> start{};
        std::array<std::int64_t, kAxisCount> target{};
        std::int64_t startUs = 0;
        std::int64_t endUs = 0;
        std::uint16_t period = 0;
        bool moves = true;
        bool manual = false;
        bool homing = false;
    };
    // A program move interrupted by "Q", resumed by "K".
    struct Interrupted {
        std::array<std::int64_t, kAxisCount> target{};
        std::int64_t remainingUs = 0;
        std::uint16_t period = 0;
    };

    void execute(const std::string& command);
    void executeDirect(const std::string& command);
    void executeProgramCommand(const std::string& command);
    void executeParameter(ParameterId parameter, std::int32_t value, const std::string& command);
    void movePiece(bool manual, std::uint8_t tag, std::int32_t value);
    void startMove(bool manual, std::int64_t count);
    void startHoming(std::uint8_t mask);
    void stopManualMotion();
    void pauseProgram();
    void continueProgram();
    void clearProgram();
    void finishActivity();
    bool stepProgram();
    int programLength(char letter) const;
    std::array<std::int64_t, kAxisCount> positionAt(std::int64_t timeUs) const;
    void record(std::int64_t timeUs);
    bool newPowerFormat() const;
    std::vector<std::uint8_t> programMemoryReply();

    VirtualMachineProfile m_profile;
    std::int64_t m_nowUs = 0;

    std::string m_pending;  // a command whose bytes continue in the next report
    std::array<std::int64_t, kAxisCount> m_position{};
    std::optional<Activity> m_activity;
    std::optional<Interrupted> m_interrupted;
    AxisSteps m_directMove{};
    AxisSteps m_programMove{};

    std::deque<std::string> m_buffer;
    std::uint64_t m_programReceived = 0;
    std::size_t m_dropped = 0;
    bool m_programRunning = false;
    bool m_paused = false;
    bool m_waitingForGo = false;
    std::int32_t m_programsStarted = 0;

    bool m_homed = false;
    bool m_wireBreak = false;
    bool m_startRequest = false;
    bool m_stopRequest = false;
    bool m_continueRequest = false;

    std::uint8_t m_speedSet = 0;
    std::array<std::uint16_t, 4> m_periods{};
    int m_selectedOutput = 0;
    std::array<std::int32_t, kAxisCount> m_power{};
    std::array<bool, kAxisCount> m_outputOn{};
    std::int32_t m_tension = 0;
    std::int32_t m_displayUnit = 0;
    int m_heavySettings = 0;
    std::array<std::uint8_t, 256> m_eeprom{};
    std::array<std::int32_t, 2> m_origin{};

    std::uint8_t m_versionMajor = 0;
    std::uint8_t m_versionMinor = 0;
    std::vector<std::uint16_t> m_memory;
    std::size_t m_nonBlankWords = 0;
    std::size_t m_readAddress = 0;
    std::size_t m_writeAddress = 0;
    std::optional<std::size_t> m_corruptAddress;
    bool m_restartRequested = false;

    std::vector<PathPoint> m_path;
    std::vector<std::string> m_executed;
};

}  // namespace kerfline::machine
