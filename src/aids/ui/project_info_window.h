#pragma once

#include "aids/project_information.h"

#include <QDialog>

#include <string>

class QLabel;

namespace kerfline {
struct AppContext;
struct CuttingSession;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

// The project information window (Tinfoform): sizes, cut length and time estimate of a
// project. The values are computed by ProjectInformation each time the window paints.
class ProjectInfoWindow : public QDialog {
    Q_OBJECT
public:
    ProjectInfoWindow(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~ProjectInfoWindow() override;

    // Shows the window modally for the project.
    void showFor(TMDIChild& project);

    // The project shown (for a test, without the modal loop); nullptr clears it.
    void setProject(TMDIChild* project);
    const ProjectInformation& information() const { return m_information; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateValues();

    AppContext& m_context;
    CuttingSession& m_session;
    TMDIChild* m_project = nullptr;
    std::string m_caption;  // of the project's window, found when the project is set
    ProjectInformation m_information;
    QLabel* m_fname = nullptr;
    QLabel* m_konfigname = nullptr;
    QLabel* m_szerokosc = nullptr;
    QLabel* m_wysokosc = nullptr;
    QLabel* m_totlen = nullptr;
    QLabel* m_totalTime = nullptr;
    QLabel* m_programTime = nullptr;
    QLabel* m_programTimeCaption = nullptr;
    QLabel* m_kerf = nullptr;
    QLabel* m_drawingUnits = nullptr;
};

}  // namespace kerfline::ui
