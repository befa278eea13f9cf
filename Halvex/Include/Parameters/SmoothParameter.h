#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/ParameterBase.h"

#include <algorithm>
#include <atomic>
#include <cmath>

// Every target computes with SSE2 (x86_64, and i686 built with -msse2).
#include <emmintrin.h>

// The identity transform for smoothed parameters whose working value is the
// normalised value itself (depth, mix).
struct DoNothingSmoothTransform {
    static float Apply(float value) { return value; }
};

// A parameter that is also a signal source: when its value changes, output 0
// glides toward the new working value Transform::Apply(value) instead of
// jumping, with a one-pole approach of time constant 0.1 s aimed 0.0001
// working units beyond the target, so that the ramp arrives in finite time.
// Once arrived, the whole buffer holds the target and Process costs nothing.
//
// All arithmetic is single precision and current is rounded to a float each
// sample, so a ramp whose last stretch lies between 0.5 and 1 can stop a few
// hundred-thousandths short of its target (a rise to 1.0 rests at 0.99997) and
// stays Ramping until the next change or Reset.
//
// SetValue may come from any thread; Process, on the audio thread, reads the
// ramp state through relaxed atomics, and a change made during a running
// Process is picked up from the next block. The output buffer itself is plain
// memory: Reset and Process must not run at the same time.
template <typename Transform, typename Display>
class SmoothParameter : public ParameterBase, public ISynthComponent {
public:
    enum Direction { Up = 0, Down = 1 };
    enum State { Ramping = 0, Arrived = 1, Settled = 2 };

    // Settled at the transformed default, at DefaultSampleRate.
    SmoothParameter(const char* shortName, const char* longName, const char* label, float defaultValue)
        : ParameterBase(shortName, longName, label, defaultValue)
        , target(Transform::Apply(GetValue()))
    {
        Reset();
        SetSampleRate(DefaultSampleRate);
    }

    // Shows where the value is going, not the sample in flight.
    void GetDisplay(char* text, int count) const override
    {
        Display::Format(text, count, target.load(std::memory_order_relaxed));
    }

    // Ends any ramp at once: the whole buffer holds the target.
    void Reset() override
    {
        const float settledValue = target.load(std::memory_order_relaxed);
        current.store(settledValue, std::memory_order_relaxed);
        std::fill(buffer, buffer + BufferSize, settledValue);
        direction.store(Up, std::memory_order_relaxed);
        state.store(Settled, std::memory_order_relaxed);
    }

    float GetSampleRate() override { return sampleRate.load(std::memory_order_relaxed); }

    // A rate that is not positive is reported and ignored. Leaves the ramp,
    // current and the buffer as they are.
    void SetSampleRate(float sampleRate) override
    {
        HALVEX_ASSERT(sampleRate > 0.0f);
        if (!(sampleRate > 0.0f)) {
            return;
        }
        this->sampleRate.store(sampleRate, std::memory_order_relaxed);
        coefficient.store(static_cast<float>(1.0 - std::exp(-1.0 / (0.1 * sampleRate))), std::memory_order_relaxed);
    }

    // Fills buffer[0 .. count - 1]; a count beyond BufferSize is cut to it.
    void Process(int count) override
    {
        Run run(*this, count);
        for (int i = 0; i < run.Count(); ++i) {
            run.Next(i);
        }
        run.Finish();
    }

    // One block of Process taken apart, so that a caller can step several
    // components in one per-sample loop and let their chains of dependent
    // operations overlap: the constructor does what Process does before the
    // first sample (the checks, the refill after an arrival), Next(i) writes
    // sample i, Finish keeps the ramp's state for the next block. Constructor,
    // Next for 0 .. Count() - 1 and Finish give exactly the buffer and state
    // Process gives. Audio thread only.
    class Run {
    public:
        Run(SmoothParameter& owner, int count)
            : owner(owner)
        {
            HALVEX_ASSERT(count >= 0);
            this->count = std::clamp(count, 0, BufferSize);
            switch (owner.state.load(std::memory_order_relaxed)) {
            case Settled:
                break;
            case Arrived:
                owner.Reset();
                break;
            case Ramping:
                ramping = true;
                rampTarget = owner.target.load(std::memory_order_relaxed);
                rampAim = owner.aim.load(std::memory_order_relaxed);
                step = owner.coefficient.load(std::memory_order_relaxed);
                falling = IsFalling(owner.direction.load(std::memory_order_relaxed));
                position = owner.current.load(std::memory_order_relaxed);
                shortOfTarget = IsShortOf(rampTarget, position, falling);
                break;
            default:
                HALVEX_ASSERT(0);
                break;
            }
        }

