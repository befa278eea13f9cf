#pragma once

// The CLAP binary interface (version 1.2.10): the records, vtables, constants
// and extension ids that a plug-in and a host exchange, declared from the
// interface's published layouts. Plug-ins, test hosts and tools share this
// header, so it depends on nothing but <stdint.h> and <stddef.h> (a
// freestanding compile checks the 32-bit Linux layout). The static_asserts at
// the end hold on 32-bit Linux, 32-bit Windows and x86-64 (Linux and Windows
// alike); the two 32-bit layouts differ wherever a record holds a 64-bit
// number, which 32-bit Windows aligns to 8 bytes and 32-bit Linux to 4.
//
// Records keep the interface's own names. Every function pointer uses the C
// calling convention (CLAP_ABI): callbacks handed to the other side must be
// free functions or static members declared with it. No packing options:
// every record has the platform's natural layout. bool is one byte, 0 or 1.

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

// --- Conventions ------------------------------------------------------------

struct clap_version_t {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};

inline constexpr clap_version_t CLAP_VERSION = {1, 2, 10};

// Versions before 1.0 were development versions.
constexpr bool clap_version_is_compatible(const clap_version_t& version)
{
    return version.major >= 1;
}

using clap_id = uint32_t;
inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;

// Capacities of the fixed text fields, terminator included.
inline constexpr int CLAP_NAME_SIZE = 256;
inline constexpr int CLAP_PATH_SIZE = 1024;

// --- Entry and factory --------------------------------------------------------

struct clap_plugin_entry_t {
    clap_version_t clap_version;
    bool(CLAP_ABI* init)(const char* plugin_path);
    void(CLAP_ABI* deinit)(void);
    const void*(CLAP_ABI* get_factory)(const char* factory_id);
};

inline constexpr const char* CLAP_PLUGIN_FACTORY_ID = "clap.plugin-factory";

struct clap_plugin_descriptor_t {
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features; // ends with a null pointer
};

struct clap_host_t;
struct clap_plugin_t;

struct clap_plugin_factory_t {
    uint32_t(CLAP_ABI* get_plugin_count)(const clap_plugin_factory_t* factory);
    const clap_plugin_descriptor_t*(CLAP_ABI* get_plugin_descriptor)(
        const clap_plugin_factory_t* factory, uint32_t index);
    const clap_plugin_t*(CLAP_ABI* create_plugin)(
        const clap_plugin_factory_t* factory, const clap_host_t* host, const char* plugin_id);
};

// --- Events -----------------------------------------------------------------

inline constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum : uint16_t {
    CLAP_EVENT_NOTE_ON = 0,
    CLAP_EVENT_NOTE_OFF = 1,
    CLAP_EVENT_NOTE_CHOKE = 2,
    CLAP_EVENT_NOTE_END = 3,
    CLAP_EVENT_NOTE_EXPRESSION = 4,
    CLAP_EVENT_PARAM_VALUE = 5,
    CLAP_EVENT_PARAM_MOD = 6,
    CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
    CLAP_EVENT_PARAM_GESTURE_END = 8,
    CLAP_EVENT_TRANSPORT = 9,
    CLAP_EVENT_MIDI = 10,
    CLAP_EVENT_MIDI_SYSEX = 11,
    CLAP_EVENT_MIDI2 = 12,
};

enum : uint32_t {
    CLAP_EVENT_IS_LIVE = 1u << 0,
    CLAP_EVENT_DONT_RECORD = 1u << 1,
};

