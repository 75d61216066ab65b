#include "designfiles/design_error.h"

#include "shell/language.h"

namespace kerfline {

std::string DesignError::message(const tInterfejs& language) const
{
    const std::string where = std::to_string(offset);
    switch (kind) {
    case Kind::NotInteger:
        return formatText(language.Text("Universal", "bladKonwersji"), {file, where, token});
    case Kind::NotNumber:
        return formatText(language.Text("Universal", "nieLiczba"), {file, where, token});
    case Kind::ReadFailed:
        break;
    }
    return formatText(language.Text("Universal", "bladOdczytu"), {file, where});
}

}  // namespace kerfline
