#include "shell/ui/production_aids.h"

#include "aids/barcode_commands.h"
#include "aids/support_report.h"
#include "aids/ui/barcode_browser.h"
#include "aids/ui/scanner_hook.h"
#include "cutting/cutting_session.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/ui/main_window.h"
#include "shell/ui/mdi_project_windows.h"
#include "base/ui/text.h"

#include <QAction>
#include <QMdiArea>
#include <QWidget>
#include <QtGlobal>

namespace kerfline::ui {

// The main window's project windows as the barcode commands see them.
class ProductionAids::Windows : public BarcodeProjectWindows {
public:
    Windows(AppContext& context, TMainForm& mainForm) : m_context(context), m_mainForm(mainForm) {}

    std::vector<std::string> designPaths() override
    {
        std::vector<std::string> paths;
        for (TMDIChild* window : m_mainForm.projectWindows().windows())
            paths.push_back(window->fileName);
        return paths;
    }
    void CloseAll() override { m_mainForm.CloseAll(); }
    void Open(const std::string& fileName) override { m_mainForm.Open(m_context.dataDirectory, fileName, true); }
    void tile() override { m_mainForm.mdiArea()->tileSubWindows(); }

private:
    AppContext& m_context;
    TMainForm& m_mainForm;
};

ProductionAids::ProductionAids(AppContext& context, TMainForm& mainForm, CuttingSession& session,
                               QWidget* configurationDialog)
    : m_context(context),
      m_mainForm(mainForm),
      m_session(session),
      m_configurationDialog(configurationDialog),
      m_windows(std::make_unique<Windows>(context, mainForm)),
      m_hook(std::make_unique<ScannerHook>())
{
    m_hook->suspended = [this] {
        return m_browserOpen || (m_configurationDialog != nullptr && m_configurationDialog->isVisible());
    };
    m_hook->numberScanned = [this](const std::string& number) { numberScanned(number); };

    const auto on = [this](const char* name, auto&& slot) {
        if (QAction* action = m_mainForm.action(name))
            connect(action, &QAction::triggered, this, std::forward<decltype(slot)>(slot));
    };
    on("KodyKreskowePrzeglad", [this] { KodyKreskowePrzeglad({}); });
    on("KodyKreskoweZapis", [this] { KodyKreskoweZapis(); });
    on("miZgloszenieBledu", [this] { miZgloszenieBleduClick(); });
}

ProductionAids::~ProductionAids() = default;

void ProductionAids::KodyKreskowePrzeglad(const std::string& number)
{
    TfBarCodDlg browser(m_context, &m_mainForm);
    m_browserOpen = true;
    browser.ShowBrowser(number);
    m_browserOpen = false;
}

void ProductionAids::KodyKreskoweZapis()
{
    BarcodeContext barcode{m_context.configuration, m_context.language, m_context.dataDirectory,
                           m_context.decimalSeparator};
    if (const auto stored = StoreCurrentState(barcode, *m_windows); stored && stored->completeLabel)
        KodyKreskowePrzeglad(stored->number);
}

void ProductionAids::numberScanned(const std::string& number)
{
    // Closing the windows and loading another configuration under a running job would pull the
    // project from under the wire: the scan waits for the job to end.
    if (m_context.job.jobActive || m_session.transmission.active())
        return;
    BarcodeContext barcode{m_context.configuration, m_context.language, m_context.dataDirectory,
                           m_context.decimalSeparator};
    if (OpenBarcodeProject(number, barcode, *m_windows) && m_configurationDialog != nullptr)
        m_configurationDialog->setWindowTitle(qs(m_context.configuration.settings.configPath));
    m_mainForm.UpdateMenuItems();
}

void ProductionAids::miZgloszenieBleduClick()
{
    WriteSupportReport(m_context, m_windows->designPaths(), m_session.link.connected(),
                       std::string("Qt ") + qVersion());
}

}  // namespace kerfline::ui
