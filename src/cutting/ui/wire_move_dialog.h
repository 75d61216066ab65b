#pragma once

#include "cutting/wire_move.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

class TFltEdit;
class TFltEditU;

// The wire move dialog (Tprzesun): move the selected arms to a point or by an offset; the
// service loops behind Ctrl+Shift+Alt+F12.
class TprzesunDialog : public QDialog {
    Q_OBJECT
public:
    TprzesunDialog(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~TprzesunDialog() override;

    // Shows the dialog modally for the arms the panel handed over.
    void showFor(bool front, bool back);
    // Sets the captions and units for the arms as showFor does, without showing.
    void FormActivate(bool front, bool back);

private:
    void WykonajClick();
    void testClick();
    void TestGrzalkiClick();
    // X and Y of the fields in the display unit, as the move operations take them.
    double shownValue(const TFltEditU& field) const;

    AppContext& m_context;
    CuttingSession& m_session;
    Tprzesun m_logic;

    QButtonGroup* Przesun = nullptr;
    QRadioButton* przesunItem0 = nullptr;
    QRadioButton* przesunItem1 = nullptr;
    TFltEditU* delta_x = nullptr;
    TFltEditU* delta_y = nullptr;
    TFltEdit* delta_z = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Wykonaj = nullptr;
    QPushButton* cancel = nullptr;
    QWidget* pSerwis = nullptr;
    QPushButton* test = nullptr;
    QPushButton* TestGrzalki = nullptr;
};

}  // namespace kerfline::ui
