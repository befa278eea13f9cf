#include "Parameters/RampRequests.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

RampRequests::Taken TakeAll(RampRequests& requests)
{
    RampRequests::Taken taken;
    EXPECT_TRUE(requests.Take(taken));
    return taken;
}

// The value the owner ends at after applying everything taken.
float EndValue(const RampRequests::Taken& taken)
{
    return taken.hasTarget ? taken.target : taken.snap;
}

} // namespace

TEST(RampRequests, KeepTheLastTargetAfterASnapAndNothingTwice)
{
    RampRequests requests(0.5f);
    RampRequests::Taken taken;
    EXPECT_FALSE(requests.Take(taken)) << "nothing asked yet";
    EXPECT_EQ(requests.LatestTarget(), 0.5f);

    requests.PostTarget(0.1f);
    requests.PostTarget(0.2f);
    taken = TakeAll(requests);
    EXPECT_FALSE(taken.hasSnap);
    EXPECT_TRUE(taken.hasTarget);
    EXPECT_EQ(taken.target, 0.2f);
    EXPECT_FALSE(requests.Take(taken)) << "taken once";

    // A snap takes the latest target, drops the ramp to it, and keeps a
    // target asked for afterwards.
    requests.PostTarget(0.3f);
    requests.PostSnapToLatest();
    requests.PostTarget(0.0f);
    taken = TakeAll(requests);
    EXPECT_TRUE(taken.hasSnap);
    EXPECT_EQ(taken.snap, 0.3f);
    EXPECT_TRUE(taken.hasTarget);
    EXPECT_EQ(taken.target, 0.0f);
    EXPECT_EQ(requests.LatestTarget(), 0.0f);

    requests.PostSnapToLatest();
    taken = TakeAll(requests);
    EXPECT_TRUE(taken.hasSnap);
    EXPECT_EQ(taken.snap, 0.0f);
    EXPECT_FALSE(taken.hasTarget);
}

// Two threads posting targets and snaps at once, while the owner takes now
// and then: when they stop, what the owner ends at is the latest target the
// display shows.
TEST(RampRequests, ConcurrentPostsLeaveTheDisplayAndTheRampAgreeing)
{
    for (int round = 0; round < 20; ++round) {
        RampRequests requests(0.0f);
        std::atomic<int> ready {0};
        const auto poster = [&](float base, bool snaps) {
            ready.fetch_add(1);
            while (ready.load() < 2) {
                std::this_thread::yield();
            }
            for (int i = 0; i < 2000; ++i) {
                requests.PostTarget(base + static_cast<float>(i) / 8192.0f);
                if (snaps && i % 3 == 0) {
                    requests.PostSnapToLatest();
                }
            }
        };
        std::thread first(poster, 0.0f, false);
        std::thread second(poster, 0.5f, true);
        float end = 0.0f;
        RampRequests::Taken taken;
        while (ready.load() < 2) {
            std::this_thread::yield();
        }
        for (int takes = 0; takes < 200; ++takes) {
            if (requests.Take(taken)) {
                end = EndValue(taken);
            }
        }
        first.join();
        second.join();
        if (requests.Take(taken)) {
            end = EndValue(taken);
        }
        ASSERT_EQ(end, requests.LatestTarget()) << "round " << round;
    }
}
