#pragma once

#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "Parameters/SwitchParameter.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>

// Every target computes with SSE2 (x86_64, and i686 built with -msse2).
#include <emmintrin.h>

// Maps a normalised value v to a base delay of 0.024 v^2 + 0.001 seconds.
struct ChorusDelayTimeTransform {
    static float Apply(float value);
};

// Maps a normalised value v to a feedback gain of 0.995 v^2.
struct FeedbackTransform {
    static float Apply(float value);
};

// The saturated result of FastPow2 for |x| >= 31 or NaN.
float FastPow2OutOfRange(float x);

// 2 to the power x from a quadratic on the fractional part, exact at every
// whole number below 31 in magnitude: FastPow2(0.5) is 1.4166662 instead of
// 1.4142135. Beyond that range the result saturates to infinity (x >= 31) or
// 0 (x <= -31), and NaN stays NaN. Inline: the chorus calls it twice a sample.
inline float FastPow2(float x)
{
    const bool negative = x < 0.0f;
    const float magnitude = negative ? -x : x;
    // Beyond 31, 1 << n no longer fits an int.
    if (!(magnitude < 31.0f)) {
        return FastPow2OutOfRange(x);
    }
    const int n = static_cast<int>(magnitude);
    const float f = magnitude - static_cast<float>(n);
    const float power = (0.333333f * f * (f + 2.0f) + 1.0f) * static_cast<float>(1 << n);
    return negative ? 1.0f / power : power;
}

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
// Process and Reset belong to the audio thread, the rings' only writer;
// other threads ask for a reset through the plug-in
// (PluginBase::RequestReset). The rate and the pending clear are relaxed
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

    // The longest tail reported: a loop that loses less than 90 dB in this
    // time holds a feedback gain a user hears as a drone, not a tail.
    static constexpr float MaxTailSeconds = 30.0f;

    // How long the output goes on sounding once the input falls silent, at
    // the current settings: the longest read-back of the sweep (the base
    // delay at its modulation's far end), once for the delayed input and
    // again for every pass round the feedback loop until the echo is 90 dB
    // down; at most MaxTailSeconds, and none while switched off or dry. Any
    // thread.
    float GetTailSeconds() const;

    // Clears both rings and the pending clear.
    void Reset() override;
    float GetSampleRate() override;
    // A rate that is not positive is reported and ignored. The rings stay.
    void SetSampleRate(float sampleRate) override;

    // Two input and two output channels of count samples; an output channel
    // may be its input channel. Invalid arguments are reported and nothing
    // is processed.
    void Process(float** inputs, float** outputs, int count) override;

    // One block of Process taken apart, so that a caller can run the chorus
    // in the same per-sample loop as the components that fill its buffers
    // and overlap the chorus's work with their chains of dependent
    // operations. The constructor checks the arguments and takes the block's
    // buffers; the modulation source's two outputs (its GetOutput(0) and
    // GetOutput(1)) come from the caller, who may hold them without a
    // virtual call. While Running(), Next(i) processes sample i, reading
    // sample i of every buffer, which must be written by then; Finish
    // reports the buffer values outside their ranges (the same reports, in
    // the same order, as checking every sample), keeps the write position,
    // and copies the input through when bypassed. Constructor, Next for
    // 0 .. count - 1 and Finish give exactly what Process gives. Audio
    // thread only.
    class Run {
    public:
        // Inline, so that the caller's per-sample state stays in registers
        // instead of being saved around a call once per block.
        inline Run(Chorus& chorus, float** inputs, float** outputs, int count, const float* leftModulation,
            const float* rightModulation);

        // False when bypassed or when the arguments were refused.
        bool Running() const { return running; }

        void Next(int i)
        {
            const float delaySeconds = delayBuffer[i];
            const float depthValue = depthBuffer[i];
            const float wet = mixBuffer[i];
            withinRange = withinRange & (delaySeconds >= 0.0f) & (delaySeconds <= 0.025f) & (depthValue >= 0.0f)
                & (depthValue <= 1.0f) & (wet >= 0.0f) & (wet <= 1.0f);
            const float delaySamples = rate * delaySeconds;
            const float dry = 1.0f - wet;

            // Each channel reads its dry sample before writing its output, so
            // in-place buffers give the same result as separate ones.
            const float leftDry = leftInput[i];
            const float leftDelayed = ReadDelayed(leftLine, w, FastPow2(leftModulation[i] * depthValue) * delaySamples);
            leftLine[w] = FiniteOrZero(leftDry + fb * leftDelayed);
            leftOutput[i] = leftDry * dry + leftDelayed * wet;

            const float rightDry = rightInput[i];
            const float rightDelayed
                = ReadDelayed(rightLine, w, FastPow2(rightModulation[i] * depthValue) * delaySamples);
            rightLine[w] = FiniteOrZero(fb * rightDelayed + rightDry);
            rightOutput[i] = dry * rightDry + rightDelayed * wet;

            w = (w + 1) & LineMask;
        }

        // Samples i .. i + 3, four at a time where that gives the same bits as
        // one after the other (see FourDelays), otherwise one at a time. An
        // output channel may be any input channel, at the same positions.
        void NextFour(int i)
        {
            const __m128 delaySeconds = _mm_loadu_ps(delayBuffer + i);
            const __m128 depthValues = _mm_loadu_ps(depthBuffer + i);
            const __m128 wet = _mm_loadu_ps(mixBuffer + i);
            const __m128 zero = _mm_setzero_ps();
            const __m128 one = _mm_set1_ps(1.0f);
            fourWithinRange = _mm_and_ps(fourWithinRange,
                _mm_and_ps(_mm_and_ps(_mm_and_ps(_mm_cmpge_ps(delaySeconds, zero),
                                          _mm_cmple_ps(delaySeconds, _mm_set1_ps(0.025f))),
                               _mm_and_ps(_mm_cmpge_ps(depthValues, zero), _mm_cmple_ps(depthValues, one))),
                    _mm_and_ps(_mm_cmpge_ps(wet, zero), _mm_cmple_ps(wet, one))));
            const __m128 delaySamples = _mm_mul_ps(_mm_set1_ps(rate), delaySeconds);
            const __m128i writePositions
                = _mm_and_si128(_mm_add_epi32(_mm_set1_epi32(w), _mm_setr_epi32(0, 1, 2, 3)), _mm_set1_epi32(LineMask));
            const __m128 writeFloats = _mm_cvtepi32_ps(writePositions);
            __m128 leftDelays;
            __m128 rightDelays;
            if (!FourDelays(_mm_loadu_ps(leftModulation + i), depthValues, delaySamples, leftDelays)
                || !FourDelays(_mm_loadu_ps(rightModulation + i), depthValues, delaySamples, rightDelays)) {
                for (int j = 0; j < 4; ++j) {
                    Next(i + j);
                }
                return;
            }
            const __m128 dry = _mm_sub_ps(one, wet);
            const __m128 feedback = _mm_set1_ps(fb);

            // Left entirely before right, as one sample after the other does.
            const __m128 leftDry = _mm_loadu_ps(leftInput + i);
            const __m128 leftDelayed = ReadFour(leftLine, writeFloats, leftDelays);
            WriteFour(leftLine, FourFiniteOrZero(_mm_add_ps(leftDry, _mm_mul_ps(feedback, leftDelayed))));
            _mm_storeu_ps(leftOutput + i, _mm_add_ps(_mm_mul_ps(leftDry, dry), _mm_mul_ps(leftDelayed, wet)));

            const __m128 rightDry = _mm_loadu_ps(rightInput + i);
            const __m128 rightDelayed = ReadFour(rightLine, writeFloats, rightDelays);
            WriteFour(rightLine, FourFiniteOrZero(_mm_add_ps(_mm_mul_ps(feedback, rightDelayed), rightDry)));
            _mm_storeu_ps(rightOutput + i, _mm_add_ps(_mm_mul_ps(dry, rightDry), _mm_mul_ps(rightDelayed, wet)));

            w = (w + 4) & LineMask;
        }

        // The usual end of a block is inline: a running block whose values all
        // lay in range only keeps the write position. Everything else (the
        // reports, the bypass copy) is left to FinishOtherwise.
        void Finish()
        {
            if (running && AllWithinRange()) {
                chorus.writeIndex = w;
                return;
            }
            FinishOtherwise();
        }

    private:
        bool AllWithinRange() const { return withinRange && _mm_movemask_ps(fourWithinRange) == 0xF; }

        void FinishOtherwise();

        // Valid arguments need no reports, so only invalid ones are checked
        // one by one, by CheckArguments, which reports every violated
        // precondition that can be evaluated safely and answers false.
        static bool ValidArguments(float** inputs, float** outputs, int count)
        {
            return inputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr && outputs != nullptr
                && outputs[0] != nullptr && outputs[1] != nullptr && count >= 0 && count <= BufferSize;
        }
        static bool CheckArguments(float** inputs, float** outputs, int count);

        static __m128 Select(__m128 mask, __m128 whenSet, __m128 otherwise)
        {
            return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
        }

        // The read-back delays of four samples, FastPow2(modulation x depth)
        // x delaySamples clamped as ReadDelayed clamps them. False when a
        // group cannot run four at once: a modulation beyond FastPow2's
        // range, or a delay of 4 samples or less, which would read ring
        // positions written earlier in the same group. In use the delay is
        // at least 0.5 ms, 22 samples at 44100 Hz.
        static bool FourDelays(__m128 modulation, __m128 depthValues, __m128 delaySamples, __m128& delays)
        {
            const __m128 x = _mm_mul_ps(modulation, depthValues);
            const __m128 zero = _mm_setzero_ps();
            const __m128 one = _mm_set1_ps(1.0f);
            const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), x);
            const __m128 inRange = _mm_cmplt_ps(magnitude, _mm_set1_ps(31.0f));
            const __m128i n = _mm_cvttps_epi32(magnitude);
            const __m128 f = _mm_sub_ps(magnitude, _mm_cvtepi32_ps(n));
            // 1 << n as a float: the exponent field holds n + 127.
            const __m128 twoToN = _mm_castsi128_ps(_mm_slli_epi32(_mm_add_epi32(n, _mm_set1_epi32(127)), 23));
            const __m128 quadratic
                = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(_mm_set1_ps(0.333333f), f), _mm_add_ps(f, _mm_set1_ps(2.0f))), one);
            const __m128 power = _mm_mul_ps(quadratic, twoToN);
            const __m128 factor = Select(_mm_cmplt_ps(x, zero), _mm_div_ps(one, power), power);
            // max and min as ReadDelayed clamps: maxps answers its second
            // operand, 0, for NaN.
            const __m128 d = _mm_min_ps(_mm_max_ps(_mm_mul_ps(factor, delaySamples), zero), _mm_set1_ps(MaxReadDelay));
            delays = d;
            const __m128 usable = _mm_and_ps(inRange, _mm_cmpgt_ps(d, _mm_set1_ps(4.0f)));
            return _mm_movemask_ps(usable) == 0xF;
        }

        // ReadDelayed for four samples at the write positions writeFloats.
        static __m128 ReadFour(const float* line, __m128 writeFloats, __m128 delays)
        {
            __m128 pos = _mm_sub_ps(writeFloats, delays);
            const __m128 wrapped = _mm_add_ps(pos, _mm_set1_ps(16384.0f));
            pos = Select(_mm_cmplt_ps(pos, _mm_setzero_ps()), wrapped, pos);
            const __m128i k = _mm_cvttps_epi32(pos);
            const __m128 frac = _mm_sub_ps(pos, _mm_cvtepi32_ps(k));
            const __m128 tail = _mm_set1_ps(AntiDenormal);
            // The read positions of neighbouring samples are usually
            // neighbours too: then two plain loads replace the gathers.
            const int first = _mm_cvtsi128_si32(k);
            const __m128i consecutive = _mm_add_epi32(_mm_set1_epi32(first), _mm_setr_epi32(0, 1, 2, 3));
            if (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(k, consecutive))) == 0xF && first <= LineMask - 4) {
                const __m128 current = _mm_loadu_ps(line + first);
                const __m128 next = _mm_loadu_ps(line + first + 1);
                return _mm_add_ps(_mm_add_ps(current, _mm_mul_ps(_mm_sub_ps(next, current), frac)), tail);
            }
            const __m128i mask = _mm_set1_epi32(LineMask);
            int at[4];
            int after[4];
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_and_si128(k, mask));
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(after), _mm_and_si128(_mm_add_epi32(k, _mm_set1_epi32(1)), mask));
            const __m128 current = _mm_setr_ps(line[at[0]], line[at[1]], line[at[2]], line[at[3]]);
            const __m128 next = _mm_setr_ps(line[after[0]], line[after[1]], line[after[2]], line[after[3]]);
            return _mm_add_ps(_mm_add_ps(current, _mm_mul_ps(_mm_sub_ps(next, current), frac)), tail);
        }

        static __m128 FourFiniteOrZero(__m128 samples)
        {
            const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), samples);
            return _mm_and_ps(samples, _mm_cmple_ps(magnitude, _mm_set1_ps(FLT_MAX)));
        }

        // Stores four samples at w .. w + 3, wrapping at the ring's end.
        void WriteFour(float* line, __m128 samples) const
        {
            if (w + 3 <= LineMask) {
                _mm_storeu_ps(line + w, samples);
                return;
            }
            float values[4];
            _mm_storeu_ps(values, samples);
            for (int j = 0; j < 4; ++j) {
                line[(w + j) & LineMask] = values[j];
            }
        }

        void ReportOutOfRange() const;

        Chorus& chorus;
        float** inputs;
        float** outputs;
        int count;
        bool accepted;
        bool running = false;
        // Whether every buffer value read so far lay in its range.
        bool withinRange = true;
        __m128 fourWithinRange = _mm_castsi128_ps(_mm_set1_epi32(-1));
        int w = 0;
        float rate = 0.0f;
        float fb = 0.0f;
        const float* delayBuffer = nullptr;
        const float* depthBuffer = nullptr;
        const float* mixBuffer = nullptr;
        const float* leftModulation = nullptr;
        const float* rightModulation = nullptr;
        const float* leftInput = nullptr;
        const float* rightInput = nullptr;
        float* leftOutput = nullptr;
        float* rightOutput = nullptr;
        float* leftLine = nullptr;
        float* rightLine = nullptr;
    };

