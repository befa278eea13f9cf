#pragma once

#include "BlockRuns.h"
#include "ClapAbi.h"
#include "GUI/Editor.h"
#include "Halvex.h"
#include "ParameterEditQueue.h"
#include "ParameterFlow.h"
#include "PluginState.h"
#include "ProductDescription.h"
#include "SubnormalsAsZero.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

// Publishes a toolkit plug-in (a PluginBase descendant, held by value, that
// publishes its product description as Plugin::Description) to CLAP hosts:
// one factory with one descriptor, and per instance the record the host
// drives with the extensions audio ports, note ports (MIDI), params, state,
// latency, tail, gui and timer support.
//
// Parameters: the description's host parameters with their ids, each from
// 0 to 1, its plain value being its normalised value (switches stepped, 0 or
// 1), so that host automation reaches the sound as the VST 2.4 build's
// setParameter does; the texts are the description's ("12.5 ms"). Every
// value goes through the ParameterFlow, as in the VST 2.4 adapter; a fresh
// instance holds the factory bank with program 0 applied.
//
// Events: each block is cut into runs at every input event (BlockRuns):
// parameter values and MIDI channel messages are handled at their sample
// positions, in the host's time order. The editor's gestures travel from
// the main thread through a lock-free queue and reach the host as gesture
// begin, values and gesture end: as output events of the next process, or of
// the flush the plug-in asks for while the host is not processing. A
// parameter moved by a MIDI controller is reported back as a value event the
// host does not record.
//
// State: the program bank and the current program (PluginState); a stream
// that is truncated, damaged, of another product or of a later version is
// refused before anything changes. Streams may move fewer bytes per call
// than asked.
//
// Threads, as the host calls: init, destroy, activate, deactivate, params,
// state, gui and timers on the main thread; start_processing, process,
// reset and (while active) flush on the audio thread. The thread hand-over
// of PluginBase carries main-thread changes (a state load while processing
// is a program change) to the audio thread's signal state.
template <class Plugin>
class ClapPlugin : private IParameterHost {
public:
    static constexpr const auto& Description = Plugin::Description;
    static constexpr int ParameterCount = std::remove_reference_t<decltype(Description)>::ParameterCount;
    static constexpr int ProgramCount = std::remove_reference_t<decltype(Description)>::ProgramCount;
    static constexpr int InputCount = Description.ports.audioInputs;
    static constexpr int OutputCount = Description.ports.audioOutputs;
    using Flow = ParameterFlow<ProgramCount, ParameterCount>;
    using State = PluginState<ProgramCount, ParameterCount>;
    // Edits a host that is slow to flush may have waiting.
    static constexpr std::size_t EditQueueSize = 1024;
    // The editor's idle period: about 33 times a second, which hosts allow.
    static constexpr std::uint32_t IdlePeriodMs = 30;

    static const clap_plugin_factory_t* GetFactory()
    {
        static constexpr clap_plugin_factory_t factory = {CountPlugins, DescribePlugin, CreatePlugin};
        return &factory;
    }

    static const clap_plugin_descriptor_t* GetDescriptor()
    {
        static const VersionText version(Description.identity);
        static const clap_plugin_descriptor_t descriptor
            = {CLAP_VERSION, Description.identity.clapId, Description.identity.productName,
                Description.identity.vendorName, "", "", "", version.text, "", Description.identity.features};
        return &descriptor;
    }

    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

private:
    // "1.0.0" for version 1000: major, minor and revision digits.
    struct VersionText {
        explicit VersionText(const ProductIdentity& identity)
        {
            std::snprintf(text, sizeof text, "%d.%d.%d", identity.MajorVersion(), identity.MinorVersion(),
                identity.MicroVersion());
        }
        char text[32];
    };

    // No host call may be made here: host access begins with init.
    explicit ClapPlugin(const clap_host_t* host)
        : host(host)
        , flow(plugin, *this)
    {
        record = {GetDescriptor(), this, Init, Destroy, Activate, Deactivate, StartProcessing, StopProcessing, Reset,
            Process, GetExtension, OnMainThread};
        const auto factoryBank = MakeFactoryBank(Description);
        flow.LoadBank(&factoryBank);
    }

