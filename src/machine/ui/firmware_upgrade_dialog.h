#pragma once

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::machine {
class FirmwareUpgrade;
}  // namespace kerfline::machine

namespace kerfline::ui {

// The firmware upgrade dialog (TUpgradeProgramForm) over the core FirmwareUpgrade.
class TUpgradeProgramForm : public QDialog {
    Q_OBJECT
public:
    TUpgradeProgramForm(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TUpgradeProgramForm() override;

    machine::FirmwareUpgrade& upgrade() { return *m_upgrade; }
    bool servicePanelVisible() const;

    // FormActivate: runs each time the dialog is shown.
    void FormActivate();
    void ButtonUpgradeClick();
    void ReadProgramClick();
    void EraseProgramClick();
    void WrtieProgramClick();
    void VerifyProgramClick();
    void GetVersionClick();
    void ButtonResetClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;  // FormKeyDown

private:
    // Shows the core's fields; called by the core during long steps, so it paints at once.
    void refresh();

    AppContext& m_context;
    CuttingSession& m_session;
    std::unique_ptr<machine::FirmwareUpgrade> m_upgrade;
    QLabel* m_actualDeviceVer = nullptr;
    QLabel* m_newVerFromFile = nullptr;
    QCheckBox* m_operations[3] = {};
    QProgressBar* m_gauge = nullptr;
    QLabel* m_verifyPanel = nullptr;
    QLabel* m_statusPanel = nullptr;
    QPushButton* m_buttonUpgrade = nullptr;
    QWidget* m_pSerwisowy = nullptr;
    bool m_running = false;
};

}  // namespace kerfline::ui
