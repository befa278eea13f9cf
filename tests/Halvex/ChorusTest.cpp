#include "Chorus.h"

#include "AssertionRecorder.h"
#include "ChorusRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Samples = std::vector<float>;

constexpr float Offset = 1e-25f;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Infinity = std::numeric_limits<float>::infinity();

// A chorus with its parameters, settled at delay 0.025 s, depth 0, feedback 0
// and mix 1: a fixed delay of 1102.5 samples at 44100 Hz.
class ChorusTest : public ::testing::Test, protected ChorusRig {
protected:
    // Sets a smoothed parameter and lets it jump to the new value.
    template <typename Smooth>
    static void Settle(Smooth& parameter, float value)
    {
        parameter.SetValue(value);
        parameter.Reset();
    }

    // Runs the inputs through in blocks of at most BufferSize, in place.
    void Run(Samples& left, Samples& right)
    {
        for (size_t start = 0; start < left.size(); start += BufferSize) {
            const int count = static_cast<int>(std::min<size_t>(BufferSize, left.size() - start));
            float* channels[] = {left.data() + start, right.data() + start};
            chorus.Process(channels, channels, count);
        }
    }

    // The left output for an input of count samples holding one unit impulse.
    Samples ImpulseResponse(size_t count)
    {
        Samples left(count, 0.0f);
        Samples right(count, 0.0f);
        left[0] = 1.0f;
        Run(left, right);
        return left;
    }

    // The indices of samples that differ from the 1e-25 floor.
    static std::vector<size_t> Echoes(const Samples& samples)
    {
        std::vector<size_t> indices;
        for (size_t i = 0; i < samples.size(); ++i) {
            if (samples[i] != Offset) {
                indices.push_back(i);
            }
        }
        return indices;
    }
};

} // namespace

TEST(ChorusTransforms, MapToSecondsAndGainAndReportBadValues)
{
    AssertionRecorder recorder;
    EXPECT_EQ(ChorusDelayTimeTransform::Apply(0.0f), 0.001f);
    EXPECT_EQ(ChorusDelayTimeTransform::Apply(1.0f), 0.025f);
    EXPECT_EQ(ChorusDelayTimeTransform::Apply(0.5f), 0.25f * 0.024f + 0.001f);
    EXPECT_EQ(FeedbackTransform::Apply(0.0f), 0.0f);
    EXPECT_EQ(FeedbackTransform::Apply(1.0f), 0.995f);
    EXPECT_TRUE(recorder.empty());
    ChorusDelayTimeTransform::Apply(-0.5f);
    FeedbackTransform::Apply(1.5f);
    EXPECT_EQ(recorder.expressions(), (Strings {"value >= 0 && value <= 1.0f", "value >= 0.0f && value <= 1.0f"}));
}

TEST(ChorusFastPow2, ExactAtWholeNumbersQuadraticBetweenAndSaturatingBeyond)
{
    EXPECT_EQ(FastPow2(-1.0f), 0.5f);
    EXPECT_EQ(FastPow2(0.0f), 1.0f);
    EXPECT_EQ(FastPow2(-0.0f), 1.0f);
    EXPECT_EQ(FastPow2(1.0f), 2.0f);
    EXPECT_EQ(FastPow2(30.0f), 1073741824.0f);

    const float half = 0.333333f * 0.5f * 2.5f + 1.0f;
    EXPECT_EQ(FastPow2(0.5f), half);
    EXPECT_EQ(FastPow2(-0.5f), 1.0f / half);
    EXPECT_EQ(FastPow2(1.5f), half * 2.0f);
    for (auto [x, quoted] : {std::pair {0.5f, 1.4166662f}, std::pair {-0.5f, 0.7058826f}}) {
        EXPECT_GE(FastPow2(x), std::nextafter(quoted, 0.0f)) << x;
        EXPECT_LE(FastPow2(x), std::nextafter(quoted, 2.0f)) << x;
    }

    EXPECT_EQ(FastPow2(31.0f), Infinity);
    EXPECT_EQ(FastPow2(Infinity), Infinity);
    EXPECT_EQ(FastPow2(-1e30f), 0.0f);
    EXPECT_TRUE(std::isnan(FastPow2(NaN)));
}

