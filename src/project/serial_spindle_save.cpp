#include "project/serial_spindle_save.h"

#include "designfiles/cut_program_writer.h"
#include "designfiles/rotary_body.h"
#include "machine/machine_state.h"
#include "project/program_save.h"
#include "project/tmdichild.h"

#include <algorithm>

namespace kerfline {

ProgramWriteResult save_ciecie_seryjne_wrzeciono(TMDIChild& project, const CutProgramJob& job,
                                                 const std::string& fileName, std::int32_t first, int direction,
                                                 double angleStep, std::int32_t last, AxisRegisters& saved)
{
    const auto figures = [&](CutProgramWriter& writer) {
        // The wire has not moved since the previous program ended: its registers are taken whole.
        writer.SetPositionsHundredths(saved[AxisFrontX], saved[AxisFrontY], 0);
        double phase = 0.0;
        const auto count = static_cast<std::int32_t>(project.figures.size());
        for (std::int32_t k = std::max(first, 0); k <= last && k < count && !writer.failed(); ++k) {
            const tfigura& figure = project.figures[static_cast<std::size_t>(k)];
            if (figure.cutEnabled != 0)
                WriteFigureBody(writer, figure, direction, phase);
        }
    };
    const auto finish = [&](CutProgramWriter& writer) {
        writer.WriteRotation(angleStep, 0.0);
        const AxisRegisters atEnd = writer.registers();
        ProgramWriteResult result = writer.EndProgram();
        if (result)
            saved = atEnd;
        return result;
    };
    return saveProgram(project, job, fileName, figures, finish);
}

}  // namespace kerfline
