// QuadLfo::Run, the oscillator's block taken apart: stepped four samples at
// a time it writes what Process writes and leaves the same phase.

#include "QuadLfo.h"

#include "LfoRig.h"
#include "StepThrough.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(QuadLfoRun, StepsFourAtATimeGiveWhatProcessGives)
{
    // With the wheel the outputs are scaled; without it they are multiplied
    // by 1, which must not change a bit.
    for (const float wheelMode : {0.0f, 1.0f}) {
        LfoRig whole;
        LfoRig stepped;
        for (LfoRig* each : {&whole, &stepped}) {
            each->frequency.SetValue(0.9f);
            each->modWheelMode.SetValue(wheelMode);
            each->lfo.SetController(1, 0.7f);
        }
        for (const int count : {1003, 4, 3, 0, 517}) {
            whole.lfo.Process(count);
            QuadLfo::Run run(stepped.lfo, count);
            StepThrough(run);
            for (const int index : {0, 1}) {
                EXPECT_TRUE(std::equal(
                    whole.lfo.GetOutput(index), whole.lfo.GetOutput(index) + count, stepped.lfo.GetOutput(index)))
                    << "output " << index << ", " << count << " samples, wheel mode " << wheelMode;
            }
        }
    }
}
