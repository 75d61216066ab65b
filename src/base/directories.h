#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kerfline {

class CommandLine;

// The directory of the running executable, with a trailing slash.
std::string programDirectoryOfExecutable();

// Adds the trailing slash that every directory of the program carries.
std::string withTrailingSlash(std::string path);

// The per-user data directory: the valued switch dataDir wins; otherwise $XDG_DATA_HOME (or
// ~/.local/share) followed by Quorvant/Kerfline/. With a trailing slash; not yet created.
std::string dataDirectoryFor(const CommandLine& commandLine,
                             const std::function<const char*(const char*)>& getenv);

// Creates the directory with its parents; true when it exists afterwards.
bool ensureDirectory(const std::string& path);

}  // namespace kerfline
