#include "machine/ui/firmware_upgrade_dialog.h"

#include "cutting/cutting_session.h"
#include "shell/app_context.h"

namespace kerfline::ui {

TUpgradeProgramForm::TUpgradeProgramForm(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
}

TUpgradeProgramForm::~TUpgradeProgramForm() = default;

}  // namespace kerfline::ui
