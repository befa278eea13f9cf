#pragma once

#include "AudioEffectX.h"
#include "Assert.h"
#include "Halvex.h"
#include "IControlObserver.h"
#include "MidiEventQueue.h"
#include "ProgramBank.h"
#include "SubnormalsAsZero.h"
#include "GUI/Editor.h"
#include "Parameters/ParameterBase.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <iterator>

// Publishes a toolkit plug-in (a PluginBase descendant, held by value) to a
// VST 2.4 host. The first ParameterCount parameters of the plug-in are the
// host parameters; ProgramCount programs of their normalised values live in
// a bank whose bytes are also the chunk format the host stores. Every value
// reaches the plug-in through one path that keeps the current program, the
// plug-in parameter and the host in step: host parameters and programs,
// editor gestures (IControlObserver) and mapped MIDI controllers.
//
// Threads: the host calls the dispatcher and parameter operations from its
// own threads, processEvents and processReplacing from its audio thread, and
// the editor's observer operations arrive on the window thread. Nothing here
// takes a lock: program values are relaxed atomic words (ProgramBank) and the
// plug-in's parameters are atomic too, so a program change that runs while
// audio is processed may be seen half applied for one block. A program,
// chunk or sample-rate change sets the parameters at once (getParameter,
// displays and the bank show it on return) and asks the plug-in for a reset
// of its signal state, which the audio thread carries out before its next
// block (PluginBase::RequestReset, where the threads' ownership is laid out).
//
// IsSynth (0 or 1) chooses the category and the synth flag; UsesChunks (0 or
// 1) whether programs are exchanged as chunks. The plug-in class publishes
// its product description as the static member Description; the host's
// parameter properties and typed parameter texts come from it.
template <int ProgramCount, int ParameterCount, int IsSynth, int InputCount, int OutputCount, int UsesChunks,
    int Version, VstInt32 UniqueId, class Plugin>
class CustomAudioEffect : public AudioEffectX, public IControlObserver {
public:
    using Bank = ProgramBank<ProgramCount, ParameterCount>;
    static constexpr int BankSize = Bank::BankSize;
    static constexpr int ProgramSize = Bank::ProgramSize;
    static constexpr int StatusTextSize = 512;
    // Room for the events of a busy block before the queue has to grow.
    static constexpr int ReservedMidiEvents = 1024;

    CustomAudioEffect(
        audioMasterCallback audioMaster, const char* effectName, const char* vendorName, const char* productName)
        : AudioEffectX(audioMaster, ProgramCount, ParameterCount)
        , midiEvents(ReservedMidiEvents)
    {
        HALVEX_ASSERT(plugin.GetParameterCount() >= ParameterCount);
        setNumInputs(InputCount);
        setNumOutputs(OutputCount);
        setUniqueID(UniqueId);
        canProcessReplacing(true);
        programsAreChunks(UsesChunks != 0);
        isSynth(IsSynth != 0);

        bank.SetIdentity(effectName, vendorName, productName, Version);
        for (int program = 0; program < ProgramCount; ++program) {
            bank.SetProgramIdentity(program, effectName, vendorName, productName, Version);
            for (int index = 0; index < ParameterCount; ++index) {
                ParameterBase* parameter = GetPluginParameter(index);
                bank.SetValue(program, index, parameter != nullptr ? parameter->GetValue() : 0.0f);
            }
            bank.SetProgramName(program, "Blank");
        }

        linkedEditor = plugin.CreateEditor(this, this);
        setEditor(linkedEditor);
    }

    static_assert(std::size(Plugin::Description.parameters) >= ParameterCount,
        "the plug-in's description covers every host parameter");

    // The editor goes first, while the adapter it reports to is whole: a
    // gesture still in progress ends with the host told.
    ~CustomAudioEffect() override
    {
        if (linkedEditor != nullptr) {
            linkedEditor->close();
        }
    }

    Plugin& GetPlugin() { return plugin; }

