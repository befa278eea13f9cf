// The toolkit's signal processing alone, set up as factory program 0: the
// oscillator, the three smoothers, the chorus, and the floor they are all
// measured against.

#include "Counters.h"
#include "Floor.h"

#include "Chorus.h"
#include "OmbrixChorusDescription.h"
#include "QuadLfo.h"
#include "StepThrough.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// The parameters, oscillator and chorus of the plug-in, wired as the product
// wires them, with the values of factory program 0.
struct ChorusParts {
    ChorusParts()
    {
        // Settled at program 0's values, as after a program change.
        const float* values = OmbrixChorusDescription.programs[0].values;
        delayTime.SetValue(values[ParameterId::DelayTime]);
        depth.SetValue(values[ParameterId::ModDepth]);
        mix.SetValue(values[ParameterId::Mix]);
        frequency.SetValue(values[ParameterId::Frequency]);
        delayTime.Reset();
        depth.Reset();
        mix.Reset();
    }

    static const ParameterDescription& Describe(int id) { return OmbrixChorusDescription.parameters[id]; }

    SwitchParameter<DisplayOnOff> onOff {Describe(ParameterId::OnOff)};
    SmoothParameter<ChorusDelayTimeTransform, DisplayFloat> delayTime {Describe(ParameterId::DelayTime)};
    SmoothParameter<DoNothingSmoothTransform, DisplayFloat> depth {Describe(ParameterId::ModDepth)};
    Parameter<float, FeedbackTransform, DisplayFloat> feedback {Describe(ParameterId::Feedback)};
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger> mix {Describe(ParameterId::Mix)};
    Parameter<float, QuadLfoFrequencyTransform, DisplayFloat> frequency {Describe(ParameterId::Frequency)};
    SwitchParameter<DisplayOnOff> quadMode {Describe(ParameterId::QuadMode)};
    SwitchParameter<DisplayOnOff> modWheelMode {Describe(ParameterId::ModWheel)};
    SwitchParameter<DisplayOnOff> syncMode {"Sync", "Sync Mode", "On/Off", 0.0f};
    EnumParameter syncResolution {"SyncRes", "Sync Resolution", "Res", 0.0f, SyncResolutionNames, SyncResolutionCount};
    QuadLfo lfo {&quadMode, &modWheelMode, &syncMode, &syncResolution, &frequency};
    Chorus chorus {&onOff, &delayTime, &depth, &feedback, &mix, &lfo};
};

void Floor(benchmark::State& state)
{
    const long frames = state.range(0);
    float sine = 0.0f, cosine = 1.0f;
    for (auto _ : state) {
        RunFloorRecurrence(0.0014247585f, sine, cosine, frames);
        benchmark::DoNotOptimize(sine);
        benchmark::DoNotOptimize(cosine);
    }
    SetFrameCounters(state, frames);
}

BENCHMARK(Floor)->ArgName("frames")->Arg(512);

void Lfo(benchmark::State& state)
{
    auto parts = std::make_unique<ChorusParts>();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        parts->lfo.Process(count);
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, count);
}

BENCHMARK(Lfo)->ArgName("block")->Arg(32)->Arg(512);

// The three smoothers as the plug-in runs them; with range(1) set, each gets a
// new value every block and ramps all the time.
void Smoothers(benchmark::State& state)
{
    auto parts = std::make_unique<ChorusParts>();
    const int count = static_cast<int>(state.range(0));
    const bool ramping = state.range(1) != 0;
    long block = 0;
    for (auto _ : state) {
        if (ramping) {
            const float value = 0.25f + 0.5f * static_cast<float>((block++ * 37) % 64) / 64.0f;
            parts->delayTime.SetValue(value);
            parts->depth.SetValue(1.0f - value);
            parts->mix.SetValue(value);
        }
        SmoothRamp::Run run({&parts->delayTime, &parts->depth, &parts->mix}, count);
        StepThrough(run);
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, count);
}

BENCHMARK(Smoothers)->ArgNames({"block", "ramping"})->Args({32, 0})->Args({512, 0})->Args({32, 1})->Args({512, 1});

// The chorus on its own, reading settled smoothers and one oscillator block.
void ChorusOnly(benchmark::State& state)
{
    auto parts = std::make_unique<ChorusParts>();
    const int count = static_cast<int>(state.range(0));
    parts->lfo.Process(count);
    std::mt19937 random(1);
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    std::vector<float> left(count), right(count), outLeft(count), outRight(count);
    for (int i = 0; i < count; ++i) {
        left[i] = sample(random);
        right[i] = sample(random);
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        parts->chorus.Process(inputs, outputs, count);
        benchmark::ClobberMemory();
    }
    SetFrameCounters(state, count);
}

BENCHMARK(ChorusOnly)->ArgName("block")->Arg(32)->Arg(512);

} // namespace
