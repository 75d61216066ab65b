// The main window's serial commands: the generator from 3D with the saving of its passes as
// numbered drawings, and the serial cutting of a folder of numbered designs.
#include "shell/ui/main_window.h"

#include "base/ui/dialog_placement.h"
#include "aids/ui/folder_dialog.h"
#include "cutting/cutting_session.h"
#include "cutting/ui/serial_dialog.h"
#include "shell/design_opening.h"
#include "model3d/serial_generator.h"
#include "model3d/ui/tf_gen_ser.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/ui/mdi_project_windows.h"

#include <QAction>
#include <QMdiArea>
#include <QScreen>

#include <filesystem>

namespace kerfline::ui {
namespace {

// The main window's project windows as the generator makes them.
class MdiPassWindows : public model3d::PassWindows {
public:
    explicit MdiPassWindows(MdiProjectWindows& projects) : m_projects(projects) {}
    TMDIChild& createWindow() override { return m_projects.createWindow(); }
    void setCaption(TMDIChild& window, const std::string& caption) override { m_projects.setCaption(window, caption); }
    void closeAll() override { m_projects.CloseAll(); }
    void tile() override { m_projects.tile(); }
    std::vector<TMDIChild*> windows() override { return m_projects.windows(); }

private:
    MdiProjectWindows& m_projects;
};

}  // namespace

void TMainForm::openSerialGenerator()
{
    MdiPassWindows windows(*m_projects);
    TfGenSer generator(m_context, windows, this);
    placesItself(generator);
    generator.adjustSize();
    // Bottom-right corner on the bottom-right corner of the client area, never beyond the
    // screen's top-left.
    const QPoint corner = mdiArea()->mapToGlobal(mdiArea()->rect().bottomRight());
    generator.move(std::max(0, corner.x() - generator.frameGeometry().width()),
                   std::max(0, corner.y() - generator.frameGeometry().height()));
    if (generatorShown)
        generatorShown(generator);
    generator.exec();
    if (!generator.generator().lastGeneratedModel().empty())
        m_lastGeneratedModel = generator.generator().lastGeneratedModel();
    UpdateMenuItems();
}

void TMainForm::saveSerialPasses()
{
    const std::filesystem::path model(m_lastGeneratedModel);
    const std::string initial = model.parent_path().string();
    const std::string proposed = model.stem().string();
    const auto [confirmed, folder] =
        chooseSerialFolder ? chooseSerialFolder(initial, proposed)
                           : ChooseFolder(m_context, m_context.Text("Main_window", "msgWskazKatalog"),
                                          m_context.Text("Main_window", "btnZapisPrzebiegowSeryjnych"), initial,
                                          proposed, this);
    if (!confirmed)
        return;
    model3d::saveSerialPasses(m_projects->windows(), folder, m_context.configuration.displayUnit,
                              m_context.services());
}

bool TMainForm::showSerialDialog(bool withFolder)
{
    TfDlgSeryjne dialog(m_context, m_projects->windows(), this);
    if (m_parts.session != nullptr) {
        CuttingSession* session = m_parts.session;
        dialog.readStatus = [session] { session->protocol.ReadStatus(); };
    }
    if (withFolder) {
        dialog.setChooseFolder([this]() -> std::optional<std::vector<TMDIChild*>> {
            const auto [confirmed, folder] =
                chooseSerialFolder ? chooseSerialFolder(m_context.configuration.settings.lastOpenDir, "")
                                   : ChooseFolder(m_context, m_context.Text("Serial_cut", "msgWskazKatalogSerii"),
                                                  m_context.Text("Serial_cut", "btnOtworzSerie"),
                                                  m_context.configuration.settings.lastOpenDir, "", this);
            if (!confirmed)
                return std::nullopt;
            const auto first = firstSerialDesign(folder);
            if (!first) {
                m_context.language.ShowMessageBox(m_context.Text("Serial_cut", "brakPlikowSerii") + "\n" + folder, true);
                return std::nullopt;
            }
            Open("", *first, true);
            return m_projects->windows();
        });
    }
    if (serialDialogShown)
        serialDialogShown(dialog);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    UpdateMenuItems();
    return confirmed;
}

bool TMainForm::serialDialogForJob()
{
    if (m_serialAnswered) {
        m_serialAnswered = false;
        return true;
    }
    return showSerialDialog(false);
}

void TMainForm::serialCutting()
{
    if (!showSerialDialog(true))
        return;
    m_serialAnswered = true;
    runOnSession([](CuttingSession& s) { s.driver.Start1Click(); });
    // A Start that did not reach the dialog (no controller, not homed) leaves nothing behind.
    m_serialAnswered = false;
}

}  // namespace kerfline::ui
