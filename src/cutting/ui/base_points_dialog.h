#pragma once

#include "cutting/base_points.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

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

    const TPunkty_bazowe& logic() const { return m_logic; }

    // Closing also stores a changed list, so a later crash or power cut loses nothing.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showList();
    void showButtons();
    void go(bool (TPunkty_bazowe::*action)());

    AppContext& m_context;
    CuttingSession& m_session;
    TPunkty_bazowe m_logic;
    bool m_changed = false;

    QLabel* m_unit = nullptr;  // the display unit of the listed positions
    QListWidget* lista = nullptr;
    QPushButton* Dodaj = nullptr;
    QPushButton* usun = nullptr;
    QPushButton* ustaw = nullptr;
    QPushButton* anuluj = nullptr;
};

}  // namespace kerfline::ui