TEST_F(ChorusTest, UnitImpulseComesBackSplitOverTheFractionalDelay)
{
    const Samples response = ImpulseResponse(3000);
    EXPECT_EQ(Echoes(response), (std::vector<size_t> {1102, 1103}));
    EXPECT_EQ(response[1102], 0.5f);
    EXPECT_EQ(response[1103], 0.5f);
}

TEST_F(ChorusTest, BlockSplitsGiveTheSameOutputAsOneBlock)
{
    Settle(depth, 0.7f);
    feedback.SetValue(0.9f);
    Settle(mix, 0.6f);
    for (int i = 0; i < BufferSize; ++i) {
        modulation.left[i] = std::sin(0.01f * static_cast<float>(i));
        modulation.right[i] = std::cos(0.01f * static_cast<float>(i));
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    Samples left(6000);
    Samples right(6000);
    std::generate(left.begin(), left.end(), [&] { return noise(random); });
    std::generate(right.begin(), right.end(), [&] { return noise(random); });
    Samples wholeLeft = left;
    Samples wholeRight = right;
    float* whole[] = {wholeLeft.data(), wholeRight.data()};
    chorus.Process(whole, whole, 6000);

    chorus.Reset();
    // Every block reads the per-sample buffers from index 0 again.
    Samples splitLeft(6000);
    Samples splitRight(6000);
    int start = 0;
    for (int count : {0, 2000, 1, 0, 3999}) {
        float* inputs[] = {left.data() + start, right.data() + start};
        float* outputs[] = {splitLeft.data() + start, splitRight.data() + start};
        for (int i = 0; i < count; ++i) {
            modulation.left[i] = std::sin(0.01f * static_cast<float>(start + i));
            modulation.right[i] = std::cos(0.01f * static_cast<float>(start + i));
        }
        chorus.Process(inputs, outputs, count);
        start += count;
    }
    EXPECT_EQ(splitLeft, wholeLeft);
    EXPECT_EQ(splitRight, wholeRight);
}

TEST_F(ChorusTest, FullDepthDoublesAndHalvesTheDelay)
{
    Settle(depth, 1.0f);
    modulation.Fill(1.0f, -1.0f);
    Samples left(3000, 0.0f);
    Samples right(3000, 0.0f);
    left[0] = 1.0f;
    right[0] = 1.0f;
    Run(left, right);
    // 2 x 1102.5 = 2205 samples exactly; 1102.5 / 2 = 551.25 splits 0.75 / 0.25.
    EXPECT_EQ(Echoes(left), (std::vector<size_t> {2205}));
    EXPECT_EQ(left[2205], 1.0f);
    EXPECT_EQ(Echoes(right), (std::vector<size_t> {551, 552}));
    EXPECT_EQ(right[551], 0.75f);
    EXPECT_EQ(right[552], 0.25f);
}

TEST_F(ChorusTest, MixZeroPassesTheInputExactly)
{
    Settle(mix, 0.0f);
    Settle(depth, 1.0f);
    feedback.SetValue(1.0f);
    modulation.Fill(0.3f, -0.8f);
    Samples left(20000);
    Samples right(20000);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = std::sin(0.05f * static_cast<float>(i));
        right[i] = 0.5f * std::cos(0.03f * static_cast<float>(i));
    }
    const Samples dryLeft = left;
    const Samples dryRight = right;
    Run(left, right);
    EXPECT_EQ(left, dryLeft);
    EXPECT_EQ(right, dryRight);
}

TEST_F(ChorusTest, BypassCopiesSeparateBuffersAndLeavesInPlaceBuffersAlone)
{
    enabled.SetValue(0.0f);
    Samples left {1.0f, -2.0f, 3.0f};
    Samples right {4.0f, 5.0f, -6.0f};
    Samples outLeft(3, 9.0f);
    Samples outRight(3, 9.0f);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    chorus.Process(inputs, outputs, 3);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);

    // Separate channel arrays naming the same channel buffers.
    float* sameChannels[] = {left.data(), right.data()};
    chorus.Process(inputs, sameChannels, 3);
    chorus.Process(inputs, inputs, 3);
    EXPECT_EQ(left, (Samples {1.0f, -2.0f, 3.0f}));
    EXPECT_EQ(right, (Samples {4.0f, 5.0f, -6.0f}));
}

