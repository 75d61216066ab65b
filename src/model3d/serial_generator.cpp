#include "model3d/serial_generator.h"

#include "config/configuration.h"
#include "config/cutting_mode.h"
#include "config/parameters.h"
#include "designfiles/dxf_export.h"
#include "machine/machine_state.h"
#include "project/tmdichild.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kerfline::model3d {
namespace {

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

}  // namespace

SerialGenerator::SerialGenerator(Services services, Configuration& configuration, const MachineState& machine,
                                 PassWindows& windows)
    : m_services(services), m_configuration(configuration), m_machine(machine), m_windows(windows),
      m_reader(services.host), m_rasteriser(services.host)
{
}

SerialGenerator::~SerialGenerator()
{
    m_rasteriser.stop();
    m_reader.stop();
}

void SerialGenerator::status(int panel, const std::string& text)
{
    if (view.status)
        view.status(panel, text);
    else
        m_services.host.setStatus(panel, text);
}

void SerialGenerator::notify()
{
    call(view.changed);
}

bool SerialGenerator::loadModel(const std::string& path)
{
    Host& host = m_services.host;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        host.showMessage(m_services.Text("Universal", "txtPlikuBrak") + "\r\n" + path, true, "");
        m_modelPath.clear();
        notify();
        return false;
    }
    // A new model: whatever ran on the old one stops before anything is replaced.
    stopGeneration();
    m_reader.stop();
    m_modelPath = path;
    m_model = std::make_shared<const LoadedModel>();
    status(0, m_services.Text("SerialCutFrom3D", "odczytRAWtrwa"));
    const double factor = unitFactor(m_configuration.displayUnit);
    m_reader.start<ModelReadResult>(
        [path, factor](std::stop_token stop) { return ReadModel(path, factor, stop); },
        [this](ModelReadResult result) { readFinished(std::move(result)); });
    notify();
    return true;
}

void SerialGenerator::readFinished(ModelReadResult result)
{
    const tInterfejs& language = m_services.language;
    m_k = 1;
    status(0, m_services.Text("SerialCutFrom3D", "importRAWzakonczony"));
    auto loaded = std::make_shared<LoadedModel>();
    if (!result.error) {
        loaded->triangles = std::move(result.triangles);
        loaded->model = result.model;
    } else {
        loaded->model.fileName = m_modelPath;
    }
    m_model = std::move(loaded);
    if (view.showModel)
        view.showModel(m_model);
    notify();
    if (result.error)
        m_services.host.showMessage(result.error->message(language), true, "");
    if (m_model->triangles.empty()) {
        // A read that failed has said why there is nothing.
        if (!result.error)
            m_services.host.showMessage(emptyModelMessage(language, m_modelPath), true, "");
        return;
    }
    if (result.truncated)
        m_services.host.showMessage(
            formatText(m_services.Text("SerialCutFrom3D", "modelObciety"),
                       {std::to_string(m_model->triangles.size())}),
            false, "");
}

bool SerialGenerator::generate()
{
    if (!hasModel() || locked())
        return false;
    if (const auto message = sizeCheckMessage(m_model->model, m_configuration, m_machine, m_services.language,
                                                settings.decimalSeparator)) {
        m_services.host.showMessage(*message, true, "");
        return false;
    }
    const int n = std::clamp(settings.passes, 1, 180);
    m_running = true;
    if (m_k == 1 || n < m_k) {
        call(view.resetView);
        m_windows.closeAll();
        m_generated.clear();
        m_k = 1;
        m_angle = 0.0;
    }
    m_geometry = model3d::rasterGeometry(m_model->model);
    m_lastGeneratedModel = m_modelPath;
    if (m_geometry.coarsened) {
        char step[32];
        std::snprintf(step, sizeof step, "%.1f", m_geometry.step);
        m_services.host.showMessage(formatText(m_services.Text("SerialCutFrom3D", "rasterZgrubiony"), {step}),
                                    false, "");
    }
    notify();
    startPass();
    return true;
}

void SerialGenerator::startPass()
{
    if (!m_running)
        return;
    char angle[64];
    std::snprintf(angle, sizeof angle, "[%.2f st]", m_angle);
    status(1, angle);
    m_progress.store(0, std::memory_order_relaxed);
    const ModelHandle model = m_model;
    const double passAngleDegrees = m_angle;
    const RasterGeometry geometry = m_geometry;
    const bool keepClosed = settings.keepClosed;
    m_rasteriser.start<PassResult>(
        [this, model, passAngleDegrees, geometry, keepClosed](std::stop_token stop) {
            return computePass(*model, passAngleDegrees, geometry, keepClosed, stop, &m_progress);
        },
        [this](PassResult result) { passFinished(std::move(result)); });
}

