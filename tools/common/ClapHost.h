#pragma once

#include "ClapAbi.h"
#include "ClapLibrary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// An event a plug-in pushed to the host, as the host keeps it.
struct ClapOutputEvent {
    std::uint16_t type = 0; ///< CLAP_EVENT_PARAM_VALUE, _GESTURE_BEGIN or _GESTURE_END, or another
    std::uint32_t time = 0;
    std::uint32_t flags = 0;
    clap_id paramId = CLAP_INVALID_ID;
    double value = 0.0; ///< of a parameter value
};

/// How a state stream moves bytes: at most `bytesPerCall` per read or write call, and after
/// `failAfter` bytes (when not negative) every call answers -1, as a failing disk does.
struct ClapStreamLimits {
    std::uint64_t bytesPerCall = UINT64_MAX;
    std::int64_t failAfter = -1;
};

/// A CLAP host for one plug-in instance created from a ClapLibrary, written from the interface's
/// facts: it offers the params, state, latency, tail and (unless withheld) timer-support
/// extensions, and drives the instance through thin wrappers: parameters and their texts,
/// activation and processing with parameter and MIDI events at sample positions and a transport,
/// params.flush, state streams, audio and note ports, and the embedded GUI with the host's timers.
///
/// Events for the plug-in are added before Process or Flush and delivered sorted by time; what
/// the plug-in pushes is kept (GetOutputEvents) and passed to an optional listener. The host
/// records the plug-in's requests (flush, restart, callback, rescans, tail changes) so that a
/// caller can serve them as a host's main loop does (ServiceRequests). One thread is the main
/// thread; Process, StartProcessing, StopProcessing, Reset and, while active, Flush may be called
/// from another (the audio thread), never at the same time as each other.
class ClapHost {
public:
    ClapHost();
    ~ClapHost();
    ClapHost(const ClapHost&) = delete;
    ClapHost& operator=(const ClapHost&) = delete;

    /// Before Open: whether the host offers timer support (hosts without it exist).
    void OfferTimerSupport(bool offer) { offerTimers = offer; }
    /// With a listener the host offers its gui extension: every request_resize (width, height)
    /// goes to it, and it answers whether the window took the size. Without one the gui
    /// extension is not offered.
    void SetResizeListener(std::function<bool(std::uint32_t width, std::uint32_t height)> listener)
    {
        resizeListener = std::move(listener);
    }

    /// Creates and initialises the plug-in `pluginId` (empty: the factory's first) from `library`,
    /// which must stay loaded until Close. On failure answers false with a one-line reason.
    bool Open(const ClapLibrary& library, const std::string& pluginId, std::string& error);
    /// The same from a factory at hand (a plug-in linked into the program), whose source is named
    /// `where` in errors.
    bool Open(const clap_plugin_factory_t& factory, const std::string& pluginId, const std::string& where,
        std::string& error);
    /// Loads the file at `path` for this host alone, then opens its first plug-in.
    bool Load(const std::string& path, std::string& error);
    /// Stops processing, deactivates, destroys the GUI and the plug-in; unloads a library of its own.
    void Close();
    bool IsOpen() const { return plugin != nullptr; }

    const clap_plugin_t* GetPlugin() const { return plugin; }
    const clap_plugin_descriptor_t& GetDescriptor() const { return *plugin->desc; }
    /// The plug-in's extension `id`, or null.
    const void* GetExtension(const char* id) const;

    // Ports.
    std::uint32_t GetAudioPortCount(bool isInput) const;
    bool GetAudioPort(std::uint32_t index, bool isInput, clap_audio_port_info_t& info) const;
    std::uint32_t GetNotePortCount(bool isInput) const;
    bool GetNotePort(std::uint32_t index, bool isInput, clap_note_port_info_t& info) const;

    // Parameters, through the params extension; none without it.
    std::uint32_t GetParameterCount() const;
    bool GetParameterInfo(std::uint32_t index, clap_param_info_t& info) const;
    bool GetParameterValue(clap_id id, double& value) const;
    bool ValueToText(clap_id id, double value, std::string& text) const;
    bool TextToValue(clap_id id, const std::string& text, double& value) const;

    // Latency and tail in samples; 0 without the extension.
    std::uint32_t GetLatency() const;
    std::uint32_t GetTail() const;

    // Life cycle.
    bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void Deactivate();
    bool IsActive() const { return active; }
    bool StartProcessing();
    void StopProcessing();
    bool IsProcessing() const { return processing; }
    void Reset();

