#pragma once

#include "AEffect.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

/// One instance of an effect plug-in as the tools drive it, whatever the plug-in's format: its
/// identity, programs and parameters (by index, values normalised from 0 to 1), and blocks of
/// stereo audio with MIDI events (VST 2.4 records, their deltaFrames relative to the block) and a
/// running transport. PluginHost is the VST 2.4 one, ClapInstance the CLAP one. Both count the
/// changes the plug-in makes to its own parameters here and pass them to the listener.
///
/// One thread drives an instance.
class EffectInstance {
public:
    virtual ~EffectInstance() = default;

    virtual std::string GetEffectName() const = 0;
    virtual std::string GetVendorString() const = 0;
    /// The plug-in's id as its format gives it: "'OmCh'", "com.tervane.ombrix-chorus".
    virtual std::string GetIdText() const = 0;
    virtual VstInt32 GetInputCount() const = 0;
    virtual VstInt32 GetOutputCount() const = 0;

    virtual VstInt32 GetProgramCount() const = 0;
    virtual std::string GetProgramName(VstInt32 program) const = 0;
    virtual void SetProgram(VstInt32 program) = 0;

    virtual VstInt32 GetParameterCount() const = 0;
    /// The short name where the format has one, else the name.
    virtual std::string GetParameterName(VstInt32 index) const = 0;
    /// The long name; empty where the plug-in gives none.
    virtual std::string GetParameterLongName(VstInt32 index) const = 0;
    virtual void SetParameter(VstInt32 index, float value) = 0;
    /// The plug-in reads `text` in its own text form ("12 ms") and sets the parameter; false when
    /// it refuses the text.
    virtual bool SetParameterText(VstInt32 index, const std::string& text) = 0;

    virtual void SetTempo(double beatsPerMinute) = 0;
    virtual void SetSampleRate(double sampleRate) = 0;
    /// The largest block Process will be given.
    virtual void SetBlockSize(VstInt32 blockSize) = 0;
    /// Starts processing, with the transport at sample 0.
    virtual void Resume() = 0;
    virtual void Suspend() = 0;
    /// One block of `frameCount` samples with `events` at their deltaFrames; advances the transport.
    virtual void Process(
        float** inputs, float** outputs, VstInt32 frameCount, const VstMidiEvent* events, int eventCount)
        = 0;

    /// Changes the plug-in makes to its own parameters (a controller, the editor): called with the
    /// parameter index and the normalised value.
    void SetAutomationListener(std::function<void(VstInt32 index, float value)> listener)
    {
        automationListener = std::move(listener);
    }
    /// The changes the plug-in reported, whether or not a listener took them.
    std::int64_t GetAutomationCount() const { return automationCount; }
    /// Samples processed since Resume.
    virtual double GetSamplePosition() const = 0;

    /// Prints what a host's plug-in scanner shows.
    virtual void PrintListing() const = 0;

protected:
    void CountAutomation() { ++automationCount; }
    bool HasAutomationListener() const { return static_cast<bool>(automationListener); }
    void NotifyAutomation(VstInt32 index, float value) const
    {
        if (automationListener)
            automationListener(index, value);
    }

private:
    std::int64_t automationCount = 0;
    std::function<void(VstInt32, float)> automationListener;
};