    ~ClapPlugin() override
    {
        CloseGui();
        // The editor reports to the flow; it goes while the flow is whole.
        editor.reset();
    }

    // --- The host's pointers back to this instance ----------------------------

    // The thin edge: every call checks the record it was given.
    static ClapPlugin* Self(const clap_plugin_t* record)
    {
        return record != nullptr ? static_cast<ClapPlugin*>(record->plugin_data) : nullptr;
    }

    const void* HostExtension(const char* id) const
    {
        return host->get_extension != nullptr ? host->get_extension(host, id) : nullptr;
    }

    // --- Factory ----------------------------------------------------------------

    static std::uint32_t CLAP_ABI CountPlugins(const clap_plugin_factory_t*) { return 1; }

    static const clap_plugin_descriptor_t* CLAP_ABI DescribePlugin(const clap_plugin_factory_t*, std::uint32_t index)
    {
        return index == 0 ? GetDescriptor() : nullptr;
    }

    static const clap_plugin_t* CLAP_ABI CreatePlugin(
        const clap_plugin_factory_t*, const clap_host_t* host, const char* pluginId)
    {
        if (host == nullptr || pluginId == nullptr || std::strcmp(pluginId, GetDescriptor()->id) != 0
            || !clap_version_is_compatible(host->clap_version)) {
            return nullptr;
        }
        auto* instance = new (std::nothrow) ClapPlugin(host);
        return instance != nullptr ? &instance->record : nullptr;
    }

    // --- The instance -------------------------------------------------------------

