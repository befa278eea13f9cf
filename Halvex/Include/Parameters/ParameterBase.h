#pragma once

#include "Interfaces.h"
#include "Parameters/ParameterDescription.h"

#include <atomic>
#include <vector>

// One user-facing control value of a plug-in: a normalised value in [0, 1],
// its default, a short name for the host (at most 7 characters), a long name
// for the editor's status line (at most 63) and a unit label (at most 7).
// Derived classes turn the value into the working state the signal processing
// reads (a working value, an on/off state, an item index) and show it as text.
//
// SetValue may be called from any thread (host automation, the editor, MIDI
// controllers inside audio processing). The value and every derived state are
// relaxed atomics, read by the audio thread without locks. Observers run
// synchronously on the setting thread, after the derived state is up to date.
// Names and observers are fixed while the owning plug-in is constructed; only
// AddObserver allocates.
class ParameterBase {
public:
    ParameterBase(const char* shortName, const char* longName, const char* label, float defaultValue);
    virtual ~ParameterBase() = default;

    // The text of the derived state in working units, cut to count - 1
    // characters and terminated.
    virtual void GetDisplay(char* text, int count) const = 0;

    float GetValue() const { return value.load(std::memory_order_relaxed); }
    // Stores value and runs ValueChanged, also when the value is unchanged. A
    // value outside [0, 1] is reported and clamped into it; NaN is reported
    // and ignored, so the previous value stays.
    void SetValue(float value);
    float GetDefaultValue() const;

    const char* GetShortName() const;
    const char* GetLongName() const;
    const char* GetLabel() const;

    // Appends a non-owned observer; one added twice is notified twice.
    void AddObserver(IParameterObserver* observer);

    // "<long name>\n <display> <label>", cut to count - 1 characters and
    // terminated; the display part is at most 7 characters.
    void GetStatusText(char* text, int count) const;

protected:
    // Runs after every SetValue: brings the derived state up to date, then
    // notifies. Does nothing here.
    virtual void ValueChanged();
    // Calls every observer in the order they were added.
    void NotifyObservers()
    {
        for (IParameterObserver* observer : observers) {
            observer->ParameterChanged();
        }
    }

private:
    std::atomic<float> value;
    float defaultValue;
    char shortName[8];
    char longName[64];
    char label[8];
    std::vector<IParameterObserver*> observers;
};
