#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kerfline {
class tInterfejs;
struct TextKey;
}  // namespace kerfline

namespace kerfline::machine {
class VirtualCutter;
}  // namespace kerfline::machine

namespace kerfline::ui {

// A small tool window beside the main window when the program runs on the virtual cutter: its
// state, and the machine's buttons and faults for a person to press.
class VirtualCutterWindow : public QWidget {
    Q_OBJECT
public:
    // Without a language the window shows its texts' keys; pass the program's language.
    explicit VirtualCutterWindow(machine::VirtualCutter& cutter, QWidget* parent = nullptr);
    VirtualCutterWindow(machine::VirtualCutter& cutter, const tInterfejs& language, QWidget* parent = nullptr);
    ~VirtualCutterWindow() override;

    // How often the window reads the cutter while it is shown.
    static constexpr int kRefreshMs = 200;

    // Reads the cutter and shows its state.
    void refresh();
    QPushButton* button(const char* name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    VirtualCutterWindow(machine::VirtualCutter& cutter, const tInterfejs* language, QWidget* parent);
    QString text(TextKey key) const;

    machine::VirtualCutter& m_cutter;
    const tInterfejs* m_language = nullptr;
    QTimer* m_timer = nullptr;
    QLabel* m_connection = nullptr;
    std::array<QLabel*, 11> m_flags{};
    std::array<QLabel*, 8> m_values{};
    std::array<QLabel*, 8> m_steps{};
    QProgressBar* m_buffer = nullptr;
};

}  // namespace kerfline::ui
