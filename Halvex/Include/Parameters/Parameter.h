#pragma once

#include "Parameters/ParameterBase.h"

#include <atomic>

// A parameter whose working value (seconds, hertz, a gain) is
// Transform::Apply of the normalised value; the display shows the working
// value through Display::Format. T is the working value's type. The working
// value is a relaxed atomic: the audio thread reads it while any thread sets
// the parameter.
template <typename T, typename Transform, typename Display>
class Parameter : public ParameterBase {
public:
    Parameter(const char* shortName, const char* longName, const char* label, float defaultValue)
        : ParameterBase(shortName, longName, label, defaultValue)
        , transformedValue(static_cast<T>(Transform::Apply(GetValue())))
    {
    }
    // Names and default from the product's description.
    explicit Parameter(const ParameterDescription& description)
        : Parameter(description.names.shortName, description.names.longName, description.names.vstLabel,
            description.defaultValue)
    {
    }

    T GetTransformedValue() const { return transformedValue.load(std::memory_order_relaxed); }

    void GetDisplay(char* text, int count) const override { Display::Format(text, count, GetTransformedValue()); }

protected:
    // Notifies on every SetValue, also when the working value is unchanged.
    void ValueChanged() override
    {
        transformedValue.store(static_cast<T>(Transform::Apply(GetValue())), std::memory_order_relaxed);
        NotifyObservers();
    }

private:
    std::atomic<T> transformedValue;
};
