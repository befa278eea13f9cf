#include "BlockRuns.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records each Process call: the offset of its first input and output
// sample in the block, and its length.
class RunRecorder : public IEffectComponent {
public:
    struct Run {
        long inputOffset;
        long outputOffset;
        int count;
    };

    void Reset() override { }
    float GetSampleRate() override { return 44100.0f; }
    void SetSampleRate(float) override { }
    void Process(float** inputs, float** outputs, int count) override
    {
        runs.push_back({inputs[1] - block, outputs[0] - block, count});
    }

    const float* block = nullptr;
    std::vector<Run> runs;
};

class BlockRunsTest : public ::testing::Test {
protected:
    void SetUp() override { recorder.block = samples.data(); }

    std::vector<float> samples = std::vector<float>(40000, 1.0f);
    float* channels[2] = {samples.data(), samples.data()};
    RunRecorder recorder;
};

} // namespace

TEST_F(BlockRunsTest, RunsEndAtEachPositionAndNeverGoBack)
{
    BlockRuns<2, 2> runs(recorder, channels, channels, 100);
    runs.ProcessUntil(40);
    runs.ProcessUntil(40);
    runs.ProcessUntil(10);
    EXPECT_EQ(runs.GetPosition(), 40) << "an earlier position processes nothing";
    runs.ProcessUntil(250);
    EXPECT_EQ(runs.GetPosition(), 100) << "the block ends at its end";
    runs.ProcessRest();
    ASSERT_EQ(recorder.runs.size(), 2u);
    EXPECT_EQ(recorder.runs[0].inputOffset, 0);
    EXPECT_EQ(recorder.runs[0].count, 40);
    EXPECT_EQ(recorder.runs[1].inputOffset, 40);
    EXPECT_EQ(recorder.runs[1].outputOffset, 40);
    EXPECT_EQ(recorder.runs[1].count, 60);
}

TEST_F(BlockRunsTest, LongRunsAreCutAtBufferSize)
{
    BlockRuns<2, 2> runs(recorder, channels, channels, 40000);
    runs.ProcessUntil(100);
    runs.ProcessRest();
    ASSERT_EQ(recorder.runs.size(), 4u);
    EXPECT_EQ(recorder.runs[1].inputOffset, 100);
    EXPECT_EQ(recorder.runs[1].count, BufferSize);
    EXPECT_EQ(recorder.runs[2].inputOffset, 100 + BufferSize);
    EXPECT_EQ(recorder.runs[3].count, 40000 - 100 - 2 * BufferSize);
}

TEST_F(BlockRunsTest, ARunWithAMissingChannelIsSilencedAndReported)
{
    AssertionRecorder reports;
    std::vector<float> output(64, 5.0f);
    float* inputs[2] = {samples.data(), nullptr};
    float* outputs[2] = {output.data(), nullptr};
    BlockRuns<2, 2> runs(recorder, inputs, outputs, 64);
    runs.ProcessUntil(16);
    EXPECT_TRUE(recorder.runs.empty());
    EXPECT_EQ(reports.expressions(), (std::vector<std::string> {"offsetInputs[j] != 0", "offsetOutputs[j] != 0"}));
    EXPECT_EQ(output[15], 0.0f);
    EXPECT_EQ(output[16], 5.0f);
}
