#include "aids/ui/about_box.h"

#include "cutting/cutting_session.h"
#include "shell/app_context.h"

namespace kerfline::ui {

AboutBox::AboutBox(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session)
{
}

AboutBox::~AboutBox() = default;

}  // namespace kerfline::ui
