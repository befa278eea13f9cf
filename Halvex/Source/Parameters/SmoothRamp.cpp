#include "Parameters/SmoothRamp.h"

#include "StepThrough.h"

#include <cmath>

SmoothRamp::SmoothRamp(float settledValue)
    : requests(settledValue)
    , target(settledValue)
{
    Reset();
    SetSampleRate(DefaultSampleRate);
}

void SmoothRamp::Reset()
{
    // A snap and a ramp both pending end where the ramp was going.
    RampRequests::Taken taken;
    if (requests.Take(taken)) {
        target = taken.hasTarget ? taken.target : taken.snap;
    }
    Settle();
}

void SmoothRamp::Settle()
{
    current = target;
    std::fill(buffer, buffer + BufferSize, target);
    direction = Up;
    state = Settled;
}

float SmoothRamp::GetSampleRate()
{
    return sampleRate.load(std::memory_order_relaxed);
}

void SmoothRamp::SetSampleRate(float sampleRate)
{
    HALVEX_ASSERT(sampleRate > 0.0f);
    if (!(sampleRate > 0.0f)) {
        return;
    }
    this->sampleRate.store(sampleRate, std::memory_order_relaxed);
    // Computed in double and rounded once: the float the ramp steps with.
    coefficient.store(static_cast<float>(1.0 - std::exp(-1.0 / (0.1 * sampleRate))), std::memory_order_relaxed);
}

void SmoothRamp::Process(int count)
{
    Run run({this}, count);
    if (run.AnyRamping()) {
        StepThrough(run);
    }
}
