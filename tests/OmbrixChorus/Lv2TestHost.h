#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A MIDI message for an LV2 run: three bytes at a frame of the run.
struct Lv2MidiEvent {
    std::int64_t frame;
    std::uint8_t bytes[3];
};

// A small LV2 host built on lilv, as Linux hosts are: it loads one bundle
// folder into a lilv world, finds plug-ins, UIs and presets in its Turtle,
// instantiates the plug-in from its binary with urid:map, connects every
// port (audio buffers, an atom sequence for MIDI, one float per control)
// and runs it. Presets are applied through lilv's state API as hosts do.
// One thread drives a host.
class Lv2TestHost {
public:
    // Loads the bundle folder (with its trailing "/") into a world of its own.
    explicit Lv2TestHost(const std::string& bundleFolder);
    ~Lv2TestHost();
    Lv2TestHost(const Lv2TestHost&) = delete;
    Lv2TestHost& operator=(const Lv2TestHost&) = delete;

    LilvWorld* World() const { return world; }
    // The plug-in with this URI, or null.
    const LilvPlugin* FindPlugin(const std::string& uri) const;

    // Instantiates the plug-in at the rate with buffers for blocks of up to
    // maxFrames, every control at its default, and activates it. False, with
    // nothing running, when lilv or the plug-in refuses.
    bool Start(const std::string& uri, double sampleRate, int maxFrames);
    void Stop();

    // Sets a control input by symbol (false if there is none).
    bool SetControl(const std::string& symbol, float value);
    float GetControl(const std::string& symbol) const;
    // Applies the preset's port values (by its URI) through lilv's state.
    bool ApplyPreset(const std::string& presetUri);
    // The presets of the plug-in: URI and label, in lilv's order.
    std::map<std::string, std::string> Presets() const;

    // One run of frames samples of the two input channels (at most
    // maxFrames) with the MIDI events; the outputs are appended.
    void Run(const float* left, const float* right, int frames, const std::vector<Lv2MidiEvent>& events,
        std::vector<float>& outLeft, std::vector<float>& outRight);

    LV2_URID Map(const char* uri);

private:
    static LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri);
    static void SetPortValue(const char* symbol, void* host, const void* value, std::uint32_t size, std::uint32_t type);

    LilvWorld* world;
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<std::string> uris;
    LV2_URID_Map map {this, &Lv2TestHost::MapUri};
    std::map<std::string, std::uint32_t> controlPorts;
    std::vector<float> controls;
    std::vector<float> audio[4];
    std::vector<std::uint64_t> sequence;
};
