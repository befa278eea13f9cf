#include "Parameters/Displays.h"

#include "Assert.h"
#include "Halvex.h"

#include <cstdio>

namespace {

// Reports a bad buffer; true when there is room to write into.
bool CanWrite(const char* text, int count)
{
    HALVEX_ASSERT(text != 0);
    HALVEX_ASSERT(count >= 0);
    return text != nullptr && count > 0;
}

} // namespace

void DisplayFloat::Format(char* text, int count, float value)
{
    if (CanWrite(text, count)) {
        std::snprintf(text, static_cast<std::size_t>(count), "%.3f", static_cast<double>(value));
    }
}

void DisplayFloatToInteger::Format(char* text, int count, float value)
{
    if (CanWrite(text, count)) {
        const float percent = value * 100.0f;
        std::snprintf(text, static_cast<std::size_t>(count), "%d", Round(percent));
    }
}

void DisplayOnOff::Format(char* text, int count, bool value)
{
    if (CanWrite(text, count)) {
        CopyString(text, value ? "On" : "Off", count);
    }
}
