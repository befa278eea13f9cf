#include "ClapHost.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {

/// A state stream over a byte vector with the limits a test asks for.
struct Stream {
    std::vector<std::uint8_t>* bytes;
    const std::vector<std::uint8_t>* source;
    std::uint64_t position;
    ClapStreamLimits limits;

    /// The bytes the next call may move, or -1 once the stream has failed.
    std::int64_t Allowance(std::uint64_t asked) const
    {
        if (limits.failAfter >= 0 && position >= static_cast<std::uint64_t>(limits.failAfter))
            return -1;
        std::uint64_t allowed = std::min(asked, limits.bytesPerCall);
        if (limits.failAfter >= 0)
            allowed = std::min(allowed, static_cast<std::uint64_t>(limits.failAfter) - position);
        return static_cast<std::int64_t>(allowed);
    }

    static std::int64_t CLAP_ABI Write(const clap_ostream_t* stream, const void* buffer, std::uint64_t size)
    {
        auto* self = static_cast<Stream*>(stream->ctx);
        const std::int64_t count = self->Allowance(size);
        if (count > 0) {
            const auto* from = static_cast<const std::uint8_t*>(buffer);
            self->bytes->insert(self->bytes->end(), from, from + count);
            self->position += static_cast<std::uint64_t>(count);
        }
        return count;
    }

    static std::int64_t CLAP_ABI Read(const clap_istream_t* stream, void* buffer, std::uint64_t size)
    {
        auto* self = static_cast<Stream*>(stream->ctx);
        const std::uint64_t left = self->source->size() - std::min<std::uint64_t>(self->position, self->source->size());
        std::int64_t count = self->Allowance(std::min(size, left));
        if (count > 0) {
            std::memcpy(buffer, self->source->data() + self->position, static_cast<std::size_t>(count));
            self->position += static_cast<std::uint64_t>(count);
        }
        return count;
    }
};

constexpr double SecondsPerMinute = 60.0;

} // namespace

ClapHost::ClapHost()
{
    host.clap_version = CLAP_VERSION;
    host.host_data = this;
    host.name = "ombrix tools";
    host.vendor = "Tervane Sound Design";
    host.url = "";
    host.version = "1.0.0";
    host.get_extension = GetHostExtension;
    host.request_restart = RequestRestart;
    host.request_process = RequestProcess;
    host.request_callback = RequestCallback;
    inputEvents.ctx = this;
    inputEvents.size = EventCount;
    inputEvents.get = EventAt;
    outputList.ctx = this;
    outputList.try_push = TryPush;
}

ClapHost::~ClapHost()
{
    Close();
}

bool ClapHost::Load(const std::string& path, std::string& error)
{
    Close();
    auto library = std::make_unique<ClapLibrary>();
    if (!library->Load(path, error) || !Open(*library, "", error))
        return false;
    ownLibrary = std::move(library);
    return true;
}

bool ClapHost::Open(const ClapLibrary& library, const std::string& pluginId, std::string& error)
{
    return Open(library.GetFactory(), pluginId, library.GetPath(), error);
}

bool ClapHost::Open(
    const clap_plugin_factory_t& factory, const std::string& pluginId, const std::string& where, std::string& error)
{
    Close();
    const clap_plugin_descriptor_t* first
        = factory.get_plugin_count(&factory) > 0 ? factory.get_plugin_descriptor(&factory, 0) : nullptr;
    if (first == nullptr) {
        error = where + " offers no plug-in";
        return false;
    }
    const char* id = pluginId.empty() ? first->id : pluginId.c_str();
    const clap_plugin_t* created = factory.create_plugin(&factory, &host, id);
    if (created == nullptr) {
        error = where + " did not create the plug-in " + id;
        return false;
    }
    if (!created->init(created)) {
        error = where + ": the plug-in " + id + " failed to initialise";
        created->destroy(created);
        return false;
    }
    plugin = created;
    return true;
}

void ClapHost::Close()
{
    if (plugin != nullptr) {
        DestroyGui();
        StopProcessing();
        Deactivate();
        plugin->destroy(plugin);
        plugin = nullptr;
    }
    timers.clear();
    ownLibrary.reset();
}

