#include "machine/machine_state.h"

#include "base/switches.h"

namespace kerfline {
namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

void MachineState::setProduct(std::string_view newProduct)
{
    product = std::string(newProduct);
    familyCode = product.substr(0, 2);
}

bool MachineState::newPowerFormat() const
{
    return versionMajor >= 4 && versionMajor <= 9 && !reportsPowerInPercent;
}

bool MachineState::tableOnSpindleAxis() const
{
    const std::string upper = toUpperAscii(product);
    return startsWith(upper, "N45") || startsWith(upper, "N 45") || startsWith(upper, "KK45") ||
           startsWith(upper, "KK 45");
}

bool MachineState::isPowerLimitedModel(const CommandLine& commandLine) const
{
    if (commandLine.HasSwitch("fullPower"))
        return false;
    const std::string upper = toUpperAscii(product);
    for (const std::string_view prefix : {"N45", "N 45", "KK45", "KK 45", "KK46", "KK 46"})
        if (startsWith(upper, prefix))
            return true;
    return false;
}

bool MachineState::isWideHeavyMachine() const
{
    const std::string family = toUpperAscii(familyCode);
    return (family == "GV" || family == "QM") && fcWidth >= 2000.0;
}

bool MachineState::homesRotaryAxis() const
{
    if (beginsWithProductLineLetter())
        return true;
    if (product.empty())
        return false;
    const char first = product.front();
    return (first >= 'a' && first <= 'z') || first == 'N';
}

bool MachineState::beginsWithProductLineLetter() const
{
    return startsWith(product, "Qd") || startsWith(product, "Qm") || startsWith(product, "Pr");
}

}  // namespace kerfline