struct clap_event_header_t {
    uint32_t size; // of the whole event
    uint32_t time; // sample offset within the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};

// The value is the parameter's plain value, within its info's range.
struct clap_event_param_value_t {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    int32_t note_id; // -1, and -1 for port, channel and key: the whole plug-in
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};

struct clap_event_param_gesture_t {
    clap_event_header_t header;
    clap_id param_id;
};

using clap_beattime = int64_t;
using clap_sectime = int64_t;
inline constexpr int64_t CLAP_BEATTIME_FACTOR = int64_t(1) << 31;
inline constexpr int64_t CLAP_SECTIME_FACTOR = int64_t(1) << 31;

enum : uint32_t {
    CLAP_TRANSPORT_HAS_TEMPO = 1u << 0, // tempo, tempo_inc
    CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1u << 1, // the *_beats fields, bar_start, bar_number
    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1u << 2,
    CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1u << 3,
    CLAP_TRANSPORT_IS_PLAYING = 1u << 4,
    CLAP_TRANSPORT_IS_RECORDING = 1u << 5,
    CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1u << 6,
    CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1u << 7,
};

struct clap_event_transport_t {
    clap_event_header_t header;
    uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo; // beats per minute
    double tempo_inc;
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};

// One MIDI 1.0 channel message: status byte, then up to two data bytes.
struct clap_event_midi_t {
    clap_event_header_t header;
    uint16_t port_index;
    uint8_t data[3];
};

// The bytes are the host's and live until process returns.
struct clap_event_midi_sysex_t {
    clap_event_header_t header;
    uint16_t port_index;
    const uint8_t* buffer;
    uint32_t size;
};

// Sorted by time; go through get, the events differ in size.
struct clap_input_events_t {
    void* ctx;
    uint32_t(CLAP_ABI* size)(const clap_input_events_t* list);
    const clap_event_header_t*(CLAP_ABI* get)(const clap_input_events_t* list, uint32_t index);
};

// The host copies header.size bytes; false means the event was lost.
struct clap_output_events_t {
    void* ctx;
    bool(CLAP_ABI* try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};

// --- Processing ---------------------------------------------------------------

// Bit i of constant_mask: every sample of channel i equals its first.
struct clap_audio_buffer_t {
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
};

struct clap_process_t {
    int64_t steady_time; // -1 when unknown
    uint32_t frames_count;
    const clap_event_transport_t* transport; // null: free-running host
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};

using clap_process_status = int32_t;
enum : clap_process_status {
    CLAP_PROCESS_ERROR = 0,
    CLAP_PROCESS_CONTINUE = 1,
    CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
    CLAP_PROCESS_TAIL = 3,
    CLAP_PROCESS_SLEEP = 4,
};

// --- Plug-in and host -----------------------------------------------------------

struct clap_plugin_t {
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    bool(CLAP_ABI* init)(const clap_plugin_t* plugin);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* activate)(
        const clap_plugin_t* plugin, double sample_rate, uint32_t min_frames_count, uint32_t max_frames_count);
    void(CLAP_ABI* deactivate)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* start_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* stop_processing)(const clap_plugin_t* plugin);
    void(CLAP_ABI* reset)(const clap_plugin_t* plugin);
    clap_process_status(CLAP_ABI* process)(const clap_plugin_t* plugin, const clap_process_t* process);
    const void*(CLAP_ABI* get_extension)(const clap_plugin_t* plugin, const char* id);
    void(CLAP_ABI* on_main_thread)(const clap_plugin_t* plugin);
};

struct clap_host_t {
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(CLAP_ABI* get_extension)(const clap_host_t* host, const char* extension_id);
    void(CLAP_ABI* request_restart)(const clap_host_t* host);
    void(CLAP_ABI* request_process)(const clap_host_t* host);
    void(CLAP_ABI* request_callback)(const clap_host_t* host);
};

// --- Extensions ---------------------------------------------------------------

inline constexpr const char* CLAP_EXT_AUDIO_PORTS = "clap.audio-ports";
inline constexpr const char* CLAP_EXT_NOTE_PORTS = "clap.note-ports";
inline constexpr const char* CLAP_EXT_PARAMS = "clap.params";
inline constexpr const char* CLAP_EXT_STATE = "clap.state";
inline constexpr const char* CLAP_EXT_LATENCY = "clap.latency";
inline constexpr const char* CLAP_EXT_TAIL = "clap.tail";
inline constexpr const char* CLAP_EXT_GUI = "clap.gui";
inline constexpr const char* CLAP_EXT_TIMER_SUPPORT = "clap.timer-support";
inline constexpr const char* CLAP_EXT_THREAD_CHECK = "clap.thread-check";
inline constexpr const char* CLAP_EXT_LOG = "clap.log";

// Audio ports.

enum : uint32_t {
    CLAP_AUDIO_PORT_IS_MAIN = 1,
    CLAP_AUDIO_PORT_SUPPORTS_64BITS = 2,
    CLAP_AUDIO_PORT_PREFERS_64BITS = 4,
    CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 8,
};

inline constexpr const char* CLAP_PORT_MONO = "mono";
inline constexpr const char* CLAP_PORT_STEREO = "stereo";

