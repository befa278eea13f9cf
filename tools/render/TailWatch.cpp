#include "TailWatch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
bool IsQuiet(float left, float right)
{
    constexpr auto level = static_cast<float>(TailWatch::QuietLevel);
    // NaN is not quiet: a plug-in that produces it keeps the tail going to its limit.
    return std::fabs(left) < level && std::fabs(right) < level;
}
} // namespace

TailWatch::TailWatch(std::int64_t longestFrames, std::int64_t quietWindowFrames, bool automatic)
    : longestFrames(longestFrames)
    , quietWindowFrames(quietWindowFrames)
    , automatic(automatic)
{
}

TailWatch TailWatch::Fixed(std::int64_t frames)
{
    return TailWatch(frames, std::numeric_limits<std::int64_t>::max(), false);
}

TailWatch TailWatch::UntilQuiet(int sampleRate)
{
    return TailWatch(std::llround(LongestSeconds * sampleRate), std::llround(QuietSeconds * sampleRate), true);
}

void TailWatch::FollowInput(const float* left, const float* right, std::int64_t frames)
{
    if (!automatic)
        return;
    // From the end backwards: a sounding block costs one look at its last frame.
    for (std::int64_t i = frames - 1; i >= 0; --i) {
        if (!IsQuiet(left[i], right[i])) {
            quietFrames = frames - 1 - i;
            return;
        }
    }
    quietFrames += frames;
}

std::int64_t TailWatch::TakeTail(const float* left, const float* right, std::int64_t frames)
{
    const std::int64_t most = std::min(frames, GetMostRemaining());
    if (!automatic) {
        tailFrames += most;
        return most;
    }
    std::int64_t taken = 0;
    while (taken < most && quietFrames < quietWindowFrames) {
        quietFrames = IsQuiet(left[taken], right[taken]) ? quietFrames + 1 : 0;
        ++taken;
    }
    tailFrames += taken;
    return taken;
}
