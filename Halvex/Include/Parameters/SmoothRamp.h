#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/RampRequests.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <initializer_list>

// Every target computes with SSE2 (x86_64, and i686 built with -msse2).
#include <emmintrin.h>

// The signal side of a smoothed parameter: output 0 glides toward the
// working value it is given instead of jumping, with a one-pole approach of
// time constant 0.1 s aimed 0.0001 working units beyond the target, so that
// the ramp arrives in finite time. Once arrived, the whole buffer holds the
// target and Process costs nothing.
//
// All arithmetic is single precision and the position is rounded to a float
// each sample, so a ramp whose last stretch lies between 0.5 and 1 can stop a
// few hundred-thousandths short of its target (a rise to 1.0 rests at 0.99997)
// and stays Ramping until the next change or Reset.
//
// Threads (the whole picture is in PluginBase.h): the ramp's state and its
// buffer belong to the audio thread, which alone writes them, in Process, Run
// and Reset. Other threads publish requests: RampTo and RequestReset post
// them, lock-free, and the audio thread applies them at the start of its next
// block, in the order they were made, before it looks at the state; a change
// made during a running block is picked up by the next one. GetTarget, the
// latest target asked for, answers at once on any thread. SetSampleRate may
// come from any thread; the ramp steps with the new rate from its next block.
class SmoothRamp : public ISynthComponent {
public:
    enum Direction { Up = 0, Down = 1 };
    enum State { Ramping = 0, Arrived = 1, Settled = 2 };

    // Settled at settledValue, at DefaultSampleRate.
    explicit SmoothRamp(float settledValue);

    SmoothRamp(const SmoothRamp&) = delete;
    SmoothRamp& operator=(const SmoothRamp&) = delete;

    // Audio thread: applies what was asked, then ends any ramp at once: the
    // whole buffer holds the latest target.
    void Reset() override;
    // Any thread: asks the audio thread to snap to the latest target at the
    // start of its next block, as Reset would. A target asked for after this
    // call ramps from there.
    void RequestReset() { requests.PostSnapToLatest(); }
    float GetSampleRate() override;
    // A rate that is not positive is reported and ignored. Leaves the ramp,
    // the position and the buffer as they are.
    void SetSampleRate(float sampleRate) override;

    // Fills buffer[0 .. count - 1]; a count beyond BufferSize is cut to it.
    void Process(int count) override;
    // Final, so that a caller holding the ramp itself (the chorus) pays no
    // virtual call, and GetOutput's own check needs none either.
    int GetOutputCount() final { return 1; }
    float* GetOutput(int index) final
    {
        HALVEX_ASSERT(index >= 0 && index < GetOutputCount());
        return buffer;
    }

    // Where the ramp is going, not the sample in flight: the latest target
    // asked for, at once, on any thread.
    float GetTarget() const { return requests.LatestTarget(); }
    // The audio thread's ramp, as the last block left it: requests made
    // since then show from the next block on. Audio thread only.
    State GetState() const { return state; }
    Direction GetDirection() const { return direction; }

    // One block of up to four ramps, stepped side by side in the lanes of one
    // SSE vector, so that a caller can run several smoothed values in its own
    // per-sample loop and each step serves them all: the constructor does for
    // each ramp what Process does before the first sample (the checks, the
    // requests posted since the last block, the settling after an arrival);
    // Next(i) writes sample i and NextFour(i) samples i .. i + 3 of every
    // ramping buffer; Finish keeps each ramp's state for the next block.
    // Every lane gives exactly the buffer and state its ramp's own Process
    // gives. Audio thread only.
    class Run {
    public:
        static constexpr int MaxRamps = 4;

        // Inline, so that the lanes are gathered straight into registers.
        inline Run(std::initializer_list<SmoothRamp*> ramps, int count);
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;

        int Count() const { return count; }
        // False when no lane ramps: then Next, NextFour and Finish do nothing.
        bool AnyRamping() const { return anyRamping; }

        void Next(int i)
        {
            if (!anyRamping) {
                return;
            }
            alignas(16) float values[4];
            _mm_store_ps(values, Step());
            for (int lane = 0; lane < rampCount; ++lane) {
                if (laneRamping[lane]) {
                    ramps[lane]->buffer[i] = values[lane];
                }
            }
            stepped = true;
        }

        void NextFour(int i)
        {
            if (!anyRamping) {
                return;
            }
            __m128 first = Step();
            __m128 second = Step();
            __m128 third = Step();
            __m128 fourth = Step();
            // Lanes become buffers: afterwards `first` holds lane 0's four
            // samples, `second` lane 1's, and so on.
            _MM_TRANSPOSE4_PS(first, second, third, fourth);
            const __m128 byLane[MaxRamps] = {first, second, third, fourth};
            for (int lane = 0; lane < rampCount; ++lane) {
                if (laneRamping[lane]) {
                    _mm_storeu_ps(ramps[lane]->buffer + i, byLane[lane]);
                }
            }
            stepped = true;
        }

        void Finish()
        {
            if (!anyRamping) {
                return;
            }
            alignas(16) float positions[4];
            _mm_store_ps(positions, _mm_xor_ps(position, flip));
            const int entered = _mm_movemask_ps(enteredShort);
            for (int lane = 0; lane < rampCount; ++lane) {
                if (!laneRamping[lane]) {
                    continue;
                }
                SmoothRamp& ramp = *ramps[lane];
                ramp.current = positions[lane];
                // A sample that began at or past the target means the ramp
                // has arrived; the one that first reaches it does not yet.
                if (stepped && (entered & (1 << lane)) == 0) {
                    ramp.state = Arrived;
                }
            }
        }

