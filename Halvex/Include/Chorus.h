#pragma once

#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "Parameters/SwitchParameter.h"

#include <atomic>

// Maps a normalised value v to a base delay of 0.024 v^2 + 0.001 seconds.
struct ChorusDelayTimeTransform {
    static float Apply(float value);
};

// Maps a normalised value v to a feedback gain of 0.995 v^2.
struct FeedbackTransform {
    static float Apply(float value);
};

// 2 to the power x from a quadratic on the fractional part, exact at every
// whole number below 31 in magnitude: FastPow2(0.5) is 1.4166662 instead of
// 1.4142135. Beyond that range the result saturates to infinity (x >= 31) or
// 0 (x <= -31), and NaN stays NaN.
float FastPow2(float x);

// A two-channel modulated delay. Each channel writes its input plus feedback
// into its own 16384-sample ring and reads it back, linearly interpolated, at
// the base delay time (seconds) times FastPow2(modulation x depth), so that a
// modulation source sweeping -1..1 at depth 1 moves the delay between half and
// twice the base. The left channel follows output 0 of the modulation source,
// the right channel output 1. The delayed signal is crossfaded with the dry
// input by the mix (0 dry, 1 wet). The read-back delay is held within 0 to
// 16384 samples, the whole ring: beyond 327,680 samples per second the
// longest sweeps stop at its far end instead of wrapping around.
//
// 1e-25 is added to every delayed sample so that a decaying feedback loop
// settles on a small normal number instead of running through subnormals. A
// sample that is not finite is stored into a ring as 0, so a NaN or infinity
// at the input cannot circulate.
//
// Switched off, the input is copied through, the rings stand still and they
// are cleared at the first bypassed block after the switch went off.
//
// The feedback gain is read once per block, like the per-sample buffers of
// the smoothed parameters and the modulation source.
//
// Process belongs to the audio thread. The rings are plain memory, so Reset
// must not run while Process does. The rate and the pending clear are relaxed
// atomics: SetSampleRate and the switch observer may run on any thread.
class Chorus : public IEffectComponent {
public:
    // Asks its owner to clear the rings when the on/off switch goes off.
    class EnabledObserver : public IParameterObserver {
    public:
        void ParameterChanged() override;

        Chorus* owner = nullptr;
    };

    // The parameters and the two-output modulation source must outlive the
    // chorus; their buffers must be processed before every Process call.
    Chorus(SwitchParameter<DisplayOnOff>* enabled, SmoothParameter<ChorusDelayTimeTransform, DisplayFloat>* delayTime,
        SmoothParameter<DoNothingSmoothTransform, DisplayFloat>* depth,
        Parameter<float, FeedbackTransform, DisplayFloat>* feedback,
        SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger>* mix, ISynthComponent* lfo);

    Chorus(const Chorus&) = delete;
    Chorus& operator=(const Chorus&) = delete;

    // Clears both rings and the pending clear.
    void Reset() override;
    float GetSampleRate() override;
    // A rate that is not positive is reported and ignored. The rings stay.
    void SetSampleRate(float sampleRate) override;

    // Two input and two output channels of count samples; an output channel
    // may be its input channel. Invalid arguments are reported and nothing
    // is processed.
    void Process(float** inputs, float** outputs, int count) override;

private:
    static constexpr int LineLength = 16384;

    void Bypass(float** inputs, float** outputs, int count);

    std::atomic<int> resetPending {0};
    int writeIndex = 0;
    std::atomic<float> sampleRate {DefaultSampleRate};
    float leftLine[LineLength] = {};
    float rightLine[LineLength] = {};
    SwitchParameter<DisplayOnOff>* enabled;
    SmoothParameter<ChorusDelayTimeTransform, DisplayFloat>* delayTime;
    SmoothParameter<DoNothingSmoothTransform, DisplayFloat>* depth;
    Parameter<float, FeedbackTransform, DisplayFloat>* feedback;
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger>* mix;
    ISynthComponent* lfo;
    EnabledObserver enabledObserver;
};
