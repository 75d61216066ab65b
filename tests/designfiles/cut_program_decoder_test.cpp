// The decoder of cut programs: commands by the length table, moves, the register trace, and
// bytes it did not make.
#include "designfiles/cut_program_decoder.h"

#include "machine/command_encoding.h"
#include "base/language.h"
#include "base/scripted_host.h"

#include <gtest/gtest.h>

#include <random>

namespace kerfline {
namespace {

using machine::EncodeInt32;
using machine::EncodeUInt16;

std::string piece(std::uint8_t tag, std::int32_t value)
{
    return std::string{'a', static_cast<char>(tag)} + EncodeInt32(value);
}

DecodeSettings settings(bool newPowerFormat = true)
{
    DecodeSettings s;
    s.lengths.setNewPowerFormat(newPowerFormat);
    s.resX = s.resY = 2.5;
    return s;
}

TEST(CutProgramDecoder, CommandsMovesAndTheRegisterTrace)
{
    const std::string bytes = std::string("v\x00", 2) + EncodeUInt16(150) +              //
                              std::string("t\x01", 2) + EncodeInt32(1000) +               //
                              piece(0xFF, 0) + piece(0, 250) + piece(1, -500) + piece(0xFE, 1118) +  //
                              std::string("p\x05", 2) +                                   //
                              piece(0xFF, 0) + piece(6, 100) + piece(0xFE, 200);
    const DecodedProgram program = decodeCutProgram(bytes, settings());
    ASSERT_FALSE(program.error);

    std::vector<std::string> texts;
    for (const DecodedCommand& command : program.commands)
        texts.push_back(describeCommand(command));
    EXPECT_EQ(texts, (std::vector<std::string>{"v 0 150", "t 1 1000", "a start 0", "a 0 250", "a 1 -500",
                                               "a end 1118", "p 5", "a start 0", "a 6 100", "a end 200"}));
    EXPECT_EQ(program.commands[2].offset, 10u);
    ASSERT_EQ(program.moves.size(), 2u);
    EXPECT_EQ(program.moves[0].steps, (machine::AxisSteps{250, -500, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(program.moves[0].count, 1118);
    EXPECT_EQ(program.moves[1].firstCommand, 7u);
    // Linear axes back in hundredths, the spindle in steps.
    ASSERT_EQ(program.trace.size(), 2u);
    EXPECT_EQ(program.trace[0], (AxisRegisters{100, -200, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(program.trace[1], (AxisRegisters{100, -200, 0, 0, 0, 0, 100, 0}));
}

TEST(CutProgramDecoder, StopsAtTheFirstFaultAndKeepsWhatCameBefore)
{
    using Kind = ProgramDecodeError::Kind;
    const std::string start = piece(0xFF, 0);
    struct Case {
        const char* what;
        std::string bytes;
        Kind kind;
        std::size_t offset;
        std::size_t commandsBefore;
    };
    const Case cases[] = {
        {"a byte that is no letter", std::string("p\x01\x07", 3), Kind::NotACommand, 2, 1},
        {"a command cut short", std::string("p\x01v\x00\x10", 5), Kind::CutShort, 2, 1},
        {"an end piece without a start", piece(0xFE, 5), Kind::BrokenMove, 0, 0},
        {"an axis piece without a start", piece(0, 5), Kind::BrokenMove, 0, 0},
        {"a pause inside a move", start + piece(0, 5) + "p\x01", Kind::BrokenMove, 0, 2},
        {"a second start", start + start, Kind::BrokenMove, 0, 1},
        {"an unknown tag", start + piece(9, 5), Kind::BrokenMove, 0, 1},
        {"a move the file ends in", start + piece(0, 5), Kind::CutShort, 0, 2},
    };
    for (const Case& c : cases) {
        const DecodedProgram program = decodeCutProgram(c.bytes, settings(), "f.cn");
        ASSERT_TRUE(program.error) << c.what;
        EXPECT_EQ(program.error->kind, c.kind) << c.what;
        EXPECT_EQ(program.error->offset, c.offset) << c.what;
        EXPECT_EQ(program.commands.size(), c.commandsBefore) << c.what;
        EXPECT_TRUE(program.moves.empty()) << c.what;
    }
}

TEST(CutProgramDecoder, MessagesNameTheFileAndTheOffset)
{
    ScriptedHost host;
    tInterfejs language(host);
    ASSERT_TRUE(language.load(KERFLINE_LANG_DIR, LanguageChoice{}));
    const DecodedProgram program = decodeCutProgram(std::string("p\x01\x07", 3), settings(), "job.cn");
    ASSERT_TRUE(program.error);
    EXPECT_EQ(program.error->message(language),
              "job.cn: the byte 0x07 at offset 2 does not begin a cut program command.");
    const DecodedProgram missing = readCutProgram("/nonexistent/job.cn", settings());
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->kind, ProgramDecodeError::Kind::ReadFailed);
}

TEST(CutProgramDecoder, PowerCommandLengthFollowsTheFormat)
{
    const std::string bytes = std::string("t\x01", 2) + EncodeInt32(1000);
    const DecodedProgram wide = decodeCutProgram(bytes, settings(true));
    ASSERT_FALSE(wide.error);
    EXPECT_EQ(describeCommand(wide.commands.at(0)), "t 1 1000");
    // Read with the one-byte format, the rest of the value is no command.
    const DecodedProgram narrow = decodeCutProgram(bytes, settings(false));
    ASSERT_TRUE(narrow.error);
    EXPECT_EQ(narrow.error->offset, 3u);
    EXPECT_EQ(describeCommand(narrow.commands.at(0)), "t 1 232");
}

TEST(CutProgramDecoder, AnyBytesEndInAResultNeverACrash)
{
    std::mt19937 random(20240611);
    const std::string valid = std::string("v\x00\x96\x00p\x01", 6) + piece(0xFF, 0) + piece(0, 250) + piece(0xFE, 500);
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        if (round % 2 == 0) {
            bytes.resize(std::uniform_int_distribution<std::size_t>(0, 48)(random));
            for (char& c : bytes)
                c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
        } else {
            bytes = valid.substr(0, std::uniform_int_distribution<std::size_t>(0, valid.size())(random));
            if (!bytes.empty())
                bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)] ^=
                    static_cast<char>(1 << std::uniform_int_distribution<int>(0, 7)(random));
        }
        const DecodedProgram program = decodeCutProgram(bytes, settings(round % 3 == 0));
        EXPECT_EQ(program.trace.size(), program.moves.size());
        if (program.error) {
            EXPECT_LE(program.error->offset, bytes.size());
        }
        for (const DecodedCommand& command : program.commands)
            EXPECT_LT(command.offset, bytes.size());
    }
}

}  // namespace
}  // namespace kerfline
