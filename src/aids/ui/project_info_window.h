#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
struct CuttingSession;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

// The project information window: sizes, cut length and time estimate of a project, and the
// machine's information from the link.
class ProjectInfoWindow : public QDialog {
    Q_OBJECT
public:
    ProjectInfoWindow(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~ProjectInfoWindow() override;

    // Shows the window modally for the project.
    void showFor(TMDIChild& project);

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
