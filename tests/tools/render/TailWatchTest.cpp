#include "TailWatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
constexpr int Rate = 44100;
constexpr std::int64_t Window = Rate / 10; // 100 ms
constexpr auto Quiet = static_cast<float>(TailWatch::QuietLevel);

/// Feeds `tail` to the watch in blocks of `blockFrames` (the left channel carries the signal, the
/// right one silence) and answers how many frames it took.
std::int64_t TakeInBlocks(TailWatch& watch, const std::vector<float>& tail, std::int64_t blockFrames)
{
    const std::vector<float> silence(tail.size(), 0.0f);
    std::int64_t taken = 0;
    for (std::size_t start = 0; start < tail.size() && !watch.HasEnded(); start += blockFrames) {
        const auto frames = std::min<std::int64_t>(blockFrames, static_cast<std::int64_t>(tail.size() - start));
        const std::int64_t kept = watch.TakeTail(&tail[start], &silence[start], frames);
        EXPECT_LE(kept, frames);
        taken += kept;
    }
    return taken;
}

TEST(TailWatch, FixedTailTakesExactlyItsFramesWhateverTheOutput)
{
    const std::vector<float> loud(1000, 0.5f);
    TailWatch watch = TailWatch::Fixed(100);
    EXPECT_EQ(watch.GetMostRemaining(), 100);
    EXPECT_EQ(TakeInBlocks(watch, loud, 30), 100);
    EXPECT_TRUE(watch.HasEnded());
    EXPECT_EQ(watch.TakeTail(loud.data(), loud.data(), 30), 0);
    EXPECT_EQ(watch.GetTailFrames(), 100);
    EXPECT_FALSE(watch.WasCutShort());

    TailWatch none = TailWatch::Fixed(0);
    EXPECT_TRUE(none.HasEnded());
    EXPECT_EQ(none.TakeTail(loud.data(), loud.data(), 30), 0);

    // A fixed tail is not bound by the automatic tail's limit.
    TailWatch longer = TailWatch::Fixed(40 * Rate);
    const std::vector<float> minute(60 * Rate, 0.5f);
    EXPECT_EQ(TakeInBlocks(longer, minute, 4096), 40 * Rate);
}

TEST(TailWatch, EndsOneHundredMillisecondsAfterTheLastSoundWhateverTheBlocks)
{
    // A decay with a last stray sound just above the level at frame 3000.
    std::vector<float> tail(Rate, 0.0f);
    for (std::size_t i = 0; i < 500; ++i)
        tail[i] = 0.1f * std::exp(-0.01f * static_cast<float>(i));
    tail[3000] = -2.0f * Quiet;
    for (const std::int64_t block : {std::int64_t {1}, std::int64_t {64}, std::int64_t {4096}, std::int64_t {Rate}}) {
        TailWatch watch = TailWatch::UntilQuiet(Rate);
        watch.FollowInput(tail.data(), tail.data(), 10); // sounding up to the input's end
        EXPECT_EQ(TakeInBlocks(watch, tail, block), 3001 + Window) << "blocks of " << block;
        EXPECT_TRUE(watch.HasEnded());
        EXPECT_FALSE(watch.WasCutShort());
        EXPECT_EQ(watch.GetTailFrames(), 3001 + Window);
    }
}

TEST(TailWatch, QuietMeansBelowTheLevelInBothChannels)
{
    const std::vector<float> atLevel(2 * Window, Quiet);
    const std::vector<float> belowLevel(2 * Window, std::nextafter(Quiet, 0.0f));
    const std::vector<float> notANumber(2 * Window, std::numeric_limits<float>::quiet_NaN());

    TailWatch below = TailWatch::UntilQuiet(Rate);
    EXPECT_EQ(below.TakeTail(belowLevel.data(), belowLevel.data(), 2 * Window), Window);

    // One channel at the level, or NaN, keeps the tail going.
    for (const std::vector<float>* sounding : {&atLevel, &notANumber}) {
        TailWatch watch = TailWatch::UntilQuiet(Rate);
        EXPECT_EQ(watch.TakeTail(belowLevel.data(), sounding->data(), 2 * Window), 2 * Window);
        EXPECT_EQ(watch.TakeTail(sounding->data(), belowLevel.data(), 2 * Window), 2 * Window);
        EXPECT_FALSE(watch.HasEnded());
    }
}

TEST(TailWatch, QuietFramesAtTheEndOfTheInputCount)
{
    const std::vector<float> silence(Rate, 0.0f);
    std::vector<float> input(Rate, 0.0f);
    input[1000] = 0.5f; // the last sound, 44099 - 1000 frames before the end

    TailWatch alreadyQuiet = TailWatch::UntilQuiet(Rate);
    alreadyQuiet.FollowInput(input.data(), silence.data(), Rate);
    EXPECT_TRUE(alreadyQuiet.HasEnded());
    EXPECT_EQ(alreadyQuiet.TakeTail(silence.data(), silence.data(), Rate), 0);

    // The quiet run goes on across input blocks, and starts again at a sound.
    TailWatch partly = TailWatch::UntilQuiet(Rate);
    partly.FollowInput(input.data(), silence.data(), 1001);
    partly.FollowInput(&input[1001], silence.data(), 1000);
    partly.FollowInput(&input[2001], silence.data(), 1000);
    EXPECT_FALSE(partly.HasEnded());
    EXPECT_EQ(partly.TakeTail(silence.data(), silence.data(), Rate), Window - 2000);

    TailWatch endsLoud = TailWatch::UntilQuiet(Rate);
    endsLoud.FollowInput(silence.data(), silence.data(), Rate);
    endsLoud.FollowInput(input.data(), silence.data(), 1001);
    EXPECT_EQ(endsLoud.TakeTail(silence.data(), silence.data(), Rate), Window);

    // A fixed tail does not care how the input ended.
    TailWatch fixed = TailWatch::Fixed(5);
    fixed.FollowInput(silence.data(), silence.data(), Rate);
    EXPECT_EQ(fixed.TakeTail(silence.data(), silence.data(), Rate), 5);
}

TEST(TailWatch, AnOutputThatNeverDiesAwayIsCutAtThirtySeconds)
{
    const std::vector<float> hum(Rate, 0.01f);
    TailWatch watch = TailWatch::UntilQuiet(Rate);
    std::int64_t taken = 0;
    for (int second = 0; second < 40 && !watch.HasEnded(); ++second)
        taken += watch.TakeTail(hum.data(), hum.data(), Rate);
    EXPECT_EQ(taken, 30 * Rate);
    EXPECT_TRUE(watch.HasEnded());
    EXPECT_TRUE(watch.WasCutShort());
    EXPECT_EQ(watch.GetMostRemaining(), 0);
}
} // namespace
