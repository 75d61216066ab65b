#pragma once

#include "cutting/project_windows.h"
#include "shell/design_opening.h"

#include <QString>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace kerfline {
struct AppContext;
}

namespace kerfline::ui {

class ProjectWindow;

// The project windows of the main window's multi-document area, as the cutting commands and
// the opening of designs see them: each sub-window holds one ProjectWindow, whose model is the
// TMDIChild the core works with.
class MdiProjectWindows : public ProjectWindows, public OpeningHost {
public:
    MdiProjectWindows(AppContext& context, QMdiArea& area);

    // ProjectWindows
    std::vector<TMDIChild*> windows() override;
    TMDIChild* active() override;
    void activate(TMDIChild& window) override;

    // OpeningHost
    TMDIChild& createWindow() override;
    void setCaption(TMDIChild& window, const std::string& caption) override;
    void closeWindow(TMDIChild& window) override;
    int windowCount() override;
    void CloseAll() override;
    void tile() override;
    void tileVertically() override;
    void showFirst() override;
    std::optional<std::string> askFileName(const std::string& directory, const std::string& title,
                                           const std::vector<FileFilter>& filters) override;

    ProjectWindow* projectWindowOf(const TMDIChild& model) const;
    QMdiSubWindow* subWindowOf(const TMDIChild& model) const;
    static ProjectWindow* projectWindowIn(QMdiSubWindow* subWindow);

    // Told of each new project window, for the main window to connect it.
    std::function<void(ProjectWindow&)> windowCreated;
    // The open dialog; the file dialog of the desktop unless replaced (tests answer it).
    std::function<std::optional<std::string>(const std::string& directory, const std::string& title,
                                             const std::vector<FileFilter>& filters)>
        openDialog;

private:
    AppContext& m_context;
    QMdiArea& m_area;
};

// The filters of a file dialog as Qt writes them: "text (*.a *.b);;text (*.c)".
QString qtFilter(const std::vector<FileFilter>& filters);

}  // namespace kerfline::ui
