#include "PluginListing.h"

#include <cstdio>

std::string FlagNames(VstInt32 flags)
{
    static const struct {
        VstInt32 flag;
        const char* name;
    } names[]
        = {{effFlagsHasEditor, "editor"}, {effFlagsHasClip, "clip"}, {effFlagsHasVu, "vu"}, {effFlagsCanMono, "mono"},
            {effFlagsCanReplacing, "replacing"}, {effFlagsProgramChunks, "program chunks"}, {effFlagsIsSynth, "synth"},
            {effFlagsNoSoundInStop, "no sound in stop"}, {effFlagsCanDoubleReplacing, "double replacing"}};
    std::string text;
    for (const auto& entry : names)
        if ((flags & entry.flag) != 0)
            text += (text.empty() ? "" : ", ") + std::string(entry.name);
    return text;
}

void PrintListing(const PluginHost& host)
{
    std::printf("Effect:      %s\n", host.GetEffectName().c_str());
    std::printf("Vendor:      %s\n", host.GetVendorString().c_str());
    std::printf("Product:     %s\n", host.GetProductString().c_str());
    std::printf("Unique id:   %s (0x%08X)\n", FourCharacterText(host.GetUniqueId()).c_str(),
        static_cast<unsigned>(host.GetUniqueId()));
    std::printf("Version:     %d (vendor version %d, VST %d)\n", host.GetVersion(), host.GetVendorVersion(),
        host.GetVstVersion());
    std::printf("Flags:       0x%X (%s)\n", static_cast<unsigned>(host.GetFlags()), FlagNames(host.GetFlags()).c_str());
    std::printf("Inputs:      %d\n", host.GetInputCount());
    std::printf("Outputs:     %d\n", host.GetOutputCount());
    std::printf("Programs:    %d (current: %d)\n", host.GetProgramCount(), host.GetProgram());
    for (VstInt32 i = 0; i < host.GetProgramCount(); ++i)
        std::printf("  %3d  %s\n", i, host.GetProgramName(i).c_str());
    std::printf("Parameters:  %d\n", host.GetParameterCount());
    for (VstInt32 i = 0; i < host.GetParameterCount(); ++i) {
        const std::string longName = host.GetParameterLongName(i);
        std::printf("  %3d  %-10s %-10s %-10s (%.6g)%s%s\n", i, host.GetParameterName(i).c_str(),
            host.GetParameterDisplay(i).c_str(), host.GetParameterLabel(i).c_str(), host.GetParameter(i),
            longName.empty() ? "" : "  ", longName.c_str());
    }
}

void PluginHost::PrintListing() const
{
    ::PrintListing(*this);
}
