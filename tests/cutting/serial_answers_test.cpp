// The serial dialog's answers: the angle of every row and the repetitions the table height allows.
#include "job_rig.h"

#include "cutting/job_state.h"
#include "cutting/serial_answers.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

struct SerialAnswersTest : ::testing::Test {
    testing::SessionRig rig;
    std::vector<std::unique_ptr<TMDIChild>> owned;
    std::vector<TMDIChild*> windows;

    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            owned.push_back(std::make_unique<TMDIChild>(rig.context));
            owned.back()->rotationAngle = 7.0;
            windows.push_back(owned.back().get());
        }
    }
};

TEST_F(SerialAnswersTest, ABadAngleInAnyRowStoresNothing)
{
    SerialRepetition repetition{true, 4, 2.5};
    for (const char* bad : {"abc", "361", "-360.5", "", "1e999", "nan", "12x"}) {
        const SerialAnswers answers{{"90", "45", bad}, 3, 1.0};
        const SerialAnswersCheck check = applySerialAnswers(answers, windows, repetition, "Qd 1200", 500.0);
        EXPECT_EQ(check.fault, SerialAnswersCheck::Fault::Angle) << bad;
        EXPECT_EQ(check.row, 2u) << bad;
        for (const TMDIChild* window : windows)
            EXPECT_EQ(window->rotationAngle, 7.0) << bad;
        EXPECT_EQ(repetition.remaining, 4) << bad;
        EXPECT_EQ(repetition.shiftMm, 2.5) << bad;
    }
}

TEST_F(SerialAnswersTest, ValidAnswersAreStored)
{
    SerialRepetition repetition;
    const SerialAnswers answers{{"-360", " 60", "360"}, 2.5, 10.0};
    ASSERT_TRUE(applySerialAnswers(answers, windows, repetition, "Qd 1200", 100.0).ok());
    EXPECT_EQ(windows[0]->rotationAngle, -360.0);
    EXPECT_EQ(windows[1]->rotationAngle, 60.0);
    EXPECT_EQ(windows[2]->rotationAngle, 360.0);
    EXPECT_EQ(repetition.remaining, 2);  // rounded half to even
    EXPECT_EQ(repetition.shiftMm, 10.0);
}

TEST_F(SerialAnswersTest, RepetitionsMayNotTakeTheStartBelowTheMachinesFloor)
{
    // Table at 300 mm, 6 repetitions of 10 mm: 240 mm is above the 239 mm floor, 7 are not.
    const struct {
        const char* product;
        double repetitions;
        bool ok;
    } cases[] = {
        {"N 45", 6, true},   {"N 45", 7, false}, {"N 45   ", 7, false},
        {"Qd 1200", 29, true}, {"Qd 1200", 30, false}, {"Qd 1200  ", 29, true},
    };
    for (const auto& c : cases) {
        windows[0]->rotationAngle = 7.0;
        SerialRepetition repetition;
        const SerialAnswersCheck check =
            applySerialAnswers({{"1", "2", "3"}, c.repetitions, 10.0}, windows, repetition, c.product, 300.0);
        EXPECT_EQ(check.ok(), c.ok) << c.product << " " << c.repetitions;
        if (!c.ok) {
            EXPECT_EQ(check.fault, SerialAnswersCheck::Fault::Repetitions);
            EXPECT_EQ(windows[0]->rotationAngle, 7.0);
        }
    }
}

TEST_F(SerialAnswersTest, RowsStartWithHalfATurnSharedAndReadTheLocalesSeparator)
{
    const struct {
        std::size_t designs;
        char separator;
        const char* angle;
    } cases[] = {{4, '.', "45"}, {3, '.', "60"}, {7, '.', "25.7142857142857"}, {8, ',', "22,5"}, {0, '.', ""}};
    for (const auto& c : cases) {
        const std::string angle = serialDefaultAngle(c.designs, c.separator);
        EXPECT_EQ(angle, c.angle) << c.designs;
        if (c.designs > 0) {
            const auto read = serialAngle(angle, c.separator);
            ASSERT_TRUE(read) << angle;
            EXPECT_NEAR(*read, 180.0 / static_cast<double>(c.designs), 1e-12);
        }
    }
    EXPECT_FALSE(serialAngle("22,5"));
}

}  // namespace
}  // namespace kerfline
