// The main window's commands of the serial generator from 3D: the generator window and the saving
// of its passes as numbered drawings.
#include "shell/ui/main_window.h"

#include "base/ui/dialog_placement.h"
#include "aids/ui/folder_dialog.h"
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

}  // namespace kerfline::ui
