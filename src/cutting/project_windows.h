#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace kerfline {

class TMDIChild;

// The project windows of the main window as the cutting commands see them: all of them, the
// active one, and a way to bring one to the front.
class ProjectWindows {
public:
    virtual ~ProjectWindows() = default;
    // In the main window's order.
    virtual std::vector<TMDIChild*> windows() = 0;
    // The active project window, or null.
    virtual TMDIChild* active() = 0;
    // Makes the window the active one and shows it.
    virtual void activate(TMDIChild& window) = 0;

    // The window whose seriesIndex is the given one, or null.
    TMDIChild* bySeriesIndex(int index);
};

// Project windows held in a list, for the command-line tool and tests: the last one added is
// the active one until another is activated.
class ProjectWindowList : public ProjectWindows {
public:
    TMDIChild& add(std::unique_ptr<TMDIChild> window);

    std::vector<TMDIChild*> windows() override;
    TMDIChild* active() override { return m_active; }
    void activate(TMDIChild& window) override { m_active = &window; }
    std::size_t size() const { return m_windows.size(); }

private:
    std::vector<std::unique_ptr<TMDIChild>> m_windows;
    TMDIChild* m_active = nullptr;
};

}  // namespace kerfline