struct clap_audio_port_info_t {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;
    clap_id in_place_pair;
};

struct clap_plugin_audio_ports_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
};

// Note ports.

enum : uint32_t {
    CLAP_NOTE_DIALECT_CLAP = 1,
    CLAP_NOTE_DIALECT_MIDI = 2,
    CLAP_NOTE_DIALECT_MIDI_MPE = 4,
    CLAP_NOTE_DIALECT_MIDI2 = 8,
};

struct clap_note_port_info_t {
    clap_id id;
    uint32_t supported_dialects;
    uint32_t preferred_dialect;
    char name[CLAP_NAME_SIZE];
};

struct clap_plugin_note_ports_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
    bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_note_port_info_t* info);
};

// Parameters.

enum : uint32_t {
    CLAP_PARAM_IS_STEPPED = 1u << 0,
    CLAP_PARAM_IS_PERIODIC = 1u << 1,
    CLAP_PARAM_IS_HIDDEN = 1u << 2,
    CLAP_PARAM_IS_READONLY = 1u << 3,
    CLAP_PARAM_IS_BYPASS = 1u << 4,
    CLAP_PARAM_IS_AUTOMATABLE = 1u << 5,
    CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1u << 6,
    CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1u << 7,
    CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1u << 8,
    CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1u << 9,
    CLAP_PARAM_IS_MODULATABLE = 1u << 10,
    CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1u << 11,
    CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1u << 12,
    CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1u << 13,
    CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1u << 14,
    CLAP_PARAM_REQUIRES_PROCESS = 1u << 15,
    CLAP_PARAM_IS_ENUM = 1u << 16,
};

enum : uint32_t {
    CLAP_PARAM_RESCAN_VALUES = 1u << 0,
    CLAP_PARAM_RESCAN_TEXT = 1u << 1,
    CLAP_PARAM_RESCAN_INFO = 1u << 2,
    CLAP_PARAM_RESCAN_ALL = 1u << 3,
};

enum : uint32_t {
    CLAP_PARAM_CLEAR_ALL = 1u << 0,
    CLAP_PARAM_CLEAR_AUTOMATIONS = 1u << 1,
    CLAP_PARAM_CLEAR_MODULATIONS = 1u << 2,
};

// Range and default are plain values.
struct clap_param_info_t {
    clap_id id;
    uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;
    double max_value;
    double default_value;
};

