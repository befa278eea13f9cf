#include "Parameters/SmoothParameter.h"

#include "Parameters/Displays.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct DelayTimeTransform {
    static float Apply(float value) { return value * value * 0.024f + 0.001f; }
};

using Level = SmoothParameter<DoNothingSmoothTransform, DisplayFloat>;

bool Holds(const float* buffer, int begin, int end, float value)
{
    return std::all_of(buffer + begin, buffer + end, [value](float sample) { return sample == value; });
}

// Runs the ramp from one value to another in blocks of blockSize until it
// writes the target; returns every sample up to and including that one.
std::vector<float> Ramp(float from, float to, int blockSize)
{
    Level level("L", "Level", "", from);
    level.SetValue(to);
    std::vector<float> samples;
    while (samples.size() < 100000) {
        level.Process(blockSize);
        for (int index = 0; index < blockSize; ++index) {
            samples.push_back(level.GetOutput(0)[index]);
            if (samples.back() == to) {
                return samples;
            }
        }
    }
    return samples;
}

// Counts the calls that reach the Reset slot.
class CountingLevel : public Level {
public:
    using Level::Level;
    void Reset() override
    {
        ++resets;
        Level::Reset();
    }
    int resets = 0;
};

} // namespace

TEST(SmoothParameter, StartsSettledWithATenthOfASecondTimeConstant)
{
    SmoothParameter<DelayTimeTransform, DisplayFloat> delayTime("D Time", "Delay Time", "Secs", 1.0f);
    EXPECT_EQ(delayTime.GetState(), Level::Settled);
    EXPECT_EQ(delayTime.GetSampleRate(), 44100.0f);
    EXPECT_EQ(delayTime.GetOutputCount(), 1);
    delayTime.Process(BufferSize);
    EXPECT_TRUE(Holds(delayTime.GetOutput(0), 0, BufferSize, 0.025f));

    // The first step from 0 toward the aim 1.0001 is the aim times the coefficient.
    const float aim = 1.0f + 0.0001f;
    for (float sampleRate : {44100.0f, 48000.0f}) {
        Level level("L", "Level", "", 0.0f);
        level.SetSampleRate(sampleRate);
        level.SetValue(1.0f);
        level.Process(1);
        EXPECT_EQ(level.GetOutput(0)[0], aim * (sampleRate == 44100.0f ? 0.00022673166f : 0.00020831163f));
    }
}

TEST(SmoothParameter, ArrivalTimesFollowFromSinglePrecision)
{
    const std::vector<float> fall = Ramp(1.0f, 0.0f, 1);
    EXPECT_EQ(fall.size(), 40619u);
    EXPECT_NEAR(fall.size(), 40600, 100);
    EXPECT_TRUE(std::is_sorted(fall.rbegin(), fall.rend()));

    const std::vector<float> rise = Ramp(0.25f, 0.5f, 1);
    EXPECT_EQ(rise.size(), 34695u);
    EXPECT_NEAR(rise.size(), 34700, 100);
    EXPECT_TRUE(std::is_sorted(rise.begin(), rise.end()));

    // Close to 1 the step falls below half a float spacing and the ramp stalls.
    Level level("L", "Level", "", 0.0f);
    level.SetValue(1.0f);
    for (int block = 0; block < 20; ++block) {
        level.Process(BufferSize);
    }
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 0.999968588f));
    EXPECT_NEAR(1.0f - level.GetOutput(0)[0], 0.00003f, 0.000005f);
}

TEST(SmoothParameter, BlockSizeDoesNotChangeTheRamp)
{
    const std::vector<float> perSample = Ramp(1.0f, 0.0f, 1);
    for (int blockSize : {37, 512, BufferSize}) {
        EXPECT_EQ(Ramp(1.0f, 0.0f, blockSize), perSample) << blockSize;
    }
}