const void* ClapHost::GetExtension(const char* id) const
{
    return plugin->get_extension(plugin, id);
}

// --- Ports --------------------------------------------------------------------------------------

std::uint32_t ClapHost::GetAudioPortCount(bool isInput) const
{
    const auto* ports = static_cast<const clap_plugin_audio_ports_t*>(GetExtension(CLAP_EXT_AUDIO_PORTS));
    return ports != nullptr ? ports->count(plugin, isInput) : 0;
}

bool ClapHost::GetAudioPort(std::uint32_t index, bool isInput, clap_audio_port_info_t& info) const
{
    const auto* ports = static_cast<const clap_plugin_audio_ports_t*>(GetExtension(CLAP_EXT_AUDIO_PORTS));
    return ports != nullptr && ports->get(plugin, index, isInput, &info);
}

std::uint32_t ClapHost::GetNotePortCount(bool isInput) const
{
    const auto* ports = static_cast<const clap_plugin_note_ports_t*>(GetExtension(CLAP_EXT_NOTE_PORTS));
    return ports != nullptr ? ports->count(plugin, isInput) : 0;
}

bool ClapHost::GetNotePort(std::uint32_t index, bool isInput, clap_note_port_info_t& info) const
{
    const auto* ports = static_cast<const clap_plugin_note_ports_t*>(GetExtension(CLAP_EXT_NOTE_PORTS));
    return ports != nullptr && ports->get(plugin, index, isInput, &info);
}

// --- Parameters ---------------------------------------------------------------------------------

const clap_plugin_params_t* ClapHost::Params() const
{
    return static_cast<const clap_plugin_params_t*>(GetExtension(CLAP_EXT_PARAMS));
}

std::uint32_t ClapHost::GetParameterCount() const
{
    const clap_plugin_params_t* params = Params();
    return params != nullptr ? params->count(plugin) : 0;
}

bool ClapHost::GetParameterInfo(std::uint32_t index, clap_param_info_t& info) const
{
    const clap_plugin_params_t* params = Params();
    return params != nullptr && params->get_info(plugin, index, &info);
}

bool ClapHost::GetParameterValue(clap_id id, double& value) const
{
    const clap_plugin_params_t* params = Params();
    return params != nullptr && params->get_value(plugin, id, &value);
}

bool ClapHost::ValueToText(clap_id id, double value, std::string& text) const
{
    const clap_plugin_params_t* params = Params();
    char buffer[CLAP_NAME_SIZE] = {};
    if (params == nullptr || !params->value_to_text(plugin, id, value, buffer, sizeof buffer))
        return false;
    buffer[sizeof buffer - 1] = '\0';
    text = buffer;
    return true;
}

bool ClapHost::TextToValue(clap_id id, const std::string& text, double& value) const
{
    const clap_plugin_params_t* params = Params();
    return params != nullptr && params->text_to_value(plugin, id, text.c_str(), &value);
}

std::uint32_t ClapHost::GetLatency() const
{
    const auto* latency = static_cast<const clap_plugin_latency_t*>(GetExtension(CLAP_EXT_LATENCY));
    return latency != nullptr ? latency->get(plugin) : 0;
}

std::uint32_t ClapHost::GetTail() const
{
    const auto* tail = static_cast<const clap_plugin_tail_t*>(GetExtension(CLAP_EXT_TAIL));
    return tail != nullptr ? tail->get(plugin) : 0;
}

// --- Life cycle ---------------------------------------------------------------------------------

bool ClapHost::Activate(double rate, std::uint32_t minFrames, std::uint32_t maxFrames)
{
    if (active)
        Deactivate();
    active = plugin->activate(plugin, rate, minFrames, maxFrames);
    if (active)
        sampleRate = rate;
    return active;
}

void ClapHost::Deactivate()
{
    if (!active)
        return;
    StopProcessing();
    plugin->deactivate(plugin);
    active = false;
}

bool ClapHost::StartProcessing()
{
    if (!processing && active)
        processing = plugin->start_processing(plugin);
    return processing;
}

void ClapHost::StopProcessing()
{
    if (processing)
        plugin->stop_processing(plugin);
    processing = false;
}

