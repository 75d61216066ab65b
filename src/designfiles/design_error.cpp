#include "designfiles/design_error.h"

#include "base/language.h"

namespace kerfline {

std::string DesignError::message(const tInterfejs& language) const
{
    // Line-oriented formats name the line, HPGL plots the byte.
    if (line != 0) {
        const std::string where = std::to_string(line);
        switch (kind) {
        case Kind::NotInteger:
            return formatText(language.Text("Universal", "bladKonwersjiWiersz"), {file, where, token});
        case Kind::NotNumber:
            return formatText(language.Text("Universal", "nieLiczbaWiersz"), {file, where, token});
        case Kind::OutOfRange:
            if (token.empty())
                return formatText(language.Text("Universal", "ksztaltPozaZakresem"), {file, where});
            return formatText(language.Text("Universal", "wartoscPozaZakresem"), {file, where, token});
        case Kind::TooManyPoints:
            return formatText(language.Text("Universal", "zaDuzoPunktowKrzywej"), {file, where});
        case Kind::TooFewKnots:
            return formatText(language.Text("Universal", "zaMaloWezlow"), {file, where});
        case Kind::BadCurve:
            return formatText(language.Text("Universal", "krzywaNieprawidlowa"), {file, where});
        case Kind::TooComplex:
            return formatText(language.Text("Universal", "sciezkaZbytZlozona"), {file, where});
        case Kind::ReadFailed:
            break;
        }
    }
    const std::string where = std::to_string(offset);
    switch (kind) {
    case Kind::NotInteger:
        return formatText(language.Text("Universal", "bladKonwersji"), {file, where, token});
    case Kind::NotNumber:
        return formatText(language.Text("Universal", "nieLiczba"), {file, where, token});
    default:
        break;
    }
    return formatText(language.Text("Universal", "bladOdczytu"), {file, where});
}

}  // namespace kerfline
