#pragma once

#include "designfiles/gcode_settings_file.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QToolButton;

namespace kerfline {
struct AppContext;
struct CuttingSession;
class DesignOpener;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::ui {

class AboutBox;
class MdiProjectWindows;
class ProjectInfoWindow;
class ProjectWindow;
class TfDlgSeryjne;
class TfGenSer;
class TDlgkonfig;
class TsterWindow;

// The long-lived objects the main window's commands reach.
struct MainFormParts {
    CuttingSession* session = nullptr;
    TDlgkonfig* configuration = nullptr;
    ProjectInfoWindow* information = nullptr;
    AboutBox* about = nullptr;
    TsterWindow* panel = nullptr;
};

// The application shell: project windows in a multi-document area, menus, speed buttons and
// the status bar. The commands' behaviour lives in the core; this window forwards to it.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows and the cutting session, once they exist; the commands that need them do
    // nothing before.
    void attach(const MainFormParts& parts);

    // Caption, layout direction and every menu and button text, from the language file.
    void ApplyTexts();
    // Enable and visibility rules of the menu items.
    void UpdateMenuItems();
    void CloseAll();
    // Opens a design by the configured mode; with an empty file name the open dialog asks.
    void Open(const std::string& initialDirectory, const std::string& fileName, bool rememberDirectory);
    // The reaction to a text from the update server: a button on the status bar when it
    // announces a newer version.
    void showUpdateNotice(const std::string& listing);

    QAction* action(const std::string& name) const;
    QMdiArea* mdiArea() const { return m_mdi; }
    QLabel* statusPanel(int index) const;
    MdiProjectWindows& projectWindows() { return *m_projects; }
    ProjectWindow* projectWindowOf(const TMDIChild& model) const;
    QToolButton* updateButton() const { return m_updateButton; }

    // The save dialog of the exports: title, filter, initial name → the chosen path. The file
    // dialog of the desktop unless replaced (tests answer it).
    std::function<std::optional<std::string>(const std::string& title, const QString& filter,
                                             const std::string& initialName)>
        saveDialog;
    // Shows the G-code export dialog with the given choices and returns them once the operator
    // confirms. The dialog of GcodeExportDialog unless replaced (tests answer it).
    std::function<std::optional<GcodeExportSettings>(const GcodeExportSettings&)> gcodeDialog;
    // The folder dialog of the serial passes: (confirmed, folder). The folder dialog unless
    // replaced (tests answer it).
    std::function<std::pair<bool, std::string>(const std::string& initialFolder, const std::string& proposedName)>
        chooseSerialFolder;

    // The serial generator from 3D (modal) and the saving of its passes (serial_commands.cpp).
    void openSerialGenerator();
    void saveSerialPasses();
    // Told of the generator window once it exists, before it runs modally (tests drive it).
    std::function<void(TfGenSer&)> generatorShown;

    // Serial cutting (serial_commands.cpp): the serial dialog for the open series, with the
    // folder of designs to choose from when `withFolder`; true when confirmed.
    bool showSerialDialog(bool withFolder);
    // The serial dialog as the job asks for it at Start: not again when the operator has just
    // confirmed it through the serial cutting command.
    bool serialDialogForJob();
    // The serial cutting command: the dialog with its folder, then Start on OK.
    void serialCutting();
    // Told of the serial dialog once it exists, before it runs modally (tests drive it).
    std::function<void(TfDlgSeryjne&)> serialDialogShown;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createStatusBar();
    // Rebuilds the list of open project windows at the end of the Window menu.
    void listWindows();
    void connectCommands();
    void placeUpdateButton();

    // Commands (main_window_commands.cpp).
    void exportHpgl();
    void exportDxf();
    void exportGcode();
    void openDocument(const std::string& path, const char* missingKey);
    void openSamples();
    void showInformation();
    void duplicateActive();
    void bendActive();
    void Konfiguracja();
    void runOnSession(const std::function<void(CuttingSession&)>& command);

    AppContext& m_context;
    MainFormParts m_parts;
    QMdiArea* m_mdi = nullptr;
    std::unique_ptr<MdiProjectWindows> m_projects;
    std::unique_ptr<DesignOpener> m_opener;
    QToolBar* m_buttons = nullptr;
    QLabel* m_panels[2] = {nullptr, nullptr};
    QToolButton* m_updateButton = nullptr;
    std::string m_latestVersion;
    std::string m_lastGeneratedModel;
    // The serial cutting command confirmed the dialog for the Start it runs.
    bool m_serialAnswered = false;
    std::map<std::string, QAction*> m_actions;
    std::map<std::string, QMenu*> m_menus;
};

}  // namespace kerfline::ui
