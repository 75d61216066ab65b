#include "cutting/ui/manual_panel.h"

#include "cutting/cutting_session.h"
#include "shell/app_context.h"

namespace kerfline::ui {

PanelHooks PanelWindowHooks::hooks()
{
    PanelHooks h;
    h.showBasePoints = [this] {
        if (showBasePoints)
            showBasePoints();
    };
    h.showMoveDialog = [this](bool front, bool back) {
        if (showMoveDialog)
            showMoveDialog(front, back);
    };
    h.showUpgrade = [this] {
        if (showUpgrade)
            showUpgrade();
    };
    return h;
}

TsterWindow::TsterWindow(AppContext& context, CuttingSession& session, QWidget* parent)
    : QWidget(parent), m_context(context), m_session(session)
{
}

TsterWindow::~TsterWindow() = default;

}  // namespace kerfline::ui
