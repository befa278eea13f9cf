#pragma once

#include "Parameters/ParameterBase.h"

#include <atomic>

// A parameter that selects one of itemCount named items: the index is
// Round(value x (itemCount - 1)), so 0 selects the first item and 1 the last.
// The item names are a static table of the using component (not owned).
// Observers hear only real changes of the index. The index is a relaxed
// atomic read by the audio thread while any thread sets the parameter; it
// always lies within the table, also after a reported bad argument.
class EnumParameter : public ParameterBase {
public:
    EnumParameter(const char* shortName, const char* longName, const char* label, float defaultValue,
        const char* const* itemNames, int itemCount);

    int GetSelectedIndex() const;

    // The selected item's name; empty when there is no item table.
    void GetDisplay(char* text, int count) const override;

protected:
    void ValueChanged() override;

private:
    int IndexOf(float normalised) const;

    const char* const* itemNames;
    int itemCount;
    std::atomic<int> selectedIndex;
};
