#include "aids/ui/project_info_window.h"

#include "cutting/cutting_session.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

namespace kerfline::ui {

ProjectInfoWindow::ProjectInfoWindow(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
}

ProjectInfoWindow::~ProjectInfoWindow() = default;

void ProjectInfoWindow::showFor(TMDIChild&) {}

}  // namespace kerfline::ui
