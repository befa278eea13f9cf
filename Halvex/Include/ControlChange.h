#pragma once

#include "Assert.h"
#include "PluginBase.h"

#include <algorithm>
#include <cstdint>

// The parameter a MIDI control change moves, and the normalised value it
// moves it to; parameterId is NoParameter when the message moves none.
struct ControlChange {
    static constexpr int NoParameter = -1;

    int parameterId;
    float value;
};

// Takes one MIDI channel message the way every plug-in format does, on the
// audio thread between runs of a block. A control change (any channel)
// reaches every controllable of the plug-in (the modulation wheel) at once;
// when its controller is mapped to one of the first parameterCount
// parameters the answer names it, and the caller moves it along its own
// format's path. The value is the data byte read as a signed number over
// 127: a byte of 128 or more is reported and taken as 0, so no parameter
// leaves [0, 1]. Other messages change nothing and move no parameter.
inline ControlChange RouteControlChange(
    PluginBase& plugin, int parameterCount, std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    if ((status & 0xF0) != 0xB0) {
        return {ControlChange::NoParameter, 0.0f};
    }
    float value = static_cast<float>(static_cast<signed char>(data2)) * 0.007874016f;
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    value = std::min(std::max(value, 0.0f), 1.0f);
    const char controller = static_cast<char>(data1);
    plugin.SetController(controller, value);
    int parameterId = 0;
    if (plugin.GetMappedParameter(controller, &parameterId) && parameterId >= 0 && parameterId < parameterCount) {
        return {parameterId, value};
    }
    return {ControlChange::NoParameter, value};
}
