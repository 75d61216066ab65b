#include "project/ui/project_window.h"

#include "project/tmdichild.h"
#include "shell/app_context.h"

namespace kerfline::ui {

ProjectWindow::ProjectWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_model(std::make_unique<TMDIChild>(context))
{
}

ProjectWindow::~ProjectWindow() = default;

void ProjectWindow::simulate() {}

}  // namespace kerfline::ui
