// The commands of the main window's menus and speed buttons.
#include "shell/ui/main_window.h"

#include "aids/ui/about_box.h"
#include "aids/ui/kerf_calibration_dialog.h"
#include "aids/ui/project_info_window.h"
#include "config/ui/config_dialog.h"
#include "cutting/cutting_session.h"
#include "designfiles/dxf_export.h"
#include "designfiles/ui/gcode_export_dialog.h"
#include "designfiles/hpgl_export.h"
#include "project/cut_start_point.h"
#include "project/gcode_export.h"
#include "placement/ui/placement_dialogs.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "shell/after_configuration.h"
#include "shell/app_context.h"
#include "shell/documents.h"
#include "shell/kerf_calibration_piece.h"
#include "shell/ui/mdi_project_windows.h"
#include "base/ui/text.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace kerfline::ui {

void TMainForm::connectCommands()
{
    saveDialog = [this](const std::string& title, const QString& filter,
                        const std::string& initialName) -> std::optional<std::string> {
        const std::string& directory = m_context.configuration.settings.lastSaveDir;
        const std::string start = directory.empty() ? initialName : directory + "/" + initialName;
        // Like the open dialog, the save dialog starts on the filter chosen last time.
        const QStringList names = filter.split(QStringLiteral(";;"));
        std::int32_t& remembered = m_context.configuration.settings.saveFilterIndex;
        QFileDialog dialog(this, qs(title), qs(start));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(names);
        if (remembered >= 1 && remembered <= names.size())
            dialog.selectNameFilter(names.at(remembered - 1));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        if (const auto chosen = names.indexOf(dialog.selectedNameFilter()); chosen >= 0)
            remembered = static_cast<std::int32_t>(chosen + 1);
        return ss(dialog.selectedFiles().front());
    };

    gcodeDialog = [this](const GcodeExportSettings& settings) -> std::optional<GcodeExportSettings> {
        GcodeExportDialog dialog(m_context.language, settings, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.settings();
    };

    m_projects->windowCreated = [this](ProjectWindow& window) {
        connect(&window, &ProjectWindow::informationRequested, this, [this, &window] {
            if (m_parts.information != nullptr)
                m_parts.information->showFor(window.model());
        });
        connect(&window, &QObject::destroyed, this, [this] { UpdateMenuItems(); }, Qt::QueuedConnection);
    };

    const auto on = [this](const char* name, auto&& slot) {
        connect(action(name), &QAction::triggered, this, std::forward<decltype(slot)>(slot));
    };
    const auto openDesign = [this] { Open(m_context.configuration.settings.lastOpenDir, "", true); };
    on("FileOpenItem", openDesign);
    on("OpenBtn", openDesign);
    on("FileSaveAsHPGL", [this] { exportHpgl(); });
    on("FileSaveAsDXF", [this] { exportDxf(); });
    on("miEksportGcode", [this] { exportGcode(); });
    on("FileCloseItem", [this] {
        if (QMdiSubWindow* current = m_mdi->currentSubWindow())
            current->close();
        UpdateMenuItems();
    });
    on("info", [this] { showInformation(); });
    on("miDuplikujPlt", [this] { duplicateActive(); });
    on("miZaginaczProfili", [this] { bendActive(); });
    on("About1", [this] {
        if (m_parts.about != nullptr)
            m_parts.about->exec();
    });
    on("miInstrObslugi", [this] { openDocument(documentPathsFor(m_context).manual(), "brakPlikuInstrukcji"); });
    on("miKatalog", [this] { openDocument(documentPathsFor(m_context).catalogue(), "brakPlikuKatalogu"); });
    on("miPrzyklady", [this] { openSamples(); });
    on("FileExitItem", [this] { close(); });

    on("Start1", [this] { runOnSession([](CuttingSession& s) { s.driver.Start1Click(); }); });
    on("SpeedStart", [this] { runOnSession([](CuttingSession& s) { s.driver.Start1Click(); }); });
    on("Wstrzymaj1", [this] { runOnSession([](CuttingSession& s) { s.supervisor.Wstrzymaj1Click(); }); });
    on("SpeedStop", [this] { runOnSession([](CuttingSession& s) { s.supervisor.Wstrzymaj1Click(); }); });
    on("Kontynuacja1", [this] { runOnSession([](CuttingSession& s) { s.supervisor.Kontynuacja1Click(); }); });
    on("Skont", [this] { runOnSession([](CuttingSession& s) { s.supervisor.Kontynuacja1Click(); }); });
    on("Tnijwybran1", [this] { runOnSession([](CuttingSession& s) { s.driver.Tnijwybran1Click(); }); });
    on("Startodwybranej1", [this] { runOnSession([](CuttingSession& s) { s.driver.Startodwybranej1Click(); }); });
    on("Symulacja", [this] { runOnSession([](CuttingSession& s) { s.driver.SymulacjaClick(); }); });
    on("SpeedSymulacja", [this] { runOnSession([](CuttingSession& s) { s.driver.SymulacjaClick(); }); });
    on("sterowanie", [this] { runOnSession([](CuttingSession& s) { s.driver.SterowanieClick(); }); });
    on("Konfiguracja", [this] { Konfiguracja(); });
    on("miKalibracjaRzazu", [this] {
        KerfCalibrationDialog dialog(m_context, [this] { openKerfCalibrationPiece(m_context, *m_projects); }, this);
        dialog.exec();
        UpdateMenuItems();
    });
    on("miGenSeryjnego3D", [this] { openSerialGenerator(); });
    on("miSaveSerial", [this] { saveSerialPasses(); });
    on("miCiecieSeryjne", [this] { serialCutting(); });

    on("WindowCascadeItem", [this] { m_mdi->cascadeSubWindows(); });
    on("WindowTileItem", [this] { m_mdi->tileSubWindows(); });
    on("CloseAll", [this] { CloseAll(); });
}

void TMainForm::runOnSession(const std::function<void(CuttingSession&)>& command)
{
    if (m_parts.session == nullptr)
        return;
    command(*m_parts.session);
    UpdateMenuItems();
}

namespace {

std::string withExtension(const std::string& path, const char* extension)
{
    return std::filesystem::path(path).filename().replace_extension(extension).string();
}

}  // namespace

void TMainForm::exportHpgl()
{
    TMDIChild* project = m_projects->active();
    if (project == nullptr || project->figures.empty())
        return;
    const QString filter = QStringLiteral("HPGL.plt (*.plt);;") + qs(m_context.Text("Main_window", "wszystkiePlikiZapis")) +
                           QStringLiteral(" (*)");
    auto path = saveDialog(m_context.Text("Main_window", "zapiszJakoHPGL"), filter, withExtension(project->fileName, ".plt"));
    if (!path || path->empty())
        return;
    if (std::filesystem::path(*path).extension().empty())
        *path += ".plt";
    m_context.configuration.settings.lastSaveDir = directoryOf(*path);
    if (const int error = WriteHpglFile(project->figures, *path); error != 0)
        m_context.language.ShowMessageBox(
            formatText(m_context.Text("Main_window", "bladZapisuEksportu"),
                       {*path, std::system_category().message(error)}),
            true);
}

void TMainForm::exportDxf()
{
    TMDIChild* project = m_projects->active();
    if (project == nullptr || project->figures.empty())
        return;
    const QString filter = QStringLiteral("DXF (*.dxf);;") + qs(m_context.Text("Main_window", "wszystkiePlikiZapis")) +
                           QStringLiteral(" (*)");
    auto path = saveDialog(m_context.Text("Main_window", "zapiszJakoDXF"), filter, "");
    if (!path || path->empty())
        return;
    if (std::filesystem::path(*path).extension().empty())
        *path += ".dxf";
    m_context.configuration.settings.lastSaveDir = directoryOf(*path);
    if (const int error = WriteDxfFile(project->figures, *path, m_context.configuration.displayUnit); error != 0)
        m_context.language.ShowMessageBox(
            formatText(m_context.Text("Main_window", "bladZapisuEksportu"),
                       {*path, std::system_category().message(error)}),
            true);
}

void TMainForm::openDocument(const std::string& path, const char* missingKey)
{
    if (!pathExists(path)) {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", missingKey) + "\r\n" + path, true);
        UpdateMenuItems();
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(qs(path))))
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "brakAcrobatReadera"), true);
}

