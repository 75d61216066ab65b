#include "shell/design_opening.h"

#include "config/parameters.h"
#include "cutting/wire_move.h"
#include "designfiles/design_type.h"
#include "placement/mixing.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kerfline {
namespace {

// Pens of the independent arms' designs: green for the front, red for the back.
constexpr std::uint8_t kAllPens = 255;
constexpr std::uint8_t kFrontPen = 4;
constexpr std::uint8_t kBackPen = 3;
constexpr int kSerialFiles = 10000;

std::string extensionOf(const std::string& path)
{
    return std::filesystem::path(path).extension().string();
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::vector<FileFilter> designOpenFilters(const tInterfejs& language)
{
    return {
        {language.Text("Universal", "wszystkiePliki") + " (*.plt, *.dxf, *.ai, *.eps)",
         {"*.plt", "*.dxf", "*.ai", "*.eps"}},
        {language.Text("Universal", "plikPLT") + " (*.plt)", {"*.plt"}},
        {language.Text("Universal", "plikDXF2D") + " (*.dxf)", {"*.dxf"}},
        {language.Text("Universal", "plikEPS") + " (*.ai, *.eps)", {"*.ai", "*.eps"}},
    };
}

std::string filterText(const std::vector<FileFilter>& filters)
{
    std::string text;
    for (const FileFilter& f : filters) {
        if (!text.empty())
            text += "|";
        text += f.description + "|";
        for (std::size_t i = 0; i < f.patterns.size(); ++i)
            text += (i == 0 ? "" : ";") + f.patterns[i];
    }
    return text;
}

std::optional<int> serialNumberOf(std::string_view fileName)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < fileName.size() && (fileName[i] == '-' || fileName[i] == '+')) {
        negative = fileName[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    long long value = 0;
    while (i < fileName.size() && std::isdigit(static_cast<unsigned char>(fileName[i]))) {
        // Past the table's size the exact value no longer matters, only that it is too large.
        value = std::min<long long>(value * 10 + (fileName[i] - '0'), kSerialFiles);
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    if (negative && value != 0)
        return std::nullopt;
    if (value >= kSerialFiles)
        return std::nullopt;
    return static_cast<int>(value);
}

std::map<int, std::string> serialFileTable(const std::vector<std::string>& names, std::string_view extension)
{
    std::map<int, std::string> table;
    for (const std::string& name : names) {
        if (!equalsIgnoringCase(extensionOf(name), extension))
            continue;
        if (const auto number = serialNumberOf(name))
            table[*number] = name;
    }
    return table;
}

std::vector<std::string> directoryFileNames(const std::string& directory)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> firstSerialDesign(const std::string& directory)
{
    for (const std::string& name : directoryFileNames(directory))
        if (serialNumberOf(name) && designTypeOf(name) != kDesignUnknown)
            return (std::filesystem::path(directory) / name).string();
    return std::nullopt;
}

std::map<int, std::string> serialSet(const std::string& designOrFolder)
{
    std::error_code ec;
    std::string design = designOrFolder;
    if (std::filesystem::is_directory(designOrFolder, ec)) {
        const std::optional<std::string> first = firstSerialDesign(designOrFolder);
        if (!first)
            return {};
        design = *first;
    }
    const std::string directory = directoryOf(design);
    const std::filesystem::path folder(directory.empty() ? "." : directory);
    std::map<int, std::string> set;
    for (const auto& [number, name] : serialFileTable(directoryFileNames(folder.string()), extensionOf(design)))
        set[number] = (std::filesystem::path(directory) / name).string();
    return set;
}

std::optional<std::string> sideFilePath(const std::string& frontPath)
{
    const std::filesystem::path path(frontPath);
    for (const char* suffix : {"_bok", "_side"}) {
        std::filesystem::path side = path;
        side.replace_filename(path.stem().string() + suffix + path.extension().string());
        if (fileExists(side.string()))
            return side.string();
    }
    return std::nullopt;
}

std::vector<std::string> designFilesOnCommandLine(const CommandLine& commandLine)
{
    std::vector<std::string> files;
    for (const std::string& p : commandLine.parameters())
        if (!p.starts_with("-") && fileExists(p))
            files.push_back(p);
    return files;
}

std::string directoryOf(const std::string& path)
{
    std::string directory = std::filesystem::path(path).parent_path().string();
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    return directory;
}

void DesignOpener::Open(const std::string& initialDirectory, const std::string& fileName, bool rememberDirectory)
{
    const int mode = m_context.configuration.choice(Param::Mode);
    std::string file = fileName;
    if (file.empty()) {
        std::string title;
        if (mode == ModePerpendicular) {
            if (m_host.windowCount() == 2)
                m_host.CloseAll();
            title = m_context.Text("Main_window", m_host.windowCount() == 1 ? "PrOtworzBoczny" : "PrOtworzPrzedni");
        } else {
            title = m_context.Text("Main_window", "otworz");
        }
        const auto chosen = m_host.askFileName(initialDirectory, title, designOpenFilters(m_context.language));
        if (!chosen || chosen->empty())
            return;
        file = *chosen;
    }

    if (!fileExists(file)) {
        m_context.language.ShowMessageBox(m_context.Text("Universal", "zbioruNieMoznaOtworzyc") + file, true);
        return;
    }

    switch (mode) {
    case ModeSerial:
        openSerial(file, rememberDirectory);
        break;
    case ModeIndependent:
        openIndependent(file, rememberDirectory);
        break;
    case ModePerpendicular:
        openPerpendicular(file, rememberDirectory);
        break;
    default:
        openWindow(file, kAllPens, file, 0);
        if (rememberDirectory)
            remember(file);
        break;
    }
}

TMDIChild* DesignOpener::openWindow(const std::string& fileName, std::uint8_t penFilter, const std::string& caption,
                                    int seriesIndex)
{
    TMDIChild& window = m_host.createWindow();
    m_host.setCaption(window, caption);
    window.seriesIndex = seriesIndex;
    window.fileType = designTypeOf(fileName);
    if (window.Load(fileName, penFilter) == LoadOutcome::Closed) {
        m_host.closeWindow(window);
        return nullptr;
    }
    // Loading captions the window with the file name; the mode's tag follows it.
    m_host.setCaption(window, caption);
    return &window;
}

void DesignOpener::openSerial(const std::string& fileName, bool rememberDirectory)
{
    m_host.CloseAll();
    if (rememberDirectory)
        remember(fileName);
    const auto set = serialSet(fileName);
    // From the highest number down, so the window of the lowest number is created last.
    for (auto it = set.rbegin(); it != set.rend(); ++it)
        openWindow(it->second, kAllPens, it->second, it->first);
    m_host.tile();
}

void DesignOpener::openIndependent(const std::string& fileName, bool rememberDirectory)
{
    m_host.CloseAll();
    TMDIChild* front = openWindow(fileName, kFrontPen, fileName + " FRONT", 0);
    if (front == nullptr) {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "QduzyjZielonyDlaFrontu"), false, fileName);
        m_host.CloseAll();
        return;
    }
    TMDIChild* back = openWindow(fileName, kBackPen, fileName + " BACK", 0);
    if (back == nullptr) {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "QduzyjCzerwonyDlaTylu"), false, fileName);
        m_host.CloseAll();
        return;
    }
    TMDIChild& mix = m_host.createWindow();
    m_host.setCaption(mix, fileName + " Mix");
    mix.fileName = fileName;
    mix.fileType = designTypeOf(fileName);
    if (pomieszaj(*front, *back, mix)) {
        m_host.closeWindow(*front);
        m_host.closeWindow(*back);
        mix.requestRepaint();
    } else {
        // A Mix without figures would only be cut at figures that are not there.
        m_host.closeWindow(mix);
    }
    if (rememberDirectory)
        remember(fileName);
}