private:
    static constexpr int LineLength = 16384;
    static constexpr int LineMask = LineLength - 1;
    // The oldest sample of a ring sits at the write position itself (it is
    // read before it is overwritten), so a read-back of the full ring length
    // is the longest one the ring holds. Up to 327,680 samples per second the
    // sweep never reaches it, so holding it there changes nothing below that
    // rate.
    static constexpr float MaxReadDelay = 16384.0f;
    static constexpr float AntiDenormal = 1e-25f;

    // The line's sample delaySamples behind writeIndex, linearly interpolated.
    static float ReadDelayed(const float* line, int writeIndex, float delaySamples)
    {
        // Corrupt inputs must not move the read outside the ring: NaN and
        // negative delays read at the write position, too long ones at the
        // far end. (std::max with 0 first turns NaN into 0.)
        delaySamples = std::min(std::max(0.0f, delaySamples), MaxReadDelay);
        float pos = static_cast<float>(writeIndex) - delaySamples;
        if (pos < 0.0f) {
            pos += 16384.0f;
        }
        const int k = static_cast<int>(pos);
        const float frac = pos - static_cast<float>(k);
        // Rounding can carry pos up to exactly 16384.
        const float current = line[k & LineMask];
        const float next = line[(k + 1) & LineMask];
        return current + (next - current) * frac + AntiDenormal;
    }

    // A non-finite sample must never enter a ring, where feedback would keep it.
    static float FiniteOrZero(float sample) { return std::fabs(sample) <= FLT_MAX ? sample : 0.0f; }

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

inline Chorus::Run::Run(Chorus& chorus, float** inputs, float** outputs, int count, const float* leftModulation,
    const float* rightModulation)
    : chorus(chorus)
    , inputs(inputs)
    , outputs(outputs)
    , count(count)
    , accepted(ValidArguments(inputs, outputs, count) || CheckArguments(inputs, outputs, count))
{
    if (!accepted || !chorus.enabled->IsOn()) {
        return;
    }
    running = true;
    delayBuffer = chorus.delayTime->GetOutput(0);
    depthBuffer = chorus.depth->GetOutput(0);
    mixBuffer = chorus.mix->GetOutput(0);
    this->leftModulation = leftModulation;
    this->rightModulation = rightModulation;
    rate = chorus.sampleRate.load(std::memory_order_relaxed);
    // Nothing inside the block changes the feedback, so one read serves it.
    fb = chorus.feedback->GetTransformedValue();
    leftInput = inputs[0];
    rightInput = inputs[1];
    leftOutput = outputs[0];
    rightOutput = outputs[1];
    leftLine = chorus.leftLine;
    rightLine = chorus.rightLine;
    w = chorus.writeIndex;
}
