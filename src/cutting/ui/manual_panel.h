#pragma once

#include "cutting/panel_logic.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QToolButton;

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

// The manual control panel: the widgets of Tster, a tool window over the main window. It runs
// FormCreate when it is made; its timer is the program's heartbeat and runs whether or not the
// panel is shown. It previews every key pressed on it or on its controls.
class TsterWindow : public QWidget {
    Q_OBJECT
public:
    TsterWindow(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TsterWindow() override;

    // One tick of the heartbeat, then the widgets show what it read.
    void heartbeat();
    const QTimer& heartbeatTimer() const { return m_timer; }
    // The operator pressed or let go of a key or mouse button on the panel since the last tick:
    // the tick leaves the polling of the display to the next one, so the operator's action and
    // its release go first.
    bool inputSinceLastTick() const;

    // Shows the logic's state now (the panel's repaint hook).
    void showState();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ReleaseWatch;

    void build();
    void applyTexts();
    void connectControls();
    // Runs an operator action of the logic, then shows the result. The heartbeat waits while
    // one runs: the logic's waits keep the windows painting, which would let the timer in.
    void run(const std::function<void()>& action);
    void syncTimer();
    bool handleKey(QEvent* event);
    void watchChildren();
    // The jog started by a key or a button stops when its release came while the jog was being
    // started: a wait for the machine takes input off the queue, and a lost release would leave
    // the wire moving with nobody holding the key.
    void pressKey(int code, KeyModifiers modifiers);
    void pressJogButton(QAbstractButton* button, JogButton role);

    AppContext& m_context;
    CuttingSession& m_session;
    QTimer m_timer;
    int m_running = 0;
    bool m_showing = false;  // the widgets are being set from the logic: their signals are not the operator's
    std::unique_ptr<ReleaseWatch> m_releaseWatch;

    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* KeyFront = nullptr;
    QCheckBox* KeyBack = nullptr;
    QLabel* wmxf = nullptr;
    QLabel* wmyf = nullptr;
    QLabel* wmxb = nullptr;
    QLabel* wmyb = nullptr;
    QLabel* backXName = nullptr;
    QLabel* backYName = nullptr;
    QLabel* wersjaARMa = nullptr;
    QWidget* jogPad = nullptr;
    QWidget* spindleRow = nullptr;
    QWidget* tableRow = nullptr;
    QToolButton* ku = nullptr;
    QToolButton* kd = nullptr;
    QToolButton* kl = nullptr;
    QToolButton* kr = nullptr;
    QPushButton* kstop = nullptr;
    QPushButton* sbWyrownajBackToFront = nullptr;
    QGroupBox* GroupWrzeciono = nullptr;
    QLabel* wmw = nullptr;
    QToolButton* kwu = nullptr;
    QToolButton* kwd = nullptr;
    QGroupBox* GroupStolik = nullptr;
    QLabel* wms = nullptr;
    QToolButton* ksl = nullptr;
    QToolButton* ksr = nullptr;
    QGroupBox* Szybkosc = nullptr;
    QSlider* VScroll = nullptr;
    QLabel* speedlabel = nullptr;
    QGroupBox* GroupPower = nullptr;
    QPushButton* k_zalwyl = nullptr;
    QLabel* stan_drutu = nullptr;
    QGroupBox* BoxAmper = nullptr;
    QSlider* PScroll = nullptr;
    QLabel* PowerLabel = nullptr;
    QProgressBar* gRealPower2 = nullptr;
    QLabel* lRealPower = nullptr;
    QWidget* pNaciagDrutu = nullptr;
    QGroupBox* NaciagBox = nullptr;
    QSlider* ScrollNaciag = nullptr;
    QLabel* LabelNaciag = nullptr;
    QLabel* LabelNaciagRzeczywisty = nullptr;
    QPushButton* Bazuj = nullptr;
    QPushButton* Base = nullptr;
    QPushButton* keyprzesun = nullptr;
    QPushButton* zamknij = nullptr;
    QWidget* pUpgradeFirmware = nullptr;
    QPushButton* btnUpgrade = nullptr;
    QPushButton* btnRestoreEPROM = nullptr;
    QWidget* pSerwis = nullptr;
    QLabel* chwilowaName = nullptr;
    QProgressBar* chwilowa = nullptr;
    QLabel* chwilowaLabel = nullptr;
    QLabel* UsbError = nullptr;
    bool m_gaugeRed = false;
};

}  // namespace kerfline::ui
