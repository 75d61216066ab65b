#include "designfiles/cut_program_decoder.h"

#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/machine_state.h"
#include "base/language.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kerfline {
namespace {

using machine::inProgram;
using machine::kMoveEndTag;
using machine::kMoveStartTag;

// Whether a letter, in either case, is the command of the given letter.
bool is(char letter, char command)
{
    return inProgram(letter) == inProgram(command);
}

std::uint8_t byteAt(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

std::int32_t int32At(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k)
        value |= std::uint32_t{byteAt(bytes, at + k)} << (8 * k);
    return static_cast<std::int32_t>(value);
}

std::uint16_t uint16At(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(byteAt(bytes, at) | (byteAt(bytes, at + 1) << 8));
}

// The arguments of a command of the given length that starts at `at`.
std::vector<std::int64_t> argumentsOf(std::string_view bytes, std::size_t at, std::size_t length)
{
    const char letter = static_cast<char>(byteAt(bytes, at));
    const std::size_t a = at + 1;
    if ((is(letter, machine::LetterMove) || is(letter, machine::LetterSetParameter) ||
         is(letter, machine::LetterPowerSetting)) && length == 6)
        return {byteAt(bytes, a), int32At(bytes, a + 1)};
    if (is(letter, machine::LetterSpeedPeriod) && length == 4)
        return {byteAt(bytes, a), uint16At(bytes, a + 1)};
    std::vector<std::int64_t> args;
    for (std::size_t k = a; k < at + length; ++k)
        args.push_back(byteAt(bytes, k));
    return args;
}

bool isLetter(std::uint8_t byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

// Machine positions in steps: linear axes start at Round(register × resolution).
class StepTracker {
public:
    explicit StepTracker(const DecodeSettings& settings) : m_settings(settings)
    {
        for (int axis = 0; axis < 8; ++axis) {
            const double r = resolution(axis);
            const auto k = static_cast<std::size_t>(axis);
            m_steps[k] = r > 0.0 ? roundHalfEven<std::int64_t>(settings.start[k] * r) : settings.start[k];
        }
    }

    AxisRegisters advance(const machine::AxisSteps& d)
    {
        AxisRegisters registers{};
        for (std::size_t k = 0; k < 8; ++k) {
            m_steps[k] += d[k];
            const double r = resolution(static_cast<int>(k));
            registers[k] = r > 0.0 ? roundHalfEven(static_cast<double>(m_steps[k]) / r)
                                   : roundHalfEven(static_cast<double>(m_steps[k]));
        }
        return registers;
    }

private:
    // Steps per register unit of the linear axes; 0 for the rotary axes, counted in steps.
    double resolution(int axis) const
    {
        switch (axis) {
        case 0:
        case 4:
            return m_settings.resX;
        case 1:
        case 5:
            return m_settings.resY;
        case 3:
            return m_settings.res3;
        default:
            return 0.0;
        }
    }

    const DecodeSettings& m_settings;
    std::array<std::int64_t, 8> m_steps{};
};

}  // namespace

DecodeSettings DecodeSettings::forMachine(const MachineState& machine)
{
    DecodeSettings settings;
    settings.lengths.setNewPowerFormat(machine.newPowerFormat());
    settings.resX = machine.resX;
    settings.resY = machine.resY;
    settings.res3 = machine.res3;
    return settings;
}

DecodedProgram decodeCutProgram(std::string_view bytes, const DecodeSettings& settings, const std::string& file)
{
    DecodedProgram program;
    StepTracker tracker(settings);
    std::optional<DecodedMove> move;
    std::size_t moveOffset = 0;
    const auto stop = [&](ProgramDecodeError::Kind kind, std::size_t offset, int byte) {
        program.error = ProgramDecodeError{kind, file, offset, byte, 0};
    };

    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::uint8_t letter = byteAt(bytes, at);
        const int length = isLetter(letter) ? settings.lengths.lengthOf(static_cast<char>(letter)) : 0;
        if (length <= 0) {
            stop(ProgramDecodeError::Kind::NotACommand, at, letter);
            return program;
        }
        if (bytes.size() - at < static_cast<std::size_t>(length)) {
            stop(ProgramDecodeError::Kind::CutShort, at, letter);
            return program;
        }
        DecodedCommand command{at, static_cast<char>(letter), argumentsOf(bytes, at, static_cast<std::size_t>(length))};
        const bool piece = is(static_cast<char>(letter), machine::LetterMove) && length == 6;
        if (move && !piece) {
            stop(ProgramDecodeError::Kind::BrokenMove, moveOffset, inProgram(machine::LetterMove));
            return program;
        }
        if (piece) {
            const auto tag = static_cast<std::uint8_t>(command.args[0]);
            const auto value = static_cast<std::int32_t>(command.args[1]);
            if (tag == kMoveStartTag && !move) {
                move = DecodedMove{};
                move->firstCommand = program.commands.size();
                moveOffset = at;
            } else if (tag < 8 && move) {
                move->steps[tag] = value;
            } else if (tag == kMoveEndTag && move) {
                move->count = value;
                program.trace.push_back(tracker.advance(move->steps));
                program.moves.push_back(*move);
                move.reset();
            } else {
                stop(ProgramDecodeError::Kind::BrokenMove, move ? moveOffset : at, letter);
                return program;
            }
        }
        program.commands.push_back(std::move(command));
        at += static_cast<std::size_t>(length);
    }
    if (move)
        stop(ProgramDecodeError::Kind::CutShort, moveOffset, inProgram(machine::LetterMove));
    return program;
}

DecodedProgram readCutProgram(const std::string& path, const DecodeSettings& settings)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in)
        content << in.rdbuf();
    if (!in || in.bad()) {
        DecodedProgram program;
        program.error = ProgramDecodeError{ProgramDecodeError::Kind::ReadFailed, path, 0, 0, errno};
        return program;
    }
    return decodeCutProgram(content.str(), settings, path);
}

std::string ProgramDecodeError::message(const tInterfejs& language) const
{
    const std::string where = std::to_string(offset);
    char shown[8];
    std::snprintf(shown, sizeof shown, "0x%02X", static_cast<unsigned>(byte & 0xFF));
    switch (kind) {
    case Kind::NotACommand:
        return formatText(language.Text("Universal", "programNieKomenda"), {file, where, shown});
    case Kind::CutShort:
        return formatText(language.Text("Universal", "programUciety"), {file, where});
    case Kind::BrokenMove:
        return formatText(language.Text("Universal", "programZlyRuch"), {file, where});
    case Kind::ReadFailed:
        break;
    }
    return language.Text("Universal", "zbioruNieMoznaOtworzyc") + file +
           (systemCode != 0 ? std::string(" (") + std::strerror(systemCode) + ")" : std::string());
}

std::string describeCommand(const DecodedCommand& command)
{
    std::string text(1, command.letter);
    const bool piece = is(command.letter, machine::LetterMove) && command.args.size() == 2;
    for (std::size_t k = 0; k < command.args.size(); ++k) {
        const std::int64_t value = command.args[k];
        if (piece && k == 0 && (value == kMoveStartTag || value == kMoveEndTag)) {
            text += value == kMoveStartTag ? " start" : " end";
            continue;
        }
        text += ' ' + std::to_string(value);
    }
    return text;
}

}  // namespace kerfline