    static bool CLAP_ABI Init(const clap_plugin_t* record)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr) {
            return false;
        }
        self->hostParams = static_cast<const clap_host_params_t*>(self->HostExtension(CLAP_EXT_PARAMS));
        self->hostTail = static_cast<const clap_host_tail_t*>(self->HostExtension(CLAP_EXT_TAIL));
        self->hostTimers = static_cast<const clap_host_timer_support_t*>(self->HostExtension(CLAP_EXT_TIMER_SUPPORT));
        self->hostGui = static_cast<const clap_host_gui_t*>(self->HostExtension(CLAP_EXT_GUI));
        return true;
    }

    static void CLAP_ABI Destroy(const clap_plugin_t* record) { delete Self(record); }

    static bool CLAP_ABI Activate(const clap_plugin_t* record, double sampleRate, std::uint32_t, std::uint32_t)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || !(sampleRate > 0.0 && sampleRate < 1e7)) {
            return false;
        }
        self->plugin.SetSampleRate(static_cast<float>(sampleRate));
        self->plugin.RequestReset();
        self->sampleRate = sampleRate;
        self->tailSamples.store(self->TailSamples(), std::memory_order_relaxed);
        return true;
    }

    static void CLAP_ABI Deactivate(const clap_plugin_t*) { }
    static bool CLAP_ABI StartProcessing(const clap_plugin_t* record) { return Self(record) != nullptr; }
    static void CLAP_ABI StopProcessing(const clap_plugin_t*) { }

    // Clears the signal state now (the audio thread's); parameters stay.
    static void CLAP_ABI Reset(const clap_plugin_t* record)
    {
        if (ClapPlugin* self = Self(record)) {
            self->plugin.Reset();
        }
    }

    static clap_process_status CLAP_ABI Process(const clap_plugin_t* record, const clap_process_t* process)
    {
        ClapPlugin* self = Self(record);
        return self != nullptr && process != nullptr ? self->ProcessBlock(*process) : CLAP_PROCESS_ERROR;
    }

    static void CLAP_ABI OnMainThread(const clap_plugin_t*) { }

    static const void* CLAP_ABI GetExtension(const clap_plugin_t*, const char* id)
    {
        static constexpr clap_plugin_audio_ports_t audioPorts = {CountAudioPorts, GetAudioPort};
        static constexpr clap_plugin_note_ports_t notePorts = {CountNotePorts, GetNotePort};
        static constexpr clap_plugin_params_t params
            = {CountParams, GetParamInfo, GetParamValue, ParamValueToText, ParamTextToValue, FlushParams};
        static constexpr clap_plugin_state_t state = {SaveState, LoadState};
        static constexpr clap_plugin_latency_t latency = {GetLatency};
        static constexpr clap_plugin_tail_t tail = {GetTail};
        static constexpr clap_plugin_gui_t gui = {GuiIsApiSupported, GuiGetPreferredApi, GuiCreate, GuiDestroy,
            GuiSetScale, GuiGetSize, GuiCanResize, GuiGetResizeHints, GuiAdjustSize, GuiSetSize, GuiSetParent,
            GuiSetTransient, GuiSuggestTitle, GuiShow, GuiHide};
        static constexpr clap_plugin_timer_support_t timers = {OnTimer};
        const struct {
            const char* id;
            const void* extension;
        } extensions[] = {{CLAP_EXT_AUDIO_PORTS, &audioPorts}, {CLAP_EXT_NOTE_PORTS, &notePorts},
            {CLAP_EXT_PARAMS, &params}, {CLAP_EXT_STATE, &state}, {CLAP_EXT_LATENCY, &latency}, {CLAP_EXT_TAIL, &tail},
            {CLAP_EXT_GUI, &gui}, {CLAP_EXT_TIMER_SUPPORT, &timers}};
        for (const auto& entry : extensions) {
            if (id != nullptr && std::strcmp(id, entry.id) == 0) {
                return entry.extension;
            }
        }
        return nullptr;
    }

    // --- Audio (audio thread) -----------------------------------------------------

    static bool HasChannels(const clap_audio_buffer_t* buffers, std::uint32_t count, int channels)
    {
        return count >= 1 && buffers != nullptr && buffers[0].data32 != nullptr
            && buffers[0].channel_count >= static_cast<std::uint32_t>(channels);
    }

    clap_process_status ProcessBlock(const clap_process_t& process)
    {
        const SubnormalsAsZero subnormalsAsZero;
        plugin.ApplyRequestedReset();
        Synchronize(process.transport);
        eventsOut = process.out_events;
        eventTime = 0;
        ReportEdits();
        const int frames = static_cast<int>(std::min<std::uint32_t>(process.frames_count, INT32_MAX));
        const bool audio = HasChannels(process.audio_inputs, process.audio_inputs_count, InputCount)
            && HasChannels(process.audio_outputs, process.audio_outputs_count, OutputCount);
        BlockRuns<InputCount, OutputCount> runs(plugin, audio ? process.audio_inputs[0].data32 : nullptr,
            audio ? process.audio_outputs[0].data32 : nullptr, audio ? frames : 0);
        ForEachEvent(process.in_events, [&](const clap_event_header_t& event) {
            runs.ProcessUntil(static_cast<int>(std::min<std::uint32_t>(event.time, INT32_MAX)));
            // Events at or beyond the block's end are handled at its last sample.
            eventTime = std::min<std::uint32_t>(event.time, frames > 0 ? static_cast<std::uint32_t>(frames - 1) : 0);
            HandleEvent(event);
        });
        runs.ProcessRest();
        eventsOut = nullptr;
        if (!audio) {
            return CLAP_PROCESS_ERROR;
        }
        process.audio_outputs[0].constant_mask = 0;
        ReportTail();
        return CLAP_PROCESS_TAIL;
    }

    // The transport at the block's first sample reaches the plug-in's
    // synchronised components, as the VST 2.4 build's time information does.
    void Synchronize(const clap_event_transport_t* transport)
    {
        constexpr std::uint32_t Needed = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE;
        if (transport == nullptr || (transport->flags & Needed) != Needed) {
            return;
        }
        const double beats = static_cast<double>(transport->song_pos_beats) / CLAP_BEATTIME_FACTOR;
        if (transport->tempo >= 0.0 && beats >= 0.0) {
            plugin.Synchronize(transport->tempo, beats);
        }
    }

    // Hands each of the host's input events to handle, in the host's order;
    // a list the host left incomplete counts as empty.
    template <class Handle>
    static void ForEachEvent(const clap_input_events_t* in, Handle handle)
    {
        const std::uint32_t count = in != nullptr && in->size != nullptr && in->get != nullptr ? in->size(in) : 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (const clap_event_header_t* event = in->get(in, i)) {
                handle(*event);
            }
        }
    }

    // Parameter values and MIDI channel messages of the core event space;
    // everything else (notes, gestures, transport, events too short for
    // their type) is passed over.
    void HandleEvent(const clap_event_header_t& event)
    {
        if (event.space_id != CLAP_CORE_EVENT_SPACE_ID) {
            return;
        }
        if (event.type == CLAP_EVENT_PARAM_VALUE && event.size >= sizeof(clap_event_param_value_t)) {
            const auto& change = reinterpret_cast<const clap_event_param_value_t&>(event);
            float value = 0.0f;
            if (ToNormalised(change.param_id, change.value, &value)) {
                flow.SetFromHost(static_cast<int>(change.param_id), value);
                SettingsChanged();
            }
        } else if (event.type == CLAP_EVENT_MIDI && event.size >= sizeof(clap_event_midi_t)) {
            const auto& midi = reinterpret_cast<const clap_event_midi_t&>(event);
            if (midi.port_index == 0) {
                flow.HandleMidi(midi.data[0], midi.data[1], midi.data[2]);
                SettingsChanged();
            }
        }
    }

    // A host value of a known parameter as the flow takes it: clamped into
    // the range, a switch's at its step; NaN is refused.
    static bool ToNormalised(clap_id id, double value, float* normalised)
    {
        if (id >= static_cast<clap_id>(ParameterCount) || std::isnan(value)) {
            return false;
        }
        const double clamped = std::min(std::max(value, 0.0), 1.0);
        *normalised = Describe(id).IsSwitch() ? (clamped >= 0.5 ? 1.0f : 0.0f) : static_cast<float>(clamped);
        return true;
    }

    static const ParameterDescription& Describe(clap_id id) { return Description.parameters[id]; }

    std::uint32_t TailSamples()
    {
        const double samples = std::ceil(static_cast<double>(plugin.GetTailSeconds()) * sampleRate);
        return static_cast<std::uint32_t>(std::min(samples, static_cast<double>(INT32_MAX - 1)));
    }

    // Any thread, after the plug-in's parameters moved: the tail is worked
    // out again after the next block, not after every one.
    void SettingsChanged() { tailMayHaveChanged.store(true, std::memory_order_release); }

    // Tells the host when the tail changed with the settings, from the audio
    // thread as the host expects. A plain load first: the exchange is a
    // locked instruction, and settings change only now and then.
    void ReportTail()
    {
        if (!tailMayHaveChanged.load(std::memory_order_relaxed)
            || !tailMayHaveChanged.exchange(false, std::memory_order_acquire)) {
            return;
        }
        const std::uint32_t samples = TailSamples();
        if (samples != tailSamples.exchange(samples, std::memory_order_relaxed) && hostTail != nullptr
            && hostTail->changed != nullptr) {
            hostTail->changed(host);
        }
    }

    // --- Edits to the host ----------------------------------------------------------

    // IParameterHost: the editor's edits wait in the queue for the next
    // process or flush, which the host is asked for; a controller's change is
    // pushed at once, inside the block that carries it.
    void ParameterEdited(int index, float value) override
    {
        SettingsChanged();
        QueueEdit({ParameterEdit::Kind::Value, index, value});
    }
    void EditBegun(int index) override { QueueEdit({ParameterEdit::Kind::Begin, index, 0.0f}); }
    void EditEnded(int index) override { QueueEdit({ParameterEdit::Kind::End, index, 0.0f}); }
    void ParameterControlled(int index, float value) override
    {
        PushValue(static_cast<clap_id>(index), value, CLAP_EVENT_DONT_RECORD);
    }
    // The panel follows the display's scale; the host is asked to size its
    // window to it (editor, that is main, thread).
    bool EditorResized(int width, int height) override
    {
        return width > 0 && height > 0 && hostGui != nullptr && hostGui->request_resize != nullptr
            && hostGui->request_resize(host, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    }

    void QueueEdit(const ParameterEdit& edit)
    {
        edits.Push(edit);
        if (hostParams != nullptr && hostParams->request_flush != nullptr) {
            hostParams->request_flush(host);
        } else if (host->request_process != nullptr) {
            host->request_process(host);
        }
    }

    void ReportEdits()
    {
        ParameterEdit edit;
        while (edits.Pop(edit)) {
            const auto id = static_cast<clap_id>(edit.parameterId);
            switch (edit.kind) {
            case ParameterEdit::Kind::Begin:
                PushGesture(CLAP_EVENT_PARAM_GESTURE_BEGIN, id);
                break;
            case ParameterEdit::Kind::Value:
                PushValue(id, edit.value, CLAP_EVENT_IS_LIVE);
                break;
            case ParameterEdit::Kind::End:
                PushGesture(CLAP_EVENT_PARAM_GESTURE_END, id);
                break;
            }
        }
    }

    // A host that cannot take an event loses it; it is not offered again.
    void Push(const clap_event_header_t& event)
    {
        if (eventsOut != nullptr && eventsOut->try_push != nullptr) {
            eventsOut->try_push(eventsOut, &event);
        }
    }

    void PushValue(clap_id id, float value, std::uint32_t flags)
    {
        clap_event_param_value_t event = {};
        event.header = {sizeof event, eventTime, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, flags};
        event.param_id = id;
        event.note_id = -1;
        event.port_index = -1;
        event.channel = -1;
        event.key = -1;
        event.value = ToHostValue(id, value);
        Push(event.header);
    }

    void PushGesture(std::uint16_t type, clap_id id)
    {
        clap_event_param_gesture_t event = {};
        event.header = {sizeof event, eventTime, CLAP_CORE_EVENT_SPACE_ID, type, CLAP_EVENT_IS_LIVE};
        event.param_id = id;
        Push(event.header);
    }

    // A switch shows the host its step, whatever value a program stores.
    static double ToHostValue(clap_id id, float value)
    {
        return Describe(id).IsSwitch() ? (value >= 0.5f ? 1.0 : 0.0) : static_cast<double>(value);
    }

    // --- Ports (main thread) -------------------------------------------------------

    static std::uint32_t CLAP_ABI CountAudioPorts(const clap_plugin_t*, bool) { return 1; }

    // One main port each way, stereo, which may share its buffer.
    static bool CLAP_ABI GetAudioPort(
        const clap_plugin_t*, std::uint32_t index, bool isInput, clap_audio_port_info_t* info)
    {
        if (index != 0 || info == nullptr) {
            return false;
        }
        *info = {};
        info->id = 0;
        CopyString(info->name, isInput ? "Input" : "Output", CLAP_NAME_SIZE);
        info->flags = CLAP_AUDIO_PORT_IS_MAIN;
        info->channel_count = static_cast<std::uint32_t>(isInput ? InputCount : OutputCount);
        info->port_type = (isInput ? InputCount : OutputCount) == 2 ? CLAP_PORT_STEREO : nullptr;
        info->in_place_pair = 0;
        return true;
    }

    static std::uint32_t CLAP_ABI CountNotePorts(const clap_plugin_t*, bool isInput)
    {
        return isInput ? static_cast<std::uint32_t>(Description.ports.midiInputs) : 0;
    }

    static bool CLAP_ABI GetNotePort(
        const clap_plugin_t*, std::uint32_t index, bool isInput, clap_note_port_info_t* info)
    {
        if (!isInput || index >= static_cast<std::uint32_t>(Description.ports.midiInputs) || info == nullptr) {
            return false;
        }
        *info = {};
        info->id = index;
        info->supported_dialects = CLAP_NOTE_DIALECT_MIDI;
        info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
        CopyString(info->name, "MIDI In", CLAP_NAME_SIZE);
        return true;
    }

    // --- Parameters (main thread; flush on the audio thread while active) ----------

    static std::uint32_t CLAP_ABI CountParams(const clap_plugin_t*) { return ParameterCount; }

    static bool CLAP_ABI GetParamInfo(const clap_plugin_t*, std::uint32_t index, clap_param_info_t* info)
    {
        if (index >= static_cast<std::uint32_t>(ParameterCount) || info == nullptr) {
            return false;
        }
        const ParameterDescription& parameter = Describe(index);
        *info = {};
        info->id = static_cast<clap_id>(parameter.id);
        info->flags = CLAP_PARAM_IS_AUTOMATABLE | (parameter.IsSwitch() ? CLAP_PARAM_IS_STEPPED : 0u);
        CopyString(info->name, parameter.names.longName, CLAP_NAME_SIZE);
        info->min_value = 0.0;
        info->max_value = 1.0;
        info->default_value = ToHostValue(index, parameter.defaultValue);
        return true;
    }

    static bool CLAP_ABI GetParamValue(const clap_plugin_t* record, clap_id id, double* value)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || id >= static_cast<clap_id>(ParameterCount) || value == nullptr) {
            return false;
        }
        *value = ToHostValue(id, self->flow.GetValue(static_cast<int>(id)));
        return true;
    }

    static bool CLAP_ABI ParamValueToText(
        const clap_plugin_t*, clap_id id, double value, char* text, std::uint32_t capacity)
    {
        float normalised = 0.0f;
        if (text == nullptr || capacity == 0 || !ToNormalised(id, value, &normalised)) {
            return false;
        }
        return Describe(id).ValueToText(
            normalised, text, static_cast<int>(std::min<std::uint32_t>(capacity, INT32_MAX)));
    }

    static bool CLAP_ABI ParamTextToValue(const clap_plugin_t*, clap_id id, const char* text, double* value)
    {
        float normalised = 0.0f;
        if (id >= static_cast<clap_id>(ParameterCount) || text == nullptr || value == nullptr
            || !Describe(id).TextToValue(text, &normalised)) {
            return false;
        }
        *value = ToHostValue(id, normalised);
        return true;
    }

    // The host's values apply at once; the editor's waiting edits go out.
    static void CLAP_ABI FlushParams(
        const clap_plugin_t* record, const clap_input_events_t* in, const clap_output_events_t* out)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr) {
            return;
        }
        self->eventsOut = out;
        self->eventTime = 0;
        self->ReportEdits();
        ForEachEvent(in, [self](const clap_event_header_t& event) { self->HandleEvent(event); });
        self->eventsOut = nullptr;
    }

    // --- State (main thread) ------------------------------------------------------------

    static bool CLAP_ABI SaveState(const clap_plugin_t* record, const clap_ostream_t* stream)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || stream == nullptr || stream->write == nullptr) {
            return false;
        }
        State::Write(
            self->flow.GetBank(), self->flow.GetCurrentProgram(), Description.identity.vstUniqueId, self->stateImage);
        return MoveStateImage(self->stateImage,
            [stream](unsigned char* bytes, std::uint64_t left) { return stream->write(stream, bytes, left); });
    }

    static bool CLAP_ABI LoadState(const clap_plugin_t* record, const clap_istream_t* stream)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || stream == nullptr || stream->read == nullptr) {
            return false;
        }
        const bool whole = MoveStateImage(self->stateImage,
            [stream](unsigned char* bytes, std::uint64_t left) { return stream->read(stream, bytes, left); });
        int program = 0;
        if (!whole || !State::Check(self->stateImage, State::Size, Description.identity.vstUniqueId, &program)) {
            return false;
        }
        self->flow.LoadBankAndProgram(StateBank(self->stateImage), program);
        self->SettingsChanged();
        if (self->hostParams != nullptr && self->hostParams->rescan != nullptr) {
            self->hostParams->rescan(self->host, CLAP_PARAM_RESCAN_VALUES);
        }
        return true;
    }

    // Moves the State::Size bytes of a state image through a stream's read
    // or write, which may move fewer bytes than asked each time. A call that
    // moves none fails the whole: a read at the stream's end before the whole
    // state is a truncated one, and a stream that takes nothing would never
    // finish.
    template <class Move>
    static bool MoveStateImage(unsigned char* bytes, Move move)
    {
        for (std::uint64_t left = State::Size; left > 0;) {
            const std::int64_t moved = move(bytes, left);
            if (moved <= 0 || static_cast<std::uint64_t>(moved) > left) {
                return false;
            }
            bytes += moved;
            left -= static_cast<std::uint64_t>(moved);
        }
        return true;
    }

    // --- Latency and tail ---------------------------------------------------------------

    static std::uint32_t CLAP_ABI GetLatency(const clap_plugin_t*) { return 0; }

    static std::uint32_t CLAP_ABI GetTail(const clap_plugin_t* record)
    {
        ClapPlugin* self = Self(record);
        return self != nullptr ? self->tailSamples.load(std::memory_order_relaxed) : 0;
    }

    // --- Editor (main thread) ---------------------------------------------------------
    //
    // Embedded only, at the panel's size for the display's scale, which the
    // user cannot change. On Linux the X11 panel is
    // driven by a host timer (CLAP has no idle call): without the host's
    // timer support it is not offered. On Windows the panel's window gets the
    // host's messages itself; a Win32 timer on the host's window drives the
    // refreshes that other threads ask for.