struct clap_plugin_params_t {
    uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
    bool(CLAP_ABI* get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool(CLAP_ABI* value_to_text)(
        const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer, uint32_t out_buffer_capacity);
    bool(CLAP_ABI* text_to_value)(
        const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text, double* out_value);
    void(CLAP_ABI* flush)(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out);
};

struct clap_host_params_t {
    void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
    void(CLAP_ABI* clear)(const clap_host_t* host, clap_id param_id, uint32_t flags);
    void(CLAP_ABI* request_flush)(const clap_host_t* host);
};

// State and streams. read answers the bytes read (fewer than asked is fine),
// 0 at the end, -1 on error; write the bytes written or -1.

struct clap_istream_t {
    void* ctx;
    int64_t(CLAP_ABI* read)(const clap_istream_t* stream, void* buffer, uint64_t size);
};

struct clap_ostream_t {
    void* ctx;
    int64_t(CLAP_ABI* write)(const clap_ostream_t* stream, const void* buffer, uint64_t size);
};

struct clap_plugin_state_t {
    bool(CLAP_ABI* save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool(CLAP_ABI* load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};

struct clap_host_state_t {
    void(CLAP_ABI* mark_dirty)(const clap_host_t* host);
};

// Latency and tail, in samples; a tail of INT32_MAX or more is endless.

struct clap_plugin_latency_t {
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

struct clap_host_latency_t {
    void(CLAP_ABI* changed)(const clap_host_t* host);
};

struct clap_plugin_tail_t {
    uint32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};

struct clap_host_tail_t {
    void(CLAP_ABI* changed)(const clap_host_t* host);
};

// GUI. Sizes are physical pixels for win32 and x11.

inline constexpr const char* CLAP_WINDOW_API_WIN32 = "win32";
inline constexpr const char* CLAP_WINDOW_API_X11 = "x11";
inline constexpr const char* CLAP_WINDOW_API_COCOA = "cocoa";
inline constexpr const char* CLAP_WINDOW_API_WAYLAND = "wayland";

// Only the member that matches api is meaningful.
struct clap_window_t {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11; // an X Window id
        void* win32; // an HWND
        void* ptr;
    };
};

struct clap_gui_resize_hints_t {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};

struct clap_plugin_gui_t {
    bool(CLAP_ABI* is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    bool(CLAP_ABI* get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool(CLAP_ABI* create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void(CLAP_ABI* destroy)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* set_scale)(const clap_plugin_t* plugin, double scale);
    bool(CLAP_ABI* get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* can_resize)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool(CLAP_ABI* adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool(CLAP_ABI* set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    bool(CLAP_ABI* set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool(CLAP_ABI* set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void(CLAP_ABI* suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool(CLAP_ABI* show)(const clap_plugin_t* plugin);
    bool(CLAP_ABI* hide)(const clap_plugin_t* plugin);
};

struct clap_host_gui_t {
    void(CLAP_ABI* resize_hints_changed)(const clap_host_t* host);
    bool(CLAP_ABI* request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
    bool(CLAP_ABI* request_show)(const clap_host_t* host);
    bool(CLAP_ABI* request_hide)(const clap_host_t* host);
    void(CLAP_ABI* closed)(const clap_host_t* host, bool was_destroyed);
};

// Timers: the host calls on_timer on its main thread.

struct clap_plugin_timer_support_t {
    void(CLAP_ABI* on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};

struct clap_host_timer_support_t {
    bool(CLAP_ABI* register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
    bool(CLAP_ABI* unregister_timer)(const clap_host_t* host, clap_id timer_id);
};

// Host services.

struct clap_host_thread_check_t {
    bool(CLAP_ABI* is_main_thread)(const clap_host_t* host);
    bool(CLAP_ABI* is_audio_thread)(const clap_host_t* host);
};

using clap_log_severity = int32_t;
enum : clap_log_severity {
    CLAP_LOG_DEBUG = 0,
    CLAP_LOG_INFO = 1,
    CLAP_LOG_WARNING = 2,
    CLAP_LOG_ERROR = 3,
    CLAP_LOG_FATAL = 4,
    CLAP_LOG_HOST_MISBEHAVING = 5,
    CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

struct clap_host_log_t {
    void(CLAP_ABI* log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
};

// --- Layouts ------------------------------------------------------------------

namespace clap_layout {

enum class Target { Linux32, Windows32, X64 };

#if defined(__x86_64__) || defined(_M_X64)
constexpr Target Current = Target::X64;
#elif defined(_WIN32)
constexpr Target Current = Target::Windows32;
#elif defined(__i386__)
constexpr Target Current = Target::Linux32;
#else
#error "the CLAP layouts are declared for x86 and x86-64 only"
#endif

// The number of the current target's column: 32-bit Linux, 32-bit Windows, x86-64.
constexpr size_t Pick(size_t linux32, size_t windows32, size_t x64)
{
    return Current == Target::X64 ? x64 : Current == Target::Windows32 ? windows32 : linux32;
}
// A column that is the same on both 32-bit targets.
constexpr size_t Pick(size_t bits32, size_t x64)
{
    return Pick(bits32, bits32, x64);
}

static_assert(sizeof(void*) == Pick(4, 8), "pointer size of the target");
static_assert(sizeof(bool) == 1, "bool is one byte");

static_assert(sizeof(clap_version_t) == 12 && alignof(clap_version_t) == 4, "clap_version_t");

static_assert(sizeof(clap_plugin_entry_t) == Pick(24, 40) && alignof(clap_plugin_entry_t) == Pick(4, 8), "entry");
static_assert(offsetof(clap_plugin_entry_t, init) == Pick(12, 16), "entry");
static_assert(offsetof(clap_plugin_entry_t, deinit) == Pick(16, 24), "entry");
static_assert(offsetof(clap_plugin_entry_t, get_factory) == Pick(20, 32), "entry");

static_assert(sizeof(clap_plugin_factory_t) == Pick(12, 24), "factory");
static_assert(offsetof(clap_plugin_factory_t, create_plugin) == Pick(8, 16), "factory");

static_assert(sizeof(clap_plugin_descriptor_t) == Pick(48, 88), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, id) == Pick(12, 16), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, name) == Pick(16, 24), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, vendor) == Pick(20, 32), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, url) == Pick(24, 40), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, manual_url) == Pick(28, 48), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, support_url) == Pick(32, 56), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, version) == Pick(36, 64), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, description) == Pick(40, 72), "descriptor");
static_assert(offsetof(clap_plugin_descriptor_t, features) == Pick(44, 80), "descriptor");

static_assert(sizeof(clap_plugin_t) == Pick(48, 96) && alignof(clap_plugin_t) == Pick(4, 8), "plugin");
static_assert(offsetof(clap_plugin_t, plugin_data) == Pick(4, 8), "plugin");
static_assert(offsetof(clap_plugin_t, init) == Pick(8, 16), "plugin");
static_assert(offsetof(clap_plugin_t, destroy) == Pick(12, 24), "plugin");
static_assert(offsetof(clap_plugin_t, activate) == Pick(16, 32), "plugin");
static_assert(offsetof(clap_plugin_t, deactivate) == Pick(20, 40), "plugin");
static_assert(offsetof(clap_plugin_t, start_processing) == Pick(24, 48), "plugin");
static_assert(offsetof(clap_plugin_t, stop_processing) == Pick(28, 56), "plugin");
static_assert(offsetof(clap_plugin_t, reset) == Pick(32, 64), "plugin");
static_assert(offsetof(clap_plugin_t, process) == Pick(36, 72), "plugin");
static_assert(offsetof(clap_plugin_t, get_extension) == Pick(40, 80), "plugin");
static_assert(offsetof(clap_plugin_t, on_main_thread) == Pick(44, 88), "plugin");

static_assert(sizeof(clap_host_t) == Pick(48, 88), "host");
static_assert(offsetof(clap_host_t, host_data) == Pick(12, 16), "host");
static_assert(offsetof(clap_host_t, name) == Pick(16, 24), "host");
static_assert(offsetof(clap_host_t, vendor) == Pick(20, 32), "host");
static_assert(offsetof(clap_host_t, url) == Pick(24, 40), "host");
static_assert(offsetof(clap_host_t, version) == Pick(28, 48), "host");
static_assert(offsetof(clap_host_t, get_extension) == Pick(32, 56), "host");
static_assert(offsetof(clap_host_t, request_restart) == Pick(36, 64), "host");
static_assert(offsetof(clap_host_t, request_process) == Pick(40, 72), "host");
static_assert(offsetof(clap_host_t, request_callback) == Pick(44, 80), "host");

static_assert(sizeof(clap_process_t) == Pick(40, 40, 64) && alignof(clap_process_t) == Pick(4, 8, 8), "process");
static_assert(offsetof(clap_process_t, frames_count) == 8, "process");
static_assert(offsetof(clap_process_t, transport) == Pick(12, 16), "process");
static_assert(offsetof(clap_process_t, audio_inputs) == Pick(16, 24), "process");
static_assert(offsetof(clap_process_t, audio_outputs) == Pick(20, 32), "process");
static_assert(offsetof(clap_process_t, audio_inputs_count) == Pick(24, 40), "process");
static_assert(offsetof(clap_process_t, audio_outputs_count) == Pick(28, 44), "process");
static_assert(offsetof(clap_process_t, in_events) == Pick(32, 48), "process");
static_assert(offsetof(clap_process_t, out_events) == Pick(36, 56), "process");

static_assert(
    sizeof(clap_audio_buffer_t) == Pick(24, 24, 32) && alignof(clap_audio_buffer_t) == Pick(4, 8, 8), "audio buffer");
static_assert(offsetof(clap_audio_buffer_t, data64) == Pick(4, 8), "audio buffer");
static_assert(offsetof(clap_audio_buffer_t, channel_count) == Pick(8, 16), "audio buffer");
static_assert(offsetof(clap_audio_buffer_t, latency) == Pick(12, 20), "audio buffer");
static_assert(offsetof(clap_audio_buffer_t, constant_mask) == Pick(16, 24), "audio buffer");

static_assert(sizeof(clap_event_header_t) == 16 && alignof(clap_event_header_t) == 4, "event header");
static_assert(offsetof(clap_event_header_t, time) == 4, "event header");
static_assert(offsetof(clap_event_header_t, space_id) == 8, "event header");
static_assert(offsetof(clap_event_header_t, type) == 10, "event header");
static_assert(offsetof(clap_event_header_t, flags) == 12, "event header");

static_assert(
    sizeof(clap_event_param_value_t) == Pick(44, 48, 56) && alignof(clap_event_param_value_t) == Pick(4, 8, 8),
    "param value event");
static_assert(offsetof(clap_event_param_value_t, param_id) == 16, "param value event");
static_assert(offsetof(clap_event_param_value_t, cookie) == Pick(20, 24), "param value event");
static_assert(offsetof(clap_event_param_value_t, note_id) == Pick(24, 32), "param value event");
static_assert(offsetof(clap_event_param_value_t, port_index) == Pick(28, 36), "param value event");
static_assert(offsetof(clap_event_param_value_t, channel) == Pick(30, 38), "param value event");
static_assert(offsetof(clap_event_param_value_t, key) == Pick(32, 40), "param value event");
static_assert(offsetof(clap_event_param_value_t, value) == Pick(36, 40, 48), "param value event");

static_assert(sizeof(clap_event_param_gesture_t) == 20 && alignof(clap_event_param_gesture_t) == 4, "gesture");
static_assert(offsetof(clap_event_param_gesture_t, param_id) == 16, "gesture");

static_assert(sizeof(clap_event_transport_t) == Pick(100, 104, 104) && alignof(clap_event_transport_t) == Pick(4, 8, 8),
    "transport event");
static_assert(offsetof(clap_event_transport_t, flags) == 16, "transport event");
static_assert(offsetof(clap_event_transport_t, song_pos_beats) == Pick(20, 24, 24), "transport event");
static_assert(offsetof(clap_event_transport_t, song_pos_seconds) == Pick(28, 32, 32), "transport event");
static_assert(offsetof(clap_event_transport_t, tempo) == Pick(36, 40, 40), "transport event");
static_assert(offsetof(clap_event_transport_t, tempo_inc) == Pick(44, 48, 48), "transport event");
static_assert(offsetof(clap_event_transport_t, loop_start_beats) == Pick(52, 56, 56), "transport event");
static_assert(offsetof(clap_event_transport_t, loop_end_beats) == Pick(60, 64, 64), "transport event");
static_assert(offsetof(clap_event_transport_t, loop_start_seconds) == Pick(68, 72, 72), "transport event");
static_assert(offsetof(clap_event_transport_t, loop_end_seconds) == Pick(76, 80, 80), "transport event");
static_assert(offsetof(clap_event_transport_t, bar_start) == Pick(84, 88, 88), "transport event");
static_assert(offsetof(clap_event_transport_t, bar_number) == Pick(92, 96, 96), "transport event");
static_assert(offsetof(clap_event_transport_t, tsig_num) == Pick(96, 100, 100), "transport event");
static_assert(offsetof(clap_event_transport_t, tsig_denom) == Pick(98, 102, 102), "transport event");

static_assert(sizeof(clap_event_midi_t) == 24 && alignof(clap_event_midi_t) == 4, "midi event");
static_assert(offsetof(clap_event_midi_t, port_index) == 16, "midi event");
static_assert(offsetof(clap_event_midi_t, data) == 18, "midi event");

static_assert(sizeof(clap_event_midi_sysex_t) == Pick(28, 40), "sysex event");
static_assert(offsetof(clap_event_midi_sysex_t, buffer) == Pick(20, 24), "sysex event");
static_assert(offsetof(clap_event_midi_sysex_t, size) == Pick(24, 32), "sysex event");

static_assert(sizeof(clap_input_events_t) == Pick(12, 24), "input events");
static_assert(offsetof(clap_input_events_t, size) == Pick(4, 8), "input events");
static_assert(offsetof(clap_input_events_t, get) == Pick(8, 16), "input events");
static_assert(sizeof(clap_output_events_t) == Pick(8, 16), "output events");
static_assert(offsetof(clap_output_events_t, try_push) == Pick(4, 8), "output events");
static_assert(sizeof(clap_istream_t) == Pick(8, 16) && offsetof(clap_istream_t, read) == Pick(4, 8), "istream");
static_assert(sizeof(clap_ostream_t) == Pick(8, 16) && offsetof(clap_ostream_t, write) == Pick(4, 8), "ostream");

static_assert(sizeof(clap_audio_port_info_t) == Pick(276, 288), "audio port info");
static_assert(offsetof(clap_audio_port_info_t, name) == 4, "audio port info");
static_assert(offsetof(clap_audio_port_info_t, flags) == 260, "audio port info");
static_assert(offsetof(clap_audio_port_info_t, channel_count) == 264, "audio port info");
static_assert(offsetof(clap_audio_port_info_t, port_type) == Pick(268, 272), "audio port info");
static_assert(offsetof(clap_audio_port_info_t, in_place_pair) == Pick(272, 280), "audio port info");

static_assert(sizeof(clap_note_port_info_t) == 268 && alignof(clap_note_port_info_t) == 4, "note port info");
static_assert(offsetof(clap_note_port_info_t, supported_dialects) == 4, "note port info");
static_assert(offsetof(clap_note_port_info_t, preferred_dialect) == 8, "note port info");
static_assert(offsetof(clap_note_port_info_t, name) == 12, "note port info");

static_assert(
    sizeof(clap_param_info_t) == Pick(1316, 1320, 1320) && alignof(clap_param_info_t) == Pick(4, 8, 8), "param info");
static_assert(offsetof(clap_param_info_t, flags) == 4, "param info");
static_assert(offsetof(clap_param_info_t, cookie) == 8, "param info");
static_assert(offsetof(clap_param_info_t, name) == Pick(12, 16), "param info");
static_assert(offsetof(clap_param_info_t, module) == Pick(268, 272), "param info");
static_assert(offsetof(clap_param_info_t, min_value) == Pick(1292, 1296, 1296), "param info");
static_assert(offsetof(clap_param_info_t, max_value) == Pick(1300, 1304, 1304), "param info");
static_assert(offsetof(clap_param_info_t, default_value) == Pick(1308, 1312, 1312), "param info");

static_assert(sizeof(clap_window_t) == Pick(8, 16) && offsetof(clap_window_t, x11) == Pick(4, 8), "window");
static_assert(offsetof(clap_window_t, win32) == Pick(4, 8), "window");
static_assert(sizeof(clap_gui_resize_hints_t) == 12 && alignof(clap_gui_resize_hints_t) == 4, "resize hints");
static_assert(offsetof(clap_gui_resize_hints_t, preserve_aspect_ratio) == 2, "resize hints");
static_assert(offsetof(clap_gui_resize_hints_t, aspect_ratio_width) == 4, "resize hints");
static_assert(offsetof(clap_gui_resize_hints_t, aspect_ratio_height) == 8, "resize hints");

// Vtables: member k at pointer size times k.
static_assert(
    sizeof(clap_plugin_gui_t) == Pick(60, 120) && offsetof(clap_plugin_gui_t, hide) == Pick(56, 112), "gui vtable");
static_assert(sizeof(clap_host_gui_t) == Pick(20, 40), "host gui vtable");
static_assert(sizeof(clap_plugin_params_t) == Pick(24, 48) && offsetof(clap_plugin_params_t, flush) == Pick(20, 40),
    "params vtable");
static_assert(sizeof(clap_host_params_t) == Pick(12, 24), "host params vtable");
static_assert(sizeof(clap_plugin_audio_ports_t) == Pick(8, 16), "audio ports vtable");
static_assert(sizeof(clap_plugin_note_ports_t) == Pick(8, 16), "note ports vtable");
static_assert(sizeof(clap_plugin_state_t) == Pick(8, 16), "state vtable");
static_assert(sizeof(clap_host_timer_support_t) == Pick(8, 16), "host timer vtable");
static_assert(sizeof(clap_host_thread_check_t) == Pick(8, 16), "thread check vtable");
static_assert(sizeof(clap_plugin_latency_t) == Pick(4, 8) && sizeof(clap_plugin_tail_t) == Pick(4, 8), "vtables");
static_assert(sizeof(clap_host_state_t) == Pick(4, 8) && sizeof(clap_host_log_t) == Pick(4, 8), "vtables");
static_assert(sizeof(clap_host_latency_t) == Pick(4, 8) && sizeof(clap_host_tail_t) == Pick(4, 8), "vtables");
static_assert(sizeof(clap_plugin_timer_support_t) == Pick(4, 8), "vtables");

} // namespace clap_layout
