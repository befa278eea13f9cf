#pragma once

#include <cmath>
#include <vector>

// The smoothing of a smoothed parameter written as plainly as it reads, one
// sample after the other, in working units: each sample moves the position by
// 1 - exp(-1 / (0.1 x rate)) of its distance to an aim 0.0001 beyond the
// target; the sample that reaches or passes the target is the target; the
// block after the arrival settles. Tests compare the toolkit's ramps, and
// the plug-in's output, with it.
class ReferenceGlide {
public:
    explicit ReferenceGlide(float value, float sampleRate = 44100.0f)
        : current(value)
        , target(value)
        , coefficient(static_cast<float>(1.0 - std::exp(-1.0 / (0.1 * sampleRate))))
    {
    }

    // A change of the value: the ramp restarts from the position reached.
    void To(float newTarget)
    {
        down = newTarget < current;
        target = newTarget;
        aim = down ? newTarget - 0.0001f : newTarget + 0.0001f;
        state = Ramping;
    }

    // A reset: the position is the value at once.
    void Snap(float value)
    {
        current = target = value;
        state = Settled;
    }

    // The next count samples, as one block.
    std::vector<float> Block(int count)
    {
        if (state == Arrived) {
            Snap(target);
        }
        std::vector<float> samples;
        for (int i = 0; i < count; ++i) {
            if (state == Ramping && !(down ? target < current : target > current)) {
                state = Arrived;
            }
            if (state != Ramping) {
                samples.push_back(target);
                continue;
            }
            current = current + (aim - current) * coefficient;
            samples.push_back((down ? current > target : current < target) ? current : target);
        }
        return samples;
    }

private:
    enum State { Ramping, Arrived, Settled };

    float current;
    float target;
    float aim = 0.0f;
    bool down = false;
    State state = Settled;
    float coefficient;
};
