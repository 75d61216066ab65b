#include "base/directories.h"

#include "base/switches.h"
#include "base/version.h"

#include <filesystem>

namespace kerfline {

std::string withTrailingSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string programDirectoryOfExecutable()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return withTrailingSlash(std::filesystem::current_path(ec).string());
    return withTrailingSlash(exe.parent_path().string());
}

std::string dataDirectoryFor(const CommandLine& commandLine,
                             const std::function<const char*(const char*)>& getenv)
{
    if (const auto value = commandLine.SwitchValue("dataDir"))
        return withTrailingSlash(*value);

    std::string base;
    if (const char* xdg = getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else {
        const char* home = getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.local/share";
    }
    return withTrailingSlash(base) + "Quorvant/" + kProgramTitle + "/";
}

bool ensureDirectory(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

}  // namespace kerfline
