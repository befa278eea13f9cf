#include "PluginHost.h"

#include <cstdio>

// What a host's plug-in scanner shows of a VST 2.4 effect: identity, flags, programs, and parameters
// with names, current display texts, labels, normalised values and, where the plug-in gives them,
// long names.

namespace {
/// The names of the effect flags that are set, comma separated: "editor, replacing".
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
} // namespace

void PluginHost::PrintListing() const
{
    std::printf("Effect:      %s\n", GetEffectName().c_str());
    std::printf("Vendor:      %s\n", GetVendorString().c_str());
    std::printf("Product:     %s\n", GetProductString().c_str());
    std::printf(
        "Unique id:   %s (0x%08X)\n", FourCharacterText(GetUniqueId()).c_str(), static_cast<unsigned>(GetUniqueId()));
    std::printf("Version:     %d (vendor version %d, VST %d)\n", GetVersion(), GetVendorVersion(), GetVstVersion());
    std::printf("Flags:       0x%X (%s)\n", static_cast<unsigned>(GetFlags()), FlagNames(GetFlags()).c_str());
    std::printf("Inputs:      %d\n", GetInputCount());
    std::printf("Outputs:     %d\n", GetOutputCount());
    std::printf("Programs:    %d (current: %d)\n", GetProgramCount(), GetProgram());
    for (VstInt32 i = 0; i < GetProgramCount(); ++i)
        std::printf("  %3d  %s\n", i, GetProgramName(i).c_str());
    std::printf("Parameters:  %d\n", GetParameterCount());
    for (VstInt32 i = 0; i < GetParameterCount(); ++i) {
        const std::string longName = GetParameterLongName(i);
        std::printf("  %3d  %-10s %-10s %-10s (%.6g)%s%s\n", i, GetParameterName(i).c_str(),
            GetParameterDisplay(i).c_str(), GetParameterLabel(i).c_str(), GetParameter(i), longName.empty() ? "" : "  ",
            longName.c_str());
    }
}
