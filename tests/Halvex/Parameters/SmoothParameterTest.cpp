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
using Mix = SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger>;
using DelayTime = SmoothParameter<DelayTimeTransform, DisplayFloat>;

bool Holds(const float* buffer, int begin, int end, float value)
{
    return std::all_of(buffer + begin, buffer + end, [value](float sample) { return sample == value; });
}

// Runs the smoother in blocks of blockSize until it has written its target,
// and returns every sample written up to and including that one.
std::vector<float> RampUntilTarget(Level& level, float target, int blockSize, int sampleLimit)
{
    std::vector<float> samples;
    while (static_cast<int>(samples.size()) < sampleLimit) {
        level.Process(blockSize);
        const float* output = level.GetOutput(0);
        for (int index = 0; index < blockSize; ++index) {
            samples.push_back(output[index]);
            if (output[index] == target) {
                return samples;
            }
        }
    }
    return samples;
}

int FirstIndexOf(const std::vector<float>& samples, float value)
{
    return static_cast<int>(std::find(samples.begin(), samples.end(), value) - samples.begin());
}

// Counts the arrivals that went through the Reset slot.
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

TEST(SmoothParameter, StartsSettledAtTheTransformedDefault)
{
    DelayTime delayTime("D Time", "Delay Time", "Secs", 1.0f);
    EXPECT_EQ(delayTime.GetState(), DelayTime::Settled);
    EXPECT_EQ(delayTime.GetSampleRate(), 44100.0f);
    EXPECT_EQ(delayTime.GetOutputCount(), 1);
    EXPECT_TRUE(Holds(delayTime.GetOutput(0), 0, BufferSize, 0.025f));

    delayTime.Process(BufferSize);
    EXPECT_EQ(delayTime.GetState(), DelayTime::Settled);
    EXPECT_TRUE(Holds(delayTime.GetOutput(0), 0, BufferSize, 0.025f));
}

TEST(SmoothParameter, CoefficientGivesATenthOfASecondTimeConstant)
{
    const float aimAboveOne = 1.0f + 0.0001f;

    Level at44100("L", "Level", "", 0.0f);
    at44100.SetValue(1.0f);
    at44100.Process(1);
    EXPECT_EQ(at44100.GetOutput(0)[0], aimAboveOne * 0.00022673166f);

    Level at48000("L", "Level", "", 0.0f);
    at48000.SetSampleRate(48000.0f);
    EXPECT_EQ(at48000.GetSampleRate(), 48000.0f);
    at48000.SetValue(1.0f);
    at48000.Process(1);
    EXPECT_EQ(at48000.GetOutput(0)[0], aimAboveOne * 0.00020831163f);
}

TEST(SmoothParameter, FallFromOneToZeroArrivesAfterAbout40600Samples)
{
    Level level("L", "Level", "", 1.0f);
    level.SetValue(0.0f);
    EXPECT_EQ(level.GetDirection(), Level::Down);
    EXPECT_EQ(level.GetState(), Level::Ramping);

    const std::vector<float> samples = RampUntilTarget(level, 0.0f, 1, 100000);
    const int arrival = FirstIndexOf(samples, 0.0f);
    EXPECT_EQ(arrival, 40618);
    EXPECT_NEAR(arrival, 40600, 100);
    EXPECT_TRUE(std::is_sorted(samples.rbegin(), samples.rend()));
    EXPECT_GT(samples[arrival - 1], 0.0f);
}

TEST(SmoothParameter, RiseFromAQuarterToAHalfArrivesAfterAbout34700Samples)
{
    Level level("L", "Level", "", 0.25f);
    level.SetValue(0.5f);
    EXPECT_EQ(level.GetDirection(), Level::Up);

    const std::vector<float> samples = RampUntilTarget(level, 0.5f, 1, 100000);
    const int arrival = FirstIndexOf(samples, 0.5f);
    EXPECT_EQ(arrival, 34694);
    EXPECT_NEAR(arrival, 34700, 100);
    EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end()));
    EXPECT_LT(samples[arrival - 1], 0.5f);
}

TEST(SmoothParameter, RiseToOneStallsJustShortAndKeepsRamping)
{
    Level level("L", "Level", "", 0.0f);
    level.SetValue(1.0f);
    for (int block = 0; block < 20; ++block) {
        level.Process(BufferSize);
    }
    const float* output = level.GetOutput(0);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_TRUE(Holds(output, 0, BufferSize, 0.999968588f));
    EXPECT_NEAR(1.0f - output[0], 0.00003f, 0.000005f);

    level.Reset();
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(output, 0, BufferSize, 1.0f));
}

TEST(SmoothParameter, BlockSizeDoesNotChangeTheRamp)
{
    std::vector<std::vector<float>> ramps;
    for (int blockSize : {1, 37, 512, BufferSize}) {
        Level level("L", "Level", "", 1.0f);
        level.SetValue(0.0f);
        std::vector<float> samples = RampUntilTarget(level, 0.0f, blockSize, 100000);
        ramps.push_back(samples);
    }
    for (const std::vector<float>& ramp : ramps) {
        EXPECT_EQ(ramp, ramps.front());
    }
}

