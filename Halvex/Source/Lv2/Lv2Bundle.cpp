#include "Lv2/Lv2Bundle.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The LV2 plug-in classes of the product features that have one.
struct FeatureClass {
    const char* feature;
    const char* lv2Class;
};
constexpr FeatureClass FeatureClasses[] = {
    {"chorus", "lv2:ChorusPlugin"},
    {"flanger", "lv2:FlangerPlugin"},
    {"phaser", "lv2:PhaserPlugin"},
    {"delay", "lv2:DelayPlugin"},
    {"reverb", "lv2:ReverbPlugin"},
};

const char* const Prefixes = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                             "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                             "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                             "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                             "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
                             "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                             "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                             "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                             "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                             "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                             "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// A Turtle string literal.
std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string Uri(const std::string& uri)
{
    return "<" + uri + ">";
}

// The printf format a host renders a value with: the display text's digits and unit.
std::string RenderFormat(const ParameterScale& scale)
{
    std::string format = "%." + std::to_string(scale.decimals) + "f";
    if (*scale.unit != 0) {
        format += " ";
        format += std::strcmp(scale.unit, "%") == 0 ? "%%" : scale.unit;
    }
    return format;
}

// Audio port symbols and names: left and right for a pair, else numbered.
std::string AudioSymbol(const char* direction, int channel, int count)
{
    if (count == 2) {
        return std::string(direction) + (channel == 0 ? "_l" : "_r");
    }
    return std::string(direction) + "_" + std::to_string(channel + 1);
}

std::string AudioName(const char* direction, int channel, int count)
{
    if (count == 2) {
        return std::string(channel == 0 ? "Left " : "Right ") + direction;
    }
    return std::string(direction) + " " + std::to_string(channel + 1);
}

const char* const CurrentSymbolSuffix = "_current";
const char* const CurrentNameSuffix = " (current)";

} // namespace

std::string Lv2Symbol(const char* name)
{
    std::string symbol;
    bool gap = false;
    for (const char* c = name; *c != 0; ++c) {
        const char lower = *c >= 'A' && *c <= 'Z' ? static_cast<char>(*c - 'A' + 'a') : *c;
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
            if (gap && !symbol.empty()) {
                symbol += '_';
            }
            gap = false;
            symbol += lower;
        } else {
            gap = true;
        }
    }
    if (symbol.empty() || (symbol[0] >= '0' && symbol[0] <= '9')) {
        symbol.insert(symbol.begin(), '_');
    }
    return symbol;
}

std::string Lv2Number(float value)
{
    char digits[64];
    char* end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed).ptr;
    std::string number(digits, static_cast<std::size_t>(end - digits));
    if (number.find('.') == std::string::npos) {
        number += ".0";
    }
    return number;
}

std::string Lv2Bundle::PluginClasses() const
{
    std::string classes = "lv2:Plugin";
    for (const char* const* feature = identity.features; feature != nullptr && *feature != nullptr; ++feature) {
        for (const FeatureClass& entry : FeatureClasses) {
            if (std::strcmp(*feature, entry.feature) == 0) {
                classes += std::string(" , ") + entry.lv2Class;
            }
        }
    }
    return classes;
}

std::string Lv2Bundle::UiUri() const
{
    return PluginUri() + Lv2UiUriFragment;
}

std::string Lv2Bundle::PresetUri(int program) const
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "#program-%02d", program);
    return PluginUri() + suffix;
}

void Lv2Bundle::WriteManifest(std::ostream& out) const
{
    out << Prefixes;
    out << Uri(PluginUri()) << "\n    a " << PluginClasses() << " ;\n    lv2:binary " << Uri(files.pluginBinary)
        << " ;\n    rdfs:seeAlso " << Uri(files.pluginTurtle) << " .\n\n";
    out << Uri(UiUri()) << "\n    a ui:X11UI ;\n    ui:binary " << Uri(files.uiBinary) << " ;\n    rdfs:seeAlso "
        << Uri(files.pluginTurtle) << " .\n";
    for (std::size_t program = 0; program < programs.size(); ++program) {
        out << "\n"
            << Uri(PresetUri(static_cast<int>(program))) << "\n    a pset:Preset ;\n    lv2:appliesTo "
            << Uri(PluginUri()) << " ;\n    rdfs:seeAlso " << Uri(files.presetsTurtle) << " .\n";
    }
}

void Lv2Bundle::WritePlugin(std::ostream& out) const
{
    out << Prefixes;
    out << Uri(PluginUri()) << "\n    a " << PluginClasses() << " , doap:Project";
    out << " ;\n    doap:name " << Quoted(identity.effectName) << " ;\n    doap:maintainer [\n        foaf:name "
        << Quoted(identity.vendorName) << "\n    ] ;\n";
    // Version 1000 is 1.0.0.0; the major version is part of the URI.
    out << "    lv2:minorVersion " << identity.MinorVersion() << " ;\n    lv2:microVersion " << identity.MicroVersion()
        << " ;\n";
    // Without urid:map a host cannot send MIDI, and the plug-in does without.
    out << "    lv2:optionalFeature urid:map , lv2:hardRTCapable ;\n";
    out << "    ui:ui " << Uri(UiUri()) << " ;\n";
    WritePorts(out);
    out << " .\n\n";
    WriteUi(out);
}

