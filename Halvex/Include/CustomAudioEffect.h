#pragma once

#include "AudioEffectX.h"
#include "Assert.h"
#include "BlockRuns.h"
#include "Halvex.h"
#include "MidiEventQueue.h"
#include "ParameterFlow.h"
#include "ProgramBank.h"
#include "SubnormalsAsZero.h"
#include "GUI/Editor.h"
#include "Parameters/ParameterBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

// Publishes a toolkit plug-in (a PluginBase descendant, held by value) to a
// VST 2.4 host. The first ParameterCount parameters of the plug-in are the
// host parameters; ProgramCount programs of their normalised values live in
// a bank whose bytes are also the chunk format the host stores. Every value
// reaches the plug-in through the ParameterFlow, which keeps the current
// program, the plug-in parameter, the host and the editor in step: host
// parameters and programs, editor gestures (the flow is the editor's
// IControlObserver) and mapped MIDI controllers. Blocks are cut into runs at
// the MIDI events' positions and at BufferSize (BlockRuns).
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
class CustomAudioEffect : public AudioEffectX, private IParameterHost {
public:
    using Flow = ParameterFlow<ProgramCount, ParameterCount>;
    using Bank = typename Flow::Bank;
    static constexpr int BankSize = Bank::BankSize;
    static constexpr int ProgramSize = Bank::ProgramSize;
    // Room for the events of a busy block before the queue has to grow.
    static constexpr int ReservedMidiEvents = 1024;

    CustomAudioEffect(
        audioMasterCallback audioMaster, const char* effectName, const char* vendorName, const char* productName)
        : AudioEffectX(audioMaster, ProgramCount, ParameterCount)
        , midiEvents(ReservedMidiEvents)
        , flow(plugin, *this)
    {
        setNumInputs(InputCount);
        setNumOutputs(OutputCount);
        setUniqueID(UniqueId);
        canProcessReplacing(true);
        programsAreChunks(UsesChunks != 0);
        isSynth(IsSynth != 0);

        flow.FillBlankPrograms(effectName, vendorName, productName, Version);
        linkedEditor = plugin.CreateEditor(this, &flow);
        flow.AttachEditor(linkedEditor);
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
        return flow.GetValue(index);
    }

