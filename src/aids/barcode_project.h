#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kerfline {

class IniDocument;

// A barcode project: the configuration file and the designs of one job, and the operator's
// four label lines, kept in dataDirectory + number + ".cod".
struct BarcodeProject {
    std::string configFileName;
    std::vector<std::string> designs;  // "Prj1", "Prj2", ... up to the first missing one
    std::array<std::string, 4> labelLines;
};

inline constexpr const char* kBarcodeExtension = ".cod";

std::string barcodeProjectPath(const std::string& dataDirectory, const std::string& number);

BarcodeProject barcodeProjectFrom(const IniDocument& document);
// Replaces the sections "Configuration" and "Projects" (and "Label" when `withLabel`) of the
// document by the project's; other sections stay.
void putBarcodeProject(IniDocument& document, const BarcodeProject& project, bool withLabel);

// Reads a project file; nothing when it cannot be read.
std::optional<BarcodeProject> readBarcodeProject(const std::string& path);
// Rewrites the project's sections of the file (created when missing) as a whole, keeping
// whatever else the file holds. False when the file could not be written; the old one is then
// as it was.
bool saveBarcodeProject(const std::string& path, const BarcodeProject& project, bool withLabel);

// The numbers of the project files in the data directory, in order. Only names that are valid
// EAN-13 numbers count: another file that happens to end in ".cod" is no project.
std::vector<std::string> barcodeNumbers(const std::string& dataDirectory);
// The number a new project takes: the largest serial among the stored numbers plus 1 (1 when
// there are none); nothing when the serials are used up.
std::optional<std::string> newBarcodeNumber(const std::string& dataDirectory);

}  // namespace kerfline
