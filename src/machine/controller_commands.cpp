#include "machine/controller_commands.h"

namespace kerfline::machine {
namespace {

char letterIn(char letter, Form form)
{
    return form == Form::Program ? inProgram(letter) : letter;
}

// A letter and one-byte arguments.
CommandBytes bytes(char letter, std::initializer_list<int> arguments = {})
{
    CommandBytes text(1, letter);
    for (const int v : arguments)
        text += static_cast<char>(v & 0xFF);
    return text;
}

}  // namespace

namespace commands {

CommandBytes identify() { return bytes(LetterIdentify); }
CommandBytes stopMotion() { return bytes(LetterStopMotion); }
CommandBytes pause() { return bytes(LetterPause); }
CommandBytes clearProgram() { return bytes(LetterClear); }
CommandBytes go() { return bytes(LetterGo); }
CommandBytes continueAtPausePoint() { return bytes(LetterContinue); }
CommandBytes home(int axisMask) { return bytes(LetterHome, {axisMask}); }

CommandBytes selectSpeedSet(int set, Form form)
{
    return bytes(letterIn(LetterSelectSpeedSet, form), {set});
}

CommandBytes speedPeriod(int set, std::uint16_t period, Form form)
{
    return bytes(letterIn(LetterSpeedPeriod, form), {set}) + EncodeUInt16(period);
}

CommandBytes heating(bool on, int output, Form form)
{
    return bytes(letterIn(LetterHeating, form), {on ? 1 : 0, output});
}

CommandBytes powerSetting(int output, std::int32_t value, bool newPowerFormat, Form form)
{
    const CommandBytes text = bytes(letterIn(LetterPowerSetting, form), {output});
    return text + (newPowerFormat ? EncodeInt32(value) : CommandBytes(1, static_cast<char>(value & 0xFF)));
}

CommandBytes programOrigin(std::int32_t x, std::int32_t y)
{
    return bytes(LetterProgramOrigin) + EncodeInt32(x) + EncodeInt32(y);
}

CommandBytes setParameter(ParameterId parameter, std::int32_t value, Form form)
{
    return bytes(letterIn(LetterSetParameter, form), {static_cast<int>(parameter)}) + EncodeInt32(value);
}

CommandBytes eraseProgramMemory()
{
    return bytes(LetterSetParameter, {static_cast<int>(ParameterId::EraseMemory)});
}

CommandBytes restartController()
{
    return bytes(LetterSetParameter, {static_cast<int>(ParameterId::Restart)});
}

CommandBytes writeEepromByte(std::uint8_t address, std::uint8_t value)
{
    return bytes(LetterSetParameter, {static_cast<int>(ParameterId::EepromByte), address, value});
}

CommandBytes dwell(std::uint8_t units)
{
    return bytes(inProgram(LetterDwell), {units});
}

}  // namespace commands

int directCommandLength(std::string_view bytes, bool newPowerFormat)
{
    const auto at = [bytes](std::size_t i) { return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0; };
    switch (at(0)) {
    case LetterMove: return 6;
    case LetterHome: case LetterSelectSpeedSet: return 2;
    case LetterHeating: return 3;
    case LetterPowerSetting: return newPowerFormat ? 6 : 3;
    case LetterProgramOrigin: return 9;
    case LetterSpeedPeriod: return 4;
    case LetterSetParameter:
        switch (static_cast<ParameterId>(at(1))) {
        case ParameterId::EraseMemory: case ParameterId::Restart: return 2;
        case ParameterId::EepromByte: return 4;
        default: return 6;
        }
    default: return 1;
    }
}

}  // namespace kerfline::machine
