#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/Displays.h"
#include "Parameters/EnumParameter.h"
#include "Parameters/Parameter.h"
#include "Parameters/SwitchParameter.h"

#include <algorithm>
#include <atomic>

// Every target computes with SSE2 (x86_64, and i686 built with -msse2).
#include <emmintrin.h>

// Maps a normalised value v to an oscillator frequency of 10 v^2 Hz (0 to 10).
struct QuadLfoFrequencyTransform {
    static float Apply(float value);
};

// The musical resolutions of tempo sync, from one cycle every 16 beats to 16
// cycles per beat. A beat is a quarter note, the unit of tempo and position.
constexpr int SyncResolutionCount = 9;
extern const char* const SyncResolutionNames[SyncResolutionCount];
// LFO cycles per beat, one per name.
extern const float SyncResolutionFactors[SyncResolutionCount];

// A sinusoidal low-frequency oscillator with two outputs a quarter cycle
// apart: output 0 is the cosine series and output 1 the sine series, both in
// [-1, 1]. With "Quad Mode" off both outputs are the sine series; with
// "Mod. Wheel" on both are scaled by the square of the modulation wheel
// (controller 1). The rate is the "Frequency" parameter in Hz or, with
// "Sync Mode" on, the host tempo times the "Sync Resolution" factor; in sync
// mode every Synchronize re-phases the oscillator to the host position.
//
// The oscillator is the two-multiply recurrence sine += e * cosine,
// cosine -= e * sine with e the angle step in radians per sample: its
// amplitude stays bounded close to 1 without renormalisation.
//
// Process, GetOutput, SetController, Synchronize and Reset belong to the
// audio thread, the phase's only writer; other threads ask for a reset
// through the plug-in (PluginBase::RequestReset). The rate observer
// recomputes the increment on whichever thread changes "Frequency", "Sync
// Mode" or "Sync Resolution"; the values crossing threads are relaxed atomics
// and Process picks a new increment up at its next block.
class QuadLfo : public ISynthComponent, public IControllable, public ISynchronizeable {
public:
    // Recomputes its owner's increment when a rate parameter changes.
    class RateObserver : public IParameterObserver {
    public:
        void ParameterChanged() override;

        QuadLfo* owner = nullptr;
    };

    // Starts at phase zero with the increment of the parameters' current
    // values. The parameters must outlive the oscillator.
    QuadLfo(SwitchParameter<DisplayOnOff>* quadMode, SwitchParameter<DisplayOnOff>* modWheelMode,
        SwitchParameter<DisplayOnOff>* syncMode, EnumParameter* syncResolution,
        Parameter<float, QuadLfoFrequencyTransform, DisplayFloat>* frequency);

    QuadLfo(const QuadLfo&) = delete;
    QuadLfo& operator=(const QuadLfo&) = delete;

    // Back to phase zero; rate, wheel and tempo stay.
    void Reset() override;
    float GetSampleRate() override;
    // Changes the increment at once; the phase stays. A rate that is not
    // positive is reported and ignored.
    void SetSampleRate(float sampleRate) override;

    // Writes count samples of both series from index 0 on.
    void Process(int count) override;
    // Final, so that GetOutput's own check needs no virtual call.
    int GetOutputCount() final { return 2; }

    // One block of Process taken apart, so that a caller can run the
    // oscillator inside its own per-sample loop and overlap other work with
    // the oscillator's chain of dependent multiplies: the constructor checks
    // the count and takes the state, Next(i) writes sample i of both series,
    // Finish keeps the state for the next block. Together they give exactly
    // what Process gives. Audio thread only.
    class Run {
    public:
        Run(QuadLfo& owner, int count)
            : owner(owner)
        {
            HALVEX_ASSERT(count >= 0 && count <= BufferSize);
            this->count = std::clamp(count, 0, BufferSize);
            step = owner.increment.load(std::memory_order_relaxed);
            // Multiplying by 1 is exact, so one step serves both wheel modes.
            scale = owner.modWheelMode->IsOn() ? owner.modWheel.load(std::memory_order_relaxed) : 1.0f;
            cosine = owner.cosine;
            sine = owner.sine;
        }

        int Count() const { return count; }

        void Next(int i)
        {
            sine = sine + step * cosine;
            cosine = cosine - step * sine;
            owner.cosineOutput[i] = scale * cosine;
            owner.sineOutput[i] = scale * sine;
        }

        // Samples i .. i + 3, stored four at a time: a consumer that reads
        // them four at a time then takes them straight from the store
        // instead of waiting for four separate stores to reach the cache.
        void NextFour(int i)
        {
            float c[4];
            float s[4];
            for (int j = 0; j < 4; ++j) {
                sine = sine + step * cosine;
                cosine = cosine - step * sine;
                c[j] = cosine;
                s[j] = sine;
            }
            const __m128 factor = _mm_set1_ps(scale);
            _mm_storeu_ps(owner.cosineOutput + i, _mm_mul_ps(factor, _mm_setr_ps(c[0], c[1], c[2], c[3])));
            _mm_storeu_ps(owner.sineOutput + i, _mm_mul_ps(factor, _mm_setr_ps(s[0], s[1], s[2], s[3])));
        }

        void Finish()
        {
            owner.cosine = cosine;
            owner.sine = sine;
        }

    private:
        QuadLfo& owner;
        int count = 0;
        float step = 0.0f;
        float scale = 1.0f;
        float cosine = 1.0f;
        float sine = 0.0f;
    };
    // Reads "Quad Mode" at the time of the call. Inline and final, so that
    // a caller holding the oscillator itself pays no call for it.
    float* GetOutput(int index) final
    {
        HALVEX_ASSERT(index >= 0 && index < GetOutputCount());
        if (!quadMode->IsOn()) {
            return sineOutput;
        }
        if (index == 0) {
            return cosineOutput;
        }
        HALVEX_ASSERT(index == 1);
        return sineOutput;
    }

    // Controller 1 stores the square of its value; all others are ignored.
    void SetController(char controller, float value) override;

    // Stores the tempo; in sync mode also re-phases to the position. A
    // negative or non-finite tempo or position is reported (where the
    // contract names it) and the call is ignored.
    void Synchronize(double tempo, double ppqnPosition) override;

private:
    void UpdateIncrement();

    std::atomic<float> sampleRate {DefaultSampleRate};
    float cosine = 1.0f;
    float sine = 0.0f;
    std::atomic<float> increment {0.0f};
    std::atomic<float> modWheel {0.0f};
    std::atomic<double> tempo {DefaultTempo};
    float cosineOutput[BufferSize] = {};
    float sineOutput[BufferSize] = {};
    SwitchParameter<DisplayOnOff>* quadMode;
    SwitchParameter<DisplayOnOff>* modWheelMode;
    SwitchParameter<DisplayOnOff>* syncMode;
    EnumParameter* syncResolution;
    Parameter<float, QuadLfoFrequencyTransform, DisplayFloat>* frequency;
    RateObserver rateObserver;
};
