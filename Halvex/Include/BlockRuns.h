#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"

#include <algorithm>

// One host block on its way through a plug-in's Process, cut into runs: the
// adapter handles the block's events between runs, at their sample
// positions, and every run reaches the plug-in in pieces of at most
// BufferSize samples with its channel pointers advanced. The usual block,
// whole and with every channel, goes to the plug-in as the host handed it
// over. A null channel is reported and never touched; the outputs of a run
// that cannot be processed are silenced instead.
//
// Made on the stack for each block, on the audio thread; it allocates
// nothing. The plug-in and the channel arrays must outlive it.
template <int InputCount, int OutputCount>
class BlockRuns {
public:
    BlockRuns(IEffectComponent& plugin, float** inputs, float** outputs, int frames)
        : plugin(plugin)
        , inputs(inputs)
        , outputs(outputs)
        , frames(frames)
    {
    }

    int GetPosition() const { return position; }

    // Processes the samples from the position reached up to end, which
    // becomes the position. An end before the position processes nothing
    // (no sample is processed twice), one beyond the block stops at its end.
    void ProcessUntil(int end)
    {
        end = std::min(end, frames);
        if (end > position) {
            ProcessRange(position, end - position);
            position = end;
        }
    }

    void ProcessRest() { ProcessUntil(frames); }

private:
    static bool HasChannels(float** channels, int channelCount)
    {
        if (channels == nullptr) {
            return false;
        }
        for (int j = 0; j < channelCount; ++j) {
            if (channels[j] == nullptr) {
                return false;
            }
        }
        return true;
    }

    void ProcessRange(int offset, int count)
    {
        if (offset == 0 && count <= BufferSize && HasChannels(inputs, InputCount)
            && HasChannels(outputs, OutputCount)) {
            plugin.Process(inputs, outputs, count);
            return;
        }
        while (count > 0) {
            const int run = std::min(count, BufferSize);
            bool complete = true;
            for (int j = 0; j < InputCount; ++j) {
                offsetInputs[j] = inputs != nullptr && inputs[j] != nullptr ? inputs[j] + offset : nullptr;
                HALVEX_ASSERT(offsetInputs[j] != 0);
                complete = complete && offsetInputs[j] != nullptr;
            }
            for (int j = 0; j < OutputCount; ++j) {
                offsetOutputs[j] = outputs != nullptr && outputs[j] != nullptr ? outputs[j] + offset : nullptr;
                HALVEX_ASSERT(offsetOutputs[j] != 0);
                complete = complete && offsetOutputs[j] != nullptr;
            }
            if (complete) {
                plugin.Process(offsetInputs, offsetOutputs, run);
            } else {
                for (float* channel : offsetOutputs) {
                    if (channel != nullptr) {
                        std::fill(channel, channel + run, 0.0f);
                    }
                }
            }
            count -= run;
            offset += run;
        }
    }

    IEffectComponent& plugin;
    float** inputs;
    float** outputs;
    int frames;
    int position = 0;
    float* offsetInputs[InputCount] = {};
    float* offsetOutputs[OutputCount] = {};
};
