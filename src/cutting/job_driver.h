#pragma once

#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kerfline {
struct AppContext;
struct CutPreview;
class ProjectWindows;
class TMDIChild;
class TransmitArm;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace kerfline::machine

namespace kerfline {

// The figures a cut covers: the whole project from its start figure, or the figures first to
// last of the project's list (the selected-figure commands).
struct FigureRange {
    std::int32_t first = -1;
    std::int32_t last = -1;
    bool whole() const { return first < 0; }
};

// The dialogs and views a job opens, provided by the windows. A missing one counts as confirmed,
// as the command-line tool answers every question.
struct JobDialogs {
    // Independent arms: the placement of the material between the arms (TfFigNaMat).
    std::function<bool(TMDIChild& project)> placement;
    // Perpendicular wires with the front wire selected: the two-wire start dialog (TfPrStartDlg).
    std::function<bool(TMDIChild& project)> twoWireStart;
    // Serial cutting with the angle entered per pass: the serial dialog, which sets the
    // repetition count and shift of the job state; false for Cancel.
    std::function<bool()> serial;
    // Paints the cut path of the project once in simulation mode.
    std::function<void(TMDIChild& project)> simulate;
    // Marks in the project's view what a cut of part of it covers and where the wire must
    // stand while the operator is asked; nullptr takes the marks away.
    std::function<void(TMDIChild& project, const CutPreview* preview)> showCutPreview;
    std::function<void()> showManualControl;
};

// The program writers of the rotary, turning and spindle-serial modes, which their planners
// provide. Each writes the program of the project to the path for the job.
struct RotaryWriters {
    using Writer = std::function<ProgramWriteResult(TMDIChild& project, const std::string& path, const CutProgramJob& job)>;
    Writer Save_ciecie_obrotowe;
    Writer Save_toczenie_wrzeciono;
    Writer Save_toczenie_stolik;
    std::function<ProgramWriteResult(TMDIChild& project, const std::string& path, const CutProgramJob& job,
                                     int direction, double angleStep)>
        save_ciecie_seryjne_wrzeciono;
    // The first entry into the material, millimetres.
    std::function<double(TMDIChild& project)> DajPoz1szegoWjazduWmat;
    // Seeds the saved registers of a spindle series, hundredths of a millimetre.
    std::function<void(std::int32_t x, std::int32_t y)> startSeries;
};

// The arm selection of the manual control panel: ticking one of its boxes (KeyFrontClick,
// KeyBackClick). On the two-wire machine ticking one wire clears the other.
struct ArmSelection {
    std::function<void()> tickKeyFront;
    std::function<void()> tickKeyBack;
};

// The cutting commands of the main window: the start checks, the writing of the cut program
// for the configured mode, the preparation of the machine and the hand-over to the
// transmission. Stop, Continue and the end of a job belong to JobSupervisor.
class JobDriver {
public:
    JobDriver(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion,
              TransmitArm& transmission, ProjectWindows& windows);
    JobDriver(const JobDriver&) = delete;
    JobDriver& operator=(const JobDriver&) = delete;

    // Start: the job counter starts again and the job runs. fromStartCommand tells the menu item
    // or button from the machine's start button and the follow-up of a two-wire job.
    void Start1Click(bool fromStartCommand = true);
    // Cut the selected figure; start from the selected figure.
    void Tnijwybran1Click();
    void Startodwybranej1Click();
    void SymulacjaClick();
    void SterowanieClick();

    // One job: counts it and cuts the active project (every project of a series in the serial
    // mode).
    void StartJob(bool fromStartCommand = false);
    // Checks that a job may start for the project; shows why not.
    bool StartChecks(TMDIChild& project, FigureRange range);
    // Writes the program of the range for the configured mode, prepares the machine and starts
    // the transmission. direction is the feed of a spindle-serial program (1 or -1).
    void tnij(FigureRange range, int direction);

    JobDialogs dialogs;
    RotaryWriters rotaryWriters;
    ArmSelection arms;

    ProjectWindows& windows() { return m_windows; }
    TransmitArm& transmission() { return m_transmission; }
    // "out.cn" in the data directory.
    std::string programPath() const;

private:
    bool cut(FigureRange range, int direction);
    bool testRun() const;
    bool wireTest();
    CutProgramJob programJob(OutputKind outputKind) const;
    bool writeProgram(TMDIChild& project, FigureRange range, int direction);
    bool write2D(TMDIChild& project, FigureRange range, const CutProgramJob& job, double angleStep);
    bool written(const ProgramWriteResult& result);
    bool askOutline(TMDIChild& project, FigureRange range);
    bool askUnconnected(TMDIChild& project, FigureRange range);
    void pauseAndClear();
    void startMachine(TMDIChild& project);
    void startPlain(int heatingOutput);
    void startRotary(TMDIChild& project);
    void startTurning(TMDIChild& project);
    // Records where the wire stands as the origin the end of the job returns to; false, with
    // "ploterBrakLacznosci", when the positions cannot be read.
    bool recordOrigin();
    bool serialJob();
    void selectedFigureCommand(bool toTheEnd);
    // Shows the operator where the cut of the range starts and what it covers; true for OK.
    bool confirmRange(TMDIChild& project, FigureRange range);
    double projectMm(std::int32_t units) const;
    void sendTravelSpeed();
    void sendWorkingSpeed();
    void showError(const char* section, const char* key);

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
    TransmitArm& m_transmission;
    ProjectWindows& m_windows;
    // The registers a spindle series carries from one program to the next, within one Start.
    AxisRegisters m_seriesRegisters{};
};

}  // namespace kerfline
