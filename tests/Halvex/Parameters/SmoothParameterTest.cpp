#include "Parameters/SmoothParameter.h"

#include "Parameters/Displays.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"
#include "ReferenceGlide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
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

TEST(SmoothParameter, ArrivalBlockEndsAtTheTargetAndTheNextSettles)
{
    Level level("L", "Level", "", 1.0f);
    level.SetValue(0.0f);
    const int blockSize = 512;
    const int arrivalIndex = 40618 % blockSize;
    level.Process(blockSize);
    EXPECT_EQ(level.GetDirection(), Level::Down);
    for (int block = 1; block < 40618 / blockSize; ++block) {
        level.Process(blockSize);
    }
    EXPECT_EQ(level.GetState(), Level::Ramping);

    level.Process(blockSize);
    const float* output = level.GetOutput(0);
    EXPECT_EQ(level.GetState(), Level::Arrived);
    EXPECT_GT(output[arrivalIndex - 1], 0.0f);
    EXPECT_TRUE(Holds(output, arrivalIndex, blockSize, 0.0f));

    level.Process(1);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(output, 0, BufferSize, 0.0f));
}

TEST(SmoothParameter, SameValueArrivesAtOnceAndProcessZeroWritesNothing)
{
    Level level("L", "Level", "", 0.25f);
    level.SetValue(0.25f);
    level.Process(0);
    EXPECT_EQ(level.GetDirection(), Level::Up);
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
    EXPECT_EQ(level.GetOutput(0)[999], reached);
    level.Process(1);
    EXPECT_EQ(level.GetState(), Level::Ramping);
    EXPECT_EQ(level.GetDirection(), Level::Up);
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

// The ramp belongs to the audio thread; a change made on another thread is
// published and applied at the start of the next block. Here the change lands
// in the middle of the block in which the ramp arrives, after the block has
// read the ramp and before it records the arrival: it must glide from where
// the arrival left the position, as a change made after that block would.
TEST(SmoothParameter, AChangeMadeWhileTheArrivalBlockRunsGlidesFromThere)
{
    constexpr int BlockSize = 64;
    Level level("L", "Level", "", 0.2f);
    ReferenceGlide reference(0.2f);
    level.SetValue(0.3f);
    reference.To(0.3f);

    // Whole blocks until the reference reaches the target inside a block.
    std::vector<float> expected = reference.Block(BlockSize);
    for (int block = 0; expected.back() != 0.3f; ++block) {
        ASSERT_LT(block, 1000);
        level.Process(BlockSize);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), level.GetOutput(0)));
        expected = reference.Block(BlockSize);
    }
    const int arrival = static_cast<int>(std::find(expected.begin(), expected.end(), 0.3f) - expected.begin());
    ASSERT_LT(arrival, BlockSize - 1) << "the block must go on after the arrival";

    // The arrival block, taken apart; the change comes in halfway.
    SmoothRamp::Run run({&level}, BlockSize);
    for (int i = 0; i < BlockSize / 2; ++i) {
        run.Next(i);
    }
    std::thread automation([&level] { level.SetValue(0.1f); });
    automation.join();
    EXPECT_EQ(level.GetTarget(), 0.1f) << "the display shows the change at once";
    for (int i = BlockSize / 2; i < BlockSize; ++i) {
        run.Next(i);
    }
    run.Finish();
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), level.GetOutput(0)));

    reference.To(0.1f);
    for (int block = 0; block < 20; ++block) {
        level.Process(BlockSize);
        expected = reference.Block(BlockSize);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), level.GetOutput(0))) << "block " << block;
    }
    EXPECT_GT(level.GetOutput(0)[0], 0.1f) << "still gliding, not jumped";
}

// A reset request (a program change) snaps at the next block to the value
// asked for last; a change after the request ramps from there. A single
// thread gets what an immediate reset gives.
TEST(SmoothParameter, AChangeAfterAResetRequestRampsFromTheSnappedValue)
{
    Level requested("L", "Level", "", 0.2f);
    Level immediate("L", "Level", "", 0.2f);
    for (Level* level : {&requested, &immediate}) {
        level->SetValue(0.8f);
        level->Process(100);
    }
    requested.RequestReset();
    immediate.Reset();
    for (Level* level : {&requested, &immediate}) {
        level->SetValue(0.4f);
        EXPECT_EQ(level->GetTarget(), 0.4f);
        level->Process(512);
    }
    EXPECT_TRUE(std::equal(immediate.GetOutput(0), immediate.GetOutput(0) + BufferSize, requested.GetOutput(0)));
    ReferenceGlide reference(0.8f);
    reference.To(0.4f);
    const std::vector<float> expected = reference.Block(512);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), requested.GetOutput(0)));

    // Without a later change the next block snaps to the change still pending.
    Level level("L", "Level", "", 0.2f);
    level.SetValue(0.7f);
    level.RequestReset();
    level.Process(16);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 0.7f));
}

// Changes and reset requests from another thread while blocks run: once the
// changes stop, the ramp ends exactly at the last value asked for.
TEST(SmoothParameter, ChangesAndResetRequestsFromAnotherThreadEndAtTheLastValue)
{
    Level level("L", "Level", "", 0.0f);
    std::atomic<int> blocks {0};
    std::atomic<bool> done {false};
    std::thread automation([&] {
        // Starts once blocks run, so that the changes meet them.
        while (blocks.load() == 0) {
            std::this_thread::yield();
        }
        std::mt19937 random(15);
        // Below 0.5 every ramp reaches its target exactly.
        std::uniform_real_distribution<float> value(0.0f, 0.5f);
        for (int change = 0; change < 20000; ++change) {
            level.SetValue(value(random));
            if (change % 7 == 0) {
                level.RequestReset();
            }
        }
        level.SetValue(0.3f);
        done = true;
    });
    while (!done) {
        level.Process(64);
        blocks.fetch_add(1);
    }
    automation.join();
    // The state shows what the last block applied: the next one takes the
    // last change.
    int settling = 0;
    do {
        level.Process(64);
    } while (level.GetState() != Level::Settled && ++settling < 2000);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_TRUE(Holds(level.GetOutput(0), 0, BufferSize, 0.3f));
}
