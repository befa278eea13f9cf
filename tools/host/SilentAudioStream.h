#pragma once

#include "PluginHost.h"

#include <atomic>
#include <cstdint>
#include <thread>

/// A real-time audio thread that feeds silence through a loaded plug-in, as a sequencer's audio
/// engine does while nothing plays: one block of `blockSize` frames every blockSize / sampleRate
/// seconds, on a thread of its own, so that the editor runs against a processing effect.
///
/// The host must be loaded, resumed and told the sample rate and block size before `Start`; from
/// `Start` to `Stop` only this thread calls `PluginHost::Process`. Start and Stop are called from
/// one (the GUI) thread.
class SilentAudioStream {
public:
    SilentAudioStream(PluginHost& host, double sampleRate, int blockSize);
    ~SilentAudioStream();
    SilentAudioStream(const SilentAudioStream&) = delete;
    SilentAudioStream& operator=(const SilentAudioStream&) = delete;

    void Start();
    /// Asks the thread to finish its block and waits for it.
    void Stop();
    /// Blocks processed so far; any thread.
    std::int64_t GetBlockCount() const { return blockCount.load(std::memory_order_relaxed); }

private:
    void Run();

    PluginHost& host;
    const double sampleRate;
    const int blockSize;
    std::atomic<bool> running {false};
    std::atomic<std::int64_t> blockCount {0};
    std::thread thread;
};
