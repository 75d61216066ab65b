#include "project/serial_spindle_save.h"

#include "base/app_context.h"
#include "designfiles/cut_program_writer.h"
#include "designfiles/rotary_body.h"
#include "machine/machine_state.h"
#include "project/tmdichild.h"

#include <algorithm>

namespace kerfline {

ProgramWriteResult save_ciecie_seryjne_wrzeciono(TMDIChild& project, const CutProgramJob& job,
                                                 const std::string& fileName, std::int32_t first, int direction,
                                                 double angleStep, std::int32_t last, AxisRegisters& saved)
{
    AppContext& context = project.context();
    context.host.setStatus(0, "Write file " + fileName);
    BusyCursor busy(context.host);
    CutProgramWriter writer(context, job);
    if (ProgramWriteResult begun = writer.BeginProgram(fileName); !begun) {
        context.host.setStatus(0, "");
        return begun;
    }
    // The wire has not moved since the previous program ended: its registers are taken whole.
    writer.SetPositionsHundredths(saved[AxisFrontX], saved[AxisFrontY], 0);

    double phase = 0.0;
    const auto count = static_cast<std::int32_t>(project.figures.size());
    for (std::int32_t k = std::max(first, 0); k <= last && k < count && !writer.failed(); ++k) {
        const tfigura& figure = project.figures[static_cast<std::size_t>(k)];
        if (figure.cutEnabled != 0)
            WriteFigureBody(writer, figure, direction, phase);
    }

    context.host.setStatus(0, "");
    writer.WriteRotation(angleStep, 0.0);
    const AxisRegisters atEnd = writer.registers();
    ProgramWriteResult result = writer.EndProgram();
    if (result)
        saved = atEnd;
    return result;
}

}  // namespace kerfline
