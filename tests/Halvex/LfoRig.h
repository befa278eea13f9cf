#pragma once

#include "QuadLfo.h"

#include <vector>

// An oscillator with its five parameters at the plug-in's defaults.
struct LfoRig {
    SwitchParameter<DisplayOnOff> quadMode {"Quad", "Quad Mode", "On/Off", 1.0f};
    SwitchParameter<DisplayOnOff> modWheelMode {"MW", "Mod. Wheel", "On/Off", 0.0f};
    SwitchParameter<DisplayOnOff> syncMode {"Sync", "Sync Mode", "On/Off", 0.0f};
    EnumParameter syncResolution {"SyncRes", "Sync Resolution", "Res", 0.0f, SyncResolutionNames, SyncResolutionCount};
    Parameter<float, QuadLfoFrequencyTransform, DisplayFloat> frequency {"Freq", "Frequency", "Hz", 0.1f};
    QuadLfo lfo {&quadMode, &modWheelMode, &syncMode, &syncResolution, &frequency};

    // Processes count samples and returns output index.
    std::vector<float> Run(int count, int index)
    {
        lfo.Process(count);
        const float* output = lfo.GetOutput(index);
        return std::vector<float>(output, output + count);
    }
    // The angle step: the first sine sample from phase zero is exactly it.
    float Increment()
    {
        lfo.Reset();
        return Run(1, 1)[0];
    }
};
