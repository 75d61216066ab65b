#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

// The About box: program, version, machine and dealer.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~AboutBox() override;

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
