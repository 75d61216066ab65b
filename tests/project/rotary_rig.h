#pragma once

// A project rig that prepares rotary and turning projects and writes their programs.

#include "walk_rig.h"

#include "project/rotary_save.h"

namespace kerfline::testing {

struct RotaryRig : WalkRig {
    RotaryRig(int mode, int device, const std::vector<std::vector<Point>>& contours)
    {
        config().setChoice(Param::Mode, mode);
        config().setChoice(Param::StolikSwitch, device);
        design(contours);
    }

    LoadOutcome prepare() { return project.mode() == ModeRotary ? project.ciecie_obrotowe() : project.toczenie(); }

    // The output kind the cutting job would choose, with the job's start positions.
    CutProgramJob job(double startX = 100.0, double startY = 200.0)
    {
        CutProgramJob job;
        job.outputKind = cutOutputKind(project.mode(), config().choice(Param::StolikSwitch), project.horizontalAxisFound);
        job.programStartX = startX;
        job.programStartY = startY;
        job.firstEntry = project.DajPoz1szegoWjazduWmat();
        return job;
    }

    using WalkRig::save;
    ProgramWriteResult save(const CutProgramJob& job) { return saveRotaryProgram(project, job, path()); }

    // The registers the header of the job leaves, for decoding.
    static AxisRegisters headerRegisters(const CutProgramJob& job)
    {
        const auto h = [](double mm) { return roundHalfEven(mm * 100.0); };
        AxisRegisters r{};
        switch (job.outputKind) {
        case OutputKind::TurningSpindle:
            r[AxisFrontX] = r[AxisBackX] = h(job.firstEntry);
            r[AxisFrontY] = r[AxisBackY] = h(job.programStartY);
            break;
        case OutputKind::RotarySpindle:
            r[AxisFrontY] = r[AxisBackY] = h(job.programStartY);
            break;
        case OutputKind::TurningTable:
            r[AxisFrontY] = r[AxisBackY] = h(job.firstEntry);
            r[AxisFrontX] = r[AxisBackX] = h(job.programStartX);
            break;
        case OutputKind::RotaryTable:
            r[AxisFrontY] = r[AxisBackY] = h(job.programStartY);
            r[AxisFrontX] = r[AxisBackX] = h(job.programStartX);
            break;
        default:
            break;
        }
        return r;
    }

    DecodedProgram decodedFrom(const CutProgramJob& job) const
    {
        DecodeSettings settings = DecodeSettings::forMachine(app.machine);
        settings.start = headerRegisters(job);
        return decodeCutProgram(bytes(), settings, path());
    }

    // The registers at every "r 1" (the heating switched on before each cut).
    std::vector<AxisRegisters> registersAtHeating(const CutProgramJob& job) const
    {
        const DecodedProgram program = decodedFrom(job);
        std::vector<AxisRegisters> at;
        AxisRegisters now = headerRegisters(job);
        std::size_t move = 0;
        bool header = true;
        for (std::size_t k = 0; k < program.commands.size(); ++k) {
            while (move < program.moves.size() && program.moves[move].firstCommand < k)
                now = program.trace[move++];
            const DecodedCommand& c = program.commands[k];
            if (c.letter == 'r' && c.args.at(0) == 1) {
                if (!header)
                    at.push_back(now);
                header = false;  // the header's own comes first
            }
        }
        return at;
    }
};

}  // namespace kerfline::testing
