#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

struct AppContext;
class CommandLine;
class TMDIChild;
class tInterfejs;

// One entry of a file dialog's filter: its text and the patterns it lets through.
struct FileFilter {
    std::string description;            // "All designs (*.plt, *.dxf, *.ai, *.eps)"
    std::vector<std::string> patterns;  // "*.plt", "*.dxf", ...
};

// The design open dialog's filter, from the "Universal" keys.
std::vector<FileFilter> designOpenFilters(const tInterfejs& language);
// The filter in the classic "text|patterns|text|patterns" form.
std::string filterText(const std::vector<FileFilter>& filters);

// The serial number a file name starts with: the leading integer of its name (an optional sign,
// then digits), when it lies in 0..9999.
std::optional<int> serialNumberOf(std::string_view fileName);

// The serial set of a directory: the files with the extension (ignoring case), indexed by their
// serial number. Names are taken in the order given; a later name with the same number replaces
// an earlier one.
std::map<int, std::string> serialFileTable(const std::vector<std::string>& names, std::string_view extension);

// The files of a directory in the order the serial search visits them (by name).
std::vector<std::string> directoryFileNames(const std::string& directory);

// The design that opens the serial set of a chosen folder: the first numbered design file in
// the serial search's order. Opening it opens every numbered design of its kind beside it.
std::optional<std::string> firstSerialDesign(const std::string& directory);

// The serial set a design or a folder names, as paths by serial number: the design's numbered
// neighbours of its extension, or the folder's numbered designs of the kind of its first one.
std::map<int, std::string> serialSet(const std::string& designOrFolder);

// The side design of a perpendicular pair: the path with "_bok" before the extension when that
// file exists, else with "_side"; nothing when neither exists.
std::optional<std::string> sideFilePath(const std::string& frontPath);

// The parameters of the command line that are not switches but name existing files: the
// designs to open after start-up.
std::vector<std::string> designFilesOnCommandLine(const CommandLine& commandLine);

// The directory of a path without its trailing separator, as lastOpenDir keeps it.
std::string directoryOf(const std::string& path);

// What opening needs of the main window: its project windows and its dialogs.
class OpeningHost {
public:
    virtual ~OpeningHost() = default;
    // A new, empty project window; it stays open until closed.
    virtual TMDIChild& createWindow() = 0;
    virtual void setCaption(TMDIChild& window, const std::string& caption) = 0;
    // Closes a window whose load failed.
    virtual void closeWindow(TMDIChild& window) = 0;
    virtual int windowCount() = 0;
    virtual void CloseAll() = 0;
    virtual void tile() = 0;
    virtual void tileVertically() = 0;
    // Brings the first project window to the front.
    virtual void showFirst() = 0;
    // The open dialog; nothing when the operator cancelled.
    virtual std::optional<std::string> askFileName(const std::string& directory, const std::string& title,
                                                   const std::vector<FileFilter>& filters) = 0;
};

// Opening a design by the configured mode: the main window's Open command.
class DesignOpener {
public:
    DesignOpener(AppContext& context, OpeningHost& host) : m_context(context), m_host(host) {}

    // With an empty file name the open dialog asks for one in the initial directory.
    void Open(const std::string& initialDirectory, const std::string& fileName, bool rememberDirectory);

private:
    // Creates a window, loads the file into it and captions it; null when the load closed it.
    TMDIChild* openWindow(const std::string& fileName, std::uint8_t penFilter, const std::string& caption,
                          int seriesIndex);
    void openSerial(const std::string& fileName, bool rememberDirectory);
    void openIndependent(const std::string& fileName, bool rememberDirectory);
    void openPerpendicular(const std::string& fileName, bool rememberDirectory);
    void openPerpendicularWindow(const std::string& fileName, const std::string& tag);
    void tileVerticallyShowingFirst();
    void remember(const std::string& fileName);

    AppContext& m_context;
    OpeningHost& m_host;
};

}  // namespace kerfline
