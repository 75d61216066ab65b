#pragma once

#include <QDialog>

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

// The base points dialog (TPunkty_bazowe): the stored points of "base.txt" and the go command.
class TPunkty_bazoweDialog : public QDialog {
    Q_OBJECT
public:
    TPunkty_bazoweDialog(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TPunkty_bazoweDialog() override;  // saves the list

private:
    AppContext& m_context;
    CuttingSession& m_session;
};

}  // namespace kerfline::ui
