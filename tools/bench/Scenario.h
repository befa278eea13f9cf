#pragma once

// The whole plug-in as a host drives it, block after block: factory program 0,
// noise at the inputs, separate output buffers, and optionally host automation
// of "Delay Time", "Mod. Depth" and "Mix" before every block, so that all
// three smoothers ramp all the time. Shared by the benchmarks and the
// instruction counter, so that both measure the same work.

#include "BenchHost.h"

#include <random>
#include <vector>

class Scenario {
public:
    static constexpr VstInt32 DelayTimeId = 1;
    static constexpr VstInt32 DepthId = 2;
    static constexpr VstInt32 MixId = 4;

    Scenario(int blockSize, bool automated)
        : host(OMBRIX_CHORUS_PATH)
        , blockSize(blockSize)
        , automated(automated)
        , left(blockSize)
        , right(blockSize)
        , outLeft(blockSize)
        , outRight(blockSize)
    {
        std::mt19937 random(1);
        std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
        for (int i = 0; i < blockSize; ++i) {
            left[i] = sample(random);
            right[i] = sample(random);
        }
        if (host.Loaded()) {
            host.Start(blockSize);
            // A second of audio first: caches, branch predictors and the ramps
            // of the automated case reach their steady state.
            RunFrames(44100);
        }
    }

    bool Loaded() const { return host.Loaded(); }
    const std::string& Error() const { return host.Error(); }
    int BlockSize() const { return blockSize; }

    // The automation's value for a block: a new target every block, never
    // the one a ramp is heading for.
    static float AutomationValue(long blockNumber)
    {
        return 0.25f + 0.5f * static_cast<float>((blockNumber * 37) % 64) / 64.0f;
    }

    // The noise at input channel 0 or 1.
    const std::vector<float>& Input(int channel) const { return channel == 0 ? left : right; }

    void RunBlock()
    {
        if (automated) {
            const float value = AutomationValue(blockNumber);
            host.SetParameter(DelayTimeId, value);
            host.SetParameter(DepthId, 1.0f - value);
            host.SetParameter(MixId, value);
            ++blockNumber;
        }
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        host.Process(inputs, outputs, blockSize);
    }

    // Whole blocks covering at least frames; answers the frames processed.
    long RunFrames(long frames)
    {
        long done = 0;
        for (; done < frames; done += blockSize) {
            RunBlock();
        }
        return done;
    }

private:
    BenchHost host;
    int blockSize;
    bool automated;
    long blockNumber = 0;
    std::vector<float> left, right, outLeft, outRight;
};
