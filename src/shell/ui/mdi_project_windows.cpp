#include "shell/ui/mdi_project_windows.h"

#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "shell/ui/text.h"

#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kerfline::ui {

QString qtFilter(const std::vector<FileFilter>& filters)
{
    QStringList entries;
    for (const FileFilter& f : filters) {
        // Qt reads the patterns from the last parentheses; the description keeps its own list.
        QString description = qs(f.description);
        const int open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0)
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const std::string& p : f.patterns)
            patterns << qs(p);
        entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

MdiProjectWindows::MdiProjectWindows(AppContext& context, QMdiArea& area) : m_context(context), m_area(area)
{
    openDialog = [this](const std::string& directory, const std::string& title,
                        const std::vector<FileFilter>& filters) -> std::optional<std::string> {
        const QString file = QFileDialog::getOpenFileName(m_area.window(), qs(title), qs(directory), qtFilter(filters));
        if (file.isEmpty())
            return std::nullopt;
        return ss(file);
    };
}

ProjectWindow* MdiProjectWindows::projectWindowIn(QMdiSubWindow* subWindow)
{
    return subWindow != nullptr ? qobject_cast<ProjectWindow*>(subWindow->widget()) : nullptr;
}

std::vector<TMDIChild*> MdiProjectWindows::windows()
{
    std::vector<TMDIChild*> models;
    for (QMdiSubWindow* sub : m_area.subWindowList(QMdiArea::CreationOrder))
        if (ProjectWindow* window = projectWindowIn(sub))
            models.push_back(&window->model());
    return models;
}

TMDIChild* MdiProjectWindows::active()
{
    // The current sub-window stays current while another top-level window has the focus.
    ProjectWindow* window = projectWindowIn(m_area.currentSubWindow());
    return window != nullptr ? &window->model() : nullptr;
}

QMdiSubWindow* MdiProjectWindows::subWindowOf(const TMDIChild& model) const
{
    for (QMdiSubWindow* sub : m_area.subWindowList())
        if (ProjectWindow* window = projectWindowIn(sub); window != nullptr && &window->model() == &model)
            return sub;
    return nullptr;
}

ProjectWindow* MdiProjectWindows::projectWindowOf(const TMDIChild& model) const
{
    return projectWindowIn(subWindowOf(model));
}

void MdiProjectWindows::activate(TMDIChild& window)
{
    if (QMdiSubWindow* sub = subWindowOf(window)) {
        sub->showNormal();
        m_area.setActiveSubWindow(sub);
    }
}

TMDIChild& MdiProjectWindows::createWindow()
{
    auto* window = new ProjectWindow(m_context);
    QMdiSubWindow* sub = m_area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(m_area.width() * 2 / 3, m_area.height() * 2 / 3);
    if (windowCreated)
        windowCreated(*window);
    sub->show();
    m_area.setActiveSubWindow(sub);
    return window->model();
}

void MdiProjectWindows::setCaption(TMDIChild& window, const std::string& caption)
{
    if (QMdiSubWindow* sub = subWindowOf(window)) {
        sub->setWindowTitle(qs(caption));
        sub->widget()->setWindowTitle(qs(caption));
    }
}

void MdiProjectWindows::closeWindow(TMDIChild& window)
{
    if (QMdiSubWindow* sub = subWindowOf(window))
        sub->close();
}

int MdiProjectWindows::windowCount()
{
    return static_cast<int>(windows().size());
}

void MdiProjectWindows::CloseAll()
{
    const auto subs = m_area.subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        (*it)->close();
}

void MdiProjectWindows::tile()
{
    m_area.tileSubWindows();
}

void MdiProjectWindows::tileVertically()
{
    // Side by side, each the full height of the area.
    const auto subs = m_area.subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    const QRect area = m_area.viewport()->rect();
    const int width = area.width() / static_cast<int>(subs.size());
    for (int i = 0; i < subs.size(); ++i) {
        subs[i]->showNormal();
        subs[i]->setGeometry(area.left() + i * width, area.top(), width, area.height());
    }
}

void MdiProjectWindows::showFirst()
{
    const auto subs = m_area.subWindowList(QMdiArea::CreationOrder);
    if (!subs.isEmpty())
        m_area.setActiveSubWindow(subs.front());
}

std::optional<std::string> MdiProjectWindows::askFileName(const std::string& directory, const std::string& title,
                                                          const std::vector<FileFilter>& filters)
{
    return openDialog ? openDialog(directory, title, filters) : std::nullopt;
}

}  // namespace kerfline::ui
