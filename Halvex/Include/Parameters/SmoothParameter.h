#pragma once

#include "Parameters/ParameterBase.h"
#include "Parameters/SmoothRamp.h"

// The identity transform for smoothed parameters whose working value is the
// normalised value itself (depth, mix).
struct DoNothingSmoothTransform {
    static float Apply(float value) { return value; }
};

// A parameter that is also a signal source: when its value changes, output 0
// glides toward the new working value Transform::Apply(value) instead of
// jumping (see SmoothRamp, which also holds the ramp's threading rules).
// SetValue may come from any thread.
template <typename Transform, typename Display>
class SmoothParameter : public ParameterBase, public SmoothRamp {
public:
    // Settled at the transformed default, at DefaultSampleRate.
    SmoothParameter(const char* shortName, const char* longName, const char* label, float defaultValue)
        : ParameterBase(shortName, longName, label, defaultValue)
        , SmoothRamp(Transform::Apply(GetValue()))
    {
    }
    // Names and default from the product's description.
    explicit SmoothParameter(const ParameterDescription& description)
        : SmoothParameter(description.names.shortName, description.names.longName, description.names.vstLabel,
            description.defaultValue)
    {
    }

    // Shows where the value is going, not the sample in flight.
    void GetDisplay(char* text, int count) const override { Display::Format(text, count, GetTarget()); }

protected:
    // Restarts the ramp from wherever it is, toward the new target.
    void ValueChanged() override
    {
        RampTo(Transform::Apply(GetValue()));
        NotifyObservers();
    }
};
