// The shipped plug-in through its entry point and processReplacing, the same
// through OmbrixChorus.clap and its process, and the effect adapter's own
// cost per block around a plug-in that does nothing.

#include "BenchHost.h"
#include "ClapHost.h"
#include "Counters.h"
#include "Scenario.h"

#include "CustomAudioEffect.h"
#include "MidiEvents.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "PluginBase.h"
#include "ProductDescription.h"

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

// The scenario of the VST 2.4 benchmarks through OmbrixChorus.clap: loaded
// through clap_entry and driven by the tools' ClapHost, whose own cost per
// block (the event list, the transport, the process record) is counted too.
// The automation is three parameter events at the start of every block.
void RunClapPlugin(benchmark::State& state, bool automated)
{
    const int blockSize = static_cast<int>(state.range(0));
    ClapHost host;
    std::string error;
    if (!host.Load(OMBRIX_CHORUS_CLAP_PATH, error)
        || !host.Activate(44100.0, 1, static_cast<std::uint32_t>(blockSize))) {
        state.SkipWithError(error.c_str());
        return;
    }
    host.SetTransport(120.0, 0.0);
    Scenario noise(blockSize, false);
    std::vector<float> left = noise.Input(0), right = noise.Input(1);
    std::vector<float> outLeft(left.size()), outRight(right.size());
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    long blockNumber = 0;
    const auto block = [&] {
        if (automated) {
            const float value = Scenario::AutomationValue(blockNumber++);
            host.AddParameterValue(0, Scenario::DelayTimeId, value);
            host.AddParameterValue(0, Scenario::DepthId, 1.0f - value);
            host.AddParameterValue(0, Scenario::MixId, value);
        }
        host.Process(inputs, outputs, static_cast<std::uint32_t>(blockSize));
    };
    for (long done = 0; done < 44100; done += blockSize) {
        block();
    }
    for (auto _ : state) {
        block();
    }
    SetFrameCounters(state, blockSize);
}

void ClapPluginSteady(benchmark::State& state)
{
    RunClapPlugin(state, false);
}

void ClapPluginRamps(benchmark::State& state)
{
    RunClapPlugin(state, true);
}

BENCHMARK(ClapPluginSteady)->ArgName("block")->Arg(32)->Arg(512)->Arg(4096);
BENCHMARK(ClapPluginRamps)->ArgName("block")->Arg(32)->Arg(512)->Arg(4096);

// Eight plain parameters on controllers 16 to 23.
constexpr ParameterScale Unit = {ParameterKind::Continuous, 0.0, 1.0, ParameterCurve::Linear, "", 3};
constexpr ParameterDescription NullParameters[] = {
    {0, {"P0", "P0", ""}, Unit, 0.0f, 16},
    {1, {"P1", "P1", ""}, Unit, 0.0f, 17},
    {2, {"P2", "P2", ""}, Unit, 0.0f, 18},
    {3, {"P3", "P3", ""}, Unit, 0.0f, 19},
    {4, {"P4", "P4", ""}, Unit, 0.0f, 20},
    {5, {"P5", "P5", ""}, Unit, 0.0f, 21},
    {6, {"P6", "P6", ""}, Unit, 0.0f, 22},
    {7, {"P7", "P7", ""}, Unit, 0.0f, 23},
};
constexpr FactoryProgram<8> NullPrograms[] = {{"Null", {}}};

// A plug-in with the eight parameters above and an empty Process: what
// remains is the adapter's block loop, event queue and parameter path.
class NullPlugin : public PluginBase {
public:
    static constexpr ProductDescription<8, 1> Description = {
        {"Null", "Bench", "Null", 1, ToFourCharCode("NuLl"), "", "", nullptr}, {2, 2, 0}, NullParameters, NullPrograms};
    static constexpr int Count = Description.ParameterCount;
    static constexpr int FirstController = NullParameters[0].midiController;

    NullPlugin()
    {
        for (int id = 0; id < Count; ++id) {
            AddParameter(&parameters[id], Description.parameters[id]);
        }
    }

    void Process(float** /*inputs*/, float** /*outputs*/, int /*count*/) override { }
    Editor* CreateEditor(AudioEffect* /*effect*/, IControlObserver* /*observer*/) override { return nullptr; }

private:
    using Plain = Parameter<float, DoNothingSmoothTransform, DisplayFloat>;
    Plain parameters[Count] = {
        Plain(NullParameters[0]),
        Plain(NullParameters[1]),
        Plain(NullParameters[2]),
        Plain(NullParameters[3]),
        Plain(NullParameters[4]),
        Plain(NullParameters[5]),
        Plain(NullParameters[6]),
        Plain(NullParameters[7]),
    };
};

using NullEffect
    = CustomAudioEffect<1, NullPlugin::Count, 0, 2, 2, 1, 1, NullPlugin::Description.identity.vstUniqueId, NullPlugin>;

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
