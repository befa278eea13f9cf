#pragma once

#include <benchmark/benchmark.h>

// The rates every benchmark reports for the stereo frames it processed:
// frames per second, time per frame, and how many times faster than
// real time that is at 44100 Hz.
inline void SetFrameCounters(benchmark::State& state, long framesPerIteration)
{
    using benchmark::Counter;
    const double frames = static_cast<double>(state.iterations()) * static_cast<double>(framesPerIteration);
    state.counters["frames/s"] = Counter(frames, Counter::kIsRate);
    state.counters["time/frame"] = Counter(frames, Counter::kIsRate | Counter::kInvert);
    state.counters["x realtime"] = Counter(frames / 44100.0, Counter::kIsRate);
}
