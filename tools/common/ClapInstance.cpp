#include "ClapInstance.h"

#include <algorithm>
#include <cstdio>

bool ClapInstance::Open(const ClapLibrary& library, std::string& error)
{
    if (!host.Open(library, "", error))
        return false;
    host.SetOutputListener([this](const ClapOutputEvent& event) {
        if (event.type != CLAP_EVENT_PARAM_VALUE)
            return;
        CountAutomation();
        if (!HasAutomationListener())
            return;
        for (VstInt32 index = 0; index < GetParameterCount(); ++index) {
            clap_param_info_t info {};
            if (Info(index, info) && info.id == event.paramId && info.max_value > info.min_value)
                NotifyAutomation(
                    index, static_cast<float>((event.value - info.min_value) / (info.max_value - info.min_value)));
        }
    });
    return true;
}

std::string ClapInstance::GetEffectName() const
{
    return host.GetDescriptor().name;
}

std::string ClapInstance::GetVendorString() const
{
    const char* vendor = host.GetDescriptor().vendor;
    return vendor != nullptr ? vendor : "";
}

std::string ClapInstance::GetIdText() const
{
    return host.GetDescriptor().id;
}

// The channels of the main port (index 0).
VstInt32 ClapInstance::ChannelCount(bool isInput) const
{
    clap_audio_port_info_t port {};
    return host.GetAudioPortCount(isInput) > 0 && host.GetAudioPort(0, isInput, port)
        ? static_cast<VstInt32>(port.channel_count)
        : 0;
}

VstInt32 ClapInstance::GetInputCount() const
{
    return ChannelCount(true);
}

VstInt32 ClapInstance::GetOutputCount() const
{
    return ChannelCount(false);
}

bool ClapInstance::ReadPrograms(std::vector<std::uint8_t>& state, StateHeader& header) const
{
    return host.SaveState(state) && ReadStateHeader(state.data(), state.size(), header);
}

VstInt32 ClapInstance::GetProgramCount() const
{
    std::vector<std::uint8_t> state;
    StateHeader header {};
    return ReadPrograms(state, header) ? header.programCount : 0;
}

std::string ClapInstance::GetProgramName(VstInt32 program) const
{
    std::vector<std::uint8_t> state;
    StateHeader header {};
    if (!ReadPrograms(state, header))
        return std::string();
    char name[ProgramNameSize + 1] = {};
    ReadStateProgramName(state.data(), header, program, name, sizeof name);
    return name;
}

// The plug-in applies the program as it does any loaded state.
void ClapInstance::SetProgram(VstInt32 program)
{
    std::vector<std::uint8_t> state;
    StateHeader header {};
    if (!ReadPrograms(state, header))
        return;
    SetStateCurrentProgram(state.data(), state.size(), program);
    host.LoadState(state);
}

VstInt32 ClapInstance::GetParameterCount() const
{
    return static_cast<VstInt32>(host.GetParameterCount());
}

bool ClapInstance::Info(VstInt32 index, clap_param_info_t& info) const
{
    return index >= 0 && host.GetParameterInfo(static_cast<std::uint32_t>(index), info);
}

std::string ClapInstance::GetParameterName(VstInt32 index) const
{
    clap_param_info_t info {};
    return Info(index, info) ? info.name : "";
}

std::string ClapInstance::GetParameterLongName(VstInt32 index) const
{
    return GetParameterName(index);
}

void ClapInstance::SetPlainValue(const clap_param_info_t& info, double value)
{
    host.AddParameterValue(0, info.id, value);
    if (!host.IsActive())
        host.Flush();
}

void ClapInstance::SetParameter(VstInt32 index, float value)
{
    clap_param_info_t info {};
    if (Info(index, info))
        SetPlainValue(info, info.min_value + static_cast<double>(value) * (info.max_value - info.min_value));
}

bool ClapInstance::SetParameterText(VstInt32 index, const std::string& text)
{
    clap_param_info_t info {};
    double value = 0.0;
    if (!Info(index, info) || !host.TextToValue(info.id, text, value))
        return false;
    SetPlainValue(info, value);
    return true;
}

void ClapInstance::Resume()
{
    samplePosition = 0;
    host.SetTransport(tempo, 0.0);
    host.Activate(sampleRate, 1, static_cast<std::uint32_t>(std::max<VstInt32>(blockSize, 1)));
    host.StartProcessing();
}

void ClapInstance::Suspend()
{
    host.Deactivate();
}

void ClapInstance::Process(
    float** inputs, float** outputs, VstInt32 frameCount, const VstMidiEvent* events, int eventCount)
{
    for (int i = 0; i < eventCount; ++i) {
        const VstMidiEvent& event = events[i];
        host.AddMidi(static_cast<std::uint32_t>(std::max<VstInt32>(event.deltaFrames, 0)),
            static_cast<std::uint8_t>(event.midiData[0]), static_cast<std::uint8_t>(event.midiData[1]),
            static_cast<std::uint8_t>(event.midiData[2]));
    }
    // The plug-in's own changes reached the automation listener as they were pushed; the host's
    // copies are let go, so that a long render neither keeps them all nor grows their list.
    host.ClearOutputEvents();
    host.Process(inputs, outputs, static_cast<std::uint32_t>(frameCount));
    samplePosition += frameCount;
}

void ClapInstance::PrintListing() const
{
    const clap_plugin_descriptor_t& descriptor = host.GetDescriptor();
    std::printf("Plug-in:     %s (CLAP)\n", descriptor.name);
    std::printf("Vendor:      %s\n", GetVendorString().c_str());
    std::printf("Id:          %s\n", descriptor.id);
    std::printf("Version:     %s\n", descriptor.version != nullptr ? descriptor.version : "");
    std::string features;
    for (const char* const* feature = descriptor.features; feature != nullptr && *feature != nullptr; ++feature)
        features += (features.empty() ? "" : ", ") + std::string(*feature);
    std::printf("Features:    %s\n", features.c_str());
    std::printf("Inputs:      %d\n", GetInputCount());
    std::printf("Outputs:     %d\n", GetOutputCount());
    std::printf("MIDI inputs: %u\n", host.GetNotePortCount(true));
    std::printf("Latency:     %u samples\n", host.GetLatency());
    const VstInt32 programCount = GetProgramCount();
    std::printf("Programs:    %d (in the plug-in's state)\n", programCount);
    for (VstInt32 i = 0; i < programCount; ++i)
        std::printf("  %3d  %s\n", i, GetProgramName(i).c_str());
    std::printf("Parameters:  %d\n", GetParameterCount());
    for (VstInt32 i = 0; i < GetParameterCount(); ++i) {
        clap_param_info_t info {};
        double value = 0.0;
        std::string text;
        if (!Info(i, info) || !host.GetParameterValue(info.id, value))
            continue;
        host.ValueToText(info.id, value, text);
        std::printf("  %3d  %-16s %-10s (%.6g of %g to %g)%s\n", i, info.name, text.c_str(), value, info.min_value,
            info.max_value, (info.flags & CLAP_PARAM_IS_STEPPED) != 0 ? " stepped" : "");
    }
}