TEST(SmoothParameter, ArrivalBlockEndsAtTheTargetAndTheNextSettlesThroughReset)
{
    CountingLevel level("L", "Level", "", 1.0f);
    level.SetValue(0.0f);
    EXPECT_EQ(level.GetDirection(), Level::Down);
    const int blockSize = 512;
    const int arrivalIndex = 40618 % blockSize;
    for (int block = 0; block < 40618 / blockSize; ++block) {
        level.Process(blockSize);
    }
    EXPECT_EQ(level.GetState(), Level::Ramping);

    level.Process(blockSize);
    const float* output = level.GetOutput(0);
    EXPECT_EQ(level.GetState(), Level::Arrived);
    EXPECT_GT(output[arrivalIndex - 1], 0.0f);
    EXPECT_TRUE(Holds(output, arrivalIndex, blockSize, 0.0f));
    EXPECT_EQ(level.resets, 0);

    level.Process(1);
    EXPECT_EQ(level.resets, 1);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(output, 0, BufferSize, 0.0f));
}

TEST(SmoothParameter, SameValueArrivesAtOnceAndProcessZeroWritesNothing)
{
    Level level("L", "Level", "", 0.25f);
    level.SetValue(0.25f);
    EXPECT_EQ(level.GetDirection(), Level::Up);
    level.Process(0);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    level.Process(100);
    EXPECT_EQ(level.GetState(), Level::Arrived);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, 100, 0.25f));
    level.Process(5);
    EXPECT_EQ(level.GetState(), Level::Settled);
}

TEST(SmoothParameter, ChangesContinueFromTheCurrentSampleAndResetEndsTheRamp)
{
    Level level("L", "Level", "", 1.0f);
    level.SetValue(0.0f);
    level.Process(1000);
    const float reached = level.GetOutput(0)[999];

    level.SetValue(1.0f);
    level.SetSampleRate(48000.0f);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_EQ(level.GetOutput(0)[999], reached);
    level.Process(1);
    EXPECT_GT(level.GetOutput(0)[0], reached);
    EXPECT_LT(level.GetOutput(0)[0] - reached, 0.001f);

    level.Reset();
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_EQ(level.GetDirection(), Level::Up);
    level.Process(BufferSize);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 1.0f));
}

TEST(SmoothParameter, DisplayAndObserversSeeTheTargetDuringARamp)
{
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger> mix("Mix", "Mix", "Dry/Wet", 0.5f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] {
        char text[8];
        mix.GetDisplay(text, sizeof text);
        return std::string(text);
    });
    mix.AddObserver(&reader);

    mix.SetValue(1.0f);
    mix.Process(100);

    EXPECT_LT(mix.GetOutput(0)[99], 0.52f);
    EXPECT_EQ(log.entries, std::vector<std::string> {"reader:100"});
}

TEST(SmoothParameter, ReportsBadArgumentsAndStaysInBounds)
{
    struct Guarded {
        Level level {"L", "Level", "", 0.0f};
        float guard[64];
    } guarded;
    std::fill(std::begin(guarded.guard), std::end(guarded.guard), -7.0f);
    AssertionRecorder recorder;

    guarded.level.SetValue(1.0f);
    guarded.level.Process(-1);
    EXPECT_TRUE(Holds(guarded.level.GetOutput(0), 0, BufferSize, 0.0f));
    guarded.level.Process(BufferSize + 64);
    EXPECT_TRUE(Holds(guarded.guard, 0, 64, -7.0f));
    EXPECT_EQ(guarded.level.GetOutput(1), guarded.level.GetOutput(0));
    guarded.level.SetSampleRate(0.0f);
    EXPECT_EQ(guarded.level.GetSampleRate(), 44100.0f);

    EXPECT_EQ(recorder.expressions(),
        (std::vector<std::string> {"count >= 0", "index >= 0 && index < GetOutputCount()", "sampleRate > 0.0f"}));
}

TEST(SmoothParameter, ChangesFromAnotherThreadKeepTheOutputWithinTheRange)
{
    Level level("L", "Level", "", 0.0f);
    std::atomic<bool> done {false};
    std::thread automation([&] {
        for (int change = 0; change < 20000; ++change) {
            level.SetValue(change % 2 == 0 ? 1.0f : 0.0f);
        }
        done = true;
    });

    bool inRange = true;
    for (int blocks = 0; !done || blocks < 100; ++blocks) {
        level.Process(64);
        inRange = inRange && std::all_of(level.GetOutput(0), level.GetOutput(0) + 64, [](float sample) {
            return sample >= -0.0001f && sample <= 1.0001f;
        });
    }
    automation.join();
    EXPECT_TRUE(inRange);
}
