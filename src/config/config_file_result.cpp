#include "config/config_file_result.h"

#include "base/language.h"

namespace kerfline {

std::string messageFor(const ConfigFileResult& result, const tInterfejs& language)
{
    switch (result.status) {
    case ConfigFileResult::Status::Ok:
        return {};
    case ConfigFileResult::Status::ReadFailed:
        return formatText(language.Text("Configuration", "bladOdczytuPliku"), {result.path});
    case ConfigFileResult::Status::WriteFailed:
        return formatText(language.Text("Configuration", "bladZapisuPliku"), {result.path});
    case ConfigFileResult::Status::BadValue: {
        std::string text = formatText(language.Text("Configuration", "bladWartosciKonfiguracji"),
                                      {result.path, std::to_string(result.line), result.value});
        if (!result.keptCopy.empty())
            text += " " + formatText(language.Text("Configuration", "kopiaPlikuKonfiguracji"), {result.keptCopy});
        return text;
    }
    }
    return {};
}

}  // namespace kerfline
