// Chorus::Run, the chorus's block taken apart: whatever mix of four-at-a-time
// and single samples a block is processed with, the bits are those of the
// plain algorithm, one sample after the other.

#include "Chorus.h"

#include "ChorusRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

using Samples = std::vector<float>;

// The chorus one sample after the other, written as plainly as the
// algorithm reads.
struct ReferenceChorus {
    static float Read(const Samples& line, int w, float delay)
    {
        delay = std::min(std::max(0.0f, delay), 16384.0f);
        float pos = static_cast<float>(w) - delay;
        if (pos < 0.0f) {
            pos += 16384.0f;
        }
        const int k = static_cast<int>(pos);
        const float frac = pos - static_cast<float>(k);
        const float current = line[static_cast<size_t>(k & 16383)];
        const float next = line[static_cast<size_t>((k + 1) & 16383)];
        return current + (next - current) * frac + 1e-25f;
    }

    static float Finite(float sample) { return std::fabs(sample) <= FLT_MAX ? sample : 0.0f; }

    // Processes samples start .. start + count - 1 of both channels in place,
    // reading the buffers from their index 0.
    void Process(const float* delay, const float* depth, const float* mix, const float* leftModulation,
        const float* rightModulation, float rate, float fb, Samples& left, Samples& right, size_t start, int count)
    {
        for (int j = 0; j < count; ++j) {
            const size_t i = start + static_cast<size_t>(j);
            const float d = rate * delay[j];
            const float leftDelayed = Read(leftLine, w, FastPow2(leftModulation[j] * depth[j]) * d);
            leftLine[static_cast<size_t>(w)] = Finite(left[i] + fb * leftDelayed);
            left[i] = left[i] * (1.0f - mix[j]) + leftDelayed * mix[j];
            const float rightDelayed = Read(rightLine, w, FastPow2(rightModulation[j] * depth[j]) * d);
            rightLine[static_cast<size_t>(w)] = Finite(fb * rightDelayed + right[i]);
            right[i] = (1.0f - mix[j]) * right[i] + rightDelayed * mix[j];
            w = (w + 1) & 16383;
        }
    }

    Samples leftLine = Samples(16384, 0.0f);
    Samples rightLine = Samples(16384, 0.0f);
    int w = 0;
};

} // namespace

TEST(ChorusRun, BlocksGiveTheBitsOfTheSampleBySampleReference)
{
    // Rates from far below the usual (read-backs of under four samples, run
    // one at a time) to far above (read-backs held at the ring's end),
    // modulation beyond FastPow2's range and NaN, feedback, uneven blocks,
    // in place and into separate buffers: every path against the plain one.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (const float rate : {1000.0f, 8000.0f, 44100.0f, 96000.0f, 400000.0f}) {
        for (const bool inPlace : {true, false}) {
            auto rig = std::make_unique<ChorusRig>(0.9f);
            rig->chorus.SetSampleRate(rate);
            ReferenceChorus reference;
            Samples left(30000), right(30000);
            for (size_t i = 0; i < left.size(); ++i) {
                left[i] = unit(random) - 0.5f;
                right[i] = unit(random) - 0.5f;
            }
            Samples expectedLeft = left, expectedRight = right, outLeft(left.size()), outRight(right.size());
            for (size_t start = 0; start < left.size();) {
                const int count
                    = std::min(static_cast<int>(unit(random) * 40.0f), static_cast<int>(left.size() - start));
                for (int i = 0; i < count; ++i) {
                    rig->delayTime.GetOutput(0)[i] = 0.001f + 0.024f * unit(random);
                    rig->depth.GetOutput(0)[i] = unit(random);
                    rig->mix.GetOutput(0)[i] = unit(random);
                    const float swing = unit(random) < 0.01f ? 100.0f : 1.2f;
                    rig->modulation.left[i] = (unit(random) * 2.0f - 1.0f) * swing;
                    rig->modulation.right[i]
                        = unit(random) < 0.001f ? std::numeric_limits<float>::quiet_NaN() : unit(random) * 2.0f - 1.0f;
                }
                reference.Process(rig->delayTime.GetOutput(0), rig->depth.GetOutput(0), rig->mix.GetOutput(0),
                    rig->modulation.left, rig->modulation.right, rate, rig->feedback.GetTransformedValue(),
                    expectedLeft, expectedRight, start, count);
                float* inputs[] = {left.data() + start, right.data() + start};
                float* outputs[] = {outLeft.data() + start, outRight.data() + start};
                rig->chorus.Process(inputs, inPlace ? inputs : outputs, count);
                start += static_cast<size_t>(count);
            }
            const Samples& gotLeft = inPlace ? left : outLeft;
            const Samples& gotRight = inPlace ? right : outRight;
            ASSERT_EQ(std::memcmp(gotLeft.data(), expectedLeft.data(), left.size() * sizeof(float)), 0) << rate;
            ASSERT_EQ(std::memcmp(gotRight.data(), expectedRight.data(), right.size() * sizeof(float)), 0) << rate;
        }
    }
}
