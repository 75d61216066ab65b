#pragma once

#include "designfiles/axis_registers.h"
#include "designfiles/cut_program_error.h"
#include "designfiles/cut_program_job.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

// Targets of one move. Arm positions are millimetres, absolute in program coordinates; the table,
// spindle and auxiliary rotary axis turn by the given revolutions, relative to where they are.
struct AxisTargets {
    double frontX = 0.0;     // P1
    double backX = 0.0;      // P2
    double frontY = 0.0;     // P3
    double backY = 0.0;      // P4
    double table = 0.0;      // P5
    double spindle = 0.0;    // P6
    double aux = 0.0;        // P7, axis 3, millimetres
    double auxRotary = 0.0;  // P8, axis 7
};

// The writer of the binary cut program "out.cn". The importer Thpgl once played this role as
// well; no object ever did both, so the writer is a class of its own with the writing
// operations by their old names.
//
// A project creates one writer per program: BeginProgram, the body through the operations
// below, EndProgram. Every command is appended and flushed at once. After the first failed
// write nothing more is written and EndProgram reports the fault.
class CutProgramWriter {
public:
    CutProgramWriter(WriterSettings settings, CutProgramJob job);
    ~CutProgramWriter();
    CutProgramWriter(const CutProgramWriter&) = delete;
    CutProgramWriter& operator=(const CutProgramWriter&) = delete;

    // Creates the file (replacing one that exists), selects the power output on the controller
    // and writes the header of the job's output kind.
    ProgramWriteResult BeginProgram(const std::string& path);
    // The arm selection of a 2D program, for the trailer. Starts as the machine's KeyFront and
    // KeyBack.
    void setKeys(bool front, bool back);
    // Writes the trailer of the output kind and closes the file.
    ProgramWriteResult EndProgram();

    // The commands of a move to the targets, a corner pause in front when the move leaves a
    // corner; empty when no axis moves a step. Advances the registers; the caller writes the text.
    std::string MoveAxes(const AxisTargets& targets);
    // A pause of Round(n) units as "p" commands of at most 250 each.
    void WritePause(double n);
    void WritePower();
    // Registers of a program that starts at (x, y) plotter units with rotary register r.
    void SetPositions(std::int32_t x, std::int32_t y, std::int32_t r);
    // The same from (x, y) in hundredths of a millimetre, the registers' own unit: a program that
    // goes on where another one ended starts from its registers as they were, not rounded to
    // plotter units.
    void SetPositionsHundredths(std::int32_t x, std::int32_t y, std::int32_t r);
    // Moves the selected arms to the point (plotter units, scaled by skala here).
    void WritePlainMove(std::int32_t x, std::int32_t y, bool front, bool back);
    // Moves the front arm to (fx, fy) and the back arm to (bx, by), plotter units, in one move.
    void WritePairedMove(std::int32_t fx, std::int32_t bx, std::int32_t fy, std::int32_t by);
    // Turns the spindle by w and the table by s revolutions where the arms stand.
    void WriteRotation(double w, double s);
    void WriteHold();
    void WriteParking();

    // Appends commands as they stand; the bodies of the rotary and turning programs use it.
    void write(std::string_view commands);

    // The "v" command of speed set n at `speed` mm/min, as the header writes it.
    std::string speedCommand(std::uint8_t set, double speed) const;

    const WriterSettings& settings() const { return m_context; }
    const CutProgramJob& job() const { return m_job; }
    const AxisRegisters& registers() const { return m_registers; }
    bool heatUpPending() const { return m_heatUpPending; }
    void clearHeatUpPending() { m_heatUpPending = false; }
    std::uint8_t heatingOutput() const { return m_heatingOutput; }
    // The two-wire finishing moves were written: the manual control panel is to be shown.
    bool finishingMovesWritten() const { return m_finishingMovesWritten; }
    bool failed() const { return m_error.has_value(); }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const;
    };

    void writeHeader();
    void writeTwoWireFinishingMoves();
    void writeSerialCutOff();
    void fail(int systemCode);
    std::string powerCommand() const;
    std::uint16_t periodOf(double speed) const;

    WriterSettings m_context;
    CutProgramJob m_job;
    std::string m_path;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    bool m_open = false;  // between BeginProgram and EndProgram, until a write fails
    std::vector<AxisRegisters> m_observedPath;  // for the job's observer: see CutProgramJob
    std::optional<ProgramWriteError> m_error;

    AxisRegisters m_registers{};
    std::array<AxisRegisters, 3> m_history{};  // oldest first
    std::uint8_t m_heatingOutput = 1;
    bool m_keyFront = true;
    bool m_keyBack = true;
    bool m_heatUpPending = false;
    bool m_finishingMovesWritten = false;
    // Machine positions at the start of the program, hundredths of a millimetre.
    std::int32_t m_startFrontX = 0;
    std::int32_t m_startFrontY = 0;
    std::int32_t m_startBackY = 0;
};

}  // namespace kerfline
