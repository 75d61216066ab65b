#include "shell/ui/mdi_project_windows.h"

#include "config/configuration.h"
#include "shell/app_context.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "base/ui/text.h"
#include "shell/caption.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace kerfline::ui {
namespace {

// The size a new project window was given; while it still has it, the operator has not resized
// the window and it keeps following the area.
constexpr const char* kGivenSize = "kerflineGivenSize";

// A new window takes three quarters of the area as the operator sees it, enough to show the
// design and the windows behind it.
QSize newWindowSize(const QMdiArea& area)
{
    const QSize visible = area.viewport()->size();
    return {std::max(visible.width() * 3 / 4, 200), std::max(visible.height() * 3 / 4, 150)};
}

void giveSize(QMdiSubWindow& sub, const QMdiArea& area)
{
    sub.resize(newWindowSize(area));
    sub.setProperty(kGivenSize, sub.size());
}

// The area's placement avoids overlap even past its edges; the operator should see the title bar.
void keepInside(QMdiSubWindow& sub, const QMdiArea& area)
{
    const QRect visible = area.viewport()->rect();
    const int x = std::clamp(sub.x(), 0, std::max(0, visible.width() - sub.width()));
    const int y = std::clamp(sub.y(), 0, std::max(0, visible.height() - sub.height()));
    sub.move(x, y);
}

// Designs named on the command line open before the main window has its final size (a window
// shown maximised grows later): windows the operator has not tiled or resized follow the area.
class AreaFollower : public QObject {
public:
    explicit AreaFollower(QMdiArea& area) : QObject(&area), m_area(area) { area.viewport()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // After the area has placed its windows for the new size (right to left it moves them
        // with the right edge), and once for a burst of resizes.
        if (event->type() == QEvent::Resize && !m_pending) {
            m_pending = true;
            QMetaObject::invokeMethod(this, [this] { follow(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void follow()
    {
        m_pending = false;
        for (QMdiSubWindow* sub : m_area.subWindowList()) {
            const QVariant given = sub->property(kGivenSize);
            if (!given.isValid() || sub->isMaximized() || sub->isMinimized())
                continue;
            if (sub->size() != given.toSize()) {
                sub->setProperty(kGivenSize, QVariant());
                continue;
            }
            giveSize(*sub, m_area);
            keepInside(*sub, m_area);
        }
    }

    QMdiArea& m_area;
    bool m_pending = false;
};

}  // namespace

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
    new AreaFollower(area);  // owned by the area
    openDialog = [this](const std::string& directory, const std::string& title,
                        const std::vector<FileFilter>& filters) -> std::optional<std::string> {
        // The dialog opens on the filter chosen last time, kept (counted from 1) in the global
        // settings.
        const QStringList names = qtFilter(filters).split(QStringLiteral(";;"));
        std::int32_t& remembered = m_context.configuration.settings.openFilterIndex;
        QFileDialog dialog(m_area.window(), qs(title), qs(directory));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(names);
        if (remembered >= 1 && remembered <= names.size())
            dialog.selectNameFilter(names.at(remembered - 1));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        if (const auto chosen = names.indexOf(dialog.selectedNameFilter()); chosen >= 0)
            remembered = static_cast<std::int32_t>(chosen + 1);
        return ss(dialog.selectedFiles().front());
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
    giveSize(*sub, m_area);
    if (windowCreated)
        windowCreated(*window);
    sub->show();
    // Showing may bend the size to the window's limits; that is the size to follow.
    sub->setProperty(kGivenSize, sub->size());
    keepInside(*sub, m_area);
    m_area.setActiveSubWindow(sub);
    return window->model();
}

void MdiProjectWindows::setCaption(TMDIChild& window, const std::string& caption)
{
    if (QMdiSubWindow* sub = subWindowOf(window)) {
        // The project window keeps the caption the commands read; the sub-window, which follows
        // its widget's title, gets its own afterwards.
        sub->widget()->setWindowTitle(qs(caption));
        sub->setWindowTitle(qs(projectWindowTitle(caption)));
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
