#include "QuadLfo.h"

#include "AssertionRecorder.h"
#include "LfoRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Selects the resolution with the given name through its normalised value.
void SelectResolution(EnumParameter& resolution, const std::string& name)
{
    const int index = static_cast<int>(
        std::find(SyncResolutionNames, SyncResolutionNames + SyncResolutionCount, name) - SyncResolutionNames);
    resolution.SetValue(static_cast<float>(index) / (SyncResolutionCount - 1));
    ASSERT_EQ(resolution.GetSelectedIndex(), index);
}

} // namespace

TEST(QuadLfo, SyncTablesRunFromSixteenBeatsPerCycleToSixteenCyclesPerBeat)
{
    const Strings names(SyncResolutionNames, SyncResolutionNames + SyncResolutionCount);
    EXPECT_EQ(names, (Strings {"16/1", "8/1", "4/1", "2/1", "1/1", "1/2", "1/4", "1/8", "1/16"}));
    const std::vector<float> factors(SyncResolutionFactors, SyncResolutionFactors + SyncResolutionCount);
    EXPECT_EQ(factors, (std::vector<float> {0.0625f, 0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f, 16.0f}));
}

TEST(QuadLfo, FrequencyTransformIsTenTimesTheSquare)
{
    AssertionRecorder recorder;
    EXPECT_EQ(QuadLfoFrequencyTransform::Apply(0.0f), 0.0f);
    EXPECT_EQ(QuadLfoFrequencyTransform::Apply(0.1f), 10.0f * 0.1f * 0.1f);
    EXPECT_EQ(QuadLfoFrequencyTransform::Apply(1.0f), 10.0f);
    EXPECT_TRUE(recorder.empty());
    QuadLfoFrequencyTransform::Apply(1.5f);
    EXPECT_EQ(recorder.expressions(), Strings {"value >= 0.0f && value <= 1.0f"});
}

TEST(QuadLfo, IncrementFollowsFrequencySampleRateAndTempo)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    const float tenHertz = rig.Increment();
    EXPECT_EQ(tenHertz, 10.0f / 44100.0f * TwoPi);
    const float quotedTenHertz = 0.0014247585f;
    EXPECT_GE(tenHertz, std::nextafter(quotedTenHertz, 0.0f));
    EXPECT_LE(tenHertz, std::nextafter(quotedTenHertz, 1.0f));

    rig.lfo.SetSampleRate(48000.0f);
    EXPECT_EQ(rig.Increment(), 10.0f / 48000.0f * TwoPi) << "a new rate applies at once";
    rig.lfo.SetSampleRate(44100.0f);

    SelectResolution(rig.syncResolution, "1/1");
    rig.syncMode.SetValue(1.0f);
    const float oneCyclePerBeat = rig.Increment();
    EXPECT_EQ(oneCyclePerBeat, static_cast<float>(120.0 / 60.0 * TwoPi / 44100.0));
    const float quotedSync = 0.00028495170f;
    EXPECT_GE(oneCyclePerBeat, std::nextafter(quotedSync, 0.0f));
    EXPECT_LE(oneCyclePerBeat, std::nextafter(quotedSync, 1.0f));

    SelectResolution(rig.syncResolution, "1/2");
    EXPECT_EQ(rig.Increment(), static_cast<float>(2.0 * (2.0f * TwoPi) / 44100.0));
}

TEST(QuadLfo, FirstSamplesFollowTheRecurrenceAndBlockSplitsDoNotMatter)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    const float step = rig.Increment();
    rig.lfo.Reset();
    EXPECT_EQ(rig.Run(1, 0)[0], 1.0f - step * step);

    LfoRig whole;
    LfoRig split;
    for (LfoRig* each : {&whole, &split}) {
        each->frequency.SetValue(0.8f);
    }
    const std::vector<float> expected = whole.Run(5000, 1);
    std::vector<float> pieces;
    for (int count : {0, 1, 1200, 0, 3799}) {
        const std::vector<float> piece = split.Run(count, 1);
        pieces.insert(pieces.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(pieces, expected);
}

TEST(QuadLfo, ZeroFrequencyHoldsThePhase)
{
    LfoRig rig;
    rig.frequency.SetValue(0.0f);
    rig.Run(300, 0);
    rig.lfo.Reset();
    rig.lfo.Process(BufferSize);
    const float* cosine = rig.lfo.GetOutput(0);
    const float* sine = rig.lfo.GetOutput(1);
    EXPECT_TRUE(std::all_of(cosine, cosine + BufferSize, [](float value) { return value == 1.0f; }));
    EXPECT_TRUE(std::all_of(sine, sine + BufferSize, [](float value) { return value == 0.0f; }));
}

TEST(QuadLfo, QuadModeChoosesBetweenCosineAndSineAtEachCall)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    rig.lfo.Process(100);
    EXPECT_NE(rig.lfo.GetOutput(0), rig.lfo.GetOutput(1));
    EXPECT_GT(rig.lfo.GetOutput(0)[99], 0.98f) << "cosine series";
    EXPECT_GT(rig.lfo.GetOutput(1)[99], 0.1f) << "sine series";

    float* sine = rig.lfo.GetOutput(1);
    rig.quadMode.SetValue(0.0f);
    EXPECT_EQ(rig.lfo.GetOutput(0), sine);
    EXPECT_EQ(rig.lfo.GetOutput(1), sine);
}

