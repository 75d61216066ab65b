#include "aids/barcode_project.h"

#include "aids/ean13.h"
#include "aids/ini_file.h"

#include <algorithm>
#include <filesystem>

namespace kerfline {
namespace {

constexpr const char* kConfigurationSection = "Configuration";
constexpr const char* kProjectsSection = "Projects";
constexpr const char* kLabelSection = "Label";

}  // namespace

std::string barcodeProjectPath(const std::string& dataDirectory, const std::string& number)
{
    return dataDirectory + number + kBarcodeExtension;
}

BarcodeProject barcodeProjectFrom(const IniDocument& document)
{
    BarcodeProject project;
    project.configFileName = document.value(kConfigurationSection, "ConfigFileName").value_or("");
    for (int i = 1;; ++i) {
        auto design = document.value(kProjectsSection, "Prj" + std::to_string(i));
        if (!design)
            break;
        project.designs.push_back(std::move(*design));
    }
    for (std::size_t i = 0; i < project.labelLines.size(); ++i)
        project.labelLines[i] = document.value(kLabelSection, "Line" + std::to_string(i + 1)).value_or("");
    return project;
}

void putBarcodeProject(IniDocument& document, const BarcodeProject& project, bool withLabel)
{
    document.eraseSection(kConfigurationSection);
    document.eraseSection(kProjectsSection);
    document.set(kConfigurationSection, "ConfigFileName", project.configFileName);
    for (std::size_t i = 0; i < project.designs.size(); ++i)
        document.set(kProjectsSection, "Prj" + std::to_string(i + 1), project.designs[i]);
    if (!withLabel)
        return;
    document.eraseSection(kLabelSection);
    for (std::size_t i = 0; i < project.labelLines.size(); ++i)
        document.set(kLabelSection, "Line" + std::to_string(i + 1), project.labelLines[i]);
}

std::optional<BarcodeProject> readBarcodeProject(const std::string& path)
{
    const auto document = readIniFile(path);
    if (!document)
        return std::nullopt;
    return barcodeProjectFrom(*document);
}

bool saveBarcodeProject(const std::string& path, const BarcodeProject& project, bool withLabel)
{
    std::error_code error;
    IniDocument document;
    if (std::filesystem::exists(path, error)) {
        // A file that is there but cannot be read is not overwritten: its other sections would
        // be lost.
        auto existing = readIniFile(path);
        if (!existing)
            return false;
        document = std::move(*existing);
    }
    putBarcodeProject(document, project, withLabel);
    return writeIniFile(path, document);
}

std::vector<std::string> barcodeNumbers(const std::string& dataDirectory)
{
    std::vector<std::string> numbers;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataDirectory, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() != kBarcodeExtension)
            continue;
        const std::string stem = path.stem().string();
        if (isValidEan13(stem) && it->is_regular_file(error))
            numbers.push_back(stem);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::optional<std::string> newBarcodeNumber(const std::string& dataDirectory)
{
    std::int64_t largest = 0;
    for (const std::string& number : barcodeNumbers(dataDirectory))
        largest = std::max<std::int64_t>(largest, std::stoll(number.substr(3, 9)));
    return barcodeNumber(largest + 1);
}

}  // namespace kerfline