    // --- Parameters ---------------------------------------------------------

    float getParameter(VstInt32 index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (!IsParameterIndex(index)) {
            return 0.0f;
        }
        return bank.GetValue(CurrentProgram(), index);
    }

    // Out-of-range values are reported, then clamped; NaN is reported and ignored.
    void setParameter(VstInt32 index, float value) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        ChangeAndStore(index, value);
        if (linkedEditor != nullptr) {
            linkedEditor->RefreshControl(index);
        }
    }

    // Only tells the host: every caller has already changed the parameter.
    void setParameterAutomated(VstInt32 index, float value) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        callHost(audioMasterAutomate, index, 0, nullptr, Clamp(value));
    }

    void getParameterName(VstInt32 index, char* name) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(name != 0);
        if (ParameterBase* parameter = HostParameter(index); parameter != nullptr && name != nullptr) {
            CopyString(name, parameter->GetShortName(), kVstParameterTextSize);
        }
    }

    void getParameterLabel(VstInt32 index, char* label) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(label != 0);
        if (ParameterBase* parameter = HostParameter(index); parameter != nullptr && label != nullptr) {
            CopyString(label, parameter->GetLabel(), kVstParameterTextSize);
        }
    }

    void getParameterDisplay(VstInt32 index, char* display) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(display != 0);
        if (ParameterBase* parameter = HostParameter(index); parameter != nullptr && display != nullptr) {
            parameter->GetDisplay(display, kVstParameterTextSize);
        }
    }

    // The description's long name, short name and kind.
    bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override
    {
        if (!IsParameterIndex(index) || properties == nullptr) {
            return false;
        }
        const ParameterDescription& description = Describe(index);
        *properties = {};
        CopyString(properties->label, description.names.longName, sizeof properties->label);
        CopyString(properties->shortLabel, description.names.shortName, sizeof properties->shortLabel);
        properties->flags = description.IsSwitch() ? kVstParameterIsSwitch : 0;
        return true;
    }

    // A typed value in the description's text form ("12.5 ms", "30 %",
    // "off") sets the parameter as setParameter does; any other text changes
    // nothing.
    bool string2parameter(VstInt32 index, char* text) override
    {
        float value = 0.0f;
        if (!IsParameterIndex(index) || !Describe(index).TextToValue(text, &value)) {
            return false;
        }
        setParameter(index, value);
        return true;
    }

    // --- Programs and chunks -----------------------------------------------

    // A number outside the bank is reported and changes nothing, not even the
    // number effGetProgram reports: a host must never be told of a program
    // that does not exist.
    void setProgram(VstInt32 program) override
    {
        HALVEX_ASSERT(program >= 0 && program < ProgramCount);
        if (program < 0 || program >= ProgramCount) {
            return;
        }
        // The program number effGetProgram reports is also the one being
        // edited and played: a number outside the bank never becomes it.
        AudioEffectX::setProgram(program);
        for (int index = 0; index < ParameterCount; ++index) {
            if (ParameterBase* parameter = GetPluginParameter(index)) {
                parameter->SetValue(bank.GetValue(program, index));
            }
        }
        plugin.RequestReset();
        if (linkedEditor != nullptr) {
            linkedEditor->RequestRefresh();
        }
    }

    void setProgramName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            bank.SetProgramName(CurrentProgram(), name);
        }
    }

    void getProgramName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            bank.GetProgramName(CurrentProgram(), name, kVstProgramNameSize);
        }
    }

    bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) override
    {
        if (index < 0 || index >= ProgramCount || text == nullptr) {
            return false;
        }
        bank.GetProgramName(index, text, kVstProgramNameSize);
        return true;
    }

    // Hands the host a copy of the current program or of the whole bank. The
    // copy stays valid, and unchanged, until the next getChunk, so a project
    // being saved never sees a program change that happens meanwhile.
    VstInt32 getChunk(void** data, bool isPreset) override
    {
        if (data == nullptr) {
            return 0;
        }
        if (isPreset) {
            bank.SaveProgram(CurrentProgram(), chunkImage);
            *data = chunkImage;
            return ProgramSize;
        }
        bank.SaveBank(chunkImage);
        *data = chunkImage;
        return BankSize;
    }

    // A chunk of the wrong size is refused with 0. Chunks come from project
    // files that may be old or corrupt: after the copy, a NaN value goes back
    // to its parameter's default and any other value is clamped into [0, 1]
    // before it reaches the plug-in.
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override
    {
        if (data == nullptr) {
            return 0;
        }
        const int program = CurrentProgram();
        if (isPreset) {
            if (byteSize != ProgramSize) {
                return 0;
            }
            bank.LoadProgram(program, data);
            SanitiseValues(program);
            PresetLoaded(bank);
        } else {
            if (byteSize != BankSize) {
                return 0;
            }
            bank.LoadBank(data);
            for (int index = 0; index < ProgramCount; ++index) {
                SanitiseValues(index);
            }
        }
        setProgram(program);
        return 1;
    }

    // Runs after a program chunk replaced the current program.
    virtual void PresetLoaded(Bank& /*bank*/) { }

    // --- Identity ----------------------------------------------------------

    bool getEffectName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            bank.GetEffectName(name, kVstEffectNameSize);
        }
        return true;
    }

    bool getVendorString(char* text) override
    {
        HALVEX_ASSERT(text != 0);
        if (text != nullptr) {
            bank.GetVendorName(text, kVstVendorStringSize);
        }
        return true;
    }

    bool getProductString(char* text) override
    {
        HALVEX_ASSERT(text != 0);
        if (text != nullptr) {
            bank.GetProductName(text, kVstProductStringSize);
        }
        return true;
    }

    VstInt32 getVendorVersion() override { return Version; }

    VstPlugCategory getPlugCategory() override { return IsSynth != 0 ? kPlugCategSynth : kPlugCategEffect; }

    // Exactly these texts, compared to their end.
    VstInt32 canDo(char* text) override
    {
        if (text == nullptr) {
            return -1;
        }
        for (const char* capability : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"}) {
            if (std::strcmp(text, capability) == 0) {
                return 1;
            }
        }
        return -1;
    }

    // The plug-in is reset after every rate change; a rate that is not
    // positive is reported by the plug-in and not taken.
    void setSampleRate(float sampleRate) override
    {
        if (sampleRate > 0.0f) {
            AudioEffectX::setSampleRate(sampleRate);
        }
        plugin.SetSampleRate(sampleRate);
        plugin.RequestReset();
    }

    // --- Audio and MIDI (host audio thread) ----------------------------------

    // Queues the MIDI events of the coming block; other event types are ignored.
    VstInt32 processEvents(VstEvents* events) override
    {
        if (events == nullptr) {
            return 0;
        }
        // The record declares two entries; hosts allocate numEvents of them.
        // Indexing the declared array beyond two would be undefined.
        VstEvent* const* entries = events->events;
        for (VstInt32 i = 0; i < events->numEvents; ++i) {
            const VstEvent* event = entries[i];
            if (event == nullptr || event->type != kVstMidiType) {
                continue;
            }
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            midiEvents.push({midi->deltaFrames, midi->midiData[0], midi->midiData[1], midi->midiData[2]});
        }
        return 1;
    }

    // Cuts the block at every queued event's position and into runs of at
    // most BufferSize samples; each event is handled between the runs. An
    // event positioned before the sample already reached (negative, or out of
    // order) is handled at the current position, so no sample is processed
    // twice; events beyond the block are all handled at once, where found.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override
    {
        const SubnormalsAsZero subnormalsAsZero;
        plugin.ApplyRequestedReset();
        if (const VstTimeInfo* time = getTimeInfo(kVstPpqPosValid | kVstTempoValid)) {
            // Transport the plug-in cannot use (negative or not a number) is dropped.
            if (time->tempo >= 0.0 && time->ppqPos >= 0.0) {
                plugin.Synchronize(time->tempo, time->ppqPos);
            }
        }
        VstInt32 position = 0;
        while (position < sampleFrames) {
            if (midiEvents.empty()) {
                ProcessRange(inputs, outputs, position, sampleFrames - position);
                break;
            }
            if (midiEvents.front().deltaFrames > sampleFrames) {
                while (!midiEvents.empty()) {
                    HandleEvent(midiEvents.pop());
                }
                continue;
            }
            const MidiEvent event = midiEvents.pop();
            const VstInt32 eventPosition = std::max(event.deltaFrames, position);
            ProcessRange(inputs, outputs, position, eventPosition - position);
            HandleEvent(event);
            position = eventPosition;
        }
        HALVEX_ASSERT(midiEvents.empty());
    }

    // --- IControlObserver (editor window thread) -----------------------------

    void ResetParameter(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        ParameterBase* parameter = HostParameter(index);
        if (parameter == nullptr) {
            return;
        }
        const float value = ChangeAndStore(index, parameter->GetDefaultValue());
        setParameterAutomated(index, value);
        HALVEX_ASSERT(editor != 0);
        if (linkedEditor != nullptr) {
            linkedEditor->RefreshControl(index);
        }
    }

    // The control that reported the change already shows it: no refresh.
    void ChangeParameter(int index, float value, bool showStatus) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(editor != 0);
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        const float stored = ChangeAndStore(index, value);
        setParameterAutomated(index, stored);
        if (showStatus) {
            ShowStatus(index);
        }
    }

    void ShowParameterStatus(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(editor != 0);
        if (IsParameterIndex(index)) {
            ShowStatus(index);
        }
    }

    void ClearStatus() override
    {
        HALVEX_ASSERT(editor != 0);
        if (linkedEditor != nullptr) {
            linkedEditor->ClearStatusText();
        }
    }

    // A gesture is the host's touch of a parameter (audioMasterBeginEdit and
    // audioMasterEndEdit): the changes between the two are one edit.
    void BeginParameterEdit(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (IsParameterIndex(index)) {
            beginEdit(index);
        }
    }

    void EndParameterEdit(int index) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        if (IsParameterIndex(index)) {
            endEdit(index);
        }
    }

    // Hosts that cannot resize the editor's window say so to canHostDo;
    // asking them anyway would only be ignored, or misread.
    bool ResizeEditor(int width, int height) override
    {
        char sizeWindowCapability[] = "sizeWindow";
        return width > 0 && height > 0 && canHostDo(sizeWindowCapability) && sizeWindow(width, height);
    }

