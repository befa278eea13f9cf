#pragma once

#include "ClapHost.h"
#include "EffectInstance.h"
#include "PluginState.h"

#include <string>
#include <vector>

/// A CLAP plug-in as the tools drive an effect (EffectInstance), through a ClapHost: parameters
/// by index in the plug-in's order, a normalised value being the parameter's range from its
/// minimum (0) to its maximum (1); values set while inactive reach the plug-in through
/// params.flush, later ones as events at the start of the next block; MIDI events through the
/// note port at their sample positions; the transport with every block.
///
/// CLAP has no programs of its own. The toolkit's plug-ins keep theirs in their state
/// (PluginState): the programs listed and chosen here are those, read from and written to the
/// plug-in's state; a plug-in whose state is not of that form has none.
class ClapInstance : public EffectInstance {
public:
    /// Creates the library's first plug-in; on failure answers false with the reason.
    bool Open(const ClapLibrary& library, std::string& error);

    std::string GetEffectName() const override;
    std::string GetVendorString() const override;
    std::string GetIdText() const override;
    VstInt32 GetInputCount() const override;
    VstInt32 GetOutputCount() const override;

    VstInt32 GetProgramCount() const override;
    std::string GetProgramName(VstInt32 program) const override;
    void SetProgram(VstInt32 program) override;

    VstInt32 GetParameterCount() const override;
    std::string GetParameterName(VstInt32 index) const override;
    std::string GetParameterLongName(VstInt32 index) const override;
    void SetParameter(VstInt32 index, float value) override;
    bool SetParameterText(VstInt32 index, const std::string& text) override;

    void SetTempo(double beatsPerMinute) override { tempo = beatsPerMinute; }
    void SetSampleRate(double rate) override { sampleRate = rate; }
    void SetBlockSize(VstInt32 size) override { blockSize = size; }
    void Resume() override;
    void Suspend() override;
    void Process(
        float** inputs, float** outputs, VstInt32 frameCount, const VstMidiEvent* events, int eventCount) override;

    double GetSamplePosition() const override { return static_cast<double>(samplePosition); }

    void PrintListing() const override;

private:
    VstInt32 ChannelCount(bool isInput) const;
    bool Info(VstInt32 index, clap_param_info_t& info) const;
    /// Sets a parameter to a plain value: at once while inactive, else at the next block.
    void SetPlainValue(const clap_param_info_t& info, double value);
    /// The plug-in's state and its header, when it is the toolkit's form.
    bool ReadPrograms(std::vector<std::uint8_t>& state, StateHeader& header) const;

    mutable ClapHost host;
    double tempo = 120.0;
    double sampleRate = 44100.0;
    VstInt32 blockSize = 512;
    std::int64_t samplePosition = 0;
};
