#include "SilentAudioStream.h"

#include <chrono>
#include <vector>

SilentAudioStream::SilentAudioStream(PluginHost& host, double sampleRate, int blockSize)
    : host(host)
    , sampleRate(sampleRate)
    , blockSize(blockSize)
{
}

SilentAudioStream::~SilentAudioStream()
{
    Stop();
}

void SilentAudioStream::Start()
{
    if (thread.joinable())
        return;
    running.store(true, std::memory_order_relaxed);
    thread = std::thread(&SilentAudioStream::Run, this);
}

void SilentAudioStream::Stop()
{
    running.store(false, std::memory_order_relaxed);
    if (thread.joinable())
        thread.join();
}

void SilentAudioStream::Run()
{
    const std::size_t frames = static_cast<std::size_t>(blockSize);
    // Every channel the plug-in declares gets a buffer, and never fewer than two, so that an
    // effect that writes a stereo pair regardless of its declaration cannot write past them.
    const auto channelCount = [](VstInt32 declared) { return static_cast<std::size_t>(declared > 2 ? declared : 2); };
    std::vector<std::vector<float>> inputBuffers(channelCount(host.GetInputCount()), std::vector<float>(frames));
    std::vector<std::vector<float>> outputBuffers(channelCount(host.GetOutputCount()), std::vector<float>(frames));
    std::vector<float*> inputs, outputs;
    for (auto& buffer : inputBuffers)
        inputs.push_back(buffer.data());
    for (auto& buffer : outputBuffers)
        outputs.push_back(buffer.data());

    using Clock = std::chrono::steady_clock;
    const auto blockDuration = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(blockSize) / sampleRate));
    auto deadline = Clock::now();
    while (running.load(std::memory_order_relaxed)) {
        host.Process(inputs.data(), outputs.data(), blockSize, nullptr, 0);
        blockCount.fetch_add(1, std::memory_order_relaxed);
        // Deadlines advance by whole blocks, so the stream keeps real-time pace on average
        // even when a wake-up comes late.
        deadline += blockDuration;
        std::this_thread::sleep_until(deadline);
    }
}
