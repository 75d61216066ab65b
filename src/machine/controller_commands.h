#pragma once

#include "machine/command_encoding.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Every controller command and reply, named once: the program builds its commands here, the
// cut program writer and decoder take their letters from here, and the virtual controller reads
// the same commands and writes its replies with the same field table the program decodes.
namespace kerfline::machine {

// Command letters. Direct commands are sent upper case; the cut program uses the same letters
// lower case (inProgram).
enum Letter : char {
    LetterMove = 'A',
    LetterHome = 'B',
    LetterClear = 'C',
    LetterSelectSpeedSet = 'F',
    LetterGo = 'G',
    LetterContinue = 'K',
    LetterDwell = 'P',
    LetterPause = 'Q',
    LetterHeating = 'R',
    LetterSetParameter = 'S',
    LetterPowerSetting = 'T',
    LetterProgramOrigin = 'U',
    LetterSpeedPeriod = 'V',
    LetterIdentify = 'X',
    LetterStopMotion = 'Y',
};

constexpr char inProgram(char letter)
{
    return static_cast<char>(letter | 0x20);
}

// Which case a command goes in: sent directly, or written into the cut program.
enum class Form { Direct, Program };

// Tags of the first and last piece of a move; the pieces between carry an axis number.
inline constexpr std::uint8_t kMoveStartTag = 0xFF;
inline constexpr std::uint8_t kMoveEndTag = 0xFE;

// Parameters of "S".
enum class ParameterId : std::uint8_t {
    HeavyRotation = 2,    // value 1, before a move of the rotary axes
    WaitForGo = 3,        // the hold: the controller waits for "G"
    PowerOutput = 4,      // power output type; on the two-wire machine 0 front wire, 5 side wire
    DisplayUnit = 6,
    Tension = 7,          // tenths of a newton
    MemoryAddress = 8,    // kProgramMemoryStart: the program memory, from its first word
    EraseMemory = 9,      // two bytes
    WriteMemoryWord = 10,
    Restart = 11,         // two bytes
    EepromByte = 13,      // address, value: four bytes
};

// Power output types of "S" 4 on the two-wire machine.
inline constexpr int kFrontWireOutput = 0;
inline constexpr int kSideWireOutput = 5;

// "S" 8 with 2 in the top byte points into the program memory; the low 24 bits are the address.
inline constexpr std::int32_t kProgramMemoryId = 2;
inline constexpr std::int32_t kProgramMemoryStart = kProgramMemoryId << 24;

namespace commands {

CommandBytes identify();              // "X", whenever a controller has just been chosen
CommandBytes stopMotion();            // "Y", ends a jog, go-to or homing
CommandBytes pause();                 // "Q", pauses the running program
CommandBytes clearProgram();          // "C", after "Q" before a new program
CommandBytes go();                    // "G", starts or resumes the program in the buffer
CommandBytes continueAtPausePoint();  // "K", once the wire is back at the pause point
CommandBytes home(int axisMask);      // bit n homes axis n
CommandBytes selectSpeedSet(int set, Form form = Form::Direct);
CommandBytes speedPeriod(int set, std::uint16_t period, Form form = Form::Direct);
CommandBytes heating(bool on, int output, Form form = Form::Direct);
// One byte (the low byte of value), or four when the controller takes the new power format.
CommandBytes powerSetting(int output, std::int32_t value, bool newPowerFormat, Form form = Form::Direct);
// The front arm's position in steps.
CommandBytes programOrigin(std::int32_t x, std::int32_t y);
CommandBytes setParameter(ParameterId parameter, std::int32_t value, Form form = Form::Direct);
CommandBytes eraseProgramMemory();
CommandBytes restartController();
CommandBytes writeEepromByte(std::uint8_t address, std::uint8_t value);
// A pause of n units inside a program.
CommandBytes dwell(std::uint8_t units);

}  // namespace commands

// Length of a direct command from its first bytes, as the controller reads it ("S" takes its
// length from the parameter).
int directCommandLength(std::string_view bytes, bool newPowerFormat);

// Reply channels.
enum Channel : int {
    ChannelStatus = 10,
    ChannelSpeeds = 12,
    ChannelPower = 13,
    ChannelMachine = 14,
    ChannelResolution = 15,
    ChannelTension = 16,
    ChannelVersion = 17,
};

// A little-endian number in a reply: byte offset and size.
struct ReplyField {
    std::size_t offset;
    std::size_t size;
};

namespace reply {

// Channel 10. The status bits are StatusFlag (machine_state.h).
inline constexpr ReplyField StateByte{1, 1};
inline constexpr ReplyField StatusFlags{2, 4};
constexpr ReplyField position(std::size_t axis) { return {6 + 4 * axis, 4}; }
// Channel 12: speed sets 0..3 as step periods, then the instantaneous one.
inline constexpr ReplyField SelectedSpeedSet{0, 1};
constexpr ReplyField speedPeriod(std::size_t index) { return {2 + 2 * index, 2}; }
// Channel 13.
inline constexpr ReplyField SelectedPowerOutput{0, 1};
constexpr ReplyField powerSetting(std::size_t output) { return {2 + 4 * output, 4}; }
inline constexpr ReplyField MeasuredPower{34, 2};
// Channel 14, millimetres, and two values the program stores without reading them.
inline constexpr ReplyField LimitX{2, 4};
inline constexpr ReplyField LimitY{6, 4};
inline constexpr ReplyField SecondWireLimitX{10, 4};
constexpr ReplyField furtherValue(std::size_t index) { return {14 + 4 * index, 4}; }
// Channel 15: resolutions times 2^24, steps per revolution (the program reads the low 32 bits)
// and the working width in millimetres.
inline constexpr ReplyField ResX{6, 8};
inline constexpr ReplyField ResY{14, 8};
inline constexpr ReplyField Res3{22, 8};
inline constexpr ReplyField StepsW{30, 8};
inline constexpr ReplyField StepsS{38, 8};
inline constexpr ReplyField StepsT{46, 8};
inline constexpr ReplyField FcWidth{54, 8};
inline constexpr double kResolutionOne = 16777216.0;
// Channel 16, tenths of a newton.
inline constexpr ReplyField TensionSetPoint{2, 4};
inline constexpr ReplyField TensionMeasured{6, 4};
// Channel 17: the version, and after "S" 8 the program memory word by word. Bytes 6..9 read as
// 0xFFFF after an erase: the word blank and the high half telling that no word is written.
inline constexpr ReplyField VersionMajor{0, 1};
inline constexpr ReplyField VersionMinor{1, 1};
inline constexpr ReplyField MemoryAddress{2, 4};
inline constexpr ReplyField MemoryWord{6, 2};
inline constexpr ReplyField MemoryWritten{8, 2};
inline constexpr ReplyField BlankTest{6, 4};
inline constexpr std::uint32_t kBlank = 0xFFFF;

}  // namespace reply

// The little-endian number of `size` bytes at `offset`. A reply shorter than its layout reads as
// zeros beyond its end; nothing is ever read beyond the reply.
inline std::uint64_t replyBits(std::span<const std::uint8_t> reply, std::size_t offset, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size && offset + i < reply.size(); ++i)
        value |= static_cast<std::uint64_t>(reply[offset + i]) << (8 * i);
    return value;
}

// A field as type T: a narrower type keeps the low bytes (the steps per revolution are the low
// 32 bits of their 64-bit fields).
template <typename T>
T replyField(std::span<const std::uint8_t> reply, ReplyField field)
{
    return static_cast<T>(replyBits(reply, field.offset, field.size));
}

// The writing side, for the virtual cutter's replies.
inline void putField(std::span<std::uint8_t> reply, ReplyField field, std::uint64_t value)
{
    for (std::size_t i = 0; i < field.size && field.offset + i < reply.size(); ++i)
        reply[field.offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
}

}  // namespace kerfline::machine
