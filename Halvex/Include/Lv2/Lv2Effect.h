#pragma once

#include "BlockRuns.h"
#include "ControlChange.h"
#include "Halvex.h"
#include "Lv2/Lv2PortLayout.h"
#include "Lv2Entry.h"
#include "Lv2Features.h"
#include "Parameters/ParameterBase.h"
#include "SubnormalsAsZero.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

// Publishes a toolkit plug-in (a PluginBase descendant, held by value) to an
// LV2 host, with the ports of Lv2PortLayout. Control inputs are in the units
// of the display texts; a value that changed since the last run reaches its
// parameter, as normalised value, at the start of the run, so it glides as a
// VST 2.4 setParameter between blocks does; a value the host keeps unchanged
// leaves the parameter as MIDI may have set it. The first run after
// activation takes every control input and starts from it without a glide,
// as a program change does. MIDI events of the atom input split the run at
// their frames (BlockRuns, which also reports an audio port left
// unconnected and silences the outputs there): a control change reaches
// every controllable (the modulation wheel) and, when its controller is
// mapped, the parameter, as in every format (RouteControlChange). After
// each run the control outputs show every parameter's value in use, so
// hosts and the UI see what MIDI controllers did.
//
// Threads: instantiation, activation and cleanup on the host's main thread;
// Run on its audio thread, where nothing is allocated, locked or waited for.
template <class Plugin>
class Lv2Effect : public Lv2Plugin {
public:
    static constexpr int ParameterCount = Plugin::Description.ParameterCount;
    static constexpr Lv2PortLayout Layout = MakeLv2PortLayout(Plugin::Description);
    static constexpr int AudioInputs = Plugin::Description.ports.audioInputs;
    static constexpr int AudioOutputs = Plugin::Description.ports.audioOutputs;
    // No URI maps to 0.
    static constexpr LV2_URID NoType = 0;

    // Null when the rate is not positive. A host that cannot map URIs
    // (urid:map) cannot send MIDI either: the MIDI input is then ignored.
    static Lv2Effect* Create(double sampleRate, const LV2_Feature* const* features)
    {
        if (!(sampleRate > 0.0)) {
            return nullptr;
        }
        const auto* map = static_cast<const LV2_URID_Map*>(FindLv2Feature(features, LV2_URID__map));
        const bool canMap = map != nullptr && map->map != nullptr;
        return new Lv2Effect(sampleRate, canMap ? map->map(map->handle, LV2_MIDI__MidiEvent) : NoType);
    }

    Plugin& GetPlugin() { return plugin; }

    void ConnectPort(std::uint32_t port, void* data) override
    {
        for (int channel = 0; channel < AudioInputs; ++channel) {
            if (port == Layout.AudioInput(channel)) {
                inputs[channel] = static_cast<float*>(data);
            }
        }
        for (int channel = 0; channel < AudioOutputs; ++channel) {
            if (port == Layout.AudioOutput(channel)) {
                outputs[channel] = static_cast<float*>(data);
            }
        }
        if (Layout.IsMidiInput(port)) {
            midiInput = static_cast<const LV2_Atom_Sequence*>(data);
        }
        if (const int id = Layout.InputParameter(port); id >= 0) {
            controlInputs[id] = static_cast<const float*>(data);
        }
        if (const int id = Layout.OutputParameter(port); id >= 0) {
            controlOutputs[id] = static_cast<float*>(data);
        }
    }

    // Activation starts afresh: clear signal state, every control taken anew.
    void Activate() override
    {
        plugin.RequestReset();
        takeAllControls = true;
    }

    void Deactivate() override { }

    void Run(std::uint32_t sampleCount) override
    {
        const SubnormalsAsZero subnormalsAsZero;
        ReadControls();
        plugin.ApplyRequestedReset();
        const auto frames = static_cast<int>(std::min<std::uint32_t>(sampleCount, std::numeric_limits<int>::max()));
        BlockRuns<AudioInputs, AudioOutputs> runs(plugin, inputs, outputs, frames);
        if (midiInput != nullptr && midiEventType != NoType) {
            LV2_ATOM_SEQUENCE_FOREACH(midiInput, event)
            {
                if (event->body.type != midiEventType || event->body.size < 3) {
                    continue;
                }
                // Events out of order or outside the run are handled where
                // the run has got to: no sample is processed twice.
                runs.ProcessUntil(static_cast<int>(std::clamp<std::int64_t>(event->time.frames, 0, frames)));
                const auto* message = static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(&event->body));
                const ControlChange change
                    = RouteControlChange(plugin, ParameterCount, message[0], message[1], message[2]);
                if (change.parameterId != ControlChange::NoParameter) {
                    plugin.GetParameter(change.parameterId)->SetValue(change.value);
                }
            }
        }
        runs.ProcessRest();
        WriteControls();
    }

private:
    Lv2Effect(double sampleRate, LV2_URID midiEventType)
        : midiEventType(midiEventType)
    {
        plugin.SetSampleRate(static_cast<float>(sampleRate));
        plugin.Reset();
    }

    static const ParameterDescription& Describe(int id) { return Plugin::Description.parameters[id]; }

    // A control input that changed (or every one, after activation) sets its
    // parameter; after activation the smoothers then snap to the new values.
    void ReadControls()
    {
        for (int id = 0; id < ParameterCount; ++id) {
            if (controlInputs[id] == nullptr) {
                continue;
            }
            const float value = *controlInputs[id];
            if (std::isnan(value) || (value == lastControls[id] && !takeAllControls)) {
                continue;
            }
            lastControls[id] = value;
            plugin.GetParameter(id)->SetValue(Describe(id).ToNormalised(value));
        }
        if (takeAllControls) {
            takeAllControls = false;
            plugin.RequestReset();
        }
    }

    void WriteControls()
    {
        for (int id = 0; id < ParameterCount; ++id) {
            if (controlOutputs[id] != nullptr) {
                *controlOutputs[id] = static_cast<float>(Describe(id).ToPlain(plugin.GetParameter(id)->GetValue()));
            }
        }
    }

    LV2_URID midiEventType;
    float* inputs[AudioInputs] = {};
    float* outputs[AudioOutputs] = {};
    const LV2_Atom_Sequence* midiInput = nullptr;
    const float* controlInputs[ParameterCount] = {};
    float* controlOutputs[ParameterCount] = {};
    // What each control input held at the last run that read it.
    float lastControls[ParameterCount] = {};
    bool takeAllControls = true;
    Plugin plugin;
};
