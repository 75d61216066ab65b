// kerf-calibration: the kerf from the measured sizes of the calibration test piece.
#include "cli/kerf_calibration_command.h"

#include "aids/kerf_calibration.h"
#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "config/number_text.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::cli {
namespace {

const CommandUsage usage{"kerf-calibration",
    "usage: kerfline-cli kerf-calibration --outer MM --inner MM [SWITCH...]\n"
    "  the measured outer size of the test piece and the measured size of its hole, in millimetres\n"};

std::optional<double> millimetres(const std::optional<std::string>& text)
{
    if (!text || text->empty())
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size())
        return std::nullopt;
    return value;
}

}  // namespace

int runKerfCalibration(int argc, char** argv)
{
    std::optional<double> outer;
    std::optional<double> inner;
    std::vector<std::string> switches;
    for (int i = 0; i < argc; ++i) {
        std::optional<std::string> value;
        if (takeValue("--outer", argc, argv, i, value)) {
            if (!(outer = millimetres(value)))
                return usage("--outer needs the measured outer size in millimetres");
        } else if (takeValue("--inner", argc, argv, i, value)) {
            if (!(inner = millimetres(value)))
                return usage("--inner needs the measured hole size in millimetres");
        } else if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            return usage("the kerf from the calibration cut");
        } else {
            switches.emplace_back(argv[i]);
        }
    }
    if (!outer || !inner)
        return usage("give --outer MM and --inner MM");

    CliContext context;
    if (!context.start(std::move(switches)))
        return ExitRefused;
    const AppContext& app = *context.app;
    const std::optional<KerfMeasurement> measured = kerfFromMeasurement(*outer, *inner);
    if (!measured) {
        app.language.ShowMessageBox(
            formatText(app.Text("Kerf_calibration", "pomiarNiepoprawny"),
                       {formatFixed(kCalibrationOuterMm, 0, app.decimalSeparator),
                        formatFixed(kCalibrationInnerMm, 0, app.decimalSeparator)}),
            true);
        return ExitRefused;
    }
    JsonWriter json;
    json.beginObject();
    json.key("kerf_mm").number(measured->kerf);
    json.endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