void TMainForm::openSamples()
{
    const std::string samples = documentPathsFor(m_context).samples();
    if (!pathExists(samples)) {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "SampleNotInstaled"), false);
        UpdateMenuItems();
        return;
    }
    Open(samples, "", false);
}

void TMainForm::showInformation()
{
    TMDIChild* project = m_projects->active();
    if (project != nullptr && m_parts.information != nullptr)
        m_parts.information->showFor(*project);
}

void TMainForm::Konfiguracja()
{
    if (m_parts.configuration == nullptr || m_parts.session == nullptr)
        return;
    m_context.configuration.rotarySettingsChanged = false;
    m_parts.configuration->exec();
    afterConfiguration(m_context, *m_parts.session, *m_projects,
                       {[this] { CloseAll(); },
                        [this] {
                            for (QMdiSubWindow* sub : m_mdi->subWindowList())
                                sub->widget()->update();
                        },
                        [this](TMDIChild& project) { m_projects->closeWindow(project); }});
    UpdateMenuItems();
}

void TMainForm::exportGcode()
{
    TMDIChild* project = m_projects->active();
    if (project == nullptr || project->figures.empty())
        return;
    // The export follows the plain 2D cut program; other modes write bodies of their own.
    if (m_context.configuration.choice(Param::Mode) != Mode2D) {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "gcodeTylko2D"), true);
        return;
    }
    GcodeExportSettings settings = readGcodeSettings(m_context.dataDirectory);
    // The design's name, in the folder of the last export (or of the last save).
    const std::string folder =
        settings.file.empty() ? m_context.configuration.settings.lastSaveDir : directoryOf(settings.file);
    const std::string name = withExtension(project->fileName, ".ngc");
    settings.file = folder.empty() ? name : (std::filesystem::path(folder) / name).string();
    const std::optional<GcodeExportSettings> chosen = gcodeDialog(settings);
    if (!chosen || chosen->file.empty())
        return;
    settings = *chosen;
    writeGcodeSettings(m_context.dataDirectory, settings);  // a choice not remembered costs nothing more

    settleUnattendedStart(*project);
    const GcodeExportResult result = ::kerfline::exportGcode(*project, settings.options, settings.file);
    if (!result)
        m_context.language.ShowMessageBox(result.error->message(m_context.language), true);
}