void ClapHost::Reset()
{
    if (active)
        plugin->reset(plugin);
}

// --- Events and processing ----------------------------------------------------------------------

void ClapHost::AddEvent(const clap_event_header_t& event)
{
    StoredEvent stored {};
    std::memcpy(stored.bytes, &event, std::min<std::size_t>(event.size, sizeof stored.bytes));
    addedEvents.push_back(stored);
}

void ClapHost::AddParameterValue(std::uint32_t time, clap_id id, double value)
{
    clap_event_param_value_t event {};
    event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    AddEvent(event.header);
}

void ClapHost::AddMidi(std::uint32_t time, std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    clap_event_midi_t event {};
    event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
    event.port_index = 0;
    event.data[0] = status;
    event.data[1] = data1;
    event.data[2] = data2;
    AddEvent(event.header);
}

void ClapHost::SetTransport(double beatsPerMinute, double positionBeats)
{
    hasTransport = true;
    tempo = beatsPerMinute;
    beats = positionBeats;
}

// The list a process or flush reads: the added events, sorted by time as hosts deliver them.
void ClapHost::TakeEvents()
{
    deliveredEvents.swap(addedEvents);
    addedEvents.clear();
    const auto earlier = [](const StoredEvent& a, const StoredEvent& b) {
        return reinterpret_cast<const clap_event_header_t*>(a.bytes)->time
            < reinterpret_cast<const clap_event_header_t*>(b.bytes)->time;
    };
    // Events usually come in order; a stable sort would allocate for each block.
    if (!std::is_sorted(deliveredEvents.begin(), deliveredEvents.end(), earlier)) {
        std::stable_sort(deliveredEvents.begin(), deliveredEvents.end(), earlier);
    }
    lastOutputTime = 0;
}