#if defined(_WIN32)
    static constexpr const char* WindowApi = CLAP_WINDOW_API_WIN32;
    bool CanDriveGui() const
    {
        return true;
    }
#else
    static constexpr const char* WindowApi = CLAP_WINDOW_API_X11;
    bool CanDriveGui() const
    {
        return hostTimers != nullptr && hostTimers->register_timer != nullptr
            && hostTimers->unregister_timer != nullptr;
    }
#endif

    static bool CLAP_ABI GuiIsApiSupported(const clap_plugin_t* record, const char* api, bool isFloating)
    {
        ClapPlugin* self = Self(record);
        return self != nullptr && api != nullptr && !isFloating && std::strcmp(api, WindowApi) == 0
            && self->CanDriveGui();
    }

    static bool CLAP_ABI GuiGetPreferredApi(const clap_plugin_t* record, const char** api, bool* isFloating)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || api == nullptr || isFloating == nullptr || !self->CanDriveGui()) {
            return false;
        }
        *api = WindowApi;
        *isFloating = false;
        return true;
    }

    static bool CLAP_ABI GuiCreate(const clap_plugin_t* record, const char* api, bool isFloating)
    {
        ClapPlugin* self = Self(record);
        if (!GuiIsApiSupported(record, api, isFloating) || self->guiCreated) {
            return false;
        }
        // The editor object lives until the instance goes, so the audio
        // thread's refreshes never meet a deleted one.
        if (self->editor == nullptr) {
            self->editor.reset(self->plugin.CreateEditor(nullptr, &self->flow));
            if (self->editor == nullptr) {
                return false;
            }
            self->flow.AttachEditor(self->editor.get());
        }
        if (!self->StartIdleTimer()) {
            return false;
        }
        self->guiCreated = true;
        return true;
    }

    static void CLAP_ABI GuiDestroy(const clap_plugin_t* record)
    {
        if (ClapPlugin* self = Self(record)) {
            self->CloseGui();
        }
    }

    // The panel finds its scale on the display itself (the window's DPI on
    // Windows, GDK_SCALE or Xft.dpi on X11); answering false tells the host so.
    static bool CLAP_ABI GuiSetScale(const clap_plugin_t*, double)
    {
        return false;
    }

    static bool CLAP_ABI GuiGetSize(const clap_plugin_t* record, std::uint32_t* width, std::uint32_t* height)
    {
        ClapPlugin* self = Self(record);
        ERect* rect = nullptr;
        if (self == nullptr || !self->guiCreated || width == nullptr || height == nullptr
            || !self->editor->getRect(&rect) || rect == nullptr) {
            return false;
        }
        *width = static_cast<std::uint32_t>(rect->right - rect->left);
        *height = static_cast<std::uint32_t>(rect->bottom - rect->top);
        return true;
    }

    static bool CLAP_ABI GuiCanResize(const clap_plugin_t*)
    {
        return false;
    }

    static bool CLAP_ABI GuiGetResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t* hints)
    {
        if (hints == nullptr) {
            return false;
        }
        *hints = {};
        return true;
    }

    // Any proposal comes back as the one size there is.
    static bool CLAP_ABI GuiAdjustSize(const clap_plugin_t* record, std::uint32_t* width, std::uint32_t* height)
    {
        return GuiGetSize(record, width, height);
    }

    static bool CLAP_ABI GuiSetSize(const clap_plugin_t* record, std::uint32_t width, std::uint32_t height)
    {
        std::uint32_t fixedWidth = 0;
        std::uint32_t fixedHeight = 0;
        return GuiGetSize(record, &fixedWidth, &fixedHeight) && width == fixedWidth && height == fixedHeight;
    }

    static bool CLAP_ABI GuiSetParent(const clap_plugin_t* record, const clap_window_t* window)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || !self->guiCreated || window == nullptr || window->api == nullptr
            || std::strcmp(window->api, WindowApi) != 0) {
            return false;
        }