// The generating dialogs put their results into new project windows of the area.
void TMainForm::duplicateActive()
{
    TMDIChild* pattern = m_projects->active();
    QMdiSubWindow* sub = m_mdi->currentSubWindow();
    if (pattern == nullptr || sub == nullptr)
        return;
    TfParDup dialog(m_context, *pattern, ss(sub->widget()->windowTitle()),
                    [this](const std::string& caption) -> TMDIChild& {
                        TMDIChild& window = m_projects->createWindow();
                        m_projects->setCaption(window, caption);
                        return window;
                    },
                    this);
    dialog.exec();
    UpdateMenuItems();
}

void TMainForm::bendActive()
{
    TMDIChild* source = m_projects->active();
    QMdiSubWindow* sub = m_mdi->currentSubWindow();
    if (source == nullptr || sub == nullptr)
        return;
    TfZaginacz dialog(
        m_context, *source, ss(sub->widget()->windowTitle()),
        [this](const std::string& caption) -> TMDIChild& {
            TMDIChild& window = m_projects->createWindow();
            m_projects->setCaption(window, caption);
            if (QMdiSubWindow* created = m_projects->subWindowOf(window))
                created->showMaximized();
            return window;
        },
        [this](TMDIChild& window) { m_projects->closeWindow(window); }, this);
    dialog.renameResult = [this](TMDIChild& window, const std::string& caption) { m_projects->setCaption(window, caption); };
    dialog.exec();
    UpdateMenuItems();
}

}  // namespace kerfline::ui
