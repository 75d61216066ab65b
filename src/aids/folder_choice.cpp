#include "aids/folder_choice.h"

#include "base/language.h"

#include <filesystem>
#include <system_error>

namespace kerfline {
namespace {

bool isDirectory(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

bool validFolderName(std::string_view name)
{
    return !name.empty() && name.find_first_of(kForbiddenFolderCharacters) == std::string_view::npos;
}

std::string invalidFolderNameMessage(const tInterfejs& language, const std::string& name)
{
    return language.Text("SelectFolder", "msgNiepoprawnaNazwaFolderu") + "\r\n\r\n" + name + "\r\n\r\n" +
           language.Text("SelectFolder", "msgZnakiNiedozwolone") + " :  " + std::string(kForbiddenFolderCharacters);
}

FolderOutcome createNewFolder(const std::string& selectedFolder, const std::string& name, const tInterfejs& language)
{
    FolderOutcome outcome;
    if (!isDirectory(selectedFolder)) {
        outcome.message = language.Text("SelectFolder", "folderNieIstnieje") + "\r\n" + selectedFolder;
        return outcome;
    }
    outcome.path = (std::filesystem::path(selectedFolder) / name).string();
    std::error_code error;
    if (std::filesystem::is_directory(outcome.path, error)) {
        outcome.beep = true;
        outcome.message = language.Text("SelectFolder", "folderJuzIstnieje") + "\r\n" + outcome.path;
        return outcome;
    }
    if (!std::filesystem::create_directory(outcome.path, error) || error)
        outcome.message = language.Text("SelectFolder", "bladTworzeniaFolderu") + "\r\n" + outcome.path;
    return outcome;
}

FolderOutcome confirmFolder(const std::string& selectedFolder, const tInterfejs& language)
{
    FolderOutcome outcome;
    if (!isDirectory(selectedFolder)) {
        outcome.message = language.Text("SelectFolder", "folderNieIstnieje") + "\r\n" + selectedFolder;
        return outcome;
    }
    outcome.path = selectedFolder;
    return outcome;
}

}  // namespace kerfline