void Lv2Bundle::WritePorts(std::ostream& out) const
{
    out << "    lv2:port [\n";
    bool first = true;
    auto next = [&]() {
        if (!first) {
            out << "    ] , [\n";
        }
        first = false;
    };
    for (int channel = 0; channel < layout.audioInputs; ++channel) {
        next();
        out << "        a lv2:InputPort , lv2:AudioPort ;\n        lv2:index " << layout.AudioInput(channel)
            << " ;\n        lv2:symbol " << Quoted(AudioSymbol("in", channel, layout.audioInputs))
            << " ;\n        lv2:name " << Quoted(AudioName("In", channel, layout.audioInputs)) << " ;\n";
    }
    for (int channel = 0; channel < layout.audioOutputs; ++channel) {
        next();
        out << "        a lv2:OutputPort , lv2:AudioPort ;\n        lv2:index " << layout.AudioOutput(channel)
            << " ;\n        lv2:symbol " << Quoted(AudioSymbol("out", channel, layout.audioOutputs))
            << " ;\n        lv2:name " << Quoted(AudioName("Out", channel, layout.audioOutputs)) << " ;\n";
    }
    if (layout.midiInputs > 0) {
        next();
        // Hosts without MIDI may leave it unconnected.
        out << "        a lv2:InputPort , atom:AtomPort ;\n        atom:bufferType atom:Sequence ;\n"
               "        atom:supports midi:MidiEvent ;\n        lv2:designation lv2:control ;\n"
               "        lv2:portProperty lv2:connectionOptional ;\n"
               "        lv2:index "
            << layout.MidiInput() << " ;\n        lv2:symbol \"midi_in\" ;\n        lv2:name \"MIDI In\" ;\n";
    }
    for (const ParameterDescription& parameter : parameters) {
        next();
        WriteControlPort(out, parameter, true);
    }
    for (const ParameterDescription& parameter : parameters) {
        next();
        WriteControlPort(out, parameter, false);
    }
    out << "    ]";
}

void Lv2Bundle::WriteControlPort(std::ostream& out, const ParameterDescription& parameter, bool isInput) const
{
    const ParameterScale& scale = parameter.scale;
    std::string symbol = Lv2Symbol(parameter.names.longName);
    std::string name = parameter.names.longName;
    if (!isInput) {
        symbol += CurrentSymbolSuffix;
        name += CurrentNameSuffix;
    }
    out << "        a " << (isInput ? "lv2:InputPort" : "lv2:OutputPort") << " , lv2:ControlPort ;\n"
        << "        lv2:index " << (isInput ? layout.ControlInput(parameter.id) : layout.ControlOutput(parameter.id))
        << " ;\n        lv2:symbol " << Quoted(symbol) << " ;\n        lv2:name " << Quoted(name) << " ;\n";
    if (isInput) {
        out << "        lv2:shortName " << Quoted(parameter.names.shortName) << " ;\n";
    }
    out << "        lv2:default " << Lv2Number(Lv2PortValue(parameter, parameter.defaultValue))
        << " ;\n        lv2:minimum " << Lv2Number(static_cast<float>(scale.minimum)) << " ;\n        lv2:maximum "
        << Lv2Number(static_cast<float>(scale.maximum)) << " ;\n";
    if (parameter.IsSwitch()) {
        out << "        lv2:portProperty lv2:toggled ;\n";
        // The plug-in's own on/off switch is the one a host's bypass button drives.
        if (isInput && parameter.id == enableParameter) {
            out << "        lv2:designation lv2:enabled ;\n";
        }
        return;
    }
    if (scale.decimals == 0) {
        // Steps of the unit the display shows; values in between (the
        // factory programs have some) stay valid, unlike lv2:integer's.
        out << "        pprops:rangeSteps " << static_cast<long long>(scale.maximum - scale.minimum) + 1 << " ;\n";
    }
    out << "        units:unit [\n            a units:Unit ;\n            units:render " << Quoted(RenderFormat(scale));
    if (*scale.unit != 0) {
        out << " ;\n            units:symbol " << Quoted(scale.unit) << " ;\n            rdfs:label "
            << Quoted(scale.unit);
    }
    out << "\n        ] ;\n";
}

void Lv2Bundle::WriteUi(std::ostream& out) const
{
    out << Uri(UiUri()) << "\n    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
        << "    lv2:optionalFeature ui:touch , ui:resize , ui:noUserResize ;\n"
        << "    lv2:extensionData ui:idleInterface";
    // The UI follows the values the sound uses, whatever moved them.
    for (const ParameterDescription& parameter : parameters) {
        out << " ;\n    ui:portNotification [\n        ui:plugin " << Uri(PluginUri()) << " ;\n        lv2:symbol "
            << Quoted(Lv2Symbol(parameter.names.longName) + CurrentSymbolSuffix)
            << " ;\n        ui:protocol ui:floatProtocol\n    ]";
    }
    out << " .\n";
}

void Lv2Bundle::WritePresets(std::ostream& out) const
{
    out << Prefixes;
    for (std::size_t program = 0; program < programs.size(); ++program) {
        out << Uri(PresetUri(static_cast<int>(program))) << "\n    a pset:Preset ;\n    lv2:appliesTo "
            << Uri(PluginUri()) << " ;\n    rdfs:label " << Quoted(programs[program].name) << " ;\n    lv2:port ";
        for (std::size_t id = 0; id < parameters.size(); ++id) {
            out << (id == 0 ? "[\n" : " , [\n") << "        lv2:symbol "
                << Quoted(Lv2Symbol(parameters[id].names.longName)) << " ;\n        pset:value "
                << Lv2Number(Lv2PortValue(parameters[id], programs[program].values[id])) << "\n    ]";
        }
        out << " .\n\n";
    }
}
