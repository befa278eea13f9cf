#include "RenderJobs.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {
std::vector<std::string> OutputsOf(const std::vector<RenderJob>& jobs)
{
    std::vector<std::string> outputs;
    for (const RenderJob& job : jobs)
        outputs.push_back(job.outputPath);
    return outputs;
}

TEST(RenderJobs, EveryInputKeepsItsNameAndTakesTheExtensionOfAGivenFormat)
{
    const std::vector<std::string> inputs = {"takes/one.wav", "/abs/two.flac", "three", ".hidden", "four.tar.aiff"};
    std::vector<RenderJob> jobs;
    std::string error;
    ASSERT_TRUE(PlanBatch(inputs, "out", 0, jobs, error)) << error;
    EXPECT_EQ(OutputsOf(jobs),
        (std::vector<std::string> {"out/one.wav", "out/two.flac", "out/three", "out/.hidden", "out/four.tar.aiff"}));
    ASSERT_EQ(jobs.size(), inputs.size());
    EXPECT_EQ(jobs[1].inputPath, "/abs/two.flac");

    ASSERT_TRUE(PlanBatch(inputs, "out/", SF_FORMAT_FLAC, jobs, error)) << error;
    EXPECT_EQ(OutputsOf(jobs),
        (std::vector<std::string> {
            "out/one.flac", "out/two.flac", "out/three.flac", "out/.hidden.flac", "out/four.tar.flac"}));
}

TEST(RenderJobs, RunOnThreadsRunsEveryJobOnceOnAtMostTheThreadsAllowed)
{
    constexpr std::size_t JobCount = 1000;
    for (const int threadCount : {1, 3, 64}) {
        std::vector<std::atomic<int>> runs(JobCount);
        std::atomic<int> running {0};
        std::atomic<int> mostRunning {0};
        RunOnThreads(JobCount, threadCount, [&](std::size_t job) {
            const int now = ++running;
            int most = mostRunning.load();
            while (now > most && !mostRunning.compare_exchange_weak(most, now)) { }
            ++runs[job];
            --running;
        });
        EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](const std::atomic<int>& count) { return count == 1; }))
            << threadCount << " threads";
        EXPECT_LE(mostRunning.load(), threadCount);
    }
    int calls = 0;
    RunOnThreads(0, 4, [&calls](std::size_t) { ++calls; });
    EXPECT_EQ(calls, 0);
}
} // namespace
