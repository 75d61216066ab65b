#include "shell/documents.h"

#include "shell/app_context.h"

#include <filesystem>

namespace kerfline {
namespace {

bool dealerOwnDocuments(const std::string& dealer)
{
    return !dealer.empty() && dealer != "QUORVANT";
}

}  // namespace

bool pathExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::string DocumentPaths::manual() const
{
    const std::string stem = programDirectory + "Kerfline_manual_";
    const std::string tail = dealerOwnDocuments(dealer) ? "_" + dealer + ".pdf" : ".pdf";
    const std::string inLanguage = stem + language + tail;
    return exists(inLanguage) ? inLanguage : stem + "US" + tail;
}

std::optional<std::string> DocumentPaths::dealerCatalogue() const
{
    if (dealer.empty())
        return std::nullopt;
    const std::string inLanguage = programDirectory + "Catalogue_" + language + "_" + dealer + ".pdf";
    return exists(inLanguage) ? inLanguage : programDirectory + "Catalogue_US_" + dealer + ".pdf";
}

bool DocumentPaths::dealerCataloguePresent() const
{
    const auto path = dealerCatalogue();
    return path && exists(*path);
}

std::string DocumentPaths::catalogue() const
{
    if (dealerOwnDocuments(dealer))
        return *dealerCatalogue();
    const std::string inLanguage = programDirectory + "Catalogue_" + language + ".pdf";
    return exists(inLanguage) ? inLanguage : programDirectory + "Catalogue_US.pdf";
}

std::string DocumentPaths::samples() const
{
    if (language == "PL" && exists(programDirectory + "Projekty probne"))
        return programDirectory + "Projekty probne";
    return programDirectory + "Samples";
}

DocumentPaths documentPathsFor(const AppContext& context)
{
    return DocumentPaths{context.programDirectory, context.language.languageCode(), context.dealerEdition};
}

}  // namespace kerfline