void DesignOpener::openPerpendicularWindow(const std::string& fileName, const std::string& tag)
{
    // The window's number follows the windows already open: 0 the front wire, 1 the side wire.
    openWindow(fileName, kAllPens, fileName + "   " + tag, m_host.windowCount());
}

void DesignOpener::openPerpendicular(const std::string& fileName, bool rememberDirectory)
{
    const bool first = m_host.windowCount() == 0;
    openPerpendicularWindow(fileName, first ? frontArmCaption(m_context) : backArmCaption(m_context));
    if (rememberDirectory)
        remember(fileName);
    if (first && m_host.windowCount() == 1) {
        if (const auto side = sideFilePath(fileName))
            openPerpendicularWindow(*side, backArmCaption(m_context));
    }
    const int count = m_host.windowCount();
    if (count > 1) {
        tileVerticallyShowingFirst();
    } else if (count == 1) {
        // The pair is not complete: ask for the side design.
        Open(directoryOf(fileName), "", rememberDirectory);
    }
}

void DesignOpener::tileVerticallyShowingFirst()
{
    m_host.showFirst();
    m_host.tileVertically();
}

void DesignOpener::remember(const std::string& fileName)
{
    m_context.configuration.settings.lastOpenDir = directoryOf(fileName);
}

}  // namespace kerfline
