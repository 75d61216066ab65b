#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

// The firmware upgrade dialog (TUpgradeProgramForm) over the core FirmwareUpgrade.
class TUpgradeProgramForm : public QDialog {
    Q_OBJECT
public:
    TUpgradeProgramForm(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TUpgradeProgramForm() override;

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