        int Count() const { return count; }

        // Settled, the buffer already holds the value and nothing is written.
        void Next(int i)
        {
            if (ramping) {
                owner.buffer[i] = falling ? Step<true>() : Step<false>();
            }
        }

        // Samples i .. i + 3, with one test for the whole group, stored four
        // at a time so that a consumer reading four at a time takes them
        // straight from the store.
        void NextFour(int i)
        {
            if (ramping) {
                if (falling) {
                    StepFour<true>(i);
                } else {
                    StepFour<false>(i);
                }
            }
        }

        void Finish()
        {
            if (!ramping) {
                return;
            }
            owner.current.store(position, std::memory_order_relaxed);
            if (arrived) {
                owner.state.store(Arrived, std::memory_order_relaxed);
            }
        }

    private:
        template <bool Falling>
        static bool ShortOf(float rampTarget, float value)
        {
            return Falling ? value > rampTarget : value < rampTarget;
        }

        // The next sample of the ramp. Whether the ramp is still short of its
        // target is known from the sample before.
        template <bool Falling>
        float Step()
        {
            if (!shortOfTarget) {
                arrived = true;
                return rampTarget;
            }
            position = position + (rampAim - position) * step;
            shortOfTarget = ShortOf<Falling>(rampTarget, position);
            // The sample that reaches or passes the target is written as the
            // target itself; position keeps the overshoot.
            return shortOfTarget ? position : rampTarget;
        }

        template <bool Falling>
        void StepFour(int i)
        {
            const float first = Step<Falling>();
            const float second = Step<Falling>();
            const float third = Step<Falling>();
            const float fourth = Step<Falling>();
            _mm_storeu_ps(owner.buffer + i, _mm_setr_ps(first, second, third, fourth));
        }

        SmoothParameter& owner;
        int count = 0;
        bool ramping = false;
        bool arrived = false;
        bool falling = false;
        bool shortOfTarget = false;
        float rampTarget = 0.0f;
        float rampAim = 0.0f;
        float step = 0.0f;
        float position = 0.0f;
    };

    // Final, so that GetOutput's own check needs no virtual call.
    int GetOutputCount() final
    {
        return 1;
    }

    float* GetOutput(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < GetOutputCount());
        return buffer;
    }

    State GetState() const
    {
        return state.load(std::memory_order_relaxed);
    }
    Direction GetDirection() const
    {
        return direction.load(std::memory_order_relaxed);
    }

protected:
    // Restarts the ramp from wherever current is, toward the new target.
    void ValueChanged() override
    {
        const float newTarget = Transform::Apply(GetValue());
        const bool falling = newTarget < current.load(std::memory_order_relaxed);
        target.store(newTarget, std::memory_order_relaxed);
        aim.store(falling ? newTarget - AimBeyondTarget : newTarget + AimBeyondTarget, std::memory_order_relaxed);
        direction.store(falling ? Down : Up, std::memory_order_relaxed);
        state.store(Ramping, std::memory_order_relaxed);
        NotifyObservers();
    }

private:
    static constexpr float AimBeyondTarget = 0.0001f;

    static bool IsFalling(Direction direction)
    {
        if (direction == Down) {
            return true;
        }
        HALVEX_ASSERT(direction == Up);
        return false;
    }

    static bool IsShortOf(float rampTarget, float value, bool falling)
    {
        return falling ? value > rampTarget : value < rampTarget;
    }

    std::atomic<float> target;
    std::atomic<float> current {0.0f};
    std::atomic<float> aim {0.0f};
    std::atomic<float> coefficient {0.0f};
    std::atomic<Direction> direction {Up};
    std::atomic<State> state {Settled};
    std::atomic<float> sampleRate {DefaultSampleRate};
    float buffer[BufferSize];
};
