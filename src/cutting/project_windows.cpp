#include "cutting/project_windows.h"

#include "project/tmdichild.h"

namespace kerfline {

TMDIChild* ProjectWindows::bySeriesIndex(int index)
{
    for (TMDIChild* window : windows()) {
        if (window->seriesIndex == index)
            return window;
    }
    return nullptr;
}

TMDIChild& ProjectWindowList::add(std::unique_ptr<TMDIChild> window)
{
    m_windows.push_back(std::move(window));
    m_active = m_windows.back().get();
    return *m_active;
}

std::vector<TMDIChild*> ProjectWindowList::windows()
{
    std::vector<TMDIChild*> list;
    list.reserve(m_windows.size());
    for (const auto& window : m_windows)
        list.push_back(window.get());
    return list;
}

}  // namespace kerfline
