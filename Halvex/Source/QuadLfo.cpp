#include "QuadLfo.h"

#include "Assert.h"

#include <cmath>

static_assert(std::atomic<float>::is_always_lock_free, "the oscillator's shared values must be lock-free");
static_assert(std::atomic<double>::is_always_lock_free, "the stored tempo must be lock-free");

const char* const SyncResolutionNames[SyncResolutionCount]
    = {"16/1", "8/1", "4/1", "2/1", "1/1", "1/2", "1/4", "1/8", "1/16"};

const float SyncResolutionFactors[SyncResolutionCount] = {0.0625f, 0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f, 16.0f};

namespace {

constexpr char ModulationWheelController = 1;

} // namespace

float QuadLfoFrequencyTransform::Apply(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    return 10.0f * value * value;
}

void QuadLfo::RateObserver::ParameterChanged()
{
    HALVEX_ASSERT(owner != 0);
    if (owner != nullptr) {
        owner->UpdateIncrement();
    }
}

QuadLfo::QuadLfo(SwitchParameter<DisplayOnOff>* quadMode, SwitchParameter<DisplayOnOff>* modWheelMode,
    SwitchParameter<DisplayOnOff>* syncMode, EnumParameter* syncResolution,
    Parameter<float, QuadLfoFrequencyTransform, DisplayFloat>* frequency)
    : quadMode(quadMode)
    , modWheelMode(modWheelMode)
    , syncMode(syncMode)
    , syncResolution(syncResolution)
    , frequency(frequency)
{
    rateObserver.owner = this;
    frequency->AddObserver(&rateObserver);
    syncMode->AddObserver(&rateObserver);
    syncResolution->AddObserver(&rateObserver);
    UpdateIncrement();
}

void QuadLfo::Reset()
{
    cosine = 1.0f;
    sine = 0.0f;
}

float QuadLfo::GetSampleRate()
{
    return sampleRate.load(std::memory_order_relaxed);
}

void QuadLfo::SetSampleRate(float sampleRate)
{
    HALVEX_ASSERT(sampleRate > 0.0f);
    // An infinite or NaN increment would leave a state that never recovers.
    if (!(sampleRate > 0.0f)) {
        return;
    }
    this->sampleRate.store(sampleRate, std::memory_order_relaxed);
    UpdateIncrement();
}

void QuadLfo::Process(int count)
{
    Run run(*this, count);
    for (int i = 0; i < run.Count(); ++i) {
        run.Next(i);
    }
    run.Finish();
}

void QuadLfo::SetController(char controller, float value)
{
    if (controller == ModulationWheelController) {
        modWheel.store(value * value, std::memory_order_relaxed);
    }
}

void QuadLfo::Synchronize(double tempo, double ppqnPosition)
{
    HALVEX_ASSERT(tempo >= 0.0f);
    HALVEX_ASSERT(ppqnPosition >= 0.0f);
    // A bad transport value would leave a negative or non-finite increment or
    // phase behind, and a non-finite oscillator state never recovers.
    if (!(tempo >= 0.0 && std::isfinite(tempo) && ppqnPosition >= 0.0 && std::isfinite(ppqnPosition))) {
        return;
    }

    if (!syncMode->IsOn()) {
        this->tempo.store(tempo, std::memory_order_relaxed);
        return;
    }
    if (!(tempo == this->tempo.load(std::memory_order_relaxed))) {
        this->tempo.store(tempo, std::memory_order_relaxed);
        UpdateIncrement();
    }
    const double cyclesPerBeat = SyncResolutionFactors[syncResolution->GetSelectedIndex()];
    const double cycles = cyclesPerBeat * ppqnPosition;
    const double phase = cycles - std::trunc(cycles);
    cosine = static_cast<float>(std::cos(TwoPi * phase));
    sine = static_cast<float>(std::sin(TwoPi * phase));
}

void QuadLfo::UpdateIncrement()
{
    const float rate = sampleRate.load(std::memory_order_relaxed);
    if (syncMode->IsOn()) {
        const float cyclesPerBeat = SyncResolutionFactors[syncResolution->GetSelectedIndex()];
        const double beatsPerSecond = ToBeatsPerSecond(tempo.load(std::memory_order_relaxed));
        increment.store(static_cast<float>(beatsPerSecond * (cyclesPerBeat * TwoPi) / rate), std::memory_order_relaxed);
    } else {
        increment.store(frequency->GetTransformedValue() / rate * TwoPi, std::memory_order_relaxed);
    }
}
