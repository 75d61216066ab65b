#pragma once

#include "config/config_file_result.h"

#include <string>

namespace kerfline {

struct AppContext;
class CommandLine;
class Configuration;
struct MachineState;

// What the configuration dialog does at each step of its life, without the widgets. Each
// returns the first failure for the caller to show with messageFor(); the steps after a failed
// write still run where the program can go on with the values it has.

// Creation: global settings, then the current configuration file, then the derived values.
ConfigFileResult startConfiguration(AppContext& context);

// Activation: the model's rules for the machine, then the snapshot that Cancel restores
// (dataDirectory + "Kerfline.kcc"); clears calibrationChanged and modeChanged.
ConfigFileResult activateConfiguration(AppContext& context);

// OK. `machineToReread` is set when the calibration changed: the machine parameters are to be
// read again from the controller, which applies it.
struct ConfirmResult {
    bool machineToReread = false;
    ConfigFileResult file;
};
ConfirmResult confirmConfiguration(AppContext& context);

// Cancel: the snapshot comes back; modeChanged and powerOutputPending are cleared.
ConfigFileResult cancelConfiguration(AppContext& context);

// Deactivation: the display unit follows radiounit.
void deactivateConfiguration(AppContext& context);

// Save as and Open: the chosen file becomes the current one when the step succeeded.
ConfigFileResult saveConfigurationAs(AppContext& context, const std::string& path);
ConfigFileResult openConfiguration(AppContext& context, const std::string& path);

// End of the program: the global settings are written.
ConfigFileResult finishConfiguration(AppContext& context);

// The tab of rotary cutting is shown only with the switch "RotaryCutExt".
bool rotaryTabVisible(const CommandLine& commandLine);

// Takes the spindle (or table) position from the machine's front X and Y. False when the machine
// has not been homed: nothing changes and the caller shows "wykonajBazowaniePrzed".
bool takeAxisPosition(Configuration& configuration, const MachineState& machine, bool spindle);

}  // namespace kerfline
