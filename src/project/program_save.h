#pragma once

#include "base/app_context.h"
#include "designfiles/cut_program_writer.h"
#include "project/tmdichild.h"

#include <string>

namespace kerfline {

// The frame the project's rotary saves share: the status text and the busy cursor while the
// program is written, the writer from BeginProgram to EndProgram. `body` writes the figures;
// `finish` what follows them once the status text is cleared.
template <typename Body, typename Finish>
ProgramWriteResult saveProgram(TMDIChild& project, const CutProgramJob& job, const std::string& fileName, Body&& body,
                               Finish&& finish)
{
    AppContext& context = project.context();
    context.host.setStatus(0, "Write file " + fileName);
    BusyCursor busy(context.host);
    CutProgramWriter writer(context, job);
    if (ProgramWriteResult begun = writer.BeginProgram(fileName); !begun) {
        context.host.setStatus(0, "");
        return begun;
    }
    body(writer);
    context.host.setStatus(0, "");
    return finish(writer);
}

}  // namespace kerfline
