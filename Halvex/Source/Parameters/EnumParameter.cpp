#include "Parameters/EnumParameter.h"

#include "Assert.h"
#include "Halvex.h"

EnumParameter::EnumParameter(const char* shortName, const char* longName, const char* label, float defaultValue,
    const char* const* itemNames, int itemCount)
    : ParameterBase(shortName, longName, label, defaultValue)
    , itemNames(itemNames)
    , itemCount(itemCount)
{
    HALVEX_ASSERT(itemNames != 0);
    HALVEX_ASSERT(itemCount > 0);
    selectedIndex.store(IndexOf(GetValue()), std::memory_order_relaxed);
}

int EnumParameter::GetSelectedIndex() const
{
    return selectedIndex.load(std::memory_order_relaxed);
}

void EnumParameter::GetDisplay(char* text, int count) const
{
    const bool hasItems = itemNames != nullptr && itemCount > 0;
    CopyString(text, hasItems ? itemNames[GetSelectedIndex()] : "", count);
}

void EnumParameter::ValueChanged()
{
    const int index = IndexOf(GetValue());
    // The exchange lets only one of two racing setters see the change.
    if (selectedIndex.exchange(index, std::memory_order_relaxed) != index) {
        NotifyObservers();
    }
}

// The stored value lies in [0, 1], so the index lies in [0, itemCount - 1];
// a table reported as empty keeps index 0.
int EnumParameter::IndexOf(float normalised) const
{
    if (itemCount <= 1) {
        return 0;
    }
    const float position = normalised * static_cast<float>(itemCount - 1);
    return Round(position);
}
