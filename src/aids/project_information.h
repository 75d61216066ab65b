#pragma once

#include <string>

namespace kerfline {

struct AppContext;
class TMDIChild;

// The project information window (Tinfoform) without its widgets: the value of each label.
// The window recomputes them every time it is painted.
struct ProjectInformation {
    std::string fname;       // caption of the project window (its file name and mode tag)
    std::string konfigname;  // the configuration file's path
    std::string szerokosc;   // scaled width with unit
    std::string wysokosc;    // scaled height with unit
    std::string totlen;      // cut length
    std::string total_time;  // estimated cutting time
    std::string kerf;        // the kerf the path is compensated for, with unit
    // The fuller estimate beside total_time: the program's own time with its heat-up and corner
    // pauses, in minutes and seconds; empty where the program is not a plain 2D one.
    std::string programTime;
    std::string drawingUnits;  // a DXF drawing's declared units when they differ from the display unit

    // Fills the values for the project under the current configuration. `windowCaption` is the
    // project window's caption, which carries the arm or wire tag of the independent and
    // perpendicular modes; a window without one shows its file name. In the perpendicular
    // mode (and any mode beyond the five it knows) the length and time keep what they showed.
    void update(const TMDIChild& project, const std::string& windowCaption, const AppContext& context);
    // Writes the project's program to memory to time it: once per showing, not per paint.
    void estimateProgram(TMDIChild& project);
};

// Each figure costs this long beyond its length (the wire's corner and entry pauses), minutes.
inline constexpr double kMinutesPerFigure = 0.03;

}  // namespace kerfline
