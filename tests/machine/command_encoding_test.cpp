// Command encodings, the move builder, the speed conversions and the command length table.
#include "machine/command_encoding.h"
#include "link_rig.h"

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

using testing::bytesOf;

TEST(CommandEncoding, NumbersAreLittleEndianTwosComplement)
{
    EXPECT_EQ(EncodeInt32(-1), bytesOf({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeInt32(300), bytesOf({0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(EncodeInt32(-2000), bytesOf({0x30, 0xF8, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeUInt16(10000), bytesOf({0x10, 0x27}));
}

TEST(BuildMove, FourAxisMoveIsThirtySixBytes)
{
    const MoveCommand move = BuildMove('A', {300, 400, 0, 0, 300, 400, 0, 0}, 2);
    EXPECT_EQ(move.count, 1000);
    const std::string expected = bytesOf({'A', 0xFF, 0, 0, 0, 0,          //
                                          'A', 0x00, 0x2C, 0x01, 0, 0,    //
                                          'A', 0x04, 0x2C, 0x01, 0, 0,    //
                                          'A', 0x01, 0x90, 0x01, 0, 0,    //
                                          'A', 0x05, 0x90, 0x01, 0, 0,    //
                                          'A', 0xFE, 0xE8, 0x03, 0, 0});
    EXPECT_EQ(move.text, expected);
}

TEST(BuildMove, AuxiliaryAxesAloneGiveNoMove)
{
    // Axes 3 and 7 do not count towards the length, so the count is 0.
    const MoveCommand move = BuildMove('a', {0, 0, 0, 500, 0, 0, 0, 0}, 2);
    EXPECT_EQ(move.count, 0);
    EXPECT_TRUE(move.text.empty());
    EXPECT_TRUE(BuildMove('a', {}, 2).text.empty());
}

TEST(BuildMove, NegativeStepsAndTheAxisOrder)
{
    // Pieces go 0 4 1 5 2 6 3 7; the longest wire end is the back arm with the spindle.
    const MoveCommand move = BuildMove('a', {-1, 0, 0, 7, 0, 0, -3, 0}, 3);
    EXPECT_EQ(move.count, 9);  // Round(sqrt(9 + 0.5)) = 3, times 3
    const std::string expected = bytesOf({'a', 0xFF, 0, 0, 0, 0,               //
                                          'a', 0x00, 0xFF, 0xFF, 0xFF, 0xFF,   //
                                          'a', 0x06, 0xFD, 0xFF, 0xFF, 0xFF,   //
                                          'a', 0x03, 0x07, 0, 0, 0,            //
                                          'a', 0xFE, 0x09, 0, 0, 0});
    EXPECT_EQ(move.text, expected);
}

TEST(SpeedToPeriod, SlowSpeedsTakeTheTwentyMillimetrePeriod)
{
    EXPECT_EQ(SpeedToPeriod(10, 2.5), SpeedToPeriod(20, 2.5));
    EXPECT_EQ(SpeedToPeriod(0, 2.5), SpeedToPeriod(20, 2.5));
    // 2000 (1000 mm/min times 2) at 2.5 steps per hundredth: 1e6 / 2.5 / 3333.3 / 0.8 = 150.
    EXPECT_EQ(SpeedToPeriod(2000, 2.5), 150);
    EXPECT_EQ(SpeedToPeriod(2000, 0.0), 0xFFFF);  // no resolution: the slowest, not a crash
}

TEST(PeriodToSpeed, ZeroPeriodIsTheTravelLimit)
{
    EXPECT_EQ(PeriodToSpeed(0, 2.5, 5000), 5000);
    EXPECT_EQ(PeriodToSpeed(150, 2.5, 5000), 2000);
}

TEST(CommandLengthTable, LettersInEitherCaseAndTheNewPowerFormat)
{
    CommandLengthTable table;
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const int lengths[] = {6, 2, 1, 1, 1, 2, 1, 2, 2, 1, 1, 3, 1, 4, 1, 2, 1, 3, 6, 3, 7, 4, 1, 1, 1, 1};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(table.lengthOf(letters[i]), lengths[i]) << letters[i];
        EXPECT_EQ(table.lengthOf(static_cast<char>(letters[i] - 'A' + 'a')), lengths[i]) << letters[i];
    }
    EXPECT_EQ(table.lengthOf('1'), 0);
    table.setNewPowerFormat(true);
    EXPECT_EQ(table.lengthOf('t'), 6);
    table.setNewPowerFormat(false);
    EXPECT_EQ(table.lengthOf('T'), 3);
}

}  // namespace
}  // namespace kerfline::machine
