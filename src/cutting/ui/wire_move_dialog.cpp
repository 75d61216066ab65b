#include "cutting/ui/wire_move_dialog.h"

#include "cutting/cutting_session.h"
#include "shell/app_context.h"

namespace kerfline::ui {

TprzesunDialog::TprzesunDialog(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
}

TprzesunDialog::~TprzesunDialog() = default;

void TprzesunDialog::showFor(bool, bool) {}

}  // namespace kerfline::ui
