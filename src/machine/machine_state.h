#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {

class CommandLine;

// The controller's eight axes, numbered as in every command and reply.
enum Axis : int {
    AxisFrontX = 0,   // front wire X on the two-wire machine
    AxisFrontY = 1,
    AxisTable = 2,    // rotary table, stepsS per revolution
    AxisAux = 3,      // auxiliary linear axis, res3
    AxisBackX = 4,    // side wire X on the two-wire machine
    AxisBackY = 5,
    AxisSpindle = 6,  // stepsW per revolution
    AxisAuxRotary = 7 // stepsT per revolution
};
inline constexpr int kAxisCount = 8;

// Bit numbers in the 32-bit status word; bit 0 is the least significant bit of reply byte 2.
// Other bits are not interpreted.
enum class StatusFlag : int {
    busy = 0,
    programRunning = 1,
    heatingOn = 2,
    paused = 6,
    bufferFull = 9,
    startRequest = 11,
    stopRequest = 12,
    continueRequest = 13,
    homed = 18,
    wireBreak = 19,
    waitingForGo = 20,
};

constexpr std::uint32_t statusBit(StatusFlag flag)
{
    return std::uint32_t{1} << static_cast<int>(flag);
}

// Everything the program knows about the connected controller. It holds usable defaults from
// program start, so any code can read it before a controller has ever answered.
struct MachineState {
    // Device strings. familyCode is the first two characters of the product; setProduct keeps
    // the two in step.
    std::string vendor = "Quorvant";
    std::string product = "Z740    ";
    std::string serial;
    std::string familyCode = "Z7";
    void setProduct(std::string_view newProduct);

    // Status (channel 10).
    std::uint8_t stateByte = 0;
    std::uint32_t statusFlags = 0;
    bool has(StatusFlag flag) const { return (statusFlags & statusBit(flag)) != 0; }
    bool busy() const { return has(StatusFlag::busy); }
    bool programRunning() const { return has(StatusFlag::programRunning); }
    bool heatingOn() const { return has(StatusFlag::heatingOn); }
    bool paused() const { return has(StatusFlag::paused); }
    bool bufferFull() const { return has(StatusFlag::bufferFull); }
    bool startRequest() const { return has(StatusFlag::startRequest); }
    bool stopRequest() const { return has(StatusFlag::stopRequest); }
    bool continueRequest() const { return has(StatusFlag::continueRequest); }
    bool homed() const { return has(StatusFlag::homed); }
    bool wireBreak() const { return has(StatusFlag::wireBreak); }
    bool waitingForGo() const { return has(StatusFlag::waitingForGo); }

    // Positions (channel 10): raw motor steps and what follows from them. Linear positions are
    // hundredths of a millimetre; remainders are steps within one revolution.
    std::array<std::int32_t, kAxisCount> rawSteps{};
    std::int32_t frontX = 0;
    std::int32_t frontY = 0;
    std::int32_t backX = 0;
    std::int32_t backY = 0;
    std::int32_t axis3 = 0;
    std::int32_t tableRemainder = 0;
    std::int32_t spindleRemainder = 0;
    std::int32_t axis7Remainder = 0;
    double tableAngle = 0.0;  // degrees
    double spindleAngle = 0.0;
    double axis7Angle = 0.0;

    // Speeds (channel 12).
    std::uint8_t selectedSpeedSet = 0;
    std::array<std::int16_t, 5> speeds{};
    std::int16_t currentSpeed = 0;

    // Power (channel 13).
    std::uint8_t selectedPowerOutput = 0;
    std::array<std::int32_t, 8> powerSettings{};
    std::uint16_t measuredPower = 0;
    std::uint16_t currentPower = 0;

    // Machine (channel 14), millimetres.
    std::int32_t limitX = 4800;
    std::int32_t limitY = 2400;
    std::int32_t secondWireLimitX = 4800;
    std::int32_t secondWireLimitY = 2400;
    std::array<std::int32_t, 2> furtherValues{};  // stored, not interpreted
    std::array<std::int32_t, 2> rotaryLimits{360, 360};

    // Resolution (channel 15): steps per millimetre and per revolution.
    double resX = 1.0;
    double resY = 1.0;
    double res3 = 1.0;
    std::int32_t stepsW = 8000;
    std::int32_t stepsS = 8000;
    std::int32_t stepsT = 8000;
    double fcWidth = 600.0;     // working width, millimetres
    double armSpacing = 0.0;    // distance of the front and back arm planes, millimetres

    // Wire tension (channel 16), tenths of a newton.
    std::int32_t tensionSetPoint = 0;
    std::int32_t tensionMeasured = 0;

    // Firmware version (channel 17).
    std::uint16_t versionMajor = 0;
    std::uint16_t versionMinor = 0;
    // major × 10 + minor, the number the power rules compare with.
    int firmwareVersion() const { return versionMajor * 10 + versionMinor; }

    // Speed limits derived from the model, millimetres per minute.
    int maxTravelSpeed = 5000;
    int maxWorkSpeed = 5000;
    int speedMultiplier = 2;

    // Set for the BV family when the speed limits are applied; never cleared during a run.
    bool reportsPowerInPercent = false;

    // Which arm manual moves and 2D cut programs drive; both at program start.
    bool KeyFront = true;  // axes 0 and 1 (the front wire on the two-wire machine)
    bool KeyBack = true;   // axes 4 and 5 (the side wire on the two-wire machine)

    // Factor of power values given in amperes: 1, or 100 once the manual control panel has
    // found newPowerFormat.
    int powerScale = 1;

    // Machine predicates.
    bool newPowerFormat() const;
    bool tableOnSpindleAxis() const;
    // Power limiting is on unless the switch "fullPower" is given.
    bool isPowerLimitedModel(const CommandLine& commandLine) const;
    bool isWideHeavyMachine() const;
    bool homesRotaryAxis() const;
    // The Qd, Qm and Pr families, which other parts tell apart from the rest.
    bool beginsWithProductLineLetter() const;
    // The two-wire family (front wire and side wire).
    bool isTwoWireMachine() const { return familyCode == "Pr"; }
};

}  // namespace kerfline