#if defined(_WIN32)
        self->parentWindow = window->win32;
#else
        self->parentWindow = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window->x11));
#endif
        return self->OpenView();
    }

    static bool CLAP_ABI GuiSetTransient(const clap_plugin_t*, const clap_window_t*)
    {
        return false;
    }
    static void CLAP_ABI GuiSuggestTitle(const clap_plugin_t*, const char*) { }

    static bool CLAP_ABI GuiShow(const clap_plugin_t* record)
    {
        ClapPlugin* self = Self(record);
        return self != nullptr && self->guiCreated && (self->editor->isOpen() || self->OpenView());
    }

    // Hiding takes the panel down; showing builds it again in the same parent.
    static bool CLAP_ABI GuiHide(const clap_plugin_t* record)
    {
        ClapPlugin* self = Self(record);
        if (self == nullptr || !self->guiCreated) {
            return false;
        }
        self->editor->close();
        return true;
    }

    static void CLAP_ABI OnTimer(const clap_plugin_t* record, clap_id timerId)
    {
        ClapPlugin* self = Self(record);
        if (self != nullptr && self->guiCreated && timerId == self->idleTimer) {
            self->editor->idle();
        }
    }

    // The fresh controls take the parameters' values at once, not at the
    // first timer tick.
    bool OpenView()
    {
        if (parentWindow == nullptr || !editor->open(parentWindow)) {
            return false;
        }
        editor->idle();
#if defined(_WIN32)
        SetTimer(static_cast<HWND>(parentWindow), reinterpret_cast<UINT_PTR>(this), IdlePeriodMs, &OnWin32Timer);
#endif
        return true;
    }

    void CloseGui()
    {
        if (!guiCreated) {
            return;
        }
        editor->close();
        StopIdleTimer();
        parentWindow = nullptr;
        guiCreated = false;
    }

