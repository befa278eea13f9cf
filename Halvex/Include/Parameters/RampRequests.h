#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>

// What other threads have asked of one smoothed value since the thread that
// owns the ramp last looked: a value to snap to, then a target to ramp to,
// each optional. Values are working values.
//
// Two 64-bit words carry the requests, each written whole by one plain
// atomic store, so that neither side ever needs a locked instruction (hosts
// automate several values before every block, and a locked instruction costs
// as much as a handful of samples):
// - the target word holds the latest target and a count of the targets
//   posted, so that posting the same target again is still news;
// - the snap word is a copy of the target word as a reset request found it:
//   the value to snap to, and which target it was.
// The owner remembers the words it has applied. A snap word it has not seen
// means "snap"; a target word other than the one the snap copied (or, without
// a snap, other than the last one applied) means "then ramp there". A target
// posted after a reset request therefore ramps from the snapped value, even
// when the owner looks between the two posts, and whatever the order of
// racing posts, the owner ends where the latest target word says.
//
// PostTarget and PostSnapToLatest may run on any thread, also at the same
// time (two racing posts may give the same count; their targets still tell
// them apart); Take belongs to the owner of the ramp (the audio thread).
class RampRequests {
public:
    struct Taken {
        bool hasSnap = false;
        float snap = 0.0f;
        bool hasTarget = false;
        float target = 0.0f;
    };

    explicit RampRequests(float latestTarget)
        : targetWord(Pack(0, BitsOf(latestTarget)))
        , snapWord(targetWord.load(std::memory_order_relaxed))
        , appliedTarget(targetWord.load(std::memory_order_relaxed))
        , appliedSnap(appliedTarget)
    {
    }

    RampRequests(const RampRequests&) = delete;
    RampRequests& operator=(const RampRequests&) = delete;

    // The target of the latest request: where the value is going.
    float LatestTarget() const { return FloatOf(ValueBits(targetWord.load(std::memory_order_relaxed))); }

    // Asks for a ramp toward target; a snap already pending stays before it.
    void PostTarget(float target)
    {
        const std::uint64_t previous = targetWord.load(std::memory_order_relaxed);
        targetWord.store(Pack(Count(previous) + 1, BitsOf(target)), std::memory_order_release);
    }

    // Asks for a snap to the latest target; the ramp toward it is then
    // needless, since the snap already ends where it was going.
    void PostSnapToLatest() { snapWord.store(targetWord.load(std::memory_order_acquire), std::memory_order_release); }

    // Owner only: takes everything asked since the last Take; false when
    // nothing was. The snap word is read first: a target posted after the
    // request is then either seen now, behind the snap, or at the next Take.
    bool Take(Taken& taken)
    {
        const std::uint64_t snap = snapWord.load(std::memory_order_acquire);
        const std::uint64_t target = targetWord.load(std::memory_order_acquire);
        taken.hasSnap = snap != appliedSnap;
        taken.snap = FloatOf(ValueBits(snap));
        taken.hasTarget = target != (taken.hasSnap ? snap : appliedTarget);
        taken.target = FloatOf(ValueBits(target));
        appliedSnap = snap;
        appliedTarget = target;
        return taken.hasSnap || taken.hasTarget;
    }

private:
    static std::uint64_t Pack(std::uint32_t count, std::uint32_t valueBits)
    {
        return (static_cast<std::uint64_t>(count) << 32) | valueBits;
    }
    static std::uint32_t Count(std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); }
    static std::uint32_t ValueBits(std::uint64_t word) { return static_cast<std::uint32_t>(word); }
    static std::uint32_t BitsOf(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
    static float FloatOf(std::uint32_t bits)
    {
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the requests must be lock-free on every target");

    // Posted by any thread.
    std::atomic<std::uint64_t> targetWord;
    std::atomic<std::uint64_t> snapWord;
    // The owner's own.
    std::uint64_t appliedTarget;
    std::uint64_t appliedSnap;
};
