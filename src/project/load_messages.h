#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kerfline {

class tInterfejs;

// A width and a height in millimetres.
struct SizeMm {
    double width = 0.0;
    double height = 0.0;
};

// "1250.0 x 300.0 mm": a size in the display unit, fixed-point with `decimals`.
std::string sizeInDisplayUnit(SizeMm size, int decimals, int displayUnit, char decimalSeparator);

// "Main_window"/"projektZaDuzy", then on a line of its own the project's size and the machine's
// working area in the display unit (with the decimals of a machine size), so the operator sees
// by how much it is too large.
std::string projectTooLargeMessage(const tInterfejs& language, SizeMm project, SizeMm machine, int displayUnit,
                                   char decimalSeparator);

// "Project_window"/"zbiorPusty", then the file's path and, where the loader or the file can tell,
// the likely cause: every figure was of a pen the mode's filter left out (`filteredByPen`), a
// DXF drawing holds only text, only points, only block insertions or only kinds of entities
// that are not read, or a plot file only labels or only moves the pen.
std::string emptyDesignMessage(const tInterfejs& language, const std::string& path, std::int32_t fileType,
                               std::size_t filteredByPen);

// The note for a DXF drawing whose header declares units ($INSUNITS) other than the display unit
// its coordinates are read in: the declared unit and the size the drawing would have read in it.
// Empty when the drawing declares none, a unit it does not know, or the display unit itself.
// `asRead` is the drawing's size as read, in millimetres.
std::string drawingUnitsNote(const tInterfejs& language, std::optional<int> insUnits, SizeMm asRead, int displayUnit,
                             char decimalSeparator);

}  // namespace kerfline
