#include "Halvex.h"

#include "Assert.h"

#include <cmath>
#include <cstdio>
#include <cstring>

int Round(float x)
{
    int magnitude = static_cast<int>(std::fabs(x) + 0.5f);
    return x < 0.0f ? -magnitude : magnitude;
}

void ToDecibelText(float value, char* text, int count)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    HALVEX_ASSERT(text != 0);
    if (text == nullptr || count <= 0) {
        return;
    }
    if (value == 0.0f) {
        CopyString(text, "-oo", count);
        return;
    }
    std::snprintf(text, static_cast<size_t>(count), "%.3f", 20.0 * std::log10(static_cast<double>(value)));
}

void ToOnOffText(bool on, char* text, int count)
{
    if (count <= 0) {
        return;
    }
    CopyString(text, on ? "On" : "Off", count);
}

double ToSamplesPerBeat(double tempo, float sampleRate)
{
    HALVEX_ASSERT(tempo >= 0.0f);
    HALVEX_ASSERT(sampleRate > 0.0f);
    if (tempo > 0.0) {
        return sampleRate / tempo * 60.0;
    }
    return 0.0;
}

double ToBeatsPerSecond(double tempo)
{
    HALVEX_ASSERT(tempo >= 0.0);
    return tempo * 0.016666666666666666;
}

bool ToBool(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    return value >= 0.5f;
}

void CopyString(char* destination, const char* source, int count)
{
    HALVEX_ASSERT(destination != 0);
    HALVEX_ASSERT(source != 0);
    if (destination == nullptr || count <= 0) {
        return;
    }
    int index = 0;
    if (source != nullptr) {
        for (; index < count && source[index] != 0; ++index) {
            destination[index] = source[index];
        }
    }
    for (; index < count; ++index) {
        destination[index] = 0;
    }
    destination[count - 1] = 0;
}