clap_process_status ClapHost::Process(float** inputs, float** outputs, std::uint32_t frames)
{
    StartProcessing();
    TakeEvents();
    clap_audio_buffer_t in {inputs, nullptr, 2, 0, 0};
    clap_audio_buffer_t out {outputs, nullptr, 2, 0, 0};
    clap_event_transport_t transport {};
    transport.header = {sizeof transport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
    transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_IS_PLAYING;
    transport.tempo = tempo;
    transport.song_pos_beats = static_cast<clap_beattime>(std::llround(beats * CLAP_BEATTIME_FACTOR));
    clap_process_t process {};
    process.steady_time = steadyTime;
    process.frames_count = frames;
    process.transport = hasTransport ? &transport : nullptr;
    process.audio_inputs = &in;
    process.audio_outputs = &out;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = &inputEvents;
    process.out_events = &outputList;
    const clap_process_status status = plugin->process(plugin, &process);
    deliveredEvents.clear();
    steadyTime += frames;
    beats += frames / sampleRate * tempo / SecondsPerMinute;
    return status;
}

void ClapHost::Flush()
{
    const clap_plugin_params_t* params = Params();
    TakeEvents();
    if (params != nullptr)
        params->flush(plugin, &inputEvents, &outputList);
    deliveredEvents.clear();
}

bool ClapHost::ServiceRequests()
{
    if (!flushRequested || processing)
        return false;
    flushRequested = false;
    Flush();
    return true;
}

void ClapHost::SetOutputListener(std::function<void(const ClapOutputEvent&)> listener)
{
    outputListener = std::move(listener);
}

int ClapHost::GetRescanRequests(std::uint32_t flags) const
{
    return static_cast<int>(std::count(rescans.begin(), rescans.end(), flags));
}

std::uint32_t CLAP_ABI ClapHost::EventCount(const clap_input_events_t* list)
{
    return static_cast<std::uint32_t>(static_cast<ClapHost*>(list->ctx)->deliveredEvents.size());
}

const clap_event_header_t* CLAP_ABI ClapHost::EventAt(const clap_input_events_t* list, std::uint32_t index)
{
    const std::vector<StoredEvent>& events = static_cast<ClapHost*>(list->ctx)->deliveredEvents;
    return index < events.size() ? reinterpret_cast<const clap_event_header_t*>(events[index].bytes) : nullptr;
}

bool CLAP_ABI ClapHost::TryPush(const clap_output_events_t* list, const clap_event_header_t* event)
{
    if (event == nullptr)
        return false;
    static_cast<ClapHost*>(list->ctx)->Keep(*event);
    return true;
}

void ClapHost::Keep(const clap_event_header_t& event)
{
    ClapOutputEvent kept;
    kept.type = event.type;
    kept.time = event.time;
    kept.flags = event.flags;
    if (event.type == CLAP_EVENT_PARAM_VALUE && event.size >= sizeof(clap_event_param_value_t)) {
        const auto& value = reinterpret_cast<const clap_event_param_value_t&>(event);
        kept.paramId = value.param_id;
        kept.value = value.value;
    } else if ((event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || event.type == CLAP_EVENT_PARAM_GESTURE_END)
        && event.size >= sizeof(clap_event_param_gesture_t)) {
        kept.paramId = reinterpret_cast<const clap_event_param_gesture_t&>(event).param_id;
    }
    outputBackInTime = outputBackInTime || event.time < lastOutputTime;
    lastOutputTime = event.time;
    outputEvents.push_back(kept);
    if (outputListener)
        outputListener(kept);
}

// --- State --------------------------------------------------------------------------------------

bool ClapHost::SaveState(std::vector<std::uint8_t>& bytes, const ClapStreamLimits& limits)
{
    const auto* state = static_cast<const clap_plugin_state_t*>(GetExtension(CLAP_EXT_STATE));
    bytes.clear();
    Stream context {&bytes, nullptr, 0, limits};
    const clap_ostream_t stream {&context, Stream::Write};
    return state != nullptr && state->save(plugin, &stream);
}

bool ClapHost::LoadState(const std::vector<std::uint8_t>& bytes, const ClapStreamLimits& limits)
{
    const auto* state = static_cast<const clap_plugin_state_t*>(GetExtension(CLAP_EXT_STATE));
    Stream context {nullptr, &bytes, 0, limits};
    const clap_istream_t stream {&context, Stream::Read};
    return state != nullptr && state->load(plugin, &stream);
}

// --- GUI ----------------------------------------------------------------------------------------

const clap_plugin_gui_t* ClapHost::Gui() const
{
    return static_cast<const clap_plugin_gui_t*>(GetExtension(CLAP_EXT_GUI));
}

bool ClapHost::IsGuiApiSupported(const char* api, bool isFloating) const
{
    const clap_plugin_gui_t* gui = Gui();
    return gui != nullptr && gui->is_api_supported(plugin, api, isFloating);
}

bool ClapHost::GetPreferredGuiApi(std::string& api, bool& isFloating) const
{
    const clap_plugin_gui_t* gui = Gui();
    const char* preferred = nullptr;
    if (gui == nullptr || !gui->get_preferred_api(plugin, &preferred, &isFloating) || preferred == nullptr)
        return false;
    api = preferred;
    return true;
}

bool ClapHost::CreateGui(const char* api, bool isFloating)
{
    const clap_plugin_gui_t* gui = Gui();
    guiCreated = gui != nullptr && gui->create(plugin, api, isFloating);
    return guiCreated;
}

bool ClapHost::GetGuiSize(std::uint32_t& width, std::uint32_t& height) const
{
    const clap_plugin_gui_t* gui = Gui();
    return gui != nullptr && gui->get_size(plugin, &width, &height);
}

bool ClapHost::CanGuiResize() const
{
    const clap_plugin_gui_t* gui = Gui();
    return gui != nullptr && gui->can_resize(plugin);
}

bool ClapHost::SetGuiParent(const char* api, std::uintptr_t window)
{
    const clap_plugin_gui_t* gui = Gui();
    clap_window_t parent {};
    parent.api = api;
    if (std::strcmp(api, CLAP_WINDOW_API_X11) == 0)
        parent.x11 = static_cast<unsigned long>(window);
    else
        parent.win32 = reinterpret_cast<void*>(window);
    return gui != nullptr && gui->set_parent(plugin, &parent);
}

bool ClapHost::ShowGui()
{
    const clap_plugin_gui_t* gui = Gui();
    return gui != nullptr && gui->show(plugin);
}

bool ClapHost::HideGui()
{
    const clap_plugin_gui_t* gui = Gui();
    return gui != nullptr && gui->hide(plugin);
}

void ClapHost::DestroyGui()
{
    const clap_plugin_gui_t* gui = Gui();
    if (guiCreated && gui != nullptr)
        gui->destroy(plugin);
    guiCreated = false;
}

void ClapHost::FireTimers()
{
    const auto* support = static_cast<const clap_plugin_timer_support_t*>(GetExtension(CLAP_EXT_TIMER_SUPPORT));
    // A copy: a timer callback may register or unregister timers.
    const std::vector<Timer> due = timers;
    for (const Timer& timer : due) {
        if (support != nullptr)
            support->on_timer(plugin, timer.id);
    }
}

// --- The host's side ----------------------------------------------------------------------------

ClapHost* ClapHost::From(const clap_host_t* host)
{
    return static_cast<ClapHost*>(host->host_data);
}

const void* CLAP_ABI ClapHost::GetHostExtension(const clap_host_t* host, const char* id)
{
    static constexpr clap_host_params_t params = {Rescan, Clear, RequestFlush};
    static constexpr clap_host_state_t state = {MarkDirty};
    static constexpr clap_host_latency_t latency = {LatencyChanged};
    static constexpr clap_host_tail_t tail = {TailChanged};
    static constexpr clap_host_timer_support_t timerSupport = {RegisterTimer, UnregisterTimer};
    static constexpr clap_host_gui_t gui = {[](const clap_host_t*) {}, RequestResize,
        [](const clap_host_t*) { return false; }, [](const clap_host_t*) { return false; },
        [](const clap_host_t*, bool) {}};
    if (id == nullptr)
        return nullptr;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
        return &params;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0)
        return &state;
    if (std::strcmp(id, CLAP_EXT_LATENCY) == 0)
        return &latency;
    if (std::strcmp(id, CLAP_EXT_TAIL) == 0)
        return &tail;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0 && From(host)->offerTimers)
        return &timerSupport;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0 && From(host)->resizeListener)
        return &gui;
    return nullptr;
}

