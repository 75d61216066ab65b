#include "cli/placement_options.h"

#include "cli/options.h"
#include "base/round.h"
#include "shell/app_context.h"

#include <cmath>
#include <cstdlib>

namespace kerfline::cli {
PlacementAnswers PlacementOptions::answersFrom(const PlacementAnswers& initial) const
{
    PlacementAnswers answers = initial;
    if (width)
        answers.width = *width;
    if (distance)
        answers.distance = *distance;
    if (armSpacing)
        answers.armSpacing = *armSpacing;
    return answers;
}

bool takePlacementOption(int argc, char** argv, int& i, PlacementOptions& options, std::string& problem)
{
    std::optional<std::string> value;
    std::optional<double>* target = nullptr;
    const char* name = nullptr;
    if (takeValue("--width", argc, argv, i, value)) {
        target = &options.width;
        name = "--width";
    } else if (takeValue("--distance", argc, argv, i, value)) {
        target = &options.distance;
        name = "--distance";
    } else if (takeValue("--arm-spacing", argc, argv, i, value)) {
        target = &options.armSpacing;
        name = "--arm-spacing";
    } else {
        return false;
    }
    *target = realNumberArgument(value);
    if (!*target)
        problem = std::string(name) + " needs a length in millimetres";
    return true;
}

bool placeWithAnswers(AppContext& app, TMDIChild& mix, const PlacementOptions& options,
                      machine::ControllerProtocol* protocol)
{
    MaterialPlacement placement(app, app.job.placement, protocol);
    const PlacementAnswers answers = options.answersFrom(placement.initialAnswers());
    if (placement.Start(mix, answers))
        return true;
    if (!placement.acceptedMove)
        return false;
    if (!protocol) {
        MachineState& s = app.machine;
        s.frontX = s.backX = roundHalfEven(placement.acceptedMove->x * 100.0);
        s.frontY = s.backY = roundHalfEven(placement.acceptedMove->y * 100.0);
    }
    return placement.Start(mix, answers);
}

}  // namespace kerfline::cli