TEST(SmoothParameter, ArrivalWritesTheTargetThenTheNextBlockSettles)
{
    CountingLevel level("L", "Level", "", 1.0f);
    level.resets = 0;
    level.SetValue(0.0f);
    const int blockSize = 512;
    const int arrivalBlock = 40618 / blockSize;
    const int arrivalIndex = 40618 % blockSize;
    for (int block = 0; block < arrivalBlock; ++block) {
        level.Process(blockSize);
        ASSERT_EQ(level.GetState(), Level::Ramping);
    }

    level.Process(blockSize);
    const float* output = level.GetOutput(0);
    EXPECT_EQ(level.GetState(), Level::Arrived);
    EXPECT_GT(output[arrivalIndex - 1], 0.0f);
    EXPECT_TRUE(Holds(output, arrivalIndex, blockSize, 0.0f));
    EXPECT_FALSE(Holds(output, 0, BufferSize, 0.0f));
    EXPECT_EQ(level.resets, 0);

    level.Process(1);
    EXPECT_EQ(level.resets, 1);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(output, 0, BufferSize, 0.0f));
}

TEST(SmoothParameter, SettingTheSameValueArrivesInTheNextBlock)
{
    Level level("L", "Level", "", 0.25f);
    level.SetValue(0.25f);
    EXPECT_EQ(level.GetDirection(), Level::Up);
    EXPECT_EQ(level.GetState(), Level::Ramping);

    level.Process(100);
    EXPECT_EQ(level.GetState(), Level::Arrived);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, 100, 0.25f));

    level.Process(5);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 0.25f));
}

TEST(SmoothParameter, ProcessZeroWhileRampingWritesNothing)
{
    Level level("L", "Level", "", 0.5f);
    level.SetValue(1.0f);
    level.Process(0);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 0.5f));
}

TEST(SmoothParameter, ChangeInTheMiddleOfARampContinuesFromTheCurrentSample)
{
    Level level("L", "Level", "", 1.0f);
    level.SetValue(0.0f);
    level.Process(1000);
    const float reached = level.GetOutput(0)[999];

    level.SetValue(1.0f);
    EXPECT_EQ(level.GetDirection(), Level::Up);
    level.Process(1);
    const float next = level.GetOutput(0)[0];
    EXPECT_GT(next, reached);
    EXPECT_LT(next - reached, 0.001f);
}

TEST(SmoothParameter, ResetEndsARampAtTheTarget)
{
    Level level("L", "Level", "", 0.0f);
    level.SetValue(1.0f);
    level.Process(1000);
    level.Reset();
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_EQ(level.GetDirection(), Level::Up);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 1.0f));
    level.Process(BufferSize);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 1.0f));
}

TEST(SmoothParameter, SampleRateChangeKeepsTheRampGoing)
{
    Level level("L", "Level", "", 0.0f);
    level.SetValue(1.0f);
    level.Process(100);
    const float reached = level.GetOutput(0)[99];
    level.SetSampleRate(96000.0f);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_EQ(level.GetOutput(0)[99], reached);
    level.Process(1);
    EXPECT_GT(level.GetOutput(0)[0], reached);
}

TEST(SmoothParameter, DisplayAndObserversSeeTheTargetDuringARamp)
{
    Mix mix("Mix", "Mix", "Dry/Wet", 0.5f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] {
        char text[8];
        mix.GetDisplay(text, sizeof text);
        return std::string(text);
    });
    mix.AddObserver(&reader);

    mix.SetValue(1.0f);
    mix.Process(100);
    char text[8];
    mix.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "100");
    EXPECT_LT(mix.GetOutput(0)[99], 0.52f);
    EXPECT_EQ(log.entries, std::vector<std::string>{"reader:100"});
}

TEST(SmoothParameter, ReportsBadArgumentsAndStaysInBounds)
{
    struct Guarded {
        Level level{"L", "Level", "", 0.0f};
        float guard[64];
    } guarded;
    std::fill(std::begin(guarded.guard), std::end(guarded.guard), -7.0f);
    AssertionRecorder recorder;

    guarded.level.SetValue(1.0f);
    guarded.level.Process(-1);
    EXPECT_EQ(guarded.level.GetState(), Level::Ramping);
    EXPECT_TRUE(Holds(guarded.level.GetOutput(0), 0, BufferSize, 0.0f));

    guarded.level.Process(BufferSize + 64);
    EXPECT_TRUE(std::all_of(std::begin(guarded.guard), std::end(guarded.guard),
                            [](float sample) { return sample == -7.0f; }));

    EXPECT_EQ(guarded.level.GetOutput(1), guarded.level.GetOutput(0));
    guarded.level.SetSampleRate(0.0f);
    guarded.level.SetSampleRate(-48000.0f);
    EXPECT_EQ(guarded.level.GetSampleRate(), 44100.0f);

    EXPECT_EQ(recorder.expressions(),
              (std::vector<std::string>{"count >= 0", "index >= 0 && index < GetOutputCount()",
                                        "sampleRate > 0.0f", "sampleRate > 0.0f"}));
}

TEST(SmoothParameter, ChangesFromAnotherThreadKeepTheOutputWithinTheRange)
{
    Level level("L", "Level", "", 0.0f);
    std::atomic<bool> done{false};
    std::thread automation([&] {
        for (int change = 0; change < 20000; ++change) {
            level.SetValue(change % 2 == 0 ? 1.0f : 0.0f);
        }
        done = true;
    });

    bool inRange = true;
    int blocks = 0;
    while (!done || blocks < 100) {
        level.Process(64);
        const float* output = level.GetOutput(0);
        inRange = inRange && std::all_of(output, output + 64, [](float sample) {
            return sample >= -0.0001f && sample <= 1.0001f;
        });
        ++blocks;
    }
    automation.join();
    EXPECT_TRUE(inRange);
}
