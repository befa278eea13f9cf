#pragma once

#include "Halvex.h"
#include "Parameters/ParameterBase.h"

#include <atomic>

// An on/off parameter: on exactly when the normalised value is 0.5 or more.
// Observers hear only real changes of the state, so a value moving within
// one half notifies nobody. The state is a relaxed atomic read by the audio
// thread while any thread sets the parameter.
template <typename Display>
class SwitchParameter : public ParameterBase {
public:
    SwitchParameter(const char* shortName, const char* longName, const char* label, float defaultValue)
        : ParameterBase(shortName, longName, label, defaultValue)
        , on(ToBool(GetValue()))
    {
    }
    // Names and default from the product's description.
    explicit SwitchParameter(const ParameterDescription& description)
        : SwitchParameter(description.names.shortName, description.names.longName, description.names.vstLabel,
            description.defaultValue)
    {
    }

    bool IsOn() const { return on.load(std::memory_order_relaxed); }

    void GetDisplay(char* text, int count) const override { Display::Format(text, count, IsOn()); }

protected:
    void ValueChanged() override
    {
        const bool nowOn = ToBool(GetValue());
        // The exchange lets only one of two racing setters see the change.
        if (on.exchange(nowOn, std::memory_order_relaxed) != nowOn) {
            NotifyObservers();
        }
    }

private:
    std::atomic<bool> on;
};
