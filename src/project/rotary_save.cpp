#include "project/rotary_save.h"

#include "designfiles/cut_program_writer.h"
#include "designfiles/rotary_body.h"
#include "geometry/geometry.h"
#include "base/round.h"
#include "project/program_save.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"

namespace kerfline {
namespace {

enum class SaveKind { Rotary, SpindleTurning, TableTurning };

std::int64_t squaredDistance(Point a, Point b)
{
    const std::int64_t dx = std::int64_t{a.x} - b.x;
    const std::int64_t dy = std::int64_t{a.y} - b.y;
    return dx * dx + dy * dy;
}

class RotarySave {
public:
    RotarySave(TMDIChild& project, CutProgramWriter& writer, SaveKind kind)
        : m_project(project), m_writer(writer), m_kind(kind), m_config(project.context().configuration)
    {
    }

    void figure(std::int32_t k)
    {
        const int catDir = m_config.choice(Param::CatDir);
        const int baseDirection = m_config.choice(Param::KierunekObrotow) == 0 ? 1 : -1;
        const double passes = m_config.number(Param::ilosckrokow);
        const std::int32_t n = roundHalfEven(passes);
        if (passes > 1.0) {
            m_forward = catDir != 1;
            for (std::int32_t j = 1; j <= n; ++j) {
                const double start = static_cast<double>(j - 1) / n;
                if (catDir == 0 || (catDir == 2 && m_forward)) {
                    m_phase = start;
                    write(k, baseDirection);
                } else if (catDir == 1) {
                    m_phase = start;
                    writeReversed(k, baseDirection);
                } else {
                    m_phase += 1.0 / n;  // on from where the previous pass left the axis
                    writeReversed(k, baseDirection);
                }
                nextForward(catDir);
                if (m_kind == SaveKind::Rotary && j < n)
                    m_writer.WriteHold();
            }
            nextForward(catDir);
            return;
        }
        switch (catDir) {
        case 0:
            write(k, baseDirection);
            break;
        case 1:
            writeReversed(k, baseDirection);
            break;
        default: {
            // From whichever end is nearer to where the previous figure ended.
            const tfigura& f = figureAt(k);
            if (squaredDistance(m_reference, f.points.back()) >= squaredDistance(m_reference, f.points.front())) {
                write(k, baseDirection);
                m_reference = figureAt(k).points.back();
            } else {
                writeReversed(k, baseDirection);
                m_reference = figureAt(k).points.front();
            }
            break;
        }
        }
    }

    void setReference(Point r) { m_reference = r; }

private:
    tfigura& figureAt(std::int32_t k) { return m_project.figures[static_cast<std::size_t>(k)]; }

    void write(std::int32_t k, int direction) { WriteFigureBody(m_writer, figureAt(k), direction, m_phase); }

    // Cut backwards, the rotation turned round too when dopasujKierunek asks; the figure is
    // turned back at once.
    void writeReversed(std::int32_t k, int direction)
    {
        if (m_config.isChecked(Param::dopasujKierunek))
            direction = -direction;
        m_project.OdwrocKierunek(k);
        write(k, direction);
        m_project.OdwrocKierunek(k);
    }

    void nextForward(int catDir)
    {
        if (catDir == 0)
            m_forward = true;
        else if (catDir == 1)
            m_forward = false;
        else
            m_forward = !m_forward;
    }

    TMDIChild& m_project;
    CutProgramWriter& m_writer;
    SaveKind m_kind;
    const Configuration& m_config;
    bool m_forward = true;
    double m_phase = 0.0;
    Point m_reference{};
};

ProgramWriteResult saveRotary(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                              std::int32_t first, std::int32_t last, SaveKind kind)
{
    const auto figures = [&](CutProgramWriter& writer) {
        RotarySave save(project, writer, kind);
        const std::int32_t startY = mmToUnits(job.programStartY);
        if (kind == SaveKind::SpindleTurning)
            save.setReference({0, startY});
        else if (kind == SaveKind::TableTurning)
            save.setReference({startY, 0});
        const auto count = static_cast<std::int32_t>(project.figures.size());
        for (std::int32_t k = std::max(first, 0); k <= last && k < count && !writer.failed(); ++k) {
            const tfigura& f = project.figures[static_cast<std::size_t>(k)];
            if (f.cutEnabled == 0 || f.points.empty())
                continue;
            if (kind != SaveKind::Rotary && f.turnOrder == 0)
                continue;
            save.figure(k);
        }
    };
    const auto finish = [&](CutProgramWriter& writer) {
        if (kind == SaveKind::Rotary)
            writer.WriteParking();
        return writer.EndProgram();
    };
    return saveProgram(project, job, fileName, figures, finish);
}

}  // namespace

ProgramWriteResult Save_ciecie_obrotowe(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                        std::int32_t first, std::int32_t last)
{
    return saveRotary(project, job, fileName, first, last, SaveKind::Rotary);
}

ProgramWriteResult Save_toczenie_wrzeciono(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                           std::int32_t first, std::int32_t last)
{
    return saveRotary(project, job, fileName, first, last, SaveKind::SpindleTurning);
}

ProgramWriteResult Save_toczenie_stolik(TMDIChild& project, const CutProgramJob& job, const std::string& fileName,
                                        std::int32_t first, std::int32_t last)
{
    return saveRotary(project, job, fileName, first, last, SaveKind::TableTurning);
}

ProgramWriteResult saveRotaryProgram(TMDIChild& project, const CutProgramJob& job, const std::string& fileName)
{
    const auto last = static_cast<std::int32_t>(project.figures.size()) - 1;
    switch (job.outputKind) {
    case OutputKind::TurningSpindle: return Save_toczenie_wrzeciono(project, job, fileName, 0, last);
    case OutputKind::TurningTable: return Save_toczenie_stolik(project, job, fileName, 0, last);
    case OutputKind::RotarySpindle:
    case OutputKind::RotaryTable: return Save_ciecie_obrotowe(project, job, fileName, 0, last);
    default: return {};
    }
}

}  // namespace kerfline
