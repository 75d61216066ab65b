#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

// What a DXF drawing holds besides the figures the reader takes from it: the units its header
// declares and the kinds of its entities. The reader ignores both (coordinates are read in the
// display unit); the survey lets the program tell the operator why a drawing came out empty or
// at an unexpected size.
struct DxfSurvey {
    bool opened = false;
    std::optional<int> insUnits;             // $INSUNITS of the header section
    bool hasEntities = false;                // an ENTITIES section was found
    std::map<std::string, int> entityKinds;  // entity name -> count in the ENTITIES section
};

// Reads the drawing as group code / value pairs. Any bytes are accepted; a file that cannot be
// opened gives a survey with `opened` false.
DxfSurvey surveyDxf(const std::string& path);

// Millimetres per drawing unit of an $INSUNITS value; none for 0 (unitless) and for values it
// does not know.
std::optional<double> insUnitsMillimetres(int insUnits);
// The symbol of a unit insUnitsMillimetres knows ("in", "mm", ...).
std::string_view insUnitsSymbol(int insUnits);

}  // namespace kerfline
