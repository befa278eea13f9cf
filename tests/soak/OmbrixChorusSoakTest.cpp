// Hours of audio through one chorus instance, offline, with the traffic of a
// busy session: random automation (including the extremes 0, 1 and values
// just above 0), mapped and unmapped control changes, the modulation wheel,
// program switches, the on/off switch and block sizes from 1 to 4096 over a
// signal of notes, noise bursts and long silences.
//
// After every block: no sample is NaN, infinite or subnormal, no arithmetic
// inside the plug-in met a subnormal operand, and the host's floating-point
// mode is as it was. The operand check reads the SSE "denormal operand" flag,
// which any instruction that consumes a subnormal sets; a subnormal left in a
// delay line is consumed when the line is read back, so this sees into the
// delay lines from outside. The effect processes with subnormal results
// flushed to zero and subnormal operands read as zero, which keeps the lines
// free of them and the flag clear; the check catches any processing path
// that runs without that mode.
//
// After the random traffic the worn instance is timed against a fresh one:
// both get the same fixed settings and two seconds to settle, then blocks of
// 512 samples are timed one by one, one instance after the other, so that
// other work on the machine (other test suites, a sanitizer's own cost)
// falls on both alike. The worn instance's 10th percentile may not exceed the
// fresh one's by more than the tolerance. The settings lie below 0.5, where
// every ramp of the smoothed parameters arrives and then costs nothing; a
// ramp toward a value above 0.5 may rest just short of it and keep ramping,
// which would make the two differ for a reason other than wear.
//
// Length: OMBRIX_SOAK_SECONDS seconds of audio at 44100 Hz (default 60);
// scripts/soak runs an hour.

#include "AEffect.h"
#include "PluginEntry.h"
#include "Assert.h"
#include "MidiEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <xmmintrin.h>

namespace {

constexpr double SampleRate = 44100.0;
constexpr int MaxBlockSize = 4096;
constexpr int TimedBlockSize = 512;
constexpr int TimedBlocks = 2000;
constexpr double SlowdownTolerance = 1.5;

long reports = 0;
void CountReport(const char*, const char*, int)
{
    ++reports;
}

VstIntPtr VSTCALL HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

long SoakSeconds()
{
    const char* text = std::getenv("OMBRIX_SOAK_SECONDS");
    const long seconds = text != nullptr ? std::atol(text) : 60;
    return seconds > 0 ? seconds : 60;
}

// Notes with decaying envelopes, bursts of noise and stretches of exact
// silence, so that the feedback loop keeps decaying towards nothing.
class TestSignal {
public:
    void Fill(float* left, float* right, int count)
    {
        for (int i = 0; i < count; ++i, ++position) {
            const std::int64_t inBar = position % (4 * 44100);
            float sample = 0.0f;
            if (inBar < 2 * 44100) {
                envelope = inBar == 0 ? 1.0f : envelope * 0.99995f;
                phase += 0.0627f; // about 440 Hz
                if (phase > 6.2831853f) {
                    phase -= 6.2831853f;
                }
                sample = 0.5f * envelope * std::sin(phase);
            } else if (inBar < 2 * 44100 + 4410) {
                noise = noise * 1664525u + 1013904223u;
                sample = 0.3f * static_cast<float>(static_cast<std::int32_t>(noise)) / 2147483648.0f;
            }
            left[i] = sample;
            right[i] = 0.7f * sample;
        }
    }

private:
    std::int64_t position = 0;
    float envelope = 0.0f;
    float phase = 0.0f;
    std::uint32_t noise = 12345;
};

class Soak {
public:
    Soak()
        : inLeft(MaxBlockSize)
        , inRight(MaxBlockSize)
        , outLeft(MaxBlockSize)
        , outRight(MaxBlockSize)
    {
        effect = VSTPluginMain(&HostCallback);
        if (effect != nullptr) {
            Dispatch(effOpen);
            Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(SampleRate));
            Dispatch(effSetBlockSize, 0, MaxBlockSize);
            Dispatch(effMainsChanged, 0, 1);
        }
    }

    ~Soak()
    {
        if (effect != nullptr) {
            Dispatch(effMainsChanged, 0, 0);
            Dispatch(effClose);
        }
    }

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    // One block through the plug-in; answers its processing time in seconds.
    double Block(int count)
    {
        signal.Fill(inLeft.data(), inRight.data(), count);
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        _mm_setcsr(_mm_getcsr() & ~0x3Fu);
        const unsigned hostMode = _mm_getcsr();
        const auto start = std::chrono::steady_clock::now();
        effect->processReplacing(effect, inputs, outputs, count);
        const auto end = std::chrono::steady_clock::now();
        denormalOperands += (_mm_getcsr() & 0x02u) != 0 ? 1 : 0;
        changedModes += (_mm_getcsr() & ~0x3Fu) != hostMode ? 1 : 0;
        for (const std::vector<float>* channel : {&outLeft, &outRight}) {
            for (int i = 0; i < count; ++i) {
                const float sample = (*channel)[i];
                notFinite += std::isfinite(sample) ? 0 : 1;
                subnormal += std::fpclassify(sample) == FP_SUBNORMAL ? 1 : 0;
            }
        }
        frames += count;
        return std::chrono::duration<double>(end - start).count();
    }

