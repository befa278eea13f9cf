#pragma once

#include <cstdint>

/// Decides how long a render goes on after its input ends, while the plug-in runs on silence:
/// a fixed number of frames, or, by default, until the output has stayed below -90 dBFS
/// (|sample| < 10^(-90/20) in both channels) for 100 ms, at most 30 s. Quiet frames at the end
/// of the input count towards the 100 ms, so an output that was already quiet gets no tail.
/// Frames are stereo sample frames at the render's rate. Used by the one thread that runs the
/// plug-in.
class TailWatch {
public:
    static constexpr double QuietLevel = 3.1622776601683795e-5; ///< -90 dBFS
    static constexpr double QuietSeconds = 0.1;
    static constexpr double LongestSeconds = 30.0;

    /// A tail of exactly `frames` frames.
    static TailWatch Fixed(std::int64_t frames);
    /// A tail that ends when the output has been quiet long enough, at `sampleRate` Hz.
    static TailWatch UntilQuiet(int sampleRate);

    /// Follows the output while the input plays: only how many quiet frames end it matters.
    void FollowInput(const float* left, const float* right, std::int64_t frames);
    /// Takes output frames of the tail, answering how many of them belong to it: all of them, or
    /// fewer when the tail ends inside them. After the end it answers 0.
    std::int64_t TakeTail(const float* left, const float* right, std::int64_t frames);

    bool HasEnded() const { return tailFrames >= longestFrames || quietFrames >= quietWindowFrames; }
    /// At most how many frames the tail still has; the rest of a fixed tail.
    std::int64_t GetMostRemaining() const { return HasEnded() ? 0 : longestFrames - tailFrames; }
    std::int64_t GetTailFrames() const { return tailFrames; }
    /// Whether an automatic tail ended at its 30 s limit while the output still sounded.
    bool WasCutShort() const { return automatic && quietFrames < quietWindowFrames && tailFrames >= longestFrames; }

private:
    TailWatch(std::int64_t longestFrames, std::int64_t quietWindowFrames, bool automatic);

    std::int64_t longestFrames;
    std::int64_t quietWindowFrames;
    bool automatic;
    std::int64_t tailFrames = 0;
    /// The run of quiet frames that ends the output so far.
    std::int64_t quietFrames = 0;
};
