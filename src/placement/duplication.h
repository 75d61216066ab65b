#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kerfline {

class TMDIChild;

// The answers of the duplication dialog (TfParDup), lengths in millimetres. The counts are
// fields like the others; their integer parts count.
struct DuplicationParameters {
    double elementsInRow = 2;  // n
    double rows = 1;           // m
    double elementOffset = 0;  // element width plus the gap to the next
    double rowOffset = 0;      // element height plus the gap to the next row
    double verticalLineDistance = 0;    // elements to the vertical parts of the connecting line
    double horizontalLineDistance = 0;  // elements to the horizontal parts
};

// The defaults for a pattern of the given size (millimetres): offsets of the size plus 10 mm, the
// line in the middle of the gaps.
DuplicationParameters defaultDuplication(double patternWidthMm, double patternHeightMm);

// The dialog's fields, for the check that fails to name the one to focus.
enum class DuplicationField { ElementsInRow, Rows, ElementOffset, RowOffset, VerticalDistance, HorizontalDistance };

// A check of the answers that did not pass: the key of its text in "Duplication_parameters"
// (or "Main_window"/"projektZaDuzy" for a sheet beyond the plotter units), the field to focus,
// and whether it is a question the operator may accept (overlapping elements).
struct DuplicationRefusal {
    std::string section;
    std::string key;
    DuplicationField field;
    bool question = false;
};

// The checks of Execute in their order, all but the question's answer. `patternWidth` and
// `patternHeight` in millimetres.
std::optional<DuplicationRefusal> duplicationRefusal(const DuplicationParameters& parameters, double patternWidthMm,
                                                     double patternHeightMm, bool overlapAccepted);

// The copies and the connecting line of the duplication, added to `result` (an empty project):
// the pattern repeated in rows and columns, and one serpentine line along them that touches the
// start of every copy. `result` is then prepared for 2D cutting (ciecie).
void duplicate(const TMDIChild& pattern, const DuplicationParameters& parameters, TMDIChild& result);

// The connecting line alone, for a pattern of `figureCount` figures whose start figure is
// `startFigure`, given the copies already in `copies` (row by row, column by column).
std::vector<Point> connectingLine(const TMDIChild& pattern, const DuplicationParameters& parameters,
                                  const std::vector<tfigura>& copies);

}  // namespace kerfline
