#include "config/ui/config_dialog.h"

#include "shell/app_context.h"

namespace kerfline::ui {

TDlgkonfig::TDlgkonfig(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context) {}

TDlgkonfig::~TDlgkonfig() = default;

}  // namespace kerfline::ui
