// SmoothRamp::Run, up to four ramps stepped side by side: every lane writes
// what its ramp writes on its own and ends in the same state, whatever the
// other lanes do.

#include "Parameters/SmoothParameter.h"

#include "StepThrough.h"

#include "Parameters/Displays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using Level = SmoothParameter<DoNothingSmoothTransform, DisplayFloat>;

// Four ramps that differ in every way a lane can: a rise, a fall, a change to
// the value it already has (arrives at once) and one left settled. Block 12
// turns the rise around halfway, so that a lane changes direction.
struct FourLevels {
    FourLevels()
    {
        levels[0].SetValue(0.45f);
        levels[1].SetValue(0.05f);
        levels[2].SetValue(0.25f);
    }

    void ChangeBefore(int block)
    {
        if (block == 12) {
            levels[0].SetValue(0.1f);
        }
    }

    std::array<Level, 4> levels {
        Level("A", "A", "", 0.25f), Level("B", "B", "", 0.25f), Level("C", "C", "", 0.25f), Level("D", "D", "", 0.25f)};
};

} // namespace

TEST(SmoothRampRun, LanesSideBySideGiveWhatEachRampGivesAlone)
{
    // Blocks with a tail of one to three samples, whole groups, a lone sample
    // and an empty block.
    for (const int count : {2003, 512, 1, 0, 7}) {
        FourLevels alone;
        FourLevels together;
        for (int block = 0; block < 30; ++block) {
            alone.ChangeBefore(block);
            together.ChangeBefore(block);
            for (Level& level : alone.levels) {
                level.Process(count);
            }
            auto& [a, b, c, d] = together.levels;
            SmoothRamp::Run run({&a, &b, &c, &d}, count);
            StepThrough(run);
            for (int lane = 0; lane < 4; ++lane) {
                const float* expected = alone.levels[lane].GetOutput(0);
                const float* actual = together.levels[lane].GetOutput(0);
                ASSERT_TRUE(std::equal(expected, expected + BufferSize, actual))
                    << "count " << count << ", block " << block << ", lane " << lane;
                ASSERT_EQ(alone.levels[lane].GetState(), together.levels[lane].GetState())
                    << "count " << count << ", block " << block << ", lane " << lane;
            }
        }
    }
}

TEST(SmoothRampRun, TwoRampsInEitherOrder)
{
    Level rise("A", "A", "", 0.0f);
    Level fall("B", "B", "", 1.0f);
    Level riseAlone("A", "A", "", 0.0f);
    Level fallAlone("B", "B", "", 1.0f);
    for (Level* level : {&rise, &riseAlone}) {
        level->SetValue(1.0f);
    }
    for (Level* level : {&fall, &fallAlone}) {
        level->SetValue(0.0f);
    }
    riseAlone.Process(9);
    fallAlone.Process(9);
    SmoothRamp::Run run({&fall, &rise}, 9);
    StepThrough(run);
    EXPECT_TRUE(std::equal(riseAlone.GetOutput(0), riseAlone.GetOutput(0) + 9, rise.GetOutput(0)));
    EXPECT_TRUE(std::equal(fallAlone.GetOutput(0), fallAlone.GetOutput(0) + 9, fall.GetOutput(0)));
    EXPECT_GT(rise.GetOutput(0)[8], rise.GetOutput(0)[0]);
    EXPECT_LT(fall.GetOutput(0)[8], fall.GetOutput(0)[0]);
}
