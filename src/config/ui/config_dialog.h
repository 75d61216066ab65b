#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
class ProjectWindows;
}  // namespace kerfline

namespace kerfline::ui {

// The configuration dialog: its controls are bound to the configuration model of the context.
// exec() runs the activation, and OK, Cancel, Save as and Open as the operator chooses; the
// main window reads the model's flags afterwards.
class TDlgkonfig : public QDialog {
    Q_OBJECT
public:
    explicit TDlgkonfig(AppContext& context, QWidget* parent = nullptr);
    ~TDlgkonfig() override;

    // The project windows whose X feed sign follows the cutting direction.
    void setProjectWindows(ProjectWindows* windows) { m_windows = windows; }

private:
    AppContext& m_context;
    ProjectWindows* m_windows = nullptr;
};

}  // namespace kerfline::ui
