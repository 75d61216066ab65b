#pragma once

#include "config/config_file_result.h"

#include <string>

namespace kerfline {

struct AppContext;
class CommandLine;
class Configuration;
struct MachineState;
namespace machine {
class ControllerProtocol;
}

// What the configuration dialog does at each step of its life, without the widgets. Each
// returns the first failure for the caller to show with messageFor(); the steps after a failed
// write still run where the program can go on with the values it has.

// A configuration file that did not load cleanly (a value that does not convert, a read error)
// holds what the model does not. Every write below that would replace such a file first keeps
// it as keptCopyPath(path), written as a whole, once; when that copy cannot be made the file is
// not replaced. The load's message names the copy.
std::string keptCopyPath(const std::string& path);

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

// Save as and Open: the chosen file becomes the current one when it was written, or read (also
// with a value that did not convert: the model then holds the rest of that file).
ConfigFileResult saveConfigurationAs(AppContext& context, const std::string& path);
ConfigFileResult openConfiguration(AppContext& context, const std::string& path);

// End of the program: the global settings are written.
ConfigFileResult finishConfiguration(AppContext& context);

// The tab of rotary cutting is shown only with the switch "RotaryCutExt".
bool rotaryTabVisible(const CommandLine& commandLine);

// "Take spindle XY" and "Take table XY": on a homed machine the position is read from the
// controller now, and its front X and Y become Xwrzeciona and Ywrzeciona (Xstolika and
// Ystolika). Otherwise nothing changes and the caller shows "Configuration"/
// "wykonajBazowaniePrzed" (NotHomed) or "Control"/"ploterBrakLacznosci" (NoConnection, also
// when there is no protocol).
enum class AxisPositionTaken { Taken, NotHomed, NoConnection };
AxisPositionTaken takeAxisPosition(Configuration& configuration, machine::ControllerProtocol* protocol, bool spindle);

}  // namespace kerfline
