// The shipped plug-in through its entry point and processReplacing, and the
// effect adapter's own cost per block around a plug-in that does nothing.

#include "BenchHost.h"
#include "Counters.h"
#include "Scenario.h"

#include "CustomAudioEffect.h"
#include "MidiEvents.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "PluginBase.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void RunPlugin(benchmark::State& state, bool automated)
{
    Scenario scenario(static_cast<int>(state.range(0)), automated);
    if (!scenario.Loaded()) {
        state.SkipWithError(scenario.Error().c_str());
        return;
    }
    for (auto _ : state) {
        scenario.RunBlock();
    }
    SetFrameCounters(state, scenario.BlockSize());
}

// Factory program 0, parameters untouched.
void PluginSteady(benchmark::State& state)
{
    RunPlugin(state, false);
}

// Host automation of delay time, depth and mix before every block.
void PluginRamps(benchmark::State& state)
{
    RunPlugin(state, true);
}

BENCHMARK(PluginSteady)->ArgName("block")->Arg(32)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(PluginRamps)->ArgName("block")->Arg(32)->Arg(64)->Arg(512)->Arg(4096);

// A plug-in with eight plain parameters on controllers 16 to 23 and an empty
// Process: what remains is the adapter's block loop, event queue and
// parameter path.
class NullPlugin : public PluginBase {
public:
    NullPlugin()
    {
        for (int id = 0; id < Count; ++id) {
            AddParameter(&parameters[id]);
            MapController(static_cast<char>(FirstController + id), id);
        }
    }

    void Process(float** /*inputs*/, float** /*outputs*/, int /*count*/) override { }
    Editor* CreateEditor(AudioEffect* /*effect*/, IControlObserver* /*observer*/) override { return nullptr; }

    static constexpr int Count = 8;
    static constexpr int FirstController = 16;

private:
    using Plain = Parameter<float, DoNothingSmoothTransform, DisplayFloat>;
    Plain parameters[Count] = {
        {"P0", "P0", "", 0.0f},
        {"P1", "P1", "", 0.0f},
        {"P2", "P2", "", 0.0f},
        {"P3", "P3", "", 0.0f},
        {"P4", "P4", "", 0.0f},
        {"P5", "P5", "", 0.0f},
        {"P6", "P6", "", 0.0f},
        {"P7", "P7", "", 0.0f},
    };
};

using NullEffect = CustomAudioEffect<1, NullPlugin::Count, 0, 2, 2, 1, 1, ToFourCharCode("NuLl"), NullPlugin>;

// One block of 256 samples with the given number of control changes, spread
// evenly over the block and over the eight mapped controllers.
void AdapterBlock(benchmark::State& state)
{
    constexpr int BlockSize = 256;
    const int changes = static_cast<int>(state.range(0));
    auto effect = std::make_unique<NullEffect>(&BenchHost::Callback, "Null", "Bench", "Null");
    std::vector<VstMidiEvent> events(static_cast<std::size_t>(changes));
    std::vector<VstEvent*> pointers(static_cast<std::size_t>(changes) + 2);
    auto* list = reinterpret_cast<VstEvents*>(pointers.data());
    for (int i = 0; i < changes; ++i) {
        VstMidiEvent& event = events[static_cast<std::size_t>(i)];
        event
            = MakeControlChange(i * BlockSize / changes, NullPlugin::FirstController + i % NullPlugin::Count, i % 128);
        list->events[i] = reinterpret_cast<VstEvent*>(&event);
    }
    list->numEvents = changes;
    std::vector<float> left(BlockSize), right(BlockSize), outLeft(BlockSize), outRight(BlockSize);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        if (changes > 0) {
            effect->processEvents(list);
        }
        effect->processReplacing(inputs, outputs, BlockSize);
    }
    state.counters["time/block"] = benchmark::Counter(
        static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(AdapterBlock)->ArgName("changes")->Arg(0)->Arg(8)->Arg(64);

} // namespace
