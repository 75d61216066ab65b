#pragma once

#include "designfiles/cut_program_decoder.h"
#include "designfiles/cut_program_writer.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "support/temp_dir.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kerfline::testing {

// A context with a four-axis machine of 2.5 steps per hundredth and the new power format, a
// temporary data directory and a recorder of the direct commands the writer sends.
struct WriterRig {
    explicit WriterRig(std::vector<std::string> switches = {}) : app(host, clock, CommandLine(std::move(switches)))
    {
        app.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        app.dataDirectory = dir.str();
        MachineState& m = app.machine;
        m.setProduct("Qd 1200 ");
        m.resX = m.resY = 2.5;
        m.res3 = 1.0;
        m.stepsS = m.stepsW = m.stepsT = 8000;
        m.speedMultiplier = 2;
        m.versionMajor = 4;
        m.versionMinor = 2;
        m.powerScale = 100;
    }

    CutProgramJob job(int outputKind)
    {
        CutProgramJob job;
        job.outputKind = static_cast<OutputKind>(outputKind);  // the tests name kinds by their codes
        job.sendCommand = [this](std::string_view text) {
            sent.emplace_back(text);
            return true;
        };
        return job;
    }

    std::string path() const { return dir.str() + "out.cn"; }

    std::string bytes() const
    {
        std::ifstream in(path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    DecodedProgram decoded(AxisRegisters start = {}) const
    {
        DecodeSettings settings = DecodeSettings::forMachine(app.machine);
        settings.start = start;
        return decodeCutProgram(bytes(), settings, path());
    }

    // Every command of the program as describeCommand gives it.
    std::vector<std::string> commands() const
    {
        std::vector<std::string> texts;
        for (const DecodedCommand& command : decoded().commands)
            texts.push_back(describeCommand(command));
        return texts;
    }

    Configuration& config() { return app.configuration; }

    ScriptedHost host;
    SimulatedClock clock;
    TempDir dir;
    AppContext app;
    std::vector<std::string> sent;
};

// The commands of a move that starts with `count` and names each axis piece; for expectations.
inline std::vector<std::string> moveTexts(std::vector<std::string> axisPieces, std::int32_t count)
{
    std::vector<std::string> texts{"a start 0"};
    texts.insert(texts.end(), axisPieces.begin(), axisPieces.end());
    texts.push_back("a end " + std::to_string(count));
    return texts;
}

}  // namespace kerfline::testing
