#pragma once

#include <string>
#include <string_view>

namespace kerfline {

struct AppContext;
struct MachineState;
class tInterfejs;

namespace machine {
class ControllerProtocol;
class TfUsb;
}  // namespace machine

inline constexpr const char* kMakerWebAddress = "https://www.quorvant.example/";
inline constexpr const char* kTalmorWebAddress = "https://www.talmor.example/";
// The desktop program's executable in the program directory: its date is the build date.
inline constexpr const char* kProgramExecutable = "kerfline";

// What the dealer edition changes in the About box.
struct AboutDealer {
    std::string webAddress;       // empty: neither link nor address on the logo
    bool vendorRowVisible = true;
    std::string logoPath;         // empty: the logo panel stays hidden
};
AboutDealer aboutDealer(const std::string& dealerEdition, const std::string& programDirectory);

// The machine-width row belongs to the families "Qd", "gv" and "Qm", compared exactly.
bool showsMachineWidth(std::string_view familyCode);

// Run time from minutes: hours, the "godz" text, minutes and " min.".
std::string runTimeText(int minutes, const tInterfejs& language);
// limitX "x" limitY in the display unit with one decimal, a space and the unit.
std::string workingAreaText(const MachineState& machine, int displayUnit, char separator);

// The date of the program's executable as a short date of the locale; the "Nieznana" text of
// the About section when the file cannot be read.
std::string buildDate(const std::string& programDirectory, const tInterfejs& language);

// The About box (TAboutBox) without its widgets: the texts of its value labels and which rows
// it shows.
struct AboutInformation {
    std::string caption;
    std::string programLine;   // "labelprog.caption" + " Kerfline"
    std::string newVer;        // major.minor.release.build
    std::string ver;           // build date
    std::string prod, model, obszar, szerokosc, przebieg, ilpl, ARMwersja;
    AboutDealer dealer;
    bool widthRowVisible = true;  // once hidden it stays hidden for the run

    // At program start: captions, dealer address, vendor row and logo.
    void create(const AppContext& context);
    // On every showing: reads the status and, when the controller answers, its information.
    void activate(AppContext& context, machine::ControllerProtocol& protocol, const machine::TfUsb& link);
};

}  // namespace kerfline
