#include "config/configuration_lifecycle.h"

#include "base/atomic_file.h"
#include "config/configuration.h"
#include "config/konfig_file.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/machine_state.h"
#include "base/app_context.h"

#include <filesystem>

namespace kerfline {
namespace {

std::string snapshotPath(const AppContext& context)
{
    return context.dataDirectory + kDefaultConfigFile;
}

// One name per file, however the path was spelled.
std::string fileKey(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

ConfigFileResult loadKonfig(AppContext& context, const std::string& path)
{
    Configuration& configuration = context.configuration;
    ConfigFileResult loaded = LoadKonfig(configuration, path, context.decimalSeparator, context.language);
    switch (loaded.status) {
    case ConfigFileResult::Status::Ok:
        configuration.filesToKeep.erase(fileKey(path));
        break;
    case ConfigFileResult::Status::BadValue:
        loaded.keptCopy = keptCopyPath(path);
        configuration.filesToKeep.insert(fileKey(path));
        break;
    case ConfigFileResult::Status::ReadFailed:
        configuration.filesToKeep.insert(fileKey(path));
        break;
    case ConfigFileResult::Status::WriteFailed:  // a missing file that could not be created
        break;
    }
    return loaded;
}

ConfigFileResult saveKonfig(AppContext& context, const std::string& path)
{
    Configuration& configuration = context.configuration;
    const auto toKeep = configuration.filesToKeep.find(fileKey(path));
    if (toKeep != configuration.filesToKeep.end()) {
        std::error_code ec;
        const bool gone = std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found;
        if (!gone && !copyFileAtomically(path, keptCopyPath(path)))
            return ConfigFileResult{ConfigFileResult::Status::WriteFailed, keptCopyPath(path), 0, {}, {}};
        configuration.filesToKeep.erase(toKeep);
    }
    return SaveKonfig(configuration, path, context.decimalSeparator);
}

}  // namespace

std::string keptCopyPath(const std::string& path)
{
    return path + ".bak";
}

ConfigFileResult startConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    configuration.applySpeedMaxima();
    configuration.applyAccuracyRange();
    const ConfigFileResult settings = LoadGlobalSettings(configuration.settings, context.dataDirectory);
    const ConfigFileResult loaded = loadKonfig(context, configuration.settings.configPath);
    configuration.updateDisplayUnit();
    configuration.updateJoinToleranceAndCurveStep();
    return settings.ok() ? loaded : settings;
}

ConfigFileResult activateConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    configuration.activate();
    const ConfigFileResult snapshot = saveKonfig(context, snapshotPath(context));
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
        result.file = saveKonfig(context, configuration.settings.configPath);
    configuration.updateJoinToleranceAndCurveStep();
    // The lathe speed chosen in the dialog counts from now, not from the next load.
    configuration.updateConstantLatheSpeed();
    return result;
}

ConfigFileResult cancelConfiguration(AppContext& context)
{
    Configuration& configuration = context.configuration;
    const ConfigFileResult loaded = loadKonfig(context, snapshotPath(context));
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
    const ConfigFileResult saved = saveKonfig(context, path);
    if (saved.ok())
        context.configuration.settings.configPath = path;
    return saved;
}

ConfigFileResult openConfiguration(AppContext& context, const std::string& path)
{
    const ConfigFileResult loaded = loadKonfig(context, path);
    if (loaded.ok() || loaded.status == ConfigFileResult::Status::BadValue)
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

AxisPositionTaken takeAxisPosition(Configuration& configuration, machine::ControllerProtocol* protocol, bool spindle)
{
    if (protocol == nullptr)
        return AxisPositionTaken::NoConnection;
    const MachineState& machine = protocol->state();
    if (!machine.homed())
        return AxisPositionTaken::NotHomed;
    // The position the panel saw last may be old: the axis is where the wire stands now.
    protocol->ReadPositions();
    if (!protocol->link().connected())
        return AxisPositionTaken::NoConnection;  // the positions read are not the machine's
    configuration.setNumber(spindle ? Param::Xwrzeciona : Param::Xstolika, machine.frontX / 100.0);
    configuration.setNumber(spindle ? Param::Ywrzeciona : Param::Ystolika, machine.frontY / 100.0);
    return AxisPositionTaken::Taken;
}

}  // namespace kerfline
