#include "ClapLibrary.h"
#include "EffectLibrary.h"
#include "MidiEvents.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {
constexpr int BlockFrames = 64;

/// A block of a ramp through the fixture: it passes its input unchanged on its start-up program
/// and outputs silence when the transport it is given is not its own.
bool PassesBlockThrough(PluginHost& host, const VstMidiEvent* events = nullptr, int eventCount = 0)
{
    std::vector<float> left(BlockFrames), right(BlockFrames), outLeft(BlockFrames), outRight(BlockFrames);
    for (int i = 0; i < BlockFrames; ++i)
        left[i] = right[i] = 0.5f * static_cast<float>(i + 1) / BlockFrames;
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    host.Process(inputs, outputs, BlockFrames, events, eventCount);
    return outLeft == left && outRight == right;
}

TEST(PluginLibrary, InstancesOfOneLibraryKeepTheirOwnStateAndCallbacks)
{
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(FIXTURE_GAIN, error)) << error;
    PluginHost first;
    PluginHost second;
    ASSERT_TRUE(first.Open(library, error)) << error;
    ASSERT_TRUE(second.Open(library, error)) << error;
    EXPECT_NE(first.GetEffect(), second.GetEffect());

    first.SetParameter(2, 0.25f);
    EXPECT_EQ(first.GetParameter(2), 0.25f);
    EXPECT_EQ(second.GetParameter(2), 0.5f);

    // The transports differ; each instance asks for the time through the callback and hears its own.
    for (PluginHost* host : {&first, &second}) {
        host->SetSampleRate(44100.0);
        host->SetBlockSize(BlockFrames);
        host->Resume();
    }
    first.SetParameter(2, 0.5f);
    for (int block = 0; block < 3; ++block)
        EXPECT_TRUE(PassesBlockThrough(first)) << block;
    EXPECT_TRUE(PassesBlockThrough(second));
    EXPECT_EQ(first.GetSamplePosition(), 3.0 * BlockFrames);
    EXPECT_EQ(second.GetSamplePosition(), 1.0 * BlockFrames);

    // A control change that the fixture reports as automation reaches the host that sent it.
    const VstMidiEvent change = MakeControlChange(BlockFrames - 1, 93, 64);
    PassesBlockThrough(second, &change, 1);
    EXPECT_EQ(first.GetAutomationCount(), 0);
    EXPECT_EQ(second.GetAutomationCount(), 1);

    // Closing one instance leaves the other, and the library, working.
    first.Unload();
    EXPECT_FALSE(first.IsLoaded());
    EXPECT_TRUE(library.IsLoaded());
    second.SetParameter(1, 0.5f);
    EXPECT_EQ(second.GetParameter(1), 0.5f);
}

TEST(PluginLibrary, InstancesAreCreatedAndRunOnSeveralThreadsAtOnce)
{
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(FIXTURE_GAIN, error)) << error;
    constexpr int ThreadCount = 4;
    constexpr int BlockCount = 200;
    std::vector<int> blocksPassed(ThreadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t) {
        threads.emplace_back([&library, &blocksPassed, t] {
            PluginHost host;
            std::string reason;
            if (!host.Open(library, reason))
                return;
            host.SetSampleRate(48000.0 + t);
            host.SetBlockSize(BlockFrames);
            host.Resume();
            for (int block = 0; block < BlockCount; ++block)
                blocksPassed[static_cast<std::size_t>(t)] += PassesBlockThrough(host) ? 1 : 0;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < ThreadCount; ++t)
        EXPECT_EQ(blocksPassed[static_cast<std::size_t>(t)], BlockCount) << "thread " << t;
}

TEST(PluginLibrary, FilesOfNoPluginFormatAreRefusedWithTheReasonAndLeaveNothingLoaded)
{
    std::string error;
    ClapLibrary clap;
    EXPECT_FALSE(clap.Load(FIXTURE_GAIN, error));
    EXPECT_NE(error.find(" is not a CLAP plug-in: it exports no clap_entry"), std::string::npos) << error;
    EXPECT_FALSE(clap.IsLoaded());

    PluginLibrary vst;
    ASSERT_TRUE(vst.Load(FIXTURE_GAIN, error)) << error;
    EXPECT_FALSE(vst.Load("missing.so", error));
    EXPECT_EQ(error.rfind("cannot load plug-in missing.so: ", 0), 0u) << error;
    EXPECT_FALSE(vst.IsLoaded());
    EXPECT_EQ(vst.GetPath(), "");

    EffectLibrary either;
    ASSERT_TRUE(either.Load(FIXTURE_GAIN, error)) << error;
    EXPECT_EQ(either.GetPath(), FIXTURE_GAIN);
    EXPECT_FALSE(either.Load("missing.clap", error));
    EXPECT_EQ(either.GetPath(), "");
}

} // namespace
