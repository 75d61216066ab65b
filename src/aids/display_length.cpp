#include "aids/display_length.h"

#include "config/dialog_rules.h"
#include "config/number_text.h"
#include "config/parameters.h"
#include "base/round.h"

namespace kerfline {

double scaledMillimetres(double plotterUnits, double scalePercent)
{
    const auto scaled = roundHalfEven<std::int64_t>(plotterUnits * scalePercent / 100.0);
    return static_cast<double>(scaled) * 1000.0 / 40000.0;
}

std::string lengthWithUnit(double millimetres, int decimals, int displayUnit, char separator)
{
    return formatFixed(millimetres / unitFactor(displayUnit), decimals, separator) + " " +
           std::string(unitText(displayUnit));
}

std::string withoutAccelerator(const std::string& caption)
{
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&')
            text += caption[i];
        else if (i + 1 < caption.size() && caption[i + 1] == '&')
            text += caption[++i];
    }
    return text;
}

}  // namespace kerfline
