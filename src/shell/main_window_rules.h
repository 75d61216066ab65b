#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

struct AppContext;
struct CuttingSession;

// What the menu rules look at.
struct MenuFacts {
    int projectWindows = 0;
    std::string activeCaption;  // caption of the active project window
    int mode = 0;
    bool manualPresent = false;
    bool samplesPresent = false;
    bool cataloguePresent = false;
};

// The enable and visibility rules of UpdateMenuItems, by item name. Items not named keep what
// they have.
struct MenuState {
    std::map<std::string, bool> enabled;
    std::map<std::string, bool> visible;
};
MenuState menuState(const MenuFacts& facts);

// The close request of the main window: granted when nothing is being transmitted, or when the
// operator stopped the job, in which case the transmission is stopped here, before the link
// closes. Otherwise the refusal is shown and false returned. When everything has been sent but
// the controller still runs the program, the wire is hot and moving: the operator is asked
// whether to stop the job first (Yes), to leave the machine cutting (No) or to stay (Cancel).
bool mayCloseMainWindow(AppContext& context, CuttingSession& session);

// The version a text from the update server announces: the leading digits and points following
// the program title, with tabs and blanks removed; nothing when the title is absent.
std::optional<std::string> announcedVersion(std::string_view listing, std::string_view title);
// Is the announced version newer than ours? Compared number by number.
bool isNewerVersion(const std::string& announced, const std::string& current);
// The message of the update button: the notice, the title, the version and where to get it.
std::string updateNoticeMessage(const AppContext& context, const std::string& version);

inline constexpr const char* kUpdateServerAddress = "https://www.quorvant.com/kerfline/";

}  // namespace kerfline
