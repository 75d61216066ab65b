#pragma once

#include "machine/command_encoding.h"

#include <cstdint>

namespace kerfline::machine {

class ControllerProtocol;

// Key codes of the jog keys.
enum JogKey : int {
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyPad1 = 97,
    KeyPad2 = 98,
    KeyPad3 = 99,
    KeyPad4 = 100,
    KeyPad6 = 102,
    KeyPad7 = 103,
    KeyPad8 = 104,
    KeyPad9 = 105,
    KeyComma = 188,
    KeyFullStop = 190,
};

// Where a jog key sends the machine: signed distances of each arm in hundredths of a millimetre
// and whole revolutions of the table and the spindle.
struct JogDistances {
    std::int32_t frontX = 0, frontY = 0, backX = 0, backY = 0;
    std::int32_t tableRevolutions = 0, spindleRevolutions = 0;
    bool any() const
    {
        return frontX || frontY || backX || backY || tableRevolutions || spindleRevolutions;
    }
};

// The motion and heating sequences: jogs, go-to and heated moves inside the machine's limits,
// heating, power, speed and tension. All block the user-interface thread while they wait.
class MotionOperations {
public:
    explicit MotionOperations(ControllerProtocol& protocol) : m_protocol(protocol) {}

    void StopMotion();
    // Period of the selected speed set (a value as ReadSpeeds shows it, times speedMultiplier).
    void SetSpeed(std::uint16_t period);
    // The origin recorded by the cut command, hundredths of a millimetre.
    void SetProgramOrigin(std::int32_t originX, std::int32_t originY);
    void SetDisplayUnit(int unitIndex);
    void SetTension(std::int32_t tenthsOfNewton);
    void WriteEepromByte(std::uint8_t address, std::uint8_t value);

    // Heats the wire for a move (output 2) and waits the corner pause.
    void HeatAndPause();
    // Heats the wire for a move of the program's own (a jog, a heated move, a go-to to a base
    // point). A wire that was cold before is cooled again by coolAfterMove once the axes stand
    // still: it must not stand hot in the foam. Heating the operator switched on stays on.
    void heatForMove(int output);
    // Switches the heating off when a move heated a wire that was cold. The caller knows the
    // axes stand still and no program runs.
    void coolAfterMove();
    // The heating is someone else's now, the operator's (the Heating button) or a program's: no
    // move's heating is left to cool.
    void forgetMoveHeating() { m_heatedForMove = false; }
    void SendPowerSetting();
    void SetWorkPower(int output, double power);
    void HeatRamp(int output, int percent);
    // Off when heatingOn is set: every output that may heat the wire, not only the selected one.
    void ToggleHeating();
    // The output on, then the moment the controller takes to switch it.
    void SwitchHeatingOn(int output);
    // Switches off every heating output and the selected output.
    void SwitchHeatingOff();

    // The distances a key gives in the present state (four-axis and two-wire tables).
    JogDistances jogDistances(int key, bool front, bool back) const;
    JogDistances jogDistancesTwoWire(int key, bool front, bool back) const;
    void JogByKey(int key, bool front, bool back);
    void JogByKeyTwoWire(int key, bool front, bool back);

    // Travel move without heating; positions in millimetres, rotary targets in steps within a
    // revolution (the shorter way round is taken). False, with "ploterBrakLacznosci", when a read
    // fails: nothing moves on a position that was not read. While it waits for the move, a key or
    // a click stops the wire where it is and the go-to ends false, with "przejazdPrzerwany".
    bool gotopoint(bool wait, int speedSet, double frontX, double backX, double frontY, double backY,
                   std::int32_t tableTarget, std::int32_t spindleTarget);
    // Heated moves inside the limits; lengths in the display unit, the angle in degrees. False
    // when nothing was sent because the controller did not answer ("ploterBrakLacznosci" shown)
    // or the two-wire rule forbids the move.
    bool MoveToPoint(bool front, bool back, double angle, double y, double x);
    bool MoveByDelta(bool front, bool back, double angle, double dy, double dx);
    // Two-wire machine: the side wire to X 0 at the table's height, then 10 mm below the table.
    bool ParkSideWire();
    // Records the rotary positions after a jog or a stop.
    void saveRotaryRemainders();

    // Shared with the manual control panel and the cut command.
    bool rotaryMoved = false;
    std::int32_t savedTableRemainder = 0;
    std::int32_t savedSpindleRemainder = 0;

private:
    struct Offsets;
    void markHeatedForMove();
    bool m_heatedForMove = false;
    void jog(const JogDistances& distances, bool front, bool back, bool twoWire);
    void heatedMove(bool front, bool back, const Offsets& offsets);
    bool prepareSideWire(bool back, double dy, bool always, double& limitXmm, double& limitYmm, bool& linked);
    bool noConnection();
    void sleepMs(double ms);
    CommandBytes powerCommand(int output, std::int32_t value) const;

    ControllerProtocol& m_protocol;
};

}  // namespace kerfline::machine
