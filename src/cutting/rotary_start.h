#pragma once

#include <cstdint>

namespace kerfline {

class Configuration;
class TMDIChild;

// A project length in millimetres as the cutting job measures it: scaled by skala, rounded to
// whole plotter units, then divided by 40.
double projectLengthMm(std::int32_t units, double skala);

// The start positions of a rotary or turning program (millimetres), which the job sets before
// the project writes it and where it brings the wire. Values a mode does not set keep the ones
// given.
struct RotaryStart {
    double programStartX = 0.0;
    double programStartY = 0.0;
    bool fits = true;  // false: a rotary start would lie below zero ("projektZaDuzaWysokosc")
};

// For Mode 1 (rotary, spindle or table by the project's axis) and Mode 3 with a spindle or a
// table. Other modes return the given positions unchanged.
RotaryStart rotaryStartOf(const Configuration& config, const TMDIChild& project, double programStartX,
                          double programStartY);

}  // namespace kerfline
