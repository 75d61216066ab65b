#pragma once

#include <QWidget>

namespace kerfline::machine {
class VirtualCutter;
}  // namespace kerfline::machine

namespace kerfline::ui {

// A small tool window beside the main window when the program runs on the virtual cutter: its
// state, and the machine's buttons and faults for a person to press.
class VirtualCutterWindow : public QWidget {
    Q_OBJECT
public:
    explicit VirtualCutterWindow(machine::VirtualCutter& cutter, QWidget* parent = nullptr);
    ~VirtualCutterWindow() override;

private:
    machine::VirtualCutter& m_cutter;
};

}  // namespace kerfline::ui
