#include "model3d/pass_window_list.h"

#include "project/tmdichild.h"
#include "base/app_context.h"

namespace kerfline::model3d {

PassWindowList::PassWindowList(AppContext& context) : m_context(context) {}

PassWindowList::~PassWindowList() = default;

TMDIChild& PassWindowList::createWindow()
{
    m_entries.push_back({std::make_unique<TMDIChild>(m_context), ""});
    return *m_entries.back().window;
}

void PassWindowList::setCaption(TMDIChild& window, const std::string& caption)
{
    for (Entry& entry : m_entries)
        if (entry.window.get() == &window)
            entry.caption = caption;
}

void PassWindowList::closeAll()
{
    m_entries.clear();
}

std::vector<TMDIChild*> PassWindowList::windows()
{
    std::vector<TMDIChild*> result;
    for (const Entry& entry : m_entries)
        result.push_back(entry.window.get());
    return result;
}

std::string PassWindowList::caption(const TMDIChild& window) const
{
    for (const Entry& entry : m_entries)
        if (entry.window.get() == &window)
            return entry.caption;
    return {};
}

}  // namespace kerfline::model3d
