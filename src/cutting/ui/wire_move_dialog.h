#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

// The wire move dialog (Tprzesun): move the selected arms to a point or by an offset; the
// service loops behind Ctrl+Shift+Alt+F12.
class TprzesunDialog : public QDialog {
    Q_OBJECT
public:
    TprzesunDialog(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TprzesunDialog() override;

    // Shows the dialog modally for the arms the panel handed over.
    void showFor(bool front, bool back);

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
