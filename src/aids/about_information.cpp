#include "aids/about_information.h"

#include "aids/display_length.h"
#include "config/dialog_rules.h"
#include "config/number_text.h"
#include "config/parameters.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "base/version.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>

namespace kerfline {

AboutDealer aboutDealer(const std::string& dealerEdition, const std::string& programDirectory)
{
    AboutDealer dealer;
    if (dealerEdition.empty() || dealerEdition == "QUORVANT")
        dealer.webAddress = kMakerWebAddress;
    else if (dealerEdition == "TALMOR")
        dealer.webAddress = kTalmorWebAddress;
    dealer.vendorRowVisible = dealerEdition.empty() || dealerEdition == "QUORVANT";
    if (!dealerEdition.empty()) {
        const std::string path = programDirectory + dealerEdition + ".bmp";
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            dealer.logoPath = path;
    }
    return dealer;
}

bool showsMachineWidth(std::string_view familyCode)
{
    return familyCode == "Qd" || familyCode == "gv" || familyCode == "Qm";
}

std::string runTimeText(int minutes, const tInterfejs& language)
{
    return std::to_string(minutes / 60) + language.Text("About", "godz") + std::to_string(minutes % 60) + " min.";
}

std::string workingAreaText(const MachineState& machine, int displayUnit, char separator)
{
    const double factor = unitFactor(displayUnit);
    return formatFixed(machine.limitX / factor, 1, separator) + "x" + formatFixed(machine.limitY / factor, 1, separator) +
           " " + std::string(unitText(displayUnit));
}

std::string buildDate(const std::string& programDirectory, const tInterfejs& language)
{
    struct stat info {};
    const std::string path = programDirectory + kProgramExecutable;
    std::tm local{};
    if (::stat(path.c_str(), &info) != 0 || localtime_r(&info.st_mtime, &local) == nullptr)
        return language.Text("About", "Nieznana");
    char text[64];
    if (std::strftime(text, sizeof text, "%x", &local) == 0)
        return language.Text("About", "Nieznana");
    return text;
}

void AboutInformation::create(const AppContext& context)
{
    caption = context.Text("About", "Caption");
    programLine = context.Text("About", "labelprog.caption") + " " + kProgramTitle;
    newVer = kProgramVersion.full();
    ver = buildDate(context.programDirectory, context.language);
    dealer = aboutDealer(context.dealerEdition, context.programDirectory);
}

void AboutInformation::activate(AppContext& context, machine::ControllerProtocol& protocol, const machine::TfUsb& link)
{
    caption = context.Text("About", "Caption");
    newVer = kProgramVersion.full();
    protocol.ReadStatus();
    if (!link.connected()) {
        const std::string none = context.Text("About", "brakDanych");
        prod = model = obszar = szerokosc = przebieg = ilpl = ARMwersja = none;
        return;
    }
    protocol.ReadMachineInfo();
    const MachineState& machine = context.machine;
    const int unit = context.configuration.displayUnit;
    prod = machine.vendor;
    model = machine.product;
    obszar = workingAreaText(machine, unit, context.decimalSeparator);
    przebieg = runTimeText(machine.furtherValues[0], context.language);
    ilpl = std::to_string(machine.furtherValues[1]);
    ARMwersja = std::to_string(machine.versionMajor) + "." + std::to_string(machine.versionMinor);
    if (showsMachineWidth(machine.familyCode))
        szerokosc = lengthWithUnit(machine.fcWidth, machineSizeDecimals(unit), unit, context.decimalSeparator);
    else
        widthRowVisible = false;
}

}  // namespace kerfline
