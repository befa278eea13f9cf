#include "Chorus.h"

#include "Assert.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

static_assert(std::atomic<int>::is_always_lock_free, "the pending clear must be lock-free");
static_assert(std::atomic<float>::is_always_lock_free, "the sample rate must be lock-free");

namespace {

constexpr int LineMask = 16383;
// The oldest sample of a ring sits at the write position itself (it is read
// before it is overwritten), so a read-back of the full ring length is the
// longest one the ring holds. Up to 327,680 samples per second the sweep never
// reaches it, so holding it there changes nothing below that rate.
constexpr float MaxReadDelay = 16384.0f;
constexpr float AntiDenormal = 1e-25f;
// Beyond this 1 << n no longer fits an int.
constexpr float FastPow2Limit = 31.0f;

// The line's sample delaySamples behind writeIndex, linearly interpolated.
inline float ReadDelayed(const float* line, int writeIndex, float delaySamples)
{
    // Corrupt inputs must not move the read outside the ring: NaN and
    // negative delays read at the write position, too long ones at the far
    // end. (std::max with 0 first turns NaN into 0.)
    delaySamples = std::min(std::max(0.0f, delaySamples), MaxReadDelay);
    float pos = static_cast<float>(writeIndex) - delaySamples;
    if (pos < 0.0f) {
        pos += 16384.0f;
    }
    const int k = static_cast<int>(pos);
    const float frac = pos - static_cast<float>(k);
    // Rounding can carry pos up to exactly 16384.
    const float current = line[k & LineMask];
    const float next = line[(k + 1) & LineMask];
    return current + (next - current) * frac + AntiDenormal;
}

// A non-finite sample must never enter a ring, where feedback would keep it.
inline float FiniteOrZero(float sample)
{
    return std::fabs(sample) <= FLT_MAX ? sample : 0.0f;
}

// Reports every violated precondition that can be evaluated safely; false
// when the block cannot be processed.
bool CheckProcessArguments(float** inputs, float** outputs, int count)
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

} // namespace

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

float FastPow2(float x)
{
    const bool negative = x < 0.0f;
    const float magnitude = negative ? -x : x;
    if (!(magnitude < FastPow2Limit)) {
        if (std::isnan(x)) {
            return x;
        }
        return negative ? 0.0f : std::numeric_limits<float>::infinity();
    }
    const int n = static_cast<int>(magnitude);
    const float f = magnitude - static_cast<float>(n);
    const float power = (0.333333f * f * (f + 2.0f) + 1.0f) * static_cast<float>(1 << n);
    return negative ? 1.0f / power : power;
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
    if (!CheckProcessArguments(inputs, outputs, count)) {
        return;
    }
    if (!enabled->IsOn()) {
        Bypass(inputs, outputs, count);
        return;
    }

    const float* delayBuffer = delayTime->GetOutput(0);
    const float* depthBuffer = depth->GetOutput(0);
    const float* mixBuffer = mix->GetOutput(0);
    const float* leftModulation = lfo->GetOutput(0);
    const float* rightModulation = lfo->GetOutput(1);
    const float rate = sampleRate.load(std::memory_order_relaxed);
    // Nothing inside the loop changes the feedback, so one read serves the block.
    const float fb = feedback->GetTransformedValue();
    const float* leftInput = inputs[0];
    const float* rightInput = inputs[1];
    float* leftOutput = outputs[0];
    float* rightOutput = outputs[1];

    int w = writeIndex;
    for (int i = 0; i < count; ++i, ++delayBuffer, ++depthBuffer, ++mixBuffer) {
        HALVEX_ASSERT(*delayBuffer >= 0.0f && *delayBuffer <= 0.025f);
        HALVEX_ASSERT(*depthBuffer >= 0.0f && *depthBuffer <= 1.0f);
        HALVEX_ASSERT(*mixBuffer >= 0.0f && *mixBuffer <= 1.0f);
        const float delaySamples = rate * *delayBuffer;
        const float wet = *mixBuffer;

        // Each channel reads its dry sample before writing its output, so
        // in-place buffers give the same result as separate ones.
        const float leftDry = leftInput[i];
        const float leftDelayed = ReadDelayed(leftLine, w, FastPow2(leftModulation[i] * *depthBuffer) * delaySamples);
        leftLine[w] = FiniteOrZero(leftDry + fb * leftDelayed);
        leftOutput[i] = leftDry * (1.0f - wet) + leftDelayed * wet;

        const float rightDry = rightInput[i];
        const float rightDelayed
            = ReadDelayed(rightLine, w, FastPow2(rightModulation[i] * *depthBuffer) * delaySamples);
        rightLine[w] = FiniteOrZero(fb * rightDelayed + rightDry);
        rightOutput[i] = (1.0f - wet) * rightDry + rightDelayed * wet;

        w = (w + 1) & LineMask;
    }
    writeIndex = w;
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
