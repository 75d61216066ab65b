#pragma once

#include "cutting/project_windows.h"
#include "shell/design_opening.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kerfline {
struct AppContext;
}

namespace kerfline::cli {

// The project windows of the tool: designs open as the main window opens them for the configured
// mode, without a screen. The last window created is the active one; the open dialog is never
// answered.
class CliWindows : public ProjectWindows, public OpeningHost {
public:
    explicit CliWindows(AppContext& context) : m_context(context) {}

    // ProjectWindows
    std::vector<TMDIChild*> windows() override;
    TMDIChild* active() override { return m_active; }
    void activate(TMDIChild& window) override { m_active = &window; }

    // OpeningHost
    TMDIChild& createWindow() override;
    void setCaption(TMDIChild& window, const std::string& caption) override { m_captions[&window] = caption; }
    void closeWindow(TMDIChild& window) override;
    int windowCount() override { return static_cast<int>(m_windows.size()); }
    void CloseAll() override;
    void tile() override {}
    void tileVertically() override {}
    void showFirst() override;
    std::optional<std::string> askFileName(const std::string&, const std::string&,
                                           const std::vector<FileFilter>&) override
    {
        return std::nullopt;
    }

    std::string caption(const TMDIChild& window) const;

private:
    AppContext& m_context;
    std::vector<std::unique_ptr<TMDIChild>> m_windows;
    std::map<const TMDIChild*, std::string> m_captions;
    TMDIChild* m_active = nullptr;
};

}  // namespace kerfline::cli
