#pragma once

#include <string>
#include <string_view>

namespace kerfline {

class tInterfejs;

// The characters a folder name may not contain, in the order the message lists them.
inline constexpr std::string_view kForbiddenFolderCharacters = "\\/:*?\"<>|";

// Not empty and free of the forbidden characters.
bool validFolderName(std::string_view name);
std::string invalidFolderNameMessage(const tInterfejs& language, const std::string& name);

// What the folder dialog's commands did: a path to select, or a message to show (the dialog stays
// open).
struct FolderOutcome {
    std::string path;
    std::string message;
    bool beep = false;
    bool ok() const { return message.empty(); }
};

// New folder: created inside the selected folder, which must be an existing directory (with no
// selection nothing is created at the root).
FolderOutcome createNewFolder(const std::string& selectedFolder, const std::string& name, const tInterfejs& language);

// Confirm: the selected folder when it is an existing directory; an empty or virtual selection
// would have the passes written at the root as "/001.dxf".
FolderOutcome confirmFolder(const std::string& selectedFolder, const tInterfejs& language);

}  // namespace kerfline
