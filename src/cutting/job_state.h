#pragma once

#include "placement/material_placement.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kerfline {

// A point of the machine in millimetres.
struct MachinePointMm {
    double x = 0.0;
    double y = 0.0;
};

// Where a pause left the machine: the eight derived positions of MachineState at that moment.
struct PausePoint {
    std::int32_t frontX = 0;  // hundredths of a millimetre
    std::int32_t frontY = 0;
    std::int32_t axis3 = 0;
    std::int32_t tableRemainder = 0;  // steps within a revolution
    std::int32_t backX = 0;
    std::int32_t backY = 0;
    std::int32_t axis7Remainder = 0;
    std::int32_t spindleRemainder = 0;
};

// The repetition of a serial job: armed by the serial start, counted down at every end.
struct SerialRepetition {
    bool armed = false;
    int remaining = 0;
    double shiftMm = 0.0;  // how far the start moves down per repetition
};

// The state of the cutting job that the driver, the transmission, the supervision and the
// manual control panel share. One record per program context.
struct JobState {
    // A program is considered running in the controller: set when "G" goes out, cleared by a
    // pause and at the end of a job.
    bool jobActive = false;
    // The operator stopped the job; the main window may then close during a transmission.
    bool stoppedByOperator = false;
    // Start position of rotary, serial and turning programs, millimetres.
    double programStartX = 0.0;
    double programStartY = 0.0;
    // Front X and Y when the last plain job started, hundredths of a millimetre, and every axis
    // then in motor steps.
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::array<std::int32_t, 8> originSteps{};
    // Jobs started since the Start command was last chosen.
    int jobCounter = 0;
    // Start points of the two wires of the two-wire machine.
    MachinePointMm frontWireStart;
    MachinePointMm sideWireStart;
    // The last accepted block of the material placement of the independent arms.
    PlacementMemory placement;
    // Where the wire stood when the program last paused, whoever paused it; none while the
    // program runs. Continue brings the wire back here.
    std::optional<PausePoint> pausePoint;
    SerialRepetition serialRepetition;
};

}  // namespace kerfline
