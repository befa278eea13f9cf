// SmoothParameter::Run, the smoother's block taken apart: stepped four
// samples at a time it writes what Process writes and ends in the same state.

#include "Parameters/SmoothParameter.h"

#include "StepThrough.h"

#include "Parameters/Displays.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Level = SmoothParameter<DoNothingSmoothTransform, DisplayFloat>;

} // namespace

TEST(SmoothParameterRun, StepsFourAtATimeGiveWhatProcessGives)
{
    // A rise, a fall and an unchanged value: each arrives somewhere inside a
    // group of four, and in the blocks after it the parameter settles.
    for (const float to : {0.45f, 0.05f, 0.25f}) {
        Level whole("L", "Level", "", 0.25f);
        Level stepped("L", "Level", "", 0.25f);
        whole.SetValue(to);
        stepped.SetValue(to);
        constexpr int Count = 2003;
        for (int block = 0; block < 30; ++block) {
            whole.Process(Count);
            Level::Run run(stepped, Count);
            StepThrough(run);
            ASSERT_TRUE(std::equal(whole.GetOutput(0), whole.GetOutput(0) + Count, stepped.GetOutput(0)))
                << to << ", block " << block;
            ASSERT_EQ(whole.GetState(), stepped.GetState()) << to << ", block " << block;
        }
        EXPECT_NE(whole.GetState(), Level::Ramping) << "each ramp arrives within the 60,000 samples";
    }
}
