// machine: the machine information as the program reads it through the controller link, as JSON.
#include "cli/machine_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kerfline::cli {

int runMachine(int argc, char** argv)
{
    std::vector<std::string> switches;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs("usage: kerfline-cli machine [--virtual-machine[=PRODUCT]] [SWITCH...]\n", stderr);
            return ExitUsage;
        }
        switches.push_back(argument);
    }
    CliContext context;
    if (!context.start(std::move(switches)))
        return ExitRefused;
    context.openPlatform();
    AppContext& app = *context.app;

    machine::TfUsb link(app, *context.platform.platform);
    if (!link.connected()) {
        std::fprintf(stderr, "%s\n", app.Text("Control", "brakLacznosci").c_str());
        return ExitRefused;
    }
    machine::ControllerProtocol protocol(app, link);
    protocol.ReadMachineInfo();
    if (!link.connected()) {
        std::fprintf(stderr, "%s\n", app.Text("Control", "brakLacznosci").c_str());
        return ExitRefused;
    }

    const MachineState& s = app.machine;
    JsonWriter json;
    json.beginObject();
    json.key("vendor").string(s.vendor);
    json.key("product").string(s.product);
    json.key("familyCode").string(s.familyCode);
    json.key("limitX").integer(s.limitX);
    json.key("limitY").integer(s.limitY);
    json.key("resX").number(s.resX);
    json.key("resY").number(s.resY);
    json.key("res3").number(s.res3);
    json.key("stepsS").integer(s.stepsS);
    json.key("stepsW").integer(s.stepsW);
    json.key("stepsT").integer(s.stepsT);
    json.key("fcWidth").number(s.fcWidth);
    json.key("maxTravelSpeed").integer(s.maxTravelSpeed);
    json.key("maxWorkSpeed").integer(s.maxWorkSpeed);
    json.key("speedMultiplier").integer(s.speedMultiplier);
    json.key("version").string(std::to_string(s.versionMajor) + "." + std::to_string(s.versionMinor));
    json.key("predicates").beginObject();
    json.key("reportsPowerInPercent").boolean(s.reportsPowerInPercent);
    json.key("newPowerFormat").boolean(s.newPowerFormat());
    json.key("tableOnSpindleAxis").boolean(s.tableOnSpindleAxis());
    json.key("isPowerLimitedModel").boolean(s.isPowerLimitedModel(app.commandLine));
    json.key("isWideHeavyMachine").boolean(s.isWideHeavyMachine());
    json.key("homesRotaryAxis").boolean(s.homesRotaryAxis());
    json.key("beginsWithProductLineLetter").boolean(s.beginsWithProductLineLetter());
    json.key("isTwoWireMachine").boolean(s.isTwoWireMachine());
    json.endObject();
    json.endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
