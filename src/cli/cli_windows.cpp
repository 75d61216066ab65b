#include "cli/cli_windows.h"

#include "project/tmdichild.h"

#include <algorithm>

namespace kerfline::cli {

std::vector<TMDIChild*> CliWindows::windows()
{
    std::vector<TMDIChild*> all;
    for (const auto& window : m_windows)
        all.push_back(window.get());
    return all;
}

TMDIChild& CliWindows::createWindow()
{
    m_windows.push_back(std::make_unique<TMDIChild>(m_context));
    m_active = m_windows.back().get();
    return *m_active;
}

void CliWindows::closeWindow(TMDIChild& window)
{
    m_captions.erase(&window);
    std::erase_if(m_windows, [&](const auto& w) { return w.get() == &window; });
    if (m_active == &window)
        m_active = m_windows.empty() ? nullptr : m_windows.back().get();
}

void CliWindows::CloseAll()
{
    m_captions.clear();
    m_windows.clear();
    m_active = nullptr;
}

void CliWindows::showFirst()
{
    if (!m_windows.empty())
        m_active = m_windows.front().get();
}

std::string CliWindows::caption(const TMDIChild& window) const
{
    const auto found = m_captions.find(&window);
    return found == m_captions.end() ? std::string() : found->second;
}

}  // namespace kerfline::cli
