#include "Chorus.h"

#include "Assert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

static_assert(std::atomic<int>::is_always_lock_free, "the pending clear must be lock-free");
static_assert(std::atomic<float>::is_always_lock_free, "the sample rate must be lock-free");

float ChorusDelayTimeTransform::Apply(float value)
{
    HALVEX_ASSERT(value >= 0 && value <= 1.0f);
    return value * value * 0.024f + 0.001f;
}

float FeedbackTransform::Apply(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    return value * value * 0.995f;
}

float FastPow2OutOfRange(float x)
{
    if (std::isnan(x)) {
        return x;
    }
    return x < 0.0f ? 0.0f : std::numeric_limits<float>::infinity();
}

void Chorus::EnabledObserver::ParameterChanged()
{
    HALVEX_ASSERT(owner != 0);
    if (owner != nullptr && !owner->enabled->IsOn()) {
        owner->resetPending.store(1, std::memory_order_relaxed);
    }
}

Chorus::Chorus(SwitchParameter<DisplayOnOff>* enabled,
    SmoothParameter<ChorusDelayTimeTransform, DisplayFloat>* delayTime,
    SmoothParameter<DoNothingSmoothTransform, DisplayFloat>* depth,
    Parameter<float, FeedbackTransform, DisplayFloat>* feedback,
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger>* mix, ISynthComponent* lfo)
    : enabled(enabled)
    , delayTime(delayTime)
    , depth(depth)
    , feedback(feedback)
    , mix(mix)
    , lfo(lfo)
{
    enabledObserver.owner = this;
    enabled->AddObserver(&enabledObserver);
}

void Chorus::Reset()
{
    std::fill(leftLine, leftLine + LineLength, 0.0f);
    std::fill(rightLine, rightLine + LineLength, 0.0f);
    writeIndex = 0;
    resetPending.store(0, std::memory_order_relaxed);
}

float Chorus::GetSampleRate()
{
    return sampleRate.load(std::memory_order_relaxed);
}

void Chorus::SetSampleRate(float sampleRate)
{
    HALVEX_ASSERT(sampleRate > 0.0f);
    if (sampleRate > 0.0f) {
        this->sampleRate.store(sampleRate, std::memory_order_relaxed);
    }
}

void Chorus::Process(float** inputs, float** outputs, int count)
{
    Run run(*this, inputs, outputs, count, lfo->GetOutput(0), lfo->GetOutput(1));
    if (run.Running()) {
        int i = 0;
        for (; i + 4 <= count; i += 4) {
            run.NextFour(i);
        }
        for (; i < count; ++i) {
            run.Next(i);
        }
    }
    run.Finish();
}

bool Chorus::Run::CheckArguments(float** inputs, float** outputs, int count)
{
    HALVEX_ASSERT(inputs != 0);
    if (inputs == nullptr) {
        return false;
    }
    HALVEX_ASSERT(inputs[0] != 0);
    HALVEX_ASSERT(inputs[1] != 0);
    HALVEX_ASSERT(outputs != 0);
    if (outputs == nullptr) {
        return false;
    }
    HALVEX_ASSERT(outputs[0] != 0);
    HALVEX_ASSERT(outputs[1] != 0);
    HALVEX_ASSERT(count >= 0 && count <= BufferSize);
    return inputs[0] != nullptr && inputs[1] != nullptr && outputs[0] != nullptr && outputs[1] != nullptr && count >= 0
        && count <= BufferSize;
}

void Chorus::Run::FinishOtherwise()
{
    if (!accepted) {
        return;
    }
    if (!running) {
        chorus.Bypass(inputs, outputs, count);
        return;
    }
    chorus.writeIndex = w;
    ReportOutOfRange();
}

void Chorus::Run::ReportOutOfRange() const
{
    // The samples themselves noted that a value was out of range; only then
    // is every sample checked again, so that the reports come as many and in
    // the same order as from checks before each sample. Nothing else reports
    // while a block is processed, so reporting after it changes nothing.
    const float* delayBuffer = this->delayBuffer;
    const float* depthBuffer = this->depthBuffer;
    const float* mixBuffer = this->mixBuffer;
    for (int i = 0; i < count; ++i, ++delayBuffer, ++depthBuffer, ++mixBuffer) {
        HALVEX_ASSERT(*delayBuffer >= 0.0f && *delayBuffer <= 0.025f);
        HALVEX_ASSERT(*depthBuffer >= 0.0f && *depthBuffer <= 1.0f);
        HALVEX_ASSERT(*mixBuffer >= 0.0f && *mixBuffer <= 1.0f);
    }
}

void Chorus::Bypass(float** inputs, float** outputs, int count)
{
    if (inputs != outputs) {
        // memmove: an output channel may be, or overlap, its input channel.
        std::memmove(outputs[0], inputs[0], static_cast<size_t>(count) * sizeof(float));
        std::memmove(outputs[1], inputs[1], static_cast<size_t>(count) * sizeof(float));
    }
    if (resetPending.load(std::memory_order_relaxed) == 1) {
        Reset();
    }
}

float Chorus::GetTailSeconds() const
{
    if (!enabled->IsOn() || !(mix->GetValue() > 0.0f)) {
        return 0.0f;
    }
    const float longestDelay = ChorusDelayTimeTransform::Apply(delayTime->GetValue()) * FastPow2(depth->GetValue());
    const float gain = feedback->GetTransformedValue();
    constexpr double AudibleDecibels = 90.0;
    const double passes = gain > 0.0f ? std::ceil(AudibleDecibels / (-20.0 * std::log10(gain))) : 0.0;
    return static_cast<float>(std::min(longestDelay * (1.0 + passes), static_cast<double>(MaxTailSeconds)));
}