    private:
        // All lanes compute in a mirrored domain where every ramp rises:
        // falling lanes are negated, which is exact for the subtraction,
        // multiplication and addition of a step and turns "above the target"
        // into "below". A lane short of its target moves; the others add a
        // masked zero, which keeps them where they are (a zero position may
        // lose its sign, which no comparison or sample shows). A sample that
        // is not short of the target is the target itself (minps answers its
        // second operand for NaN as well).
        __m128 Step()
        {
            enteredShort = shortOfTarget;
            const __m128 move = _mm_mul_ps(_mm_sub_ps(aim, position), coefficient);
            position = _mm_add_ps(position, _mm_and_ps(shortOfTarget, move));
            shortOfTarget = _mm_cmplt_ps(position, target);
            return _mm_xor_ps(_mm_min_ps(position, target), flip);
        }

        SmoothRamp* ramps[MaxRamps] = {};
        bool laneRamping[MaxRamps] = {};
        int rampCount = 0;
        int count = 0;
        bool anyRamping = false;
        bool stepped = false;
        // Sign bits of the falling lanes.
        __m128 flip {};
        // Mirrored target, aim and position, gathered only when a lane ramps;
        // lanes that do not ramp hold 0, which is never short of its target.
        __m128 target {};
        __m128 aim {};
        __m128 position {};
        __m128 coefficient {};
        __m128 shortOfTarget {};
        // shortOfTarget as the last step found it.
        __m128 enteredShort {};
    };

protected:
    // Any thread: asks the audio thread to restart the ramp toward newTarget
    // from wherever it is at the start of its next block.
    void RampTo(float newTarget) { requests.PostTarget(newTarget); }

private:
    static constexpr float AimBeyondTarget = 0.0001f;

    // Audio thread: what was asked since the last block, a snap first (as
    // Reset would do it at that moment), then a ramp (as a change made at
    // that moment starts one).
    void ApplyRequests()
    {
        RampRequests::Taken taken;
        if (!requests.Take(taken)) {
            return;
        }
        if (taken.hasSnap) {
            target = taken.snap;
            Settle();
        }
        if (taken.hasTarget) {
            StartRamp(taken.target);
        }
    }

    // Ends any ramp at the target: the whole buffer holds it.
    void Settle();

    // Restarts the ramp from wherever the position is, toward newTarget.
    void StartRamp(float newTarget)
    {
        const bool falling = newTarget < current;
        // Adding the negated offset is subtracting it; negating the offset
        // rather than choosing the operation keeps the branch out (automation
        // moves values up and down in no order a predictor could learn).
        target = newTarget;
        aim = newTarget + NegatedIf(falling, AimBeyondTarget);
        direction = falling ? Down : Up;
        state = Ramping;
    }

    // The direction as a sign bit, without a branch (see StartRamp).
    static uint32_t SignBitOf(Direction direction)
    {
        HALVEX_ASSERT(direction == Up || direction == Down);
        return static_cast<uint32_t>(direction == Down) << 31;
    }

    static float NegatedIf(bool negate, float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        bits ^= static_cast<uint32_t>(negate) << 31;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Published by other threads.
    RampRequests requests;
    std::atomic<float> coefficient {0.0f};
    std::atomic<float> sampleRate {DefaultSampleRate};
    // The audio thread's own.
    float target;
    float current = 0.0f;
    float aim = 0.0f;
    Direction direction = Up;
    State state = Settled;
    float buffer[BufferSize];
};

inline SmoothRamp::Run::Run(std::initializer_list<SmoothRamp*> ramps, int count)
{
    HALVEX_ASSERT(ramps.size() <= MaxRamps);
    float targets[MaxRamps] = {};
    float aims[MaxRamps] = {};
    float positions[MaxRamps] = {};
    float coefficients[MaxRamps] = {};
    uint32_t signs[MaxRamps] = {};
    for (SmoothRamp* ramp : ramps) {
        if (rampCount == MaxRamps) {
            break;
        }
        const int lane = rampCount++;
        this->ramps[lane] = ramp;
        HALVEX_ASSERT(count >= 0);
        // Before the state is looked at: a ramp asked for in the block that
        // arrived restarts the ramp instead of being settled away.
        ramp->ApplyRequests();
        switch (ramp->state) {
        case Settled:
            break;
        case Arrived:
            ramp->Settle();
            break;
        case Ramping: {
            laneRamping[lane] = true;
            anyRamping = true;
            signs[lane] = SignBitOf(ramp->direction);
            targets[lane] = ramp->target;
            aims[lane] = ramp->aim;
            positions[lane] = ramp->current;
            coefficients[lane] = ramp->coefficient.load(std::memory_order_relaxed);
            break;
        }
        default:
            HALVEX_ASSERT(0);
            break;
        }
    }
    this->count = std::clamp(count, 0, BufferSize);
    if (!anyRamping) {
        return;
    }
    // Gathered lane by lane rather than loaded whole: a load that spans
    // several smaller stores just made would wait for them to reach the
    // cache. Negating is flipping the sign bit: exact.
    const auto gather
        = [](const float(&lanes)[MaxRamps]) { return _mm_setr_ps(lanes[0], lanes[1], lanes[2], lanes[3]); };
    flip = _mm_castsi128_ps(_mm_setr_epi32(static_cast<int>(signs[0]), static_cast<int>(signs[1]),
        static_cast<int>(signs[2]), static_cast<int>(signs[3])));
    target = _mm_xor_ps(gather(targets), flip);
    aim = _mm_xor_ps(gather(aims), flip);
    position = _mm_xor_ps(gather(positions), flip);
    coefficient = gather(coefficients);
    shortOfTarget = _mm_cmplt_ps(position, target);
    enteredShort = shortOfTarget;
}
