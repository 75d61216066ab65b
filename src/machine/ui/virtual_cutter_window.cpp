#include "machine/ui/virtual_cutter_window.h"

#include "machine/virtual_cutter.h"

namespace kerfline::ui {

VirtualCutterWindow::VirtualCutterWindow(machine::VirtualCutter& cutter, QWidget* parent)
    : QWidget(parent), m_cutter(cutter)
{
}

VirtualCutterWindow::~VirtualCutterWindow() = default;

}  // namespace kerfline::ui