    // Out-of-range values are reported, then clamped; NaN is reported and ignored.
    void setParameter(VstInt32 index, float value) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
        flow.SetFromHost(index, value);
    }

    // Only tells the host: every caller has already changed the parameter.
    void setParameterAutomated(VstInt32 index, float value) override
    {
        HALVEX_ASSERT(index >= 0 && index < ParameterCount);
        HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
        if (!IsParameterIndex(index) || std::isnan(value)) {
            return;
        }
        callHost(audioMasterAutomate, index, 0, nullptr, std::min(std::max(value, 0.0f), 1.0f));
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

    // The program being edited and played, which effGetProgram reports.
    VstInt32 getProgram() override { return flow.GetCurrentProgram(); }

    // A number outside the bank is reported and changes nothing, not even the
    // number effGetProgram reports: a host must never be told of a program
    // that does not exist.
    void setProgram(VstInt32 program) override
    {
        HALVEX_ASSERT(program >= 0 && program < ProgramCount);
        flow.SelectProgram(program);
    }

    void setProgramName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            flow.GetBank().SetProgramName(flow.GetCurrentProgram(), name);
        }
    }

    void getProgramName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            flow.GetBank().GetProgramName(flow.GetCurrentProgram(), name, kVstProgramNameSize);
        }
    }

    bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text) override
    {
        if (index < 0 || index >= ProgramCount || text == nullptr) {
            return false;
        }
        flow.GetBank().GetProgramName(index, text, kVstProgramNameSize);
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
            flow.GetBank().SaveProgram(flow.GetCurrentProgram(), chunkImage);
            *data = chunkImage;
            return ProgramSize;
        }
        flow.GetBank().SaveBank(chunkImage);
        *data = chunkImage;
        return BankSize;
    }

    // A chunk of the wrong size is refused with 0. Chunks come from project
    // files that may be old or corrupt: the values are sanitised before they
    // reach the plug-in (ParameterFlow::LoadBank).
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override
    {
        if (data == nullptr || byteSize != (isPreset ? ProgramSize : BankSize)) {
            return 0;
        }
        if (isPreset) {
            flow.LoadCurrentProgram(data);
            PresetLoaded(flow.GetBank());
        } else {
            flow.LoadBank(data);
        }
        return 1;
    }

    // Runs after a program chunk replaced the current program.
    virtual void PresetLoaded(Bank& /*bank*/) { }

    // --- Identity ----------------------------------------------------------

    bool getEffectName(char* name) override
    {
        HALVEX_ASSERT(name != 0);
        if (name != nullptr) {
            flow.GetBank().GetEffectName(name, kVstEffectNameSize);
        }
        return true;
    }

    bool getVendorString(char* text) override
    {
        HALVEX_ASSERT(text != 0);
        if (text != nullptr) {
            flow.GetBank().GetVendorName(text, kVstVendorStringSize);
        }
        return true;
    }

    bool getProductString(char* text) override
    {
        HALVEX_ASSERT(text != 0);
        if (text != nullptr) {
            flow.GetBank().GetProductName(text, kVstProductStringSize);
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
    // Events at the block's very end are handled after it, the first now and
    // the others (reported) with the next block.
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
        BlockRuns<InputCount, OutputCount> runs(plugin, inputs, outputs, sampleFrames);
        while (runs.GetPosition() < sampleFrames) {
            if (midiEvents.empty()) {
                runs.ProcessRest();
                break;
            }
            if (midiEvents.front().deltaFrames > sampleFrames) {
                while (!midiEvents.empty()) {
                    HandleEvent(midiEvents.pop());
                }
                continue;
            }
            const MidiEvent event = midiEvents.pop();
            runs.ProcessUntil(event.deltaFrames);
            HandleEvent(event);
        }
        HALVEX_ASSERT(midiEvents.empty());
    }

private:
    static bool IsParameterIndex(int index) { return index >= 0 && index < ParameterCount; }
    static const ParameterDescription& Describe(int index) { return Plugin::Description.parameters[index]; }

    ParameterBase* HostParameter(int index)
    {
        return IsParameterIndex(index) && index < plugin.GetParameterCount() ? plugin.GetParameter(index) : nullptr;
    }

    // IParameterHost: the host hears of every change made inside the plug-in
    // through audioMasterAutomate, and of the editor's edits as gestures
    // (audioMasterBeginEdit and audioMasterEndEdit).
    void ParameterEdited(int index, float value) override { setParameterAutomated(index, value); }

    // Hosts that cannot resize the editor's window say so to canHostDo;
    // asking them anyway would only be ignored, or misread.
    bool EditorResized(int width, int height) override
    {
        char sizeWindowCapability[] = "sizeWindow";
        return width > 0 && height > 0 && canHostDo(sizeWindowCapability) && sizeWindow(width, height);
    }
    void ParameterControlled(int index, float value) override { setParameterAutomated(index, value); }
    void EditBegun(int index) override { beginEdit(index); }
    void EditEnded(int index) override { endEdit(index); }

    void HandleEvent(const MidiEvent& event)
    {
        flow.HandleMidi(static_cast<std::uint8_t>(event.status), static_cast<std::uint8_t>(event.data1),
            static_cast<std::uint8_t>(event.data2));
    }

    MidiEventQueue midiEvents;
    Plugin plugin;
    Flow flow;
    // The same object as AudioEffect's editor, seen as the toolkit's editor;
    // owned there.
    Editor* linkedEditor = nullptr;
    alignas(4) unsigned char chunkImage[BankSize] = {};
};
