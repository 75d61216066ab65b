#pragma once

#include "aids/about_information.h"

#include <QDialog>

class QLabel;

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

// The About box (TAboutBox): program, version, machine and dealer. Its texts and rules are
// AboutInformation's; the box reads the machine each time it is shown.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(AppContext& context, CuttingSession& session, QWidget* parent = nullptr);
    ~AboutBox() override;

    const AboutInformation& information() const { return m_information; }
    // FormActivate: reads the machine and fills the values (each showing runs it).
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openAddress() const;

    AppContext& m_context;
    CuttingSession& m_session;
    AboutInformation m_information;
    QLabel* m_newVer = nullptr;
    QLabel* m_ver = nullptr;
    QLabel* m_labelProd = nullptr;
    QLabel* m_prod = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_obszar = nullptr;
    QLabel* m_labelSzerokosc = nullptr;
    QLabel* m_szerokosc = nullptr;
    QLabel* m_przebieg = nullptr;
    QLabel* m_ilpl = nullptr;
    QLabel* m_armWersja = nullptr;
    QLabel* m_dealer = nullptr;
};

}  // namespace kerfline::ui