TEST_F(ChorusTest, SwitchingOffClearsTheLinesAtTheFirstBypassedBlock)
{
    ImpulseResponse(500);

    // Off and on again between two blocks: the pending clear waits for a
    // bypassed block, so the running effect keeps its echo.
    enabled.SetValue(0.0f);
    enabled.SetValue(1.0f);
    const Samples tail = ImpulseResponse(1000);
    EXPECT_EQ(Echoes(Samples(tail.begin() + 1, tail.end())), (std::vector<size_t> {601, 602}));

    enabled.SetValue(0.0f);
    Samples silence(16, 0.0f);
    Samples silenceRight(16, 0.0f);
    Run(silence, silenceRight);
    enabled.SetValue(1.0f);
    EXPECT_EQ(Echoes(ImpulseResponse(5000)), (std::vector<size_t> {1102, 1103}))
        << "only the new impulse and nothing of the old ones";
}

TEST_F(ChorusTest, ResetClearsTheLinesAtOnce)
{
    ImpulseResponse(800);
    chorus.Reset();
    Samples left(5000, 0.0f);
    Samples right(5000, 0.0f);
    Run(left, right);
    EXPECT_TRUE(Echoes(left).empty());
}

TEST_F(ChorusTest, DecayingFeedbackNeverProducesSubnormals)
{
    feedback.SetValue(1.0f);
    const float gain = feedback.GetTransformedValue();
    Settle(depth, 0.5f);
    for (int i = 0; i < BufferSize; ++i) {
        modulation.left[i] = std::sin(0.002f * static_cast<float>(i));
        modulation.right[i] = std::cos(0.002f * static_cast<float>(i));
    }
    // A burst just above the smallest normal number, then two million
    // samples of silence: without the offset it would decay into subnormals.
    Samples left(2000000, 0.0f);
    Samples right(2000000, 0.0f);
    for (size_t i = 0; i < 2000; ++i) {
        left[i] = (i % 2 == 0 ? 1e-36f : -1e-36f);
        right[i] = -left[i];
    }
    Run(left, right);
    for (const Samples* output : {&left, &right}) {
        for (size_t i = 0; i < output->size(); ++i) {
            // With mix 1 and silent input each output sample is the delayed
            // sample y, and the line stores gain x y.
            const float delayed = (*output)[i];
            ASSERT_NE(std::fpclassify(delayed), FP_SUBNORMAL) << i;
            ASSERT_NE(std::fpclassify(gain * delayed), FP_SUBNORMAL) << i;
        }
        EXPECT_NEAR(output->back(), Offset / (1.0f - gain), 0.01f * Offset / (1.0f - gain));
    }
}

TEST_F(ChorusTest, PreconditionsAreReportedAndTheBlockIsSkipped)
{
    AssertionRecorder recorder;
    Samples left(4, 2.0f);
    Samples right(4, 3.0f);
    float* channels[] = {left.data(), right.data()};
    float* missingLeft[] = {nullptr, right.data()};
    float* missingRight[] = {left.data(), nullptr};
    chorus.Process(nullptr, channels, 4);
    chorus.Process(missingLeft, missingRight, 4);
    chorus.Process(channels, nullptr, 4);
    chorus.Process(channels, channels, BufferSize + 1);
    chorus.Process(channels, channels, -1);
    EXPECT_EQ(recorder.expressions(),
        (Strings {"inputs != 0", "inputs[0] != 0", "outputs[1] != 0", "outputs != 0",
            "count >= 0 && count <= BufferSize", "count >= 0 && count <= BufferSize"}));
    EXPECT_EQ(left, Samples(4, 2.0f));
    EXPECT_EQ(right, Samples(4, 3.0f));

    recorder.clear();
    chorus.SetSampleRate(0.0f);
    EXPECT_EQ(chorus.GetSampleRate(), 44100.0f);
    Chorus::EnabledObserver orphan;
    orphan.ParameterChanged();
    EXPECT_EQ(recorder.expressions(), (Strings {"sampleRate > 0.0f", "owner != 0"}));
}

TEST_F(ChorusTest, OutOfRangeParameterSamplesAreReportedPerSample)
{
    AssertionRecorder recorder;
    delayTime.GetOutput(0)[1] = 0.03f;
    depth.GetOutput(0)[2] = 1.5f;
    mix.GetOutput(0)[3] = -0.1f;
    ImpulseResponse(5);
    EXPECT_EQ(recorder.expressions(),
        (Strings {"*delayBuffer >= 0.0f && *delayBuffer <= 0.025f", "*depthBuffer >= 0.0f && *depthBuffer <= 1.0f",
            "*mixBuffer >= 0.0f && *mixBuffer <= 1.0f"}));
}

