#include "cutting/ui/base_points_dialog.h"

#include "cutting/cutting_session.h"
#include "shell/app_context.h"

namespace kerfline::ui {

TPunkty_bazoweDialog::TPunkty_bazoweDialog(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
}

TPunkty_bazoweDialog::~TPunkty_bazoweDialog() = default;

}  // namespace kerfline::ui
