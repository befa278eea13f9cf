#include "Parameters/ParameterBase.h"

#include "Assert.h"
#include "Halvex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int ShortNameSize = 8;
constexpr int LongNameSize = 64;
constexpr int LabelSize = 8;
constexpr int DisplaySize = 8;

// Keeps every stored value usable by transforms and index computations.
float ClampNormalised(float value)
{
    return std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
}

} // namespace

ParameterBase::ParameterBase(const char* shortName, const char* longName, const char* label, float defaultValue)
    : value(ClampNormalised(defaultValue))
    , defaultValue(ClampNormalised(defaultValue))
{
    HALVEX_ASSERT(shortName != 0);
    HALVEX_ASSERT(longName);
    HALVEX_ASSERT(label != 0);
    HALVEX_ASSERT(defaultValue >= 0.0f && defaultValue <= 1.0f);
    CopyString(this->shortName, shortName, ShortNameSize);
    CopyString(this->longName, longName, LongNameSize);
    CopyString(this->label, label, LabelSize);
}

void ParameterBase::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    if (std::isnan(value)) {
        return;
    }
    this->value.store(ClampNormalised(value), std::memory_order_relaxed);
    ValueChanged();
}

float ParameterBase::GetDefaultValue() const
{
    return defaultValue;
}

const char* ParameterBase::GetShortName() const
{
    return shortName;
}

const char* ParameterBase::GetLongName() const
{
    return longName;
}

const char* ParameterBase::GetLabel() const
{
    return label;
}

void ParameterBase::AddObserver(IParameterObserver* observer)
{
    observers.push_back(observer);
}

void ParameterBase::GetStatusText(char* text, int count) const
{
    if (text == nullptr || count <= 0) {
        return;
    }
    char display[DisplaySize];
    GetDisplay(display, DisplaySize);
    std::snprintf(text, static_cast<std::size_t>(count), "%s\n %s %s", longName, display, label);
}

void ParameterBase::ValueChanged() { }
