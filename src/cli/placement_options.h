#pragma once

#include "placement/material_placement.h"

#include <optional>
#include <string>

namespace kerfline {
struct AppContext;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::cli {

// The answers of the material placement dialog as options: --width MM, --distance MM,
// --arm-spacing MM. Unset answers take the dialog's first values.
struct PlacementOptions {
    std::optional<double> width;
    std::optional<double> distance;
    std::optional<double> armSpacing;

    PlacementAnswers answersFrom(const PlacementAnswers& initial) const;
};

// Takes one of the options at argv[i], advancing i past a separate value. False when argv[i] is
// none of them; `problem` is set when its value is missing or not a number.
bool takePlacementOption(int argc, char** argv, int& i, PlacementOptions& options, std::string& problem);

// The usage lines of the options.
inline constexpr const char* kPlacementUsage =
    "  --width MM          width of the block between its front and back faces (default 500)\n"
    "  --distance MM       distance of the block's front face from the front arm (default 0)\n"
    "  --arm-spacing MM    distance between the front and back arms (default the machine's width)\n";

// The dialog's Start pressed with the answers, and once more when the working-area test moved the
// arms to the point it proposed (without a controller the arms are taken to stand there). True
// when the placement closed with success.
bool placeWithAnswers(AppContext& app, TMDIChild& mix, const PlacementOptions& options,
                      machine::ControllerProtocol* protocol);

}  // namespace kerfline::cli
