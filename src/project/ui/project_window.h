#pragma once

#include <QWidget>

#include <memory>

namespace kerfline {
struct AppContext;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

// A project window: one opened design drawn into the window, its selection and the animated
// simulation of its cut path. The model (TMDIChild) holds all state; this widget shows it.
class ProjectWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProjectWindow(AppContext& context, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    TMDIChild& model() { return *m_model; }
    const TMDIChild& model() const { return *m_model; }

    // Runs the animated simulation of the cut path now; returns when it ends or the operator
    // stops it with a key or a left click.
    void simulate();

signals:
    // The right button was pressed: the project information window is to be shown.
    void informationRequested();

private:
    AppContext& m_context;
    std::unique_ptr<TMDIChild> m_model;
};

}  // namespace kerfline::ui