TEST_F(ChorusTest, NonFiniteInputNeverEntersTheLines)
{
    feedback.SetValue(1.0f);
    Settle(mix, 0.5f);
    Samples left(40000, 0.0f);
    Samples right(40000, 0.0f);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = std::sin(0.01f * static_cast<float>(i));
        right[i] = left[i];
    }
    const float bad[] = {NaN, Infinity, -Infinity, NaN, std::numeric_limits<float>::max()};
    for (size_t i = 0; i < std::size(bad); ++i) {
        left[100 + i] = bad[i];
        right[100 + i] = bad[std::size(bad) - 1 - i];
    }
    Run(left, right);
    for (const Samples* output : {&left, &right}) {
        const auto firstBad
            = std::find_if(output->begin() + 105, output->end(), [](float sample) { return !std::isfinite(sample); });
        EXPECT_EQ(firstBad, output->end()) << "at " << (firstBad - output->begin());
    }
}

TEST_F(ChorusTest, CorruptDelayDepthAndModulationKeepTheReadInsideTheLines)
{
    AssertionRecorder recorder;
    feedback.SetValue(0.8f);
    Settle(depth, 1.0f);
    const float corrupt[] = {NaN, Infinity, -Infinity, 1e30f, -1e30f};
    for (int i = 0; i < 5; ++i) {
        delayTime.GetOutput(0)[10 + i] = corrupt[i];
        depth.GetOutput(0)[20 + i] = corrupt[i];
        modulation.left[30 + i] = corrupt[i];
        modulation.right[35 + i] = corrupt[i];
    }
    Samples left(BufferSize);
    Samples right(BufferSize);
    for (int i = 0; i < BufferSize; ++i) {
        left[i] = std::sin(0.02f * static_cast<float>(i));
        right[i] = -left[i];
    }
    Run(left, right);
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float sample) { return std::isfinite(sample); }));
    EXPECT_TRUE(std::all_of(right.begin(), right.end(), [](float sample) { return std::isfinite(sample); }));
    EXPECT_EQ(recorder.reports().size(), 10u) << "each corrupt delay and depth sample is reported";
}

TEST_F(ChorusTest, ReadPositionRoundingUpToTheRingLengthWrapsToZero)
{
    Samples left(BufferSize, 0.0f);
    Samples right(BufferSize, 0.0f);
    left[0] = 1.0f;
    right[0] = 7.0f;
    Run(left, right);

    // Back at write index 0 with a delay of a millionth of a sample: the read
    // position -1e-6 + 16384 rounds to 16384, which must mean slot 0 of each
    // line (16384 samples old), not the slot after the left line's end.
    delayTime.GetOutput(0)[0] = 2e-11f;
    Samples nextLeft(1, 0.0f);
    Samples nextRight(1, 0.0f);
    Run(nextLeft, nextRight);
    EXPECT_EQ(nextLeft[0], 1.0f);
    EXPECT_EQ(nextRight[0], 7.0f);
}

TEST_F(ChorusTest, ReadBackIsHeldWithinTheRingAboveTheLimitingRate)
{
    Settle(depth, 1.0f);
    modulation.Fill(1.0f, -1.0f);

    // At 327,680 Hz twice the longest delay is exactly the ring: unchanged.
    chorus.SetSampleRate(327680.0f);
    Samples left(20000, 0.0f);
    Samples right(20000, 0.0f);
    left[0] = 1.0f;
    right[0] = 1.0f;
    Run(left, right);
    EXPECT_EQ(Echoes(left), (std::vector<size_t> {16384}));
    EXPECT_EQ(Echoes(right), (std::vector<size_t> {4096}));

    // At 384 kHz the swept delay of 19200 samples would wrap to 2816; it is
    // held at the ring's length instead. Half the delay, 4800, still fits.
    chorus.Reset();
    chorus.SetSampleRate(384000.0f);
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    left[0] = 1.0f;
    right[0] = 1.0f;
    Run(left, right);
    EXPECT_EQ(Echoes(left), (std::vector<size_t> {16384}));
    EXPECT_EQ(left[16384], 1.0f);
    EXPECT_EQ(Echoes(right), (std::vector<size_t> {4800}));
}
