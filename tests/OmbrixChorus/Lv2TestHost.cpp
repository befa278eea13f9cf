#include "Lv2TestHost.h"

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t SequenceWords = 4096;

struct Nodes {
    explicit Nodes(LilvWorld* world)
        : audio(lilv_new_uri(world, LILV_URI_AUDIO_PORT))
        , control(lilv_new_uri(world, LILV_URI_CONTROL_PORT))
        , atom(lilv_new_uri(world, LILV_URI_ATOM_PORT))
        , input(lilv_new_uri(world, LILV_URI_INPUT_PORT))
        , preset(lilv_new_uri(world, "http://lv2plug.in/ns/ext/presets#Preset"))
        , label(lilv_new_uri(world, "http://www.w3.org/2000/01/rdf-schema#label"))
    {
    }
    ~Nodes()
    {
        for (LilvNode* node : {audio, control, atom, input, preset, label}) {
            lilv_node_free(node);
        }
    }
    LilvNode* audio;
    LilvNode* control;
    LilvNode* atom;
    LilvNode* input;
    LilvNode* preset;
    LilvNode* label;
};

} // namespace

Lv2TestHost::Lv2TestHost(const std::string& bundleFolder)
    : world(lilv_world_new())
{
    // The system's LV2 folder with the vocabularies hosts read (plug-in
    // classes, units), not the user's ~/.lv2, which may hold an installed
    // copy of the bundle; then the bundle itself.
    LilvNode* path = lilv_new_string(world, "/usr/lib/lv2");
    lilv_world_set_option(world, LILV_OPTION_LV2_PATH, path);
    lilv_node_free(path);
    lilv_world_load_all(world);
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, bundleFolder.c_str());
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
    sequence.resize(SequenceWords);
}

Lv2TestHost::~Lv2TestHost()
{
    Stop();
    lilv_world_free(world);
}

const LilvPlugin* Lv2TestHost::FindPlugin(const std::string& uri) const
{
    LilvNode* node = lilv_new_uri(world, uri.c_str());
    const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), node);
    lilv_node_free(node);
    return found;
}

LV2_URID Lv2TestHost::Map(const char* uri)
{
    const auto found = std::find(uris.begin(), uris.end(), uri);
    if (found != uris.end()) {
        return static_cast<LV2_URID>(found - uris.begin() + 1);
    }
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
}

LV2_URID Lv2TestHost::MapUri(LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<Lv2TestHost*>(handle)->Map(uri);
}

bool Lv2TestHost::Start(const std::string& uri, double sampleRate, int maxFrames)
{
    Stop();
    plugin = FindPlugin(uri);
    if (plugin == nullptr) {
        return false;
    }
    const LV2_Feature mapFeature = {LV2_URID__map, &map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    instance = lilv_plugin_instantiate(plugin, sampleRate, features);
    if (instance == nullptr) {
        return false;
    }
    const Nodes nodes(world);
    const std::uint32_t portCount = lilv_plugin_get_num_ports(plugin);
    std::vector<float> defaults(portCount);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    controls = defaults;
    controlPorts.clear();
    int audioInputs = 0, audioOutputs = 0;
    for (auto& buffer : audio) {
        buffer.assign(static_cast<std::size_t>(maxFrames), 0.0f);
    }
    for (std::uint32_t index = 0; index < portCount; ++index) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        const bool isInput = lilv_port_is_a(plugin, port, nodes.input);
        if (lilv_port_is_a(plugin, port, nodes.audio)) {
            const int slot = isInput ? audioInputs++ : 2 + audioOutputs++;
            lilv_instance_connect_port(instance, index, audio[slot].data());
        } else if (lilv_port_is_a(plugin, port, nodes.control)) {
            controlPorts[lilv_node_as_string(lilv_port_get_symbol(plugin, port))] = index;
            lilv_instance_connect_port(instance, index, &controls[index]);
        } else if (lilv_port_is_a(plugin, port, nodes.atom)) {
            lilv_instance_connect_port(instance, index, sequence.data());
        }
    }
    lilv_instance_activate(instance);
    return true;
}

