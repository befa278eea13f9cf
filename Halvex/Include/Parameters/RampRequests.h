#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>

// What other threads have asked of one smoothed value since the thread that
// owns the ramp last looked: a value to snap to, then a target to ramp to,
// each optional. Both sit in one 64-bit word, so that posting a request and
// taking everything pending are single atomic steps: nothing posted is lost,
// and a target posted after a snap is applied after it. The latest target
// posted is kept beside the word, for displays. Values are working values;
// a NaN in the word means "nothing asked", which no working value is.
//
// PostTarget and PostSnapToLatest may run on any thread, also at the same
// time; Take belongs to the owner of the ramp (the audio thread).
class RampRequests {
public:
    struct Taken {
        bool hasSnap = false;
        float snap = 0.0f;
        bool hasTarget = false;
        float target = 0.0f;
    };

    explicit RampRequests(float latestTarget)
        : latestTarget(latestTarget)
    {
    }

    RampRequests(const RampRequests&) = delete;
    RampRequests& operator=(const RampRequests&) = delete;

    // The target of the latest request: where the value is going.
    float LatestTarget() const { return latestTarget.load(std::memory_order_relaxed); }

    // Asks for a ramp toward target; a snap already pending stays before it.
    void PostTarget(float target)
    {
        std::uint64_t expected = pending.load(std::memory_order_relaxed);
        do {
            // Stored again before every attempt, so that of two threads
            // posting at once, the one whose post lands last also stored
            // last: the display and the ramp agree.
            latestTarget.store(target, std::memory_order_relaxed);
        } while (!pending.compare_exchange_weak(
            expected, Pack(SnapBits(expected), BitsOf(target)), std::memory_order_release, std::memory_order_relaxed));
    }

    // Asks for a snap to the latest target; a ramp pending is dropped, since
    // the snap already ends where it was going.
    void PostSnapToLatest()
    {
        std::uint64_t expected = pending.load(std::memory_order_acquire);
        std::uint32_t snap = 0;
        do {
            // Read after the word: a target posted before the word was read
            // is seen here (its post releases, this read acquires).
            snap = BitsOf(latestTarget.load(std::memory_order_relaxed));
        } while (!pending.compare_exchange_weak(
            expected, Pack(snap, Nothing), std::memory_order_acq_rel, std::memory_order_acquire));
    }

    // Takes everything pending; false when nothing is. A plain load comes
    // first: the exchange is a locked instruction, and most blocks find
    // nothing to take.
    bool Take(Taken& taken)
    {
        if (pending.load(std::memory_order_relaxed) == Empty) {
            return false;
        }
        const std::uint64_t word = pending.exchange(Empty, std::memory_order_acquire);
        const std::uint32_t snap = SnapBits(word);
        const std::uint32_t target = static_cast<std::uint32_t>(word);
        taken.hasSnap = snap != Nothing;
        taken.snap = FloatOf(snap);
        taken.hasTarget = target != Nothing;
        taken.target = FloatOf(target);
        return taken.hasSnap || taken.hasTarget;
    }

private:
    // A quiet NaN.
    static constexpr std::uint32_t Nothing = 0x7FC00000u;
    static constexpr std::uint64_t Empty = (static_cast<std::uint64_t>(Nothing) << 32) | Nothing;

    static std::uint64_t Pack(std::uint32_t snap, std::uint32_t target)
    {
        return (static_cast<std::uint64_t>(snap) << 32) | target;
    }
    static std::uint32_t SnapBits(std::uint64_t word) { return static_cast<std::uint32_t>(word >> 32); }
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

    std::atomic<std::uint64_t> pending {Empty};
    std::atomic<float> latestTarget;
};
