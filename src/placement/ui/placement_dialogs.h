#pragma once

#include "placement/arch_cutting.h"
#include "placement/duplication.h"
#include "placement/material_placement.h"
#include "placement/two_wire_start.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace kerfline {
struct AppContext;
struct CuttingSession;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

class TFltEdit;
class TFltEditU;

// The placement of the material between the independent arms (TfFigNaMat). Start runs the core
// placement; the dialog closes with success only when it passed.
class TfFigNaMat : public QDialog {
    Q_OBJECT
public:
    TfFigNaMat(AppContext& context, machine::ControllerProtocol* protocol, TMDIChild& mix, QWidget* parent = nullptr);
    ~TfFigNaMat() override;

    // Shows the dialog modally; true when it closed with Start.
    bool run();
    void btnDalejClick();

    TFltEditU* feuSzerMat = nullptr;
    TFltEditU* feuOdlMatOdFrontu = nullptr;
    TFltEditU* feuRozstawRamion = nullptr;
    QPushButton* btnDalej = nullptr;
    QPushButton* btnAnuluj = nullptr;
    QTimer* TimerDlgFigNaMat = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_context;
    TMDIChild& m_mix;
    MaterialPlacement m_placement;
};

// The start points of the two wires (TfPrStartDlg).
class TfPrStartDlg : public QDialog {
    Q_OBJECT
public:
    TfPrStartDlg(AppContext& context, CuttingSession& session, const TMDIChild& front, const TMDIChild& side,
                 QWidget* parent = nullptr);
    ~TfPrStartDlg() override;

    bool run();
    void btnDalejClick();

    TFltEditU* feuFx = nullptr;
    TFltEditU* feuFy = nullptr;
    TFltEditU* feuBx = nullptr;
    TFltEditU* feuBy = nullptr;
    QPushButton* btnDalej = nullptr;
    QPushButton* btnAnuluj = nullptr;

private:
    AppContext& m_context;
    const TMDIChild& m_front;
    const TMDIChild& m_side;
    TwoWireStartDialog m_logic;
};

// The duplication of the active project (TfParDup). Execute checks the answers, writes the
// pattern's parameter file and fills a new project window that `createResult` gives.
class TfParDup : public QDialog {
    Q_OBJECT
public:
    TfParDup(AppContext& context, const TMDIChild& pattern, std::string patternCaption,
             std::function<TMDIChild&(const std::string& caption)> createResult, QWidget* parent = nullptr);
    ~TfParDup() override;

    void btnZatwierdzClick();
    void btnParDomyslneClick();

    TFltEdit* feIloscElemWWierszu = nullptr;
    TFltEdit* feIloscWierszy = nullptr;
    TFltEditU* feuPrzesuniecieMdzyElem = nullptr;
    TFltEditU* feuPrzesMdzyWierszami = nullptr;
    TFltEditU* feuOdlMdzyEl_i_laczPionowym = nullptr;
    TFltEditU* feuOdlMdzyEl_i_laczPoziomym = nullptr;
    QLabel* lSzerCalegoProj = nullptr;
    QLabel* lWysCalegoProj = nullptr;
    QPushButton* btnZatwierdz = nullptr;
    QPushButton* btnAnuluj = nullptr;
    QPushButton* btnParDomyslne = nullptr;
    TMDIChild* resultWindow = nullptr;

private:
    DuplicationParameters answers() const;
    void showParameters(const DuplicationParameters& p);
    void updateTotals();

    AppContext& m_context;
    const TMDIChild& m_pattern;
    std::string m_caption;
    std::string m_parameterFile;
    std::function<TMDIChild&(const std::string&)> m_createResult;
    double m_widthMm = 0;
    double m_heightMm = 0;
};

// The arch cutting of the active project's curve (TfZaginacz). Generate replaces the previous
// result window by a new one that `createResult` gives; `markWrong` captions it as wrong when the
// notches overlap.
class TfZaginacz : public QDialog {
    Q_OBJECT
public:
    TfZaginacz(AppContext& context, TMDIChild& source, std::string sourceCaption,
               std::function<TMDIChild&(const std::string& caption)> createResult,
               std::function<void(TMDIChild&)> closeResult, QWidget* parent = nullptr);
    ~TfZaginacz() override;

    void btnGenerujClick();

    TFltEditU* feuGlebokoscNaciec = nullptr;
    QSlider* trbReductionRatio = nullptr;
    QPushButton* btnGeneruj = nullptr;
    QPushButton* btnAnuluj = nullptr;
    TMDIChild* resultWindow = nullptr;
    std::function<void(TMDIChild&, const std::string& caption)> renameResult;

private:
    AppContext& m_context;
    std::string m_caption;
    std::function<TMDIChild&(const std::string&)> m_createResult;
    std::function<void(TMDIChild&)> m_closeResult;
    ArchCutting m_arch;
};

}  // namespace kerfline::ui
