#pragma once

#include "base/services.h"
#include "model3d/model_reading.h"
#include "model3d/serial_passes.h"
#include "model3d/worker_thread.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace kerfline {
class Configuration;
struct MachineState;
class TMDIChild;
}  // namespace kerfline

namespace kerfline::model3d {

// What the generator needs of the main window: its project windows.
class PassWindows {
public:
    virtual ~PassWindows() = default;
    // A new, empty project window.
    virtual TMDIChild& createWindow() = 0;
    virtual void setCaption(TMDIChild& window, const std::string& caption) = 0;
    virtual void closeAll() = 0;
    virtual void tile() = 0;
    virtual std::vector<TMDIChild*> windows() = 0;
};

// The options of the generator window.
struct GeneratorSettings {
    int passes = 18;             // feIloscObrotow, 1..180
    bool cutOff = true;          // cbOdcinajPoZakonczeniu
    bool closeWhenDone = true;   // cbZamkniOknoAut
    bool keepClosed = false;     // cbZostawZamknieteFig
    char decimalSeparator = '.'; // of the sizes its messages give
};

// The window's side of the generator: the 3D view and the window itself. Every hook may be
// empty.
struct GeneratorView {
    std::function<void()> changed;                   // locks, buttons, progress: read the state again
    std::function<void(const ModelHandle&)> showModel;
    std::function<void()> resetView;
    std::function<void(int units)> turnView;         // units of 0.5 degrees about the vertical axis
    std::function<void()> close;                     // all passes made and the window closes itself
    std::function<void(int panel, const std::string& text)> status;  // the window's status panels
};

// The serial generator behind its window: reads the model on one worker thread, rasterises and
// traces each pass on another, and opens a project window per pass. Runs on the user-interface
// thread; the workers' results come back through Host::post.
class SerialGenerator {
public:
    SerialGenerator(Services services, Configuration& configuration, const MachineState& machine,
                    PassWindows& windows);
    ~SerialGenerator();

    GeneratorSettings settings;
    GeneratorView view;

    // Loading: false (with the message shown) when the file does not exist.
    bool loadModel(const std::string& path);
    // Starts or continues a generation; false when the size check refused it.
    bool generate();
    // Cancel: true when the window should close (nothing was running). Otherwise any running
    // pass is stopped and joined before the windows close and the controls unlock.
    bool cancel();
    // Whether the window may close now; a running pass refuses with a message, a running read is
    // stopped and joined.
    bool closeRequested();

    // Waits for the worker threads to finish (tests and the command-line tool run the posted
    // completions afterwards).
    void waitForWorkers();

    // State the window shows.
    bool locked() const { return m_reader.busy() || m_rasteriser.busy() || m_running; }
    bool reading() const { return m_reader.busy(); }
    bool running() const { return m_running; }
    bool hasModel() const { return m_model && !m_model->triangles.empty(); }
    const ModelHandle& model() const { return m_model; }
    const std::string& modelPath() const { return m_modelPath; }
    const std::string& lastGeneratedModel() const { return m_lastGeneratedModel; }
    int passNumber() const { return m_k; }
    double passAngleNow() const { return m_angle; }
    int passesDone() const { return m_k - 1; }
    std::size_t triangleProgress() const { return m_progress.load(std::memory_order_relaxed); }
    const RasterGeometry& rasterGeometry() const { return m_geometry; }

private:
    void readFinished(ModelReadResult result);
    void startPass();
    void passFinished(PassResult result);
    void finishGeneration();
    void stopGeneration();
    void notify();
    void status(int panel, const std::string& text);

    Services m_services;
    Configuration& m_configuration;
    const MachineState& m_machine;
    PassWindows& m_windows;
    ModelHandle m_model;
    std::string m_modelPath;
    std::string m_lastGeneratedModel;
    std::vector<TMDIChild*> m_generated;
    RasterGeometry m_geometry;
    std::atomic<std::size_t> m_progress{0};
    int m_k = 1;
    double m_angle = 0.0;
    bool m_running = false;
    // Declared last: destroyed first, so a stopped worker never outlives what it reads.
    WorkerThread m_reader;
    WorkerThread m_rasteriser;
};

// Saves the passes of the project windows as numbered DXF files into the folder: asks first when
// the folder holds DXF files already. False when the operator cancelled or a file failed (its
// message shown).
bool saveSerialPasses(const std::vector<TMDIChild*>& windows, const std::string& folder, int displayUnit,
                      const Services& services);

}  // namespace kerfline::model3d