    // Events for the next Process or Flush, at sample offsets of its block.
    void AddParameterValue(std::uint32_t time, clap_id id, double value);
    void AddMidi(std::uint32_t time, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    /// Any event, given whole (its header's size says how long it is; at most 128 bytes).
    void AddEvent(const clap_event_header_t& event);
    /// The transport of the coming blocks: tempo in beats per minute, position in beats at the
    /// block's first sample; advanced with every block. Without it blocks carry no transport.
    void SetTransport(double tempo, double beats);

    /// One block of two-channel audio with the added events (which are then cleared). The host
    /// starts processing first if it is not processing.
    clap_process_status Process(float** inputs, float** outputs, std::uint32_t frames);
    /// params.flush with the added events (which are then cleared).
    void Flush();
    /// What a host's main loop does with the plug-in's requests: a flush it asked for while
    /// nothing processes; answers whether one was made.
    bool ServiceRequests();

    const std::vector<ClapOutputEvent>& GetOutputEvents() const { return outputEvents; }
    void ClearOutputEvents() { outputEvents.clear(); }
    /// Called for every event the plug-in pushes, on the thread that pushes it.
    void SetOutputListener(std::function<void(const ClapOutputEvent&)> listener);
    /// Whether pushed events ever went back in time within one block or flush.
    bool OutputWentBackInTime() const { return outputBackInTime; }

    // The plug-in's requests, counted since the instance was created.
    int GetFlushRequests() const { return flushRequests; }
    int GetRescanRequests(std::uint32_t flags) const;
    int GetTailChanges() const { return tailChanges; }

    /// Saves the plug-in's state into `bytes` through a stream with `limits`; answers what save does.
    bool SaveState(std::vector<std::uint8_t>& bytes, const ClapStreamLimits& limits = {});
    /// Loads `bytes` through a stream with `limits` (the stream ends after the bytes).
    bool LoadState(const std::vector<std::uint8_t>& bytes, const ClapStreamLimits& limits = {});

    // The embedded GUI.
    bool IsGuiApiSupported(const char* api, bool isFloating) const;
    bool GetPreferredGuiApi(std::string& api, bool& isFloating) const;
    bool CreateGui(const char* api, bool isFloating);
    bool GetGuiSize(std::uint32_t& width, std::uint32_t& height) const;
    bool CanGuiResize() const;
    /// `window` is an X11 window id (x11) or an HWND (win32).
    bool SetGuiParent(const char* api, std::uintptr_t window);
    bool ShowGui();
    bool HideGui();
    void DestroyGui();

    /// Timers the plug-in registered and has not unregistered.
    std::size_t GetTimerCount() const { return timers.size(); }
    /// Calls on_timer once for every registered timer, as the host's loop does when they are due.
    void FireTimers();

private:
    struct StoredEvent {
        alignas(8) unsigned char bytes[128];
    };
    struct Timer {
        clap_id id;
        std::uint32_t periodMs;
    };

    static ClapHost* From(const clap_host_t* host);
    static const void* CLAP_ABI GetHostExtension(const clap_host_t* host, const char* id);
    static void CLAP_ABI RequestRestart(const clap_host_t* host);
    static void CLAP_ABI RequestProcess(const clap_host_t* host);
    static void CLAP_ABI RequestCallback(const clap_host_t* host);
    static void CLAP_ABI Rescan(const clap_host_t* host, std::uint32_t flags);
    static void CLAP_ABI Clear(const clap_host_t* host, clap_id id, std::uint32_t flags);
    static void CLAP_ABI RequestFlush(const clap_host_t* host);
    static void CLAP_ABI MarkDirty(const clap_host_t* host);
    static void CLAP_ABI LatencyChanged(const clap_host_t* host);
    static void CLAP_ABI TailChanged(const clap_host_t* host);
    static bool CLAP_ABI RegisterTimer(const clap_host_t* host, std::uint32_t periodMs, clap_id* id);
    static bool CLAP_ABI UnregisterTimer(const clap_host_t* host, clap_id id);
    static bool CLAP_ABI RequestResize(const clap_host_t* host, std::uint32_t width, std::uint32_t height);
    static std::uint32_t CLAP_ABI EventCount(const clap_input_events_t* list);
    static const clap_event_header_t* CLAP_ABI EventAt(const clap_input_events_t* list, std::uint32_t index);
    static bool CLAP_ABI TryPush(const clap_output_events_t* list, const clap_event_header_t* event);

    const clap_plugin_params_t* Params() const;
    const clap_plugin_gui_t* Gui() const;
    void TakeEvents();
    void Keep(const clap_event_header_t& event);

    clap_host_t host {};
    std::unique_ptr<ClapLibrary> ownLibrary;
    const clap_plugin_t* plugin = nullptr;
    bool offerTimers = true;
    bool active = false;
    bool processing = false;
    bool guiCreated = false;
    std::vector<StoredEvent> addedEvents;
    std::vector<StoredEvent> deliveredEvents;
    clap_input_events_t inputEvents {};
    clap_output_events_t outputList {};
    std::vector<ClapOutputEvent> outputEvents;
    std::uint32_t lastOutputTime = 0;
    bool outputBackInTime = false;
    std::function<void(const ClapOutputEvent&)> outputListener;
    std::function<bool(std::uint32_t, std::uint32_t)> resizeListener;
    bool hasTransport = false;
    double tempo = 120.0;
    double beats = 0.0;
    double sampleRate = 44100.0;
    std::int64_t steadyTime = 0;
    int flushRequests = 0;
    bool flushRequested = false;
    std::vector<std::uint32_t> rescans;
    int tailChanges = 0;
    std::vector<Timer> timers;
    clap_id nextTimerId = 1;
};