void CLAP_ABI ClapHost::RequestRestart(const clap_host_t*) { }
void CLAP_ABI ClapHost::RequestCallback(const clap_host_t*) { }

// A plug-in may ask for processing to get its edits flushed.
void CLAP_ABI ClapHost::RequestProcess(const clap_host_t* host)
{
    RequestFlush(host);
}

void CLAP_ABI ClapHost::Rescan(const clap_host_t* host, std::uint32_t flags)
{
    From(host)->rescans.push_back(flags);
}

void CLAP_ABI ClapHost::Clear(const clap_host_t*, clap_id, std::uint32_t) { }

void CLAP_ABI ClapHost::RequestFlush(const clap_host_t* host)
{
    ClapHost* self = From(host);
    ++self->flushRequests;
    self->flushRequested = true;
}

bool CLAP_ABI ClapHost::RequestResize(const clap_host_t* host, std::uint32_t width, std::uint32_t height)
{
    ClapHost* self = From(host);
    return self->resizeListener && self->resizeListener(width, height);
}

void CLAP_ABI ClapHost::MarkDirty(const clap_host_t*) { }
void CLAP_ABI ClapHost::LatencyChanged(const clap_host_t*) { }

void CLAP_ABI ClapHost::TailChanged(const clap_host_t* host)
{
    ++From(host)->tailChanges;
}

bool CLAP_ABI ClapHost::RegisterTimer(const clap_host_t* host, std::uint32_t periodMs, clap_id* id)
{
    ClapHost* self = From(host);
    if (id == nullptr)
        return false;
    *id = self->nextTimerId++;
    self->timers.push_back({*id, periodMs});
    return true;
}

bool CLAP_ABI ClapHost::UnregisterTimer(const clap_host_t* host, clap_id id)
{
    std::vector<Timer>& timers = From(host)->timers;
    const auto found = std::find_if(timers.begin(), timers.end(), [id](const Timer& timer) { return timer.id == id; });
    if (found == timers.end())
        return false;
    timers.erase(found);
    return true;
}