private:
    static bool IsParameterIndex(int index) { return index >= 0 && index < ParameterCount; }
    static const ParameterDescription& Describe(int index) { return Plugin::Description.parameters[index]; }
    static float Clamp(float value) { return std::min(std::max(value, 0.0f), 1.0f); }

    ParameterBase* GetPluginParameter(int index)
    {
        return index < plugin.GetParameterCount() ? plugin.GetParameter(index) : nullptr;
    }
    ParameterBase* HostParameter(int index) { return IsParameterIndex(index) ? GetPluginParameter(index) : nullptr; }

    // Sets the plug-in parameter and stores what it took in the current
    // program; answers the stored value.
    float ChangeAndStore(int index, float value)
    {
        ParameterBase* parameter = GetPluginParameter(index);
        if (parameter == nullptr) {
            return 0.0f;
        }
        parameter->SetValue(value);
        const float stored = parameter->GetValue();
        bank.SetValue(CurrentProgram(), index, stored);
        return stored;
    }

    void SanitiseValues(int program)
    {
        for (int index = 0; index < ParameterCount; ++index) {
            const float value = bank.GetValue(program, index);
            if (std::isnan(value)) {
                ParameterBase* parameter = GetPluginParameter(index);
                bank.SetValue(program, index, parameter != nullptr ? parameter->GetDefaultValue() : 0.0f);
            } else if (value < 0.0f || value > 1.0f) {
                bank.SetValue(program, index, Clamp(value));
            }
        }
    }

    void ShowStatus(int index)
    {
        ParameterBase* parameter = GetPluginParameter(index);
        if (parameter == nullptr || linkedEditor == nullptr) {
            return;
        }
        parameter->GetStatusText(statusText, StatusTextSize);
        linkedEditor->SetStatusText(statusText);
    }

    int CurrentProgram() const { return curProgram.load(std::memory_order_relaxed); }

    static bool HasChannels(float** channels, int channelCount)
    {
        if (channels == nullptr) {
            return false;
        }
        for (int j = 0; j < channelCount; ++j) {
            if (channels[j] == nullptr) {
                return false;
            }
        }
        return true;
    }

    // One run of the block: the plug-in sees at most BufferSize samples per
    // call. A null channel is reported and never touched; the run's other
    // output channels are then silenced instead of processed.
    void ProcessRange(float** inputs, float** outputs, VstInt32 offset, VstInt32 count)
    {
        // The usual block, whole and with every channel, goes to the plug-in
        // as the host handed it over.
        if (offset == 0 && count > 0 && count <= BufferSize && HasChannels(inputs, InputCount)
            && HasChannels(outputs, OutputCount)) {
            plugin.Process(inputs, outputs, count);
            return;
        }
        while (count > 0) {
            const int run = std::min(count, static_cast<VstInt32>(BufferSize));
            bool complete = true;
            for (int j = 0; j < InputCount; ++j) {
                offsetInputs[j] = inputs != nullptr && inputs[j] != nullptr ? inputs[j] + offset : nullptr;
                HALVEX_ASSERT(offsetInputs[j] != 0);
                complete = complete && offsetInputs[j] != nullptr;
            }
            for (int j = 0; j < OutputCount; ++j) {
                offsetOutputs[j] = outputs != nullptr && outputs[j] != nullptr ? outputs[j] + offset : nullptr;
                HALVEX_ASSERT(offsetOutputs[j] != 0);
                complete = complete && offsetOutputs[j] != nullptr;
            }
            if (complete) {
                plugin.Process(offsetInputs, offsetOutputs, run);
            } else {
                for (float* channel : offsetOutputs) {
                    if (channel != nullptr) {
                        std::fill(channel, channel + run, 0.0f);
                    }
                }
            }
            count -= run;
            offset += run;
        }
    }

    // A control change reaches every controllable and, when its controller
    // is mapped, the parameter: host first, then program, plug-in and editor.
    // A data byte of 128 or more is reported and clamped, so no parameter
    // leaves [0, 1]. Other messages only split the block.
    void HandleEvent(const MidiEvent& event)
    {
        if ((static_cast<unsigned char>(event.status) & 0xF0) != 0xB0) {
            return;
        }
        float value = static_cast<float>(static_cast<signed char>(event.data2)) * 0.007874016f;
        HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
        value = Clamp(value);
        plugin.SetController(event.data1, value);
        int parameterId = 0;
        if (plugin.GetMappedParameter(event.data1, &parameterId)) {
            setParameterAutomated(parameterId, value);
            setParameter(parameterId, value);
            if (linkedEditor != nullptr) {
                linkedEditor->RefreshControl(parameterId);
            }
        }
    }

    Bank bank;
    MidiEventQueue midiEvents;
    float* offsetInputs[InputCount] = {};
    float* offsetOutputs[OutputCount] = {};
    Plugin plugin;
    // The same object as AudioEffect's editor, seen as the toolkit's editor;
    // owned there.
    Editor* linkedEditor = nullptr;
    char statusText[StatusTextSize] = {};
    alignas(4) unsigned char chunkImage[BankSize] = {};
};