    void SendControlChange(int deltaFrames, int controller, int value)
    {
        VstMidiEvent event = MakeControlChange(deltaFrames, controller, value);
        VstEvents list {};
        list.numEvents = 1;
        list.events[0] = reinterpret_cast<VstEvent*>(&event);
        Dispatch(effProcessEvents, 0, 0, &list);
    }

    // Fixed settings, then two seconds to let the smoothed parameters settle.
    void Settle()
    {
        static constexpr float Settings[8] = {1.0f, 0.3f, 0.45f, 0.4f, 0.45f, 0.4f, 1.0f, 0.0f};
        for (VstInt32 index = 0; index < 8; ++index) {
            effect->setParameter(effect, index, Settings[index]);
        }
        for (int settled = 0; settled < 2 * 44100; settled += TimedBlockSize) {
            Block(TimedBlockSize);
        }
    }

    AEffect* effect = nullptr;
    std::int64_t frames = 0;
    long notFinite = 0;
    long subnormal = 0;
    long denormalOperands = 0;
    long changedModes = 0;

private:
    TestSignal signal;
    std::vector<float> inLeft, inRight, outLeft, outRight;
};

// A normalised value as automation sends it: mostly anywhere in [0, 1],
// sometimes exactly an end, sometimes barely above 0.
float AutomationValue(std::mt19937& random)
{
    switch (random() % 10) {
    case 0:
        return 0.0f;
    case 1:
        return 1.0f;
    case 2:
        return std::ldexp(1.0f, -static_cast<int>(10 + random() % 140)); // 2^-10 down to 2^-149
    default:
        return static_cast<float>(random() % 1000001) / 1000000.0f;
    }
}

// The 10th percentile of the time per block of each instance, timed in turn
// block by block after both settled under the same settings.
std::pair<double, double> TimePerBlockInTurn(Soak& first, Soak& second)
{
    first.Settle();
    second.Settle();
    std::vector<double> firstTimes, secondTimes;
    for (int block = 0; block < TimedBlocks; ++block) {
        firstTimes.push_back(first.Block(TimedBlockSize));
        secondTimes.push_back(second.Block(TimedBlockSize));
    }
    for (std::vector<double>* times : {&firstTimes, &secondTimes}) {
        std::nth_element(times->begin(), times->begin() + TimedBlocks / 10, times->end());
    }
    return {firstTimes[TimedBlocks / 10], secondTimes[TimedBlocks / 10]};
}

TEST(OmbrixChorusSoakTest, AutomatedAudioStaysFiniteNormalAndFast)
{
    const AssertionHandler previous = SetAssertionHandler(&CountReport);
    Soak soak;
    ASSERT_NE(soak.effect, nullptr);

    const std::int64_t totalFrames = static_cast<std::int64_t>(SoakSeconds()) * 44100;

    std::mt19937 random(2026);
    static constexpr int Controllers[] = {1, 1, 16, 17, 18, 19, 80, 81, 82, 93, 7, 64};
    while (soak.frames < totalFrames) {
        const int count
            = static_cast<int>(std::min<std::int64_t>(1 + random() % MaxBlockSize, totalFrames - soak.frames));
        const unsigned action = random() % 100;
        if (action < 20) {
            soak.effect->setParameter(soak.effect, static_cast<VstInt32>(random() % 8), AutomationValue(random));
        } else if (action < 35) {
            soak.SendControlChange(static_cast<int>(random() % count),
                Controllers[random() % (sizeof Controllers / sizeof Controllers[0])], static_cast<int>(random() % 128));
        } else if (action == 35 && random() % 8 == 0) {
            soak.Dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 32));
        } else if (action == 36) {
            // Fully wet with strong feedback: the delay lines are heard directly.
            soak.effect->setParameter(soak.effect, 4, 1.0f);
            soak.effect->setParameter(soak.effect, 3, 1.0f);
        }
        soak.Block(count);
    }

    Soak freshInstance;
    ASSERT_NE(freshInstance.effect, nullptr);
    const auto [worn, fresh] = TimePerBlockInTurn(soak, freshInstance);
    std::printf("soak: %lld frames (%.1f s of audio); %ld samples not finite, %ld subnormal, %ld blocks with "
                "subnormal operands; time per %d-sample block %.2f us worn, %.2f us fresh\n",
        static_cast<long long>(soak.frames), static_cast<double>(soak.frames) / SampleRate, soak.notFinite,
        soak.subnormal, soak.denormalOperands, TimedBlockSize, worn * 1e6, fresh * 1e6);

    EXPECT_EQ(soak.notFinite, 0);
    EXPECT_EQ(soak.subnormal, 0);
    EXPECT_EQ(soak.denormalOperands, 0);
    EXPECT_EQ(soak.changedModes, 0) << "blocks after which the host's floating-point mode differed";
    EXPECT_LE(worn, fresh * SlowdownTolerance);
    EXPECT_EQ(reports, 0) << "assertion reports";
    SetAssertionHandler(previous);
}

} // namespace
