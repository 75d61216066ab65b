#pragma once

#include "cutting/panel_logic.h"

#include <QWidget>

#include <functional>

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

class TsterWindow;

// The hooks of the panel logic that windows answer. The cutting session is built before those
// windows exist, so the hooks forward to whatever is set here when they are called.
struct PanelWindowHooks {
    TsterWindow* panel = nullptr;
    std::function<void()> showBasePoints;
    std::function<void(bool front, bool back)> showMoveDialog;
    std::function<void()> showUpgrade;

    // Hooks for CuttingSession that forward to the fields above; `this` must outlive them.
    PanelHooks hooks();
};

// The manual control panel: the widgets of Tster. Its timer is the program's heartbeat and runs
// whether or not the panel is shown.
class TsterWindow : public QWidget {
    Q_OBJECT
public:
    TsterWindow(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TsterWindow() override;

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
