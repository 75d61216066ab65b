#pragma once

#include <QObject>

#include <memory>
#include <string>

class QWidget;

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

class ScannerHook;
class TMainForm;

// The main window's production aids: the barcode menu (browser, storing the current state),
// the scanner hook that opens a scanned project, and the support request page.
class ProductionAids : public QObject {
    Q_OBJECT
public:
    ProductionAids(AppContext& context, TMainForm& mainForm, CuttingSession& session, QWidget* configurationDialog);
    ~ProductionAids() override;

    void KodyKreskowePrzeglad(const std::string& number);
    void KodyKreskoweZapis();
    void miZgloszenieBleduClick();
    // What a complete scanned number does: opens its project, unless a job is being cut.
    void numberScanned(const std::string& number);

    ScannerHook& scannerHook() { return *m_hook; }

private:
    class Windows;

    AppContext& m_context;
    TMainForm& m_mainForm;
    CuttingSession& m_session;
    QWidget* m_configurationDialog;
    std::unique_ptr<Windows> m_windows;
    std::unique_ptr<ScannerHook> m_hook;
    bool m_browserOpen = false;
};

}  // namespace kerfline::ui