void SerialGenerator::passFinished(PassResult result)
{
    Host& host = m_services.host;
    status(0, "");
    status(1, "");
    if (!m_running)
        return;
    const int n = std::clamp(settings.passes, 1, 180);
    if (result.figures.empty()) {
        // A pass without an outline would open an empty window.
        host.showMessage(m_services.Text("Project_window", "zbiorPusty"), true, "");
        stopGeneration();
        return;
    }
    TMDIChild& window = m_windows.createWindow();
    const std::string caption = passCaption(m_modelPath, result.angle);
    m_windows.setCaption(window, caption);
    window.seriesIndex = m_k;
    m_generated.push_back(&window);
    if (result.figures.size() > 1) {
        const std::string question = m_services.Text("SerialCutFrom3D", "wieleFigur") + "\r\n" +
                                     m_services.Text("SerialCutFrom3D", "czyKontynuowac");
        if (host.ask(question, Buttons::OkCancel, "") != AnswerOk) {
            stopGeneration();
            return;
        }
    }
    window.LoadFigures(designFigures(result.figures), caption);
    window.seriesIndex = m_k;
    if (view.turnView)
        view.turnView(viewTurnUnits(n));
    if (m_k == n)
        m_windows.tile();
    m_angle -= 180.0 / n;
    ++m_k;
    if (m_k > n) {
        finishGeneration();
        return;
    }
    notify();
    startPass();
}

void SerialGenerator::finishGeneration()
{
    m_running = false;
    // The cut-off belongs to this series only: the windows carry it, not the writer.
    for (TMDIChild* window : m_generated)
        window->cutOffAfterSeries = settings.cutOff ? 1 : 0;
    m_configuration.setChoice(Param::Mode, ModeSerial);
    notify();
    if (settings.closeWhenDone)
        call(view.close);
}

void SerialGenerator::stopGeneration()
{
    m_running = false;
    m_rasteriser.stop();
    m_progress.store(0, std::memory_order_relaxed);
    if (!m_generated.empty() || m_k != 1) {
        call(view.resetView);
        m_windows.closeAll();
    }
    m_generated.clear();
    m_k = 1;
    m_angle = 0.0;
    notify();
}

bool SerialGenerator::cancel()
{
    if (!m_rasteriser.busy() && !m_running) {
        m_reader.stop();
        return true;
    }
    stopGeneration();
    return false;
}

bool SerialGenerator::closeRequested()
{
    if (m_rasteriser.busy() || m_running) {
        m_services.host.showMessage(m_services.Text("SerialCutFrom3D", "zakonczGenPlikowWy"), false, "");
        return false;
    }
    m_reader.stop();
    notify();
    return true;
}

void SerialGenerator::waitForWorkers()
{
    m_reader.wait();
    m_rasteriser.wait();
}

bool saveSerialPasses(const std::vector<TMDIChild*>& windows, const std::string& folder, int displayUnit,
                      const Services& services)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) {
        services.host.showMessage(services.Text("SelectFolder", "folderNieIstnieje") + "\r\n" + folder, true, "");
        return false;
    }
    bool hasDxf = false;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        hasDxf = hasDxf || extension == ".dxf";
    }
    if (hasDxf) {
        const std::string question = services.Text("Main_window", "msgZapisSeryjnego3D_plikiIstnieja_1") + "\r\n\r\n" +
                                     services.Text("Main_window", "msgZapisSeryjnego3D_plikiIstnieja_2") + "\r\n\r\n" +
                                     services.Text("Main_window", "msgZapisSeryjnego3D_plikiIstnieja_3") + "\r\n" +
                                     services.Text("Main_window", "msgZapisSeryjnego3D_plikiIstnieja_4");
        if (services.host.ask(question, Buttons::OkCancel, services.Text("Universal", "uwaga")) != AnswerOk)
            return false;
    }
    for (int i = 0; i <= 9999; ++i) {
        for (TMDIChild* window : windows) {
            if (window->seriesIndex != i)
                continue;
            const std::string path = (fs::path(folder) / serialPassFileName(i)).string();
            if (const int code = WriteDxfFile(window->figures, path, displayUnit); code != 0) {
                services.host.showMessage(formatText(services.Text("Main_window", "bladZapisuEksportu"),
                                                     {path, std::system_category().message(code)}),
                                          true, "");
                return false;
            }
        }
    }
    return true;
}

}  // namespace kerfline::model3d
