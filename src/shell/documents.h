#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kerfline {

struct AppContext;

// Tells whether a file or directory is there; the documents are looked up through it.
using ExistsFunction = std::function<bool(const std::string& path)>;
bool pathExists(const std::string& path);

// The documents installed beside the program, each with its fallbacks. All paths lie in the
// program directory; `language` is the language code ("PL", "US"), `dealer` the dealer edition.
struct DocumentPaths {
    std::string programDirectory;
    std::string language;
    std::string dealer;
    ExistsFunction exists = pathExists;

    // The manual: the dealer's in the language, else in English; without a dealer (or for
    // QUORVANT) the plain manual in the language, else in English. The path looked for last
    // when none is there.
    std::string manual() const;
    // The dealer's catalogue, only when a dealer is set.
    std::optional<std::string> dealerCatalogue() const;
    std::string catalogue() const;
    // The samples directory: "Projekty probne" in Polish when it exists, else "Samples".
    std::string samples() const;

    bool manualPresent() const { return exists(manual()); }
    bool cataloguePresent() const { return exists(catalogue()); }
    bool samplesPresent() const { return exists(samples()); }
    bool dealerCataloguePresent() const;
};

DocumentPaths documentPathsFor(const AppContext& context);

}  // namespace kerfline