void Lv2TestHost::Stop()
{
    if (instance != nullptr) {
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
        instance = nullptr;
    }
}

bool Lv2TestHost::SetControl(const std::string& symbol, float value)
{
    const auto found = controlPorts.find(symbol);
    if (found == controlPorts.end()) {
        return false;
    }
    controls[found->second] = value;
    return true;
}

float Lv2TestHost::GetControl(const std::string& symbol) const
{
    const auto found = controlPorts.find(symbol);
    return found != controlPorts.end() ? controls[found->second] : 0.0f;
}

void Lv2TestHost::SetPortValue(
    const char* symbol, void* host, const void* value, std::uint32_t size, std::uint32_t type)
{
    auto* self = static_cast<Lv2TestHost*>(host);
    if (size == sizeof(float) && type == self->Map(LV2_ATOM__Float)) {
        self->SetControl(symbol, *static_cast<const float*>(value));
    } else if (size == sizeof(double) && type == self->Map(LV2_ATOM__Double)) {
        self->SetControl(symbol, static_cast<float>(*static_cast<const double*>(value)));
    }
}

bool Lv2TestHost::ApplyPreset(const std::string& presetUri)
{
    LilvNode* node = lilv_new_uri(world, presetUri.c_str());
    lilv_world_load_resource(world, node);
    LilvState* state = lilv_state_new_from_world(world, &map, node);
    lilv_node_free(node);
    if (state == nullptr) {
        return false;
    }
    lilv_state_emit_port_values(state, &Lv2TestHost::SetPortValue, this);
    lilv_state_free(state);
    return true;
}

std::map<std::string, std::string> Lv2TestHost::Presets() const
{
    std::map<std::string, std::string> presets;
    const Nodes nodes(world);
    LilvNodes* related = lilv_plugin_get_related(plugin, nodes.preset);
    LILV_FOREACH(nodes, i, related)
    {
        const LilvNode* preset = lilv_nodes_get(related, i);
        lilv_world_load_resource(world, preset);
        LilvNodes* labels = lilv_world_find_nodes(world, preset, nodes.label, nullptr);
        presets[lilv_node_as_uri(preset)]
            = labels != nullptr && lilv_nodes_size(labels) > 0 ? lilv_node_as_string(lilv_nodes_get_first(labels)) : "";
        lilv_nodes_free(labels);
    }
    lilv_nodes_free(related);
    return presets;
}

void Lv2TestHost::Run(const float* left, const float* right, int frames, const std::vector<Lv2MidiEvent>& events,
    std::vector<float>& outLeft, std::vector<float>& outRight)
{
    std::copy(left, left + frames, audio[0].begin());
    std::copy(right, right + frames, audio[1].begin());
    // An atom sequence of MIDI events, each padded to eight bytes.
    auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(sequence.data());
    seq->atom.type = Map(LV2_ATOM__Sequence);
    seq->body.unit = 0;
    seq->body.pad = 0;
    std::uint32_t size = sizeof(LV2_Atom_Sequence_Body);
    const LV2_URID midiType = Map(LV2_MIDI__MidiEvent);
    for (const Lv2MidiEvent& midi : events) {
        auto* event = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<char*>(&seq->body) + size);
        event->time.frames = midi.frame;
        event->body.type = midiType;
        event->body.size = 3;
        std::memcpy(event + 1, midi.bytes, 3);
        size += static_cast<std::uint32_t>(sizeof(LV2_Atom_Event)) + 8;
    }
    seq->atom.size = size;
    lilv_instance_run(instance, static_cast<std::uint32_t>(frames));
    outLeft.insert(outLeft.end(), audio[2].begin(), audio[2].begin() + frames);
    outRight.insert(outRight.end(), audio[3].begin(), audio[3].begin() + frames);
}