TEST(QuadLfo, ModWheelScalesByTheSquareOfControllerOne)
{
    LfoRig plain;
    LfoRig wheel;
    for (LfoRig* each : {&plain, &wheel}) {
        each->frequency.SetValue(1.0f);
    }
    wheel.modWheelMode.SetValue(1.0f);
    const std::vector<float> silent = wheel.Run(500, 0);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](float value) { return value == 0.0f; }))
        << "no wheel message yet";
    plain.Run(500, 0);

    wheel.lfo.SetController(7, 1.0f);
    EXPECT_EQ(wheel.Run(10, 1), std::vector<float>(10, 0.0f)) << "other controllers are ignored";
    plain.Run(10, 1);

    wheel.modWheelMode.SetValue(0.0f);
    wheel.lfo.SetController(1, 0.5f);
    wheel.modWheelMode.SetValue(1.0f);
    const std::vector<float> cosine = plain.Run(200, 0);
    const std::vector<float> scaled = wheel.Run(200, 0);
    for (size_t i = 0; i < cosine.size(); ++i) {
        ASSERT_EQ(scaled[i], 0.25f * cosine[i]) << "stored while the switch was off; sample " << i;
    }
}

TEST(QuadLfo, AmplitudeStaysWithinOnePercentAfterTenMillionSamples)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    for (int done = 0; done < 10000000; done += BufferSize) {
        rig.lfo.Process(BufferSize);
    }
    // More than two cycles of 10 Hz at 44100 samples per second.
    rig.lfo.Process(BufferSize);
    for (int index : {0, 1}) {
        const float* output = rig.lfo.GetOutput(index);
        float peak = 0.0f;
        for (int i = 0; i < BufferSize; ++i) {
            peak = std::max(peak, std::fabs(output[i]));
        }
        EXPECT_NEAR(peak, 1.0f, 0.01f) << "output " << index;
    }
}

TEST(QuadLfo, SynchronizeRephasesOnlyInSyncMode)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    SelectResolution(rig.syncResolution, "1/2");
    rig.Run(1000, 0);

    LfoRig reference;
    reference.frequency.SetValue(1.0f);
    reference.Run(1000, 0);
    rig.lfo.Synchronize(60.0, 2.25);
    EXPECT_EQ(rig.Run(100, 0), reference.Run(100, 0)) << "sync off: no re-phasing";

    rig.syncMode.SetValue(1.0f);
    const float halfCyclePerBeat = static_cast<float>(1.0 * (2.0f * TwoPi) / 44100.0);
    EXPECT_EQ(rig.Increment(), halfCyclePerBeat) << "the tempo stored while sync was off";

    // Factor 2 at position 2.25: 4.5 cycles, phase one half.
    rig.lfo.Synchronize(120.0, 2.25);
    EXPECT_NEAR(rig.Run(1, 0)[0], -1.0f, 1e-6f);
    rig.lfo.Synchronize(120.0, 2.5);
    EXPECT_NEAR(rig.Run(1, 0)[0], 1.0f, 1e-6f);
    EXPECT_EQ(rig.Increment(), 2.0f * halfCyclePerBeat);
}

TEST(QuadLfo, BadArgumentsAreReportedAndHarmless)
{
    LfoRig rig;
    rig.frequency.SetValue(1.0f);
    const float step = rig.Increment();
    AssertionRecorder recorder;

    rig.lfo.SetSampleRate(0.0f);
    EXPECT_EQ(rig.lfo.GetSampleRate(), 44100.0f);
    rig.lfo.Process(BufferSize + 1);
    rig.lfo.Process(-1);
    EXPECT_EQ(rig.lfo.GetOutput(2), rig.lfo.GetOutput(1));
    rig.lfo.Synchronize(-1.0, 0.0);
    rig.lfo.Synchronize(120.0, -1.0);
    rig.lfo.Synchronize(std::nan(""), 0.0);
    QuadLfo::RateObserver orphan;
    orphan.ParameterChanged();
    EXPECT_EQ(recorder.expressions(),
        (Strings {"sampleRate > 0.0f", "count >= 0 && count <= BufferSize", "count >= 0 && count <= BufferSize",
            "index >= 0 && index < GetOutputCount()", "index == 1", "tempo >= 0.0f", "ppqnPosition >= 0.0f",
            "tempo >= 0.0f", "owner != 0"}));

    rig.syncMode.SetValue(1.0f);
    EXPECT_EQ(rig.Increment(), static_cast<float>(120.0 / 60.0 * (0.0625f * TwoPi) / 44100.0))
        << "rejected tempos are not stored";
    rig.syncMode.SetValue(0.0f);
    EXPECT_EQ(rig.Increment(), step);
}
