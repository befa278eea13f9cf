#pragma once

#include "Chorus.h"

#include <algorithm>

// A modulation source whose two outputs the test writes directly.
class StubModulation : public ISynthComponent {
public:
    void Reset() override { }
    float GetSampleRate() override { return DefaultSampleRate; }
    void SetSampleRate(float) override { }
    void Process(int) override { }
    int GetOutputCount() override { return 2; }
    float* GetOutput(int index) override { return index == 0 ? left : right; }

    void Fill(float leftValue, float rightValue)
    {
        std::fill(left, left + BufferSize, leftValue);
        std::fill(right, right + BufferSize, rightValue);
    }

    float left[BufferSize] = {};
    float right[BufferSize] = {};
};

// A chorus with the parameters the plug-in gives it, settled at delay
// 0.025 s, depth 0 and mix 1, and a stub as its modulation source.
struct ChorusRig {
    explicit ChorusRig(float feedbackValue = 0.0f)
        : feedback("FB", "Feedback", "Level", feedbackValue)
    {
    }

    SwitchParameter<DisplayOnOff> enabled {"On", "Chorus On/Off", "On/Off", 1.0f};
    SmoothParameter<ChorusDelayTimeTransform, DisplayFloat> delayTime {"D Time", "Delay Time", "Secs", 1.0f};
    SmoothParameter<DoNothingSmoothTransform, DisplayFloat> depth {"Depth", "Mod. Depth", "Level", 0.0f};
    Parameter<float, FeedbackTransform, DisplayFloat> feedback;
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger> mix {"Mix", "Mix", "Dry/Wet", 1.0f};
    StubModulation modulation;
    Chorus chorus {&enabled, &delayTime, &depth, &feedback, &mix, &modulation};
};