#if defined(_WIN32)
    // The timer's id is the instance; DispatchMessage calls this on the
    // main thread, which owns the host's window.
    static void CALLBACK OnWin32Timer(HWND, UINT, UINT_PTR id, DWORD)
    {
        auto* self = reinterpret_cast<ClapPlugin*>(id);
        if (self->guiCreated) {
            self->editor->idle();
        }
    }

    bool StartIdleTimer()
    {
        return true;
    }
    void StopIdleTimer()
    {
        if (parentWindow != nullptr) {
            KillTimer(static_cast<HWND>(parentWindow), reinterpret_cast<UINT_PTR>(this));
        }
    }
#else
    bool StartIdleTimer()
    {
        return hostTimers->register_timer(host, IdlePeriodMs, &idleTimer);
    }
    void StopIdleTimer()
    {
        hostTimers->unregister_timer(host, idleTimer);
        idleTimer = CLAP_INVALID_ID;
    }
#endif

    // --- Members -------------------------------------------------------------------

    clap_plugin_t record {};
    const clap_host_t* host;
    const clap_host_params_t* hostParams = nullptr;
    const clap_host_tail_t* hostTail = nullptr;
    const clap_host_timer_support_t* hostTimers = nullptr;
    const clap_host_gui_t* hostGui = nullptr;
    Plugin plugin;
    Flow flow;
    ParameterEditQueue<EditQueueSize> edits;
    // The output list of the process or flush that is running, and the time
    // its events carry (audio thread, or the main thread while inactive).
    const clap_output_events_t* eventsOut = nullptr;
    std::uint32_t eventTime = 0;
    double sampleRate = DefaultSampleRate;
    std::atomic<std::uint32_t> tailSamples {0};
    // Set where the parameters move, taken by the audio thread after a block.
    std::atomic<bool> tailMayHaveChanged {false};
    // The editor and its window (main thread).
    std::unique_ptr<Editor> editor;
    bool guiCreated = false;
    void* parentWindow = nullptr;
    clap_id idleTimer = CLAP_INVALID_ID;
    // Saved and loaded states pass through here (main thread).
    unsigned char stateImage[State::Size] = {};
};
