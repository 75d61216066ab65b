#include "shell/main_window_rules.h"

#include "config/parameters.h"
#include "cutting/cutting_session.h"
#include "shell/app_context.h"
#include "base/version.h"

#include <cctype>
#include <vector>

namespace kerfline {

MenuState menuState(const MenuFacts& facts)
{
    MenuState state;
    const bool any = facts.projectWindows > 0;
    for (const char* name : {"FileCloseItem", "FileSaveAsHPGL", "FileSaveAsDXF", "miEksportGcode", "miZaginaczProfili", "info",
                             "Symulacja", "Start1", "WindowCascadeItem", "WindowTileItem", "Window1",
                             "SpeedSymulacja", "SpeedStart"})
        state.enabled[name] = any;

    std::string caption = facts.activeCaption;
    for (char& c : caption)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool duplication = caption.size() >= 4 && caption.ends_with(".dpl");
    state.enabled["miDuplikujPlt"] = any && !duplication && facts.mode == Mode2D;
    state.enabled["miSaveSerial"] = any && facts.mode == ModeSerial;
    // Serial cutting can begin by choosing the folder of designs, with no window open yet.
    state.enabled["miCiecieSeryjne"] = facts.mode == ModeSerial;

    state.visible["miInstrObslugi"] = facts.manualPresent;
    state.visible["miPrzyklady"] = facts.samplesPresent;
    state.visible["miKatalog"] = facts.cataloguePresent;
    return state;
}

bool mayCloseMainWindow(AppContext& context, CuttingSession& session)
{
    TransmitArm& transmission = session.transmission;
    if (transmission.active()) {
        if (context.job.stoppedByOperator) {
            transmission.stop();
            return true;
        }
        context.language.ShowMessageBox(context.Text("Main_window", "wyjscieNiemozliwe"), false,
                                        context.Text("Universal", "uwaga"));
        return false;
    }
    session.protocol.ReadStatus();
    if (!session.link.connected() || !context.machine.programRunning())
        return true;
    switch (context.language.AskQuestion(context.Text("Main_window", "maszynaWciazTnie") + "\n" +
                                             context.Text("Main_window", "maszynaWciazTnieWybor"),
                                         Buttons::YesNoCancel,
                                         context.Text("Universal", "uwaga"))) {
    case AnswerYes:
        session.supervisor.Wstrzymaj1Click();
        return true;
    case AnswerNo:
        return true;
    default:
        return false;
    }
}

std::optional<std::string> announcedVersion(std::string_view listing, std::string_view title)
{
    const std::size_t at = listing.find(title);
    if (title.empty() || at == std::string_view::npos)
        return std::nullopt;
    std::string rest;
    for (const char c : listing.substr(at + title.size()))
        if (c != '\t' && c != ' ')
            rest += c;
    std::string version;
    for (const char c : rest) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.')
            break;
        version += c;
    }
    return version;
}

namespace {

std::vector<long> versionNumbers(const std::string& version)
{
    std::vector<long> numbers{0};
    for (const char c : version) {
        if (c == '.')
            numbers.push_back(0);
        else if (numbers.back() < 100000000)
            numbers.back() = numbers.back() * 10 + (c - '0');
    }
    while (numbers.size() > 1 && numbers.back() == 0)
        numbers.pop_back();
    return numbers;
}

}  // namespace

bool isNewerVersion(const std::string& announced, const std::string& current)
{
    // Part by part as numbers: as plain text "5.10" would sort before "5.5".
    if (announced.empty())
        return false;
    return versionNumbers(announced) > versionNumbers(current);
}

std::string updateNoticeMessage(const AppContext& context, const std::string& version)
{
    return context.Text("Universal", "nowaWerPrgDostepna") + " " + kProgramTitle + " " + version + "\n\n" +
           kUpdateServerAddress;
}

}  // namespace kerfline
