#include "aids/barcode_commands.h"

#include "aids/barcode_project.h"
#include "aids/ean13.h"
#include "base/language.h"
#include "config/configuration.h"
#include "config/konfig_file.h"

#include <filesystem>

namespace kerfline {

bool OpenBarcodeProject(const std::string& number, BarcodeContext& context, BarcodeProjectWindows& windows)
{
    if (!isValidEan13(number))
        return false;
    const std::string path = barcodeProjectPath(context.dataDirectory, number);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const auto project = readBarcodeProject(path);
    if (!project) {
        context.language.ShowMessageBox(
            formatText(context.language.Text("Barcode_projects", "bladOdczytuKodu"), {path}), true);
        return false;
    }

    // Only now is it known that the code names a job: the windows give way to it.
    windows.CloseAll();
    bool loaded = false;
    if (!project->configFileName.empty() && std::filesystem::is_regular_file(project->configFileName, error)) {
        const ConfigFileResult result = LoadKonfig(context.configuration, project->configFileName,
                                                   context.decimalSeparator, context.language);
        if (!result.ok())
            context.language.ShowMessageBox(messageFor(result, context.language), true);
        context.configuration.settings.configPath = project->configFileName;
        loaded = true;
    }
    for (const std::string& design : project->designs)
        windows.Open(design);
    if (project->designs.size() >= 2)
        windows.tile();
    return loaded;
}

std::optional<StoredBarcode> StoreCurrentState(BarcodeContext& context, BarcodeProjectWindows& windows)
{
    const tInterfejs& language = context.language;
    const auto number = newBarcodeNumber(context.dataDirectory);
    if (!number) {
        language.ShowMessageBox(language.Text("Barcode_projects", "brakWolnegoNumeru"), true);
        return std::nullopt;
    }
    StoredBarcode stored{*number, barcodeProjectPath(context.dataDirectory, *number)};
    std::error_code error;
    if (std::filesystem::exists(stored.path, error)) {
        language.ShowMessageBox(language.Text("Barcode_projects", "kodIstnieje"), true);
        return std::nullopt;
    }
    BarcodeProject project;
    project.configFileName = context.configuration.settings.configPath;
    project.designs = windows.designPaths();
    if (!saveBarcodeProject(stored.path, project, false)) {
        language.ShowMessageBox(formatText(language.Text("Barcode_projects", "bladZapisuKodu"), {stored.path}), true);
        return std::nullopt;
    }
    const std::string question = language.Text("Barcode_projects", "zapisanoDoPliku") + "\r\n" + stored.path +
                                 "\r\n\r\n" + language.Text("Barcode_projects", "uzupelnicEtykiete");
    stored.completeLabel = language.AskQuestion(question, Buttons::OkCancel) == AnswerOk;
    return stored;
}

}  // namespace kerfline
