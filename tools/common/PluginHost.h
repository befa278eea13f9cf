#pragma once

#include "AEffect.h"
#include "EffectInstance.h"
#include "PluginLibrary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// A unique id as the four characters it packs, quoted, with '?' for unprintable bytes: "'OmCh'".
std::string FourCharacterText(VstInt32 id);

/// The folder of the running program, with its trailing separator, where the tools look for the
/// plug-in by default; empty when it cannot be found.
std::string ExecutableFolder();

/// A minimal VST 2.4 host for one effect instance created from a shared library.
///
/// Creates the effect through the library's `VSTPluginMain` with this host's callback, either
/// from a PluginLibrary that several hosts share or from a library of its own, checks the effect
/// record and then drives the instance through thin dispatcher wrappers: identity, programs,
/// parameters, chunks, and block processing with MIDI events and a running transport
/// (`samplePos` and `ppqPos` advance with every processed block at the set tempo).
///
/// The host answers audioMasterVersion with 2400 and audioMasterGetTime with its own
/// `VstTimeInfo`; audioMasterAutomate calls are counted and passed to the automation listener,
/// and the edit gestures around them to an optional listener of their own.
/// One thread drives an instance; the plug-in's callbacks are expected on that thread. Hosts of
/// different instances may run on different threads at once: each callback finds its own host.
class PluginHost : public EffectInstance {
public:
    PluginHost();
    ~PluginHost() override;
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    /// Loads the library at `path` for this host alone, creates the effect and sends effOpen. On
    /// failure answers false with a one-line reason in `error` and leaves nothing loaded.
    bool Load(const std::string& path, std::string& error);
    /// Creates an effect from `library`, which must stay loaded until Unload, and sends effOpen.
    /// On failure answers false with a one-line reason in `error`.
    bool Open(const PluginLibrary& library, std::string& error);
    /// Suspends the effect if it runs, sends effClose and unloads the library if it is this host's own.
    void Unload();
    bool IsLoaded() const { return effect != nullptr; }

    AEffect* GetEffect() const { return effect; }
    VstIntPtr Dispatch(
        VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) const;

    std::string GetEffectName() const override;
    std::string GetVendorString() const override;
    std::string GetProductString() const;
    VstInt32 GetVendorVersion() const;
    VstInt32 GetVstVersion() const;
    VstInt32 GetUniqueId() const { return effect->uniqueID; }
    /// The unique id as its four characters: "'OmCh'".
    std::string GetIdText() const override;
    VstInt32 GetVersion() const { return effect->version; }
    VstInt32 GetFlags() const { return effect->flags; }
    VstInt32 GetInputCount() const override { return effect->numInputs; }
    VstInt32 GetOutputCount() const override { return effect->numOutputs; }
    bool HasProgramChunks() const;

    VstInt32 GetProgramCount() const override { return effect->numPrograms; }
    VstInt32 GetProgram() const;
    void SetProgram(VstInt32 program) override;
    /// The name of any program, through effGetProgramNameIndexed.
    std::string GetProgramName(VstInt32 program) const override;
    /// The current program's name.
    std::string GetCurrentProgramName() const;
    void SetCurrentProgramName(const std::string& name);

    VstInt32 GetParameterCount() const override { return effect->numParams; }
    std::string GetParameterName(VstInt32 index) const override;
    std::string GetParameterLabel(VstInt32 index) const;
    std::string GetParameterDisplay(VstInt32 index) const;
    float GetParameter(VstInt32 index) const;
    void SetParameter(VstInt32 index, float value) override;
    /// effGetParameterProperties; false, with `properties` cleared, when the plug-in gives none.
    bool GetParameterProperties(VstInt32 index, VstParameterProperties& properties) const;
    /// The long name from the parameter's properties; empty when the plug-in gives none.
    std::string GetParameterLongName(VstInt32 index) const override;
    /// effString2Parameter: the plug-in reads `text` in its own text form ("12 ms") and sets the
    /// parameter; false when it refuses the text or takes no texts.
    bool SetParameterText(VstInt32 index, const std::string& text) override;

    /// A copy of the chunk the plug-in hands out: the current program (isPreset) or the bank.
    std::vector<char> GetChunk(bool isPreset) const;
    /// Hands a copy of `chunk` to the plug-in; answers what effSetChunk answers, as a bool.
    bool SetChunk(const std::vector<char>& chunk, bool isPreset);

    void SetSampleRate(double sampleRate) override;
    /// The largest block Process will be given.
    void SetBlockSize(VstInt32 blockSize) override;
    void SetTempo(double beatsPerMinute) override;
    /// effMainsChanged 1; rewinds the transport to sample 0.
    void Resume() override;
    /// effMainsChanged 0.
    void Suspend() override;

    /// Sends effProcessEvents with `events` (their deltaFrames relative to this block), then
    /// processReplacing for `frameCount` samples, then advances the transport.
    void Process(
        float** inputs, float** outputs, VstInt32 frameCount, const VstMidiEvent* events, int eventCount) override;

    /// Called for every audioMasterBeginEdit and audioMasterEndEdit with the opcode and the
    /// parameter index: the edit gestures a host builds touch automation and undo steps from.
    void SetGestureListener(std::function<void(VstInt32 opcode, VstInt32 index)> listener);
    /// With a listener the host can size the editor's window: it answers canDo "sizeWindow" with
    /// 1 and passes every audioMasterSizeWindow (width, height) on; the listener answers whether
    /// the window took the size. Without one the host answers both with 0.
    void SetResizeListener(std::function<bool(int width, int height)> listener);
    double GetSamplePosition() const override { return timeInfo.samplePos; }
    void PrintListing() const override;

private:
    static VstIntPtr HostCallback(
        AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    static PluginHost* FindHost(const AEffect* effect);
    VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    std::string QueryText(VstInt32 opcode, VstInt32 index) const;
    void UpdateTimeInfo();

    std::unique_ptr<PluginLibrary> ownLibrary;
    AEffect* effect = nullptr;
    bool resumed = false;
    VstInt32 blockSize = 512;
    /// The transport, and the host's sample rate and tempo with it.
    VstTimeInfo timeInfo {};
    std::vector<VstMidiEvent> eventCopies;
    std::vector<VstEvent*> eventListStorage;
    std::function<void(VstInt32, VstInt32)> gestureListener;
    std::function<bool(int, int)> resizeListener;
};
