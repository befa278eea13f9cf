#pragma once

#include "ProductDescription.h"

#include <cstdint>

// Where each port of a product's LV2 plug-in lies, by index: the audio
// inputs, the audio outputs, the MIDI input (an atom sequence; at most one),
// one control input per host parameter in id order, then one control output
// per host parameter that shows the value the sound uses. The bundle's
// Turtle, the plug-in and its UI all number ports from this one layout. Plain
// constant data, for any thread.
struct Lv2PortLayout {
    int audioInputs;
    int audioOutputs;
    int midiInputs; // 0 or 1
    int parameters;

    constexpr std::uint32_t AudioInput(int channel) const { return Index(channel); }
    constexpr std::uint32_t AudioOutput(int channel) const { return Index(audioInputs + channel); }
    constexpr std::uint32_t MidiInput() const { return Index(audioInputs + audioOutputs); }
    constexpr std::uint32_t ControlInput(int parameterId) const
    {
        return MidiInput() + Index(midiInputs + parameterId);
    }
    constexpr std::uint32_t ControlOutput(int parameterId) const { return ControlInput(parameters + parameterId); }
    constexpr std::uint32_t PortCount() const { return ControlOutput(parameters); }

    constexpr bool IsMidiInput(std::uint32_t port) const { return midiInputs > 0 && port == MidiInput(); }
    // The parameter id of a control input or output port, or -1.
    constexpr int InputParameter(std::uint32_t port) const
    {
        return port >= ControlInput(0) && port < ControlOutput(0) ? static_cast<int>(port - ControlInput(0)) : -1;
    }
    constexpr int OutputParameter(std::uint32_t port) const
    {
        return port >= ControlOutput(0) && port < PortCount() ? static_cast<int>(port - ControlOutput(0)) : -1;
    }

private:
    static constexpr std::uint32_t Index(int position) { return static_cast<std::uint32_t>(position); }
};

// The value, in the parameter's units, that a host should hold in the control
// port for the normalised value: of the 32-bit floats near the plain value,
// the one that the plug-in reads back as the normalised value, or as near to
// it as any float comes (when units are coarser than the normalised value,
// as near a quadratic scale's minimum, none reads back exactly).
float Lv2PortValue(const ParameterDescription& parameter, float normalised);

// The UI's URI is the plug-in's with this fragment.
inline constexpr const char* Lv2UiUriFragment = "#ui";

template <int ParameterCount, int ProgramCount>
constexpr Lv2PortLayout MakeLv2PortLayout(const ProductDescription<ParameterCount, ProgramCount>& description)
{
    return {description.ports.audioInputs, description.ports.audioOutputs, description.ports.midiInputs > 0 ? 1 : 0,
        ParameterCount};
}
