#include "config/configuration_lifecycle.h"

#include "config/configuration.h"
#include "config/konfig_file.h"
#include "machine/machine_state.h"
#include "shell/app_context.h"

namespace kerfline {
namespace {

std::string snapshotPath(const AppContext& context)
{
    return context.dataDirectory + kDefaultConfigFile;
}

}  // namespace

ConfigFileResult startConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    configuration.applySpeedMaxima();
    configuration.applyAccuracyRange();
    const ConfigFileResult settings = LoadGlobalSettings(configuration.settings, context.dataDirectory);
    const ConfigFileResult loaded =
        LoadKonfig(configuration, configuration.settings.configPath, context.decimalSeparator, context.language);
    configuration.updateDisplayUnit();
    configuration.updateJoinToleranceAndCurveStep();
    return settings.ok() ? loaded : settings;
}

ConfigFileResult activateConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    configuration.activate();
    const ConfigFileResult snapshot = SaveKonfig(configuration, snapshotPath(context), context.decimalSeparator);
    configuration.calibrationChanged = false;
    configuration.modeChanged = false;
    return snapshot;
}

ConfirmResult confirmConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    ConfirmResult result;
    result.machineToReread = configuration.calibrationChanged;
    result.file = SaveGlobalSettings(configuration.settings, context.dataDirectory);
    if (result.file.ok() && configuration.isChecked(Param::AutoSave))
        result.file = SaveKonfig(configuration, configuration.settings.configPath, context.decimalSeparator);
    configuration.updateJoinToleranceAndCurveStep();
    // The lathe speed chosen in the dialog counts from now, not from the next load.
    configuration.updateConstantLatheSpeed();
    return result;
}

ConfigFileResult cancelConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    const ConfigFileResult loaded =
        LoadKonfig(configuration, snapshotPath(context), context.decimalSeparator, context.language);
    configuration.modeChanged = false;
    configuration.powerOutputPending = false;
    return loaded;
}

void deactivateConfiguration(AppContext& context)
{
    context.configuration.updateDisplayUnit();
}

ConfigFileResult saveConfigurationAs(AppContext& context, const std::string& path)
{
    const ConfigFileResult saved = SaveKonfig(context.configuration, path, context.decimalSeparator);
    if (saved.ok())
        context.configuration.settings.configPath = path;
    return saved;
}

ConfigFileResult openConfiguration(AppContext& context, const std::string& path)
{
    const ConfigFileResult loaded = LoadKonfig(context.configuration, path, context.decimalSeparator, context.language);
    if (loaded.ok())
        context.configuration.settings.configPath = path;
    return loaded;
}

ConfigFileResult finishConfiguration(AppContext& context)
{
    return SaveGlobalSettings(context.configuration.settings, context.dataDirectory);
}

bool rotaryTabVisible(const CommandLine& commandLine)
{
    return commandLine.HasSwitch("RotaryCutExt");
}

bool takeAxisPosition(Configuration& configuration, const MachineState& machine, bool spindle)
{
    if (!machine.homed())
        return false;
    configuration.setNumber(spindle ? Param::Xwrzeciona : Param::Xstolika, machine.frontX / 100.0);
    configuration.setNumber(spindle ? Param::Ywrzeciona : Param::Ystolika, machine.frontY / 100.0);
    return true;
}

}  // namespace kerfline
